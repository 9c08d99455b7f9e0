// The record a shape is built from. Each shape reads only the fields it
// needs (and only element 0 of the size arrays); the caller owns it.
#pragma once

#include <array>
#include <cstdint>

struct CModelParam {
    std::array<double, 100> sizeX{};
    std::array<double, 100> sizeY{};
    std::array<double, 100> sizeZ{};
    double radius = 0.0;
    double radius2 = 0.0;
    double depth = 0.0;
    std::int32_t count = 0;
};
