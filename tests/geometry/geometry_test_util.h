// Small helpers shared by the geometry and view tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "geometry/model_base.h"

namespace lunvik::test {

using V = CGridTmpl<double>;

inline void ExpectVec(const V& v, const V& want, double tol = 1e-12) {
    EXPECT_NEAR(v.x, want.x, tol);
    EXPECT_NEAR(v.y, want.y, tol);
    EXPECT_NEAR(v.z, want.z, tol);
}

// Entries from index `from` on that no longer hold v.
inline auto ChangedFrom(const CModelBase::CVertices& a, std::int32_t from, const V& v) {
    return std::count_if(a.begin() + from, a.end(),
                         [&](const V& e) { return e.x != v.x || e.y != v.y || e.z != v.z; });
}

// sizeX, sizeY, sizeZ (element 0; a grid's spacings are x and z), radius,
// depth and count, as the pages fill them.
inline CModelParam Param(double sx, double sy, double sz, double radius = 0, double depth = 0,
                         std::int32_t count = 0) {
    CModelParam p;
    p.sizeX[0] = sx;
    p.sizeY[0] = sy;
    p.sizeZ[0] = sz;
    p.radius = radius;
    p.depth = depth;
    p.count = count;
    return p;
}

}  // namespace lunvik::test
