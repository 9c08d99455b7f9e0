// Small helpers shared by the geometry tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "geometry/model_base.h"

namespace lunvik::test {

using V = CGridTmpl<double>;

inline void ExpectVec(const V& v, double x, double y, double z, double tol = 1e-12) {
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

inline void Fill(CModelBase::CVertices& a, std::int32_t from, const V& v) {
    for (std::int32_t i = from; i < CModelBase::kMaxVertices; ++i) {
        a[i] = v;
    }
}

// Entries from index `from` on that no longer hold v.
inline int ChangedFrom(const CModelBase::CVertices& a, std::int32_t from, const V& v) {
    int changed = 0;
    for (std::int32_t i = from; i < CModelBase::kMaxVertices; ++i) {
        if (a[i].x != v.x || a[i].y != v.y || a[i].z != v.z) {
            ++changed;
        }
    }
    return changed;
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

inline CModelParam LineParam(double a, double b, std::int32_t count) {
    CModelParam p;
    p.sizeX[0] = a;
    p.sizeZ[0] = b;
    p.count = count;
    return p;
}

}  // namespace lunvik::test
