// The models: the shapes' vertices, bouncing, rotation, camera basis and
// projection, and what a tick may touch and allocate.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>

#include "geometry/cube.h"
#include "geometry/line.h"
#include "geometry/star.h"
#include "tests/geometry/geometry_test_util.h"

using namespace lunvik::test;

namespace {

constexpr double kQuarter = std::numbers::pi / 2.0;
const V kMark{7, -8, 9};

std::unique_ptr<CCube> MakeCube() {
    auto cube = std::make_unique<CCube>();
    cube->Build(Param(0.05, 0.05, 0.05));
    return cube;
}

TEST(GeometryShapes, VerticesInTheOrderTheDrawingRoutinesJoinThem) {
    auto line = std::make_unique<CLine>();
    std::fill(line->m_model.begin(), line->m_model.end(), kMark);
    for (std::int32_t count : {31, -33}) {  // below 32: no line at all
        line->Build(Param(0.1, 0, 0.1, 0, 0, count));
        EXPECT_EQ(line->m_count, count);
        EXPECT_EQ(ChangedFrom(line->m_model, 0, kMark), 0);
    }
    line->Build(Param(0.1, 0, 0.1, 0, 0, 320));
    EXPECT_EQ(ChangedFrom(line->m_model, 200, kMark), 0);
    // A smaller grid writes its own 40 vertices only: with a count of 64 the
    // drawing joins 24 left from the bigger grid too.
    const CModelBase::CVertices bigger = line->m_model;
    line->Build(Param(0.25, 0, 0.5, 0, 0, 64));
    EXPECT_EQ(std::memcmp(&bigger[40], &line->m_model[40], (bigger.size() - 40) * sizeof(V)), 0);

    auto cube = std::make_unique<CCube>();
    cube->Build(Param(0.2, 0.4, 0.6));
    ExpectVec(cube->m_model[2],
              V(0.1, 0.2, -0.3));  // near face, then the far one in the same order
    ExpectVec(cube->m_model[7], V(0.1, -0.2, 0.3));
    // A star's corners run counter-clockwise from the top, on both faces.
    auto star = std::make_unique<CStar>();
    star->Build(Param(0, 0, 0, 0.05, 0.025));
    ExpectVec(star->m_model[1], V(-0.04755, 0.01545, -0.0125), 1e-5);
    ExpectVec(star->m_model[5], V(0, 0.05, 0.0125));
}

TEST(GeometryBounce, ClampsToTheFaceReflectsByFactorAndReportsTheLastAxis) {
    struct Case {
        V position, velocity;
        double factor;
        int bounced;
        V wantPosition, wantVelocity;
    };
    const Case cases[] = {
        {{0.95, 0.5, 0.5}, {0.1, 0, 0}, 0.9, 1, {1, 0.5, 0.5}, {-0.09, 0, 0}},
        // Landing exactly on a face is no bounce.
        {{0.5, 0.75, 0.25}, {0.5, -0.75, 0.75}, 0.5, 0, {1, 0, 1}, {0.5, -0.75, 0.75}},
        {{0.9, 0.5, 0.1}, {0.2, 0.1, -0.3}, 0.5, 3, {1, 0.6, 0}, {-0.1, 0.1, 0.15}},
        {{0.9, 0.1, 0.5}, {0.2, -0.3, 0}, 1.0, 2, {1, 0, 0.5}, {-0.2, 0.3, 0}},
    };
    auto m = MakeCube();  // a new model bounces in the unit box
    for (const Case& c : cases) {
        m->m_position = c.position;
        V velocity = c.velocity;
        EXPECT_EQ(m->MoveAndBounce(velocity, c.factor), c.bounced);
        ExpectVec(m->m_position, c.wantPosition, 1e-15);
        ExpectVec(velocity, c.wantVelocity, 1e-15);
    }
    ExpectVec(m->m_world[0], V(0.975, -0.025, 0.475));  // the world stage follows at once
}

TEST(GeometryRotate, RightHandedXThenYThenZAndAnglesDecayOncePerVertex) {
    // Quarter turns, and where they take the unit axes x, y and z.
    const struct {
        double ax, ay, az;
        V images[3];
    } cases[] = {
        {kQuarter, 0, 0, {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}}},  // y -> z, z -> -y
        {0, kQuarter, 0, {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}},  // z -> x, x -> -z
        {0, 0, kQuarter, {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}},  // x -> y, y -> -x
        {kQuarter, kQuarter, kQuarter, {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}},
    };
    auto m = MakeCube();
    m->m_count = 3;
    for (const auto& c : cases) {
        for (int i = 0; i < 3; ++i) {
            m->m_model[i] = V(i == 0, i == 1, i == 2);
        }
        double ax = c.ax, ay = c.ay, az = c.az;
        m->Rotate(ax, ay, az, 1.0);
        for (int i = 0; i < 3; ++i) {
            ExpectVec(m->m_model[i], c.images[i]);
        }
    }
    // Every vertex turns by the same angle (the shape stays rigid); the angle
    // then decays by the factor once per vertex.
    for (int i = 0; i < 3; ++i) {
        m->m_model[i] = V(0, 1, 0);
    }
    double ax = 0.8, ay = 0, az = 0;
    m->Rotate(ax, ay, az, 0.5);
    EXPECT_DOUBLE_EQ(ax, 0.1);
    for (int i = 0; i < 3; ++i) {
        ExpectVec(m->m_model[i], V(0, std::cos(0.8), std::sin(0.8)));
    }
}

TEST(GeometryRotate, ZeroAnglesAndEmptyModelsChangeNothing) {
    auto m = MakeCube();
    // A zero angle must not touch its coordinates at all: with an infinite y,
    // even a turn by 0 about x would make z NaN.
    m->m_model[0] = V{1, INFINITY, 0};
    const CModelBase::CVertices before = m->m_model;
    for (std::int32_t count : {8, 0, -5}) {
        m->m_count = count;
        // All angles zero, or no vertex to turn: nothing turns, nothing decays.
        double ax = 0, ay = 0, az = count > 0 ? 0 : 0.3;
        m->Rotate(ax, ay, az, 0.5);
        EXPECT_EQ(az, count > 0 ? 0 : 0.3);
        EXPECT_EQ(std::memcmp(&before, &m->m_model, sizeof before), 0);
    }
    double ax = 0, ay = 0.5, az = 0;
    m->m_count = 1;
    m->Rotate(ax, ay, az, 0.5);
    EXPECT_EQ(m->m_model[0].y, INFINITY);
    EXPECT_NEAR(m->m_model[0].z, -std::sin(0.5), 1e-12);
}

TEST(GeometryCamera, LevelEyeDrawsXRightAndYUpARaisedOneShrinksTheSideRows) {
    auto m = MakeCube();
    m->m_eye = V{0, 0, -1};
    m->UpdateCamera();
    m->m_screenSize = V{400, 300, 0};
    m->m_count = 2;
    m->m_model[0] = V{0.5, 0, 0};
    m->m_model[1] = V{0, 0.5, 0};
    m->Refresh();
    ExpectVec(m->m_screen[0], V(300, 150, 0));  // +x to the right
    ExpectVec(m->m_screen[1], V(200, 75, 0));   // +y upwards

    // Raised: the side rows are not normalised, they shrink by the cosine of elevation.
    m->m_eye = V{0, 1, -1};
    m->UpdateCamera();
    ExpectVec(m->m_axisX, V(1 / std::sqrt(2.0), 0, 0));
    ExpectVec(m->m_axisY, V(0, 0.5, 0.5));

    // Straight above the look-at point: no side rows, everything at the centre.
    m->m_count = 8;
    m->m_lookAt = V{0.5, 0.5, 0.5};
    m->m_eye = V{0.5, 3, 0.5};
    m->UpdateCamera();
    m->Refresh();
    for (int i = 0; i < 8; ++i) {
        ExpectVec(m->m_screen[i], V(200, 150, 0), 0);
    }
}

TEST(GeometryProject, NinetyDegreeFieldsBehindTheEyeMirroredAndZeroDepthNotFinite) {
    auto m = MakeCube();
    m->m_screenSize = V{640, 200, 0};
    // Camera points and where they land; the one behind the eye lands where
    // its mirror image in front would; depth 0 gives infinite or NaN values.
    const V cases[][2] = {
        {{-1, 0, -1}, {0, 100, 0}},
        {{3, 0, -3}, {640, 100, 0}},
        {{0, 0.5, -0.5}, {320, 0, 0}},
        {{0, -2, -2}, {320, 200, 0}},
        {{-0.5, 0.5, -1}, {160, 50, 0}},
        {{-0.5, 0.5, 1}, {160, 50, 0}},
        {{1, -1, 0}, {INFINITY, INFINITY, 0}},
    };
    m->m_count = 8;
    for (int i = 0; i < 7; ++i) {
        m->m_camera[i] = cases[i][0];
    }
    m->m_camera[7] = V{0, 0, 0};
    m->Project();
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(m->m_screen[i].x, cases[i][1].x) << i;
        EXPECT_EQ(m->m_screen[i].y, cases[i][1].y) << i;
    }
    EXPECT_TRUE(std::isnan(m->m_screen[7].x));
}

// Built with marks past the count in every stage (each shape reads its own
// part of the parameters).
std::unique_ptr<CModelBase> MarkedModel(int kind) {
    std::unique_ptr<CModelBase> m;
    if (kind == CModelBase::kLineKind) {
        m = std::make_unique<CLine>();
    } else if (kind == CModelBase::kCubeKind) {
        m = std::make_unique<CCube>();
    } else {
        m = std::make_unique<CStar>();
    }
    m->Build(Param(0.1, 0.05, 0.1, 0.05, 0.025, 320));
    for (auto* a : {&m->m_model, &m->m_world, &m->m_camera, &m->m_screen}) {
        std::fill(a->begin() + m->m_count, a->end(), kMark);
    }
    m->m_screenSize = V{400, 300, 0};
    m->m_position = V{0.5, 0.5, 0.5};
    return m;
}

// Every operation of a tick, on each shape, leaves the entries from the
// count on alone. (That a tick allocates nothing is the pages' tests'.)
TEST(GeometryPipeline, TicksLeaveEntriesFromTheCountOnAlone) {
    for (int kind : {CModelBase::kLineKind, CModelBase::kCubeKind, CModelBase::kStarKind}) {
        std::unique_ptr<CModelBase> m = MarkedModel(kind);
        m->m_eye = V{0.5, 0.8, -2};
        m->UpdateCamera();
        for (int tick = 0; tick < 10; ++tick) {
            double ax = 0.1, ay = 0.2, az = 0.3;
            m->Rotate(ax, ay, az, 0.999);
            m->Move(0.01, 0.02, 0.03);
            V velocity{0.9, -0.9, 0.1};
            m->MoveAndBounce(velocity, 0.5);
            m->Refresh();
        }
        for (auto* a : {&m->m_model, &m->m_world, &m->m_camera, &m->m_screen}) {
            EXPECT_EQ(ChangedFrom(*a, m->m_count, kMark), 0) << "kind " << kind;
        }
    }
}

// A count past the capacity turns and projects no vertex past the arrays: one
// would land on the centre that follows them.
TEST(GeometryPipeline, ACountPastTheCapacityStaysInsideTheArrays) {
    for (int kind : {CModelBase::kLineKind, CModelBase::kCubeKind, CModelBase::kStarKind}) {
        std::unique_ptr<CModelBase> m = MarkedModel(kind);
        m->m_modelCenter = V{1, 2, 3};
        m->m_count = CModelBase::kMaxVertices + 10;
        double ax = 0.5, ay = 0.5, az = 0.5;
        m->Rotate(ax, ay, az, 1.0);
        m->Refresh();
        ExpectVec(m->m_worldCenter, V(1.5, 2.5, 3.5), 0);
    }
    auto line = std::make_unique<CLine>();
    line->m_modelCenter = V{1, 2, 3};
    line->Build(Param(0.001, 0, 0.001, 0, 0, 100000));
    EXPECT_EQ(line->m_count, 100000);
    ExpectVec(line->m_modelCenter, V(1, 2, 3), 0);
}

}  // namespace
