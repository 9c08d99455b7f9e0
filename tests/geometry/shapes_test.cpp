// The three shapes: their vertices in the index order the drawing routines
// join them by.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "geometry/cube.h"
#include "geometry/line.h"
#include "geometry/star.h"
#include "tests/geometry/geometry_test_util.h"

using namespace lunvik::test;

namespace {
const V kMark{7, -8, 9};
}  // namespace

TEST(GeometryLineGrid, PageTwoGridWritesTwoHundredModelVerticesAndNothingElse) {
    auto m = std::make_unique<CLine>();
    for (auto* a : {&m->m_model, &m->m_world, &m->m_camera, &m->m_screen}) {
        Fill(*a, 0, kMark);
    }
    for (std::int32_t count : {31, 0, -33}) {  // below 32: no line at all
        m->Build(LineParam(0.1, 0.1, count));
        EXPECT_EQ(m->m_count, count);
        EXPECT_EQ(ChangedFrom(m->m_model, 0, kMark), 0);
    }
    m->Build(LineParam(0.1, 0.1, 320));
    EXPECT_EQ(m->m_kind, 0);
    EXPECT_EQ(m->m_count, 320);
    ExpectVec(m->m_model[1], 1, 0, 0);
    ExpectVec(m->m_model[19], 1, 0, 0.9);
    ExpectVec(m->m_model[20], 0, 0, 0);
    ExpectVec(m->m_model[21], 0, 0, 1);
    EXPECT_EQ(ChangedFrom(m->m_model, 200, kMark), 0);
    for (auto* a : {&m->m_world, &m->m_camera, &m->m_screen}) {
        EXPECT_EQ(ChangedFrom(*a, 0, kMark), 0);
    }
    // A smaller grid over a bigger one leaves the old vertices past its own.
    m->Build(LineParam(0.25, 0.5, 64));
    ExpectVec(m->m_model[42], 0, 1, 0.1);
    ExpectVec(m->m_model[199], 0.9, 1, 1);
}

TEST(GeometryLineGrid, GroupsFollowEachOtherInTheirFixedOrder) {
    auto m = std::make_unique<CLine>();
    Fill(m->m_model, 0, kMark);
    // Distinct spacings a = 0.25 and b = 0.5, so that a mix-up shows; n = 2.
    m->Build(LineParam(0.25, 0.5, 64));
    ExpectVec(m->m_model[0], 0, 0, 0, 0);
    ExpectVec(m->m_model[1], 0.5, 0, 0, 0);
    // The second segment (i = 1) of every group: start, end.
    const V second[10][2] = {
        {{0, 0, 0.5}, {0.5, 0, 0.5}}, {{0.25, 0, 0}, {0.25, 0, 1}}, {{0, 1, 0.5}, {0.5, 1, 0.5}},
        {{0.25, 1, 0}, {0.25, 1, 1}}, {{0, 0, 0.5}, {0, 0.5, 0.5}}, {{0, 0.25, 0}, {0, 0.25, 1}},
        {{1, 0, 0.5}, {1, 0.5, 0.5}}, {{1, 0.25, 0}, {1, 0.25, 1}}, {{0, 0.5, 1}, {0.5, 0.5, 1}},
        {{0.25, 0, 1}, {0.25, 1, 1}},
    };
    for (int g = 0; g < 10; ++g) {
        SCOPED_TRACE(testing::Message() << "group " << g + 1);
        for (int end = 0; end < 2; ++end) {
            ExpectVec(m->m_model[4 * g + 2 + end], second[g][end], 0);
        }
    }
    ExpectVec(m->m_model[37], 0, 1, 1, 0);
    EXPECT_EQ(ChangedFrom(m->m_model, 40, kMark), 0);
}

TEST(GeometryCubeAndStar, VerticesGoRoundBothFacesInTheSameOrder) {
    auto m = std::make_unique<CCube>();
    m->m_modelCenter = V{5, 5, 5};
    m->Build(CubeParam(0.2, 0.4, 0.6));
    EXPECT_EQ(m->m_kind, 1);
    EXPECT_EQ(m->m_count, 8);
    ExpectVec(m->m_modelCenter, 0, 0, 0, 0);
    const double h[8][3] = {{-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {1, -1, -1},
                            {-1, -1, 1},  {-1, 1, 1},  {1, 1, 1},  {1, -1, 1}};
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(testing::Message() << "vertex " << k);
        ExpectVec(m->m_model[k], 0.1 * h[k][0], 0.2 * h[k][1], 0.3 * h[k][2]);
    }

    // A star's corners run counter-clockwise from the top, on both faces.
    auto star = std::make_unique<CStar>();
    star->m_modelCenter = V{5, 5, 5};
    Fill(star->m_model, 10, kMark);
    star->Build(StarParam(0.05, 0.025));
    EXPECT_EQ(star->m_kind, 2);
    EXPECT_EQ(star->m_count, 10);
    ExpectVec(star->m_modelCenter, 0, 0, 0, 0);
    ExpectVec(star->m_model[1], -0.04755, 0.01545, -0.0125, 1e-5);
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(testing::Message() << "corner " << k);
        const double t = (90.0 + 72.0 * k) * std::numbers::pi / 180.0;
        ExpectVec(star->m_model[k], 0.05 * std::cos(t), 0.05 * std::sin(t), -0.0125);
        ExpectVec(star->m_model[k + 5], 0.05 * std::cos(t), 0.05 * std::sin(t), 0.0125);
    }
    EXPECT_EQ(ChangedFrom(star->m_model, 10, kMark), 0);
}
