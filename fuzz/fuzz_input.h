// Reads a fuzzer's bytes as the values a target needs. Past the end every
// read gives zero, so any input, even an empty one, is a complete case.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

namespace lunvik::fuzz {

class CFuzzInput {
  public:
    CFuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool More() const { return m_pos < m_size; }

    std::uint8_t Byte() { return More() ? m_data[m_pos++] : 0; }

    template <class T>
    T Raw() {
        T value{};
        const std::size_t n = std::min(sizeof(T), m_size - m_pos);
        std::memcpy(&value, m_data + m_pos, n);
        m_pos += n;
        return value;
    }

    // A value in [0, n), n > 0.
    std::uint32_t Below(std::uint32_t n) { return Raw<std::uint16_t>() % n; }

    // Any 32-bit integer, though mostly one near [0, limit) or a boundary of
    // the 32-bit range, where lines are clipped and overflow would show.
    std::int32_t Coordinate(std::int32_t limit) {
        constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
        constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
        switch (Byte() % 4) {
            case 0:
                return Raw<std::int32_t>();
            case 1:
                return static_cast<std::int32_t>(Below(static_cast<std::uint32_t>(limit) + 129)) -
                       64;
            case 2: {
                const std::int32_t edges[] = {kMin,     kMin + 1, kMax,      kMax - 1, 0,
                                              -1,       limit,    limit - 1, 1 << 30,  -(1 << 30),
                                              kMax / 2, kMin / 2, limit + 1, 1 << 16,  -(1 << 16)};
                return edges[Byte() % (sizeof(edges) / sizeof(edges[0]))];
            }
            default:
                return Raw<std::int16_t>();
        }
    }

    // Any double, though often one that breaks arithmetic: infinities, NaN,
    // 1e308, zeros of both signs, or a small number of ordinary size.
    double Double() {
        switch (Byte() % 4) {
            case 0:
                return Raw<double>();
            case 1: {
                constexpr double kInf = std::numeric_limits<double>::infinity();
                const double special[] = {0.0,
                                          -0.0,
                                          1.0,
                                          -1.0,
                                          0.5,
                                          kInf,
                                          -kInf,
                                          std::numeric_limits<double>::quiet_NaN(),
                                          1e308,
                                          -1e308,
                                          std::numeric_limits<double>::max(),
                                          std::numeric_limits<double>::denorm_min(),
                                          1e-300,
                                          2147483648.0,
                                          -2147483649.0,
                                          4000.0};
                return special[Byte() % (sizeof(special) / sizeof(special[0]))];
            }
            default:
                return Raw<std::int16_t>() / 256.0;
        }
    }

  private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

}  // namespace lunvik::fuzz
