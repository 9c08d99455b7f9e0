// Small helpers shared by the geometry and view tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "geometry/model_base.h"

namespace lunvik::test {

using V = CGridTmpl<double>;

inline void ExpectVec(const V& v, double x, double y, double z, double tol = 1e-12) {
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

inline void ExpectVec(const V& v, const V& want, double tol = 1e-12) {
    ExpectVec(v, want.x, want.y, want.z, tol);
}

inline void Fill(CModelBase::CVertices& a, std::int32_t from, const V& v) {
    std::fill(a.begin() + from, a.end(), v);
}

// Entries from index `from` on that no longer hold v.
inline auto ChangedFrom(const CModelBase::CVertices& a, std::int32_t from, const V& v) {
    return std::count_if(a.begin() + from, a.end(),
                         [&](const V& e) { return e.x != v.x || e.y != v.y || e.z != v.z; });
}

inline CModelParam CubeParam(double sx, double sy, double sz) {
    CModelParam p;
    p.sizeX[0] = sx;
    p.sizeY[0] = sy;
    p.sizeZ[0] = sz;
    return p;
}

inline CModelParam StarParam(double radius, double depth) {
    CModelParam p;
    p.radius = radius;
    p.depth = depth;
    return p;
}

// Spacings a (x) and b (z) and the count the grid's size comes from.
inline CModelParam LineParam(double a, double b, std::int32_t count) {
    CModelParam p = CubeParam(a, 0, b);
    p.count = count;
    return p;
}

}  // namespace lunvik::test
