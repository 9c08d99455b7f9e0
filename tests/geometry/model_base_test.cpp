// The model pipeline: bouncing, rotation, camera basis, projection, and what
// every pass leaves alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numbers>

#include "geometry/cube.h"
#include "geometry/line.h"
#include "geometry/star.h"
#include "tests/geometry/geometry_test_util.h"
#include "tests/support/alloc_counter.h"

using namespace lunvik::test;

namespace {

constexpr double kQuarter = std::numbers::pi / 2.0;

std::unique_ptr<CCube> MakeCube() {
    auto cube = std::make_unique<CCube>();
    cube->Build(CubeParam(0.05, 0.05, 0.05));
    return cube;
}

double Distance(const V& a, const V& b) {
    return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

}  // namespace

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
    // The world stage follows the new position at once.
    ExpectVec(m->m_world[0], 0.975, -0.025, 0.475);
    ExpectVec(m->m_worldCenter, 1, 0, 0.5);
}

TEST(GeometryRotate, RightHandedAboutEachAxisAndXFirstThenYThenZ) {
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
    for (const auto& c : cases) {
        auto m = MakeCube();
        m->m_count = 3;
        for (int i = 0; i < 3; ++i) {
            m->m_model[i] = V(i == 0, i == 1, i == 2);
        }
        double ax = c.ax, ay = c.ay, az = c.az;
        m->Rotate(ax, ay, az, 1.0);
        for (int i = 0; i < 3; ++i) {
            ExpectVec(m->m_model[i], c.images[i]);
        }
    }
}

TEST(GeometryRotate, ShapesStayRigidAndAnglesDecayByFactorToTheCount) {
    auto cube = MakeCube();
    auto star = std::make_unique<CStar>();
    star->Build(StarParam(0.05, 0.025));
    for (CModelBase* m : std::array<CModelBase*, 2>{cube.get(), star.get()}) {
        std::array<V, 10> built;
        std::copy_n(m->m_model.begin(), m->m_count, built.begin());
        for (double factor : {1.0, 0.999}) {
            SCOPED_TRACE(testing::Message() << "kind " << m->m_kind << " factor " << factor);
            double ax = 0, ay = 0, az = 0;
            for (int call = 0; call < 3000; ++call) {
                ax = 0.031, ay = -0.017, az = 0.023;
                m->Rotate(ax, ay, az, factor);
            }
            double expected[] = {0.031, -0.017, 0.023};
            for (double& a : expected) {
                for (int i = 0; i < m->m_count; ++i) {
                    a *= factor;
                }
            }
            EXPECT_EQ(ax, expected[0]);
            EXPECT_EQ(ay, expected[1]);
            EXPECT_EQ(az, expected[2]);
            // Every distance between two vertices, edges included, is kept.
            for (int i = 0; i < m->m_count; ++i) {
                for (int j = i + 1; j < m->m_count; ++j) {
                    const double d0 = Distance(built[i], built[j]);
                    EXPECT_NEAR(Distance(m->m_model[i], m->m_model[j]), d0, 1e-9 * d0);
                }
            }
        }
    }
}

TEST(GeometryRotate, ZeroAnglesAndEmptyModelsChangeNothing) {
    auto m = MakeCube();
    m->m_modelCenter = V{0.1, 0.2, 0.3};  // never turned
    // A zero angle must not touch its coordinates at all: with an infinite y,
    // even a turn by 0 about x would make z NaN.
    m->m_model[0] = V{1, INFINITY, 0};
    double ax = 0, ay = 0.5, az = 0;
    m->Rotate(ax, ay, az, 0.5);
    EXPECT_NEAR(m->m_model[0].x, std::cos(0.5), 1e-12);
    EXPECT_EQ(m->m_model[0].y, INFINITY);
    EXPECT_NEAR(m->m_model[0].z, -std::sin(0.5), 1e-12);
    EXPECT_EQ(ax, 0.0);
    ExpectVec(m->m_modelCenter, 0.1, 0.2, 0.3, 0);

    m->m_model[0] = V{1, 2, 3};
    std::array<V, 8> before;
    std::copy_n(m->m_model.begin(), 8, before.begin());
    for (std::int32_t count : {8, 0, -5}) {
        m->m_count = count;
        // All angles zero, or no vertex to turn: nothing turns, nothing decays.
        ax = ay = az = count > 0 ? 0 : 0.3;
        m->Rotate(ax, ay, az, 0.5);
        EXPECT_EQ(az, count > 0 ? 0 : 0.3);
        for (int i = 0; i < 8; ++i) {
            ExpectVec(m->m_model[i], before[i], 0);
        }
    }
}

TEST(GeometryCamera, LevelEyeDrawsXRightAndYUpARaisedOneShrinksTheSideRows) {
    auto m = MakeCube();
    m->m_eye = V{0, 0, -1};
    m->UpdateCamera();
    ExpectVec(m->m_axisX, 1, 0, 0, 0);
    ExpectVec(m->m_axisY, 0, 1, 0, 0);
    ExpectVec(m->m_axisZ, 0, 0, -1, 0);
    m->m_screenSize = V{400, 300, 0};
    m->m_count = 2;
    m->m_model[0] = V{0.5, 0, 0};
    m->m_model[1] = V{0, 0.5, 0};
    m->Refresh();
    ExpectVec(m->m_screenCenter, 200, 150, 0);
    ExpectVec(m->m_screen[0], 300, 150, 0);  // +x to the right
    ExpectVec(m->m_screen[1], 200, 75, 0);   // +y upwards

    // Raised: the side rows are not normalised, they shrink by the cosine of elevation.
    m->m_eye = V{0, 1, -1};
    m->UpdateCamera();
    const double r = 1.0 / std::sqrt(2.0);
    ExpectVec(m->m_axisZ, 0, r, -r);
    ExpectVec(m->m_axisX, r, 0, 0);
    ExpectVec(m->m_axisY, 0, 0.5, 0.5);
    // Off every axis: (nx, ny, nz) = (2, 2, 1) / 3.
    m->m_lookAt = V{1, 1, 1};
    m->m_eye = V{3, 3, 2};
    m->UpdateCamera();
    ExpectVec(m->m_axisX, -1.0 / 3, 0, 2.0 / 3);
    ExpectVec(m->m_axisY, -4.0 / 9, 5.0 / 9, -2.0 / 9);

    // Straight above the look-at point: no side rows, everything at the centre.
    m->m_count = 8;
    m->m_position = V{0.2, 0.1, 0.7};
    m->m_lookAt = V{0.5, 0.5, 0.5};
    m->m_eye = V{0.5, 3, 0.5};
    m->UpdateCamera();
    m->Refresh();
    for (int i = 0; i < 8; ++i) {
        ExpectVec(m->m_screen[i], 200, 150, 0, 0);
    }
}

TEST(GeometryProject, NinetyDegreeFieldsStretchToTheAreaAndPointsBehindMirror) {
    auto m = MakeCube();
    m->m_screenSize = V{640, 200, 0};
    // Camera points and where they land; the last is behind the eye and lands
    // where its mirror image in front would.
    const V cases[][2] = {{{-1, 0, -1}, {0, 100, 0}},      {{3, 0, -3}, {640, 100, 0}},
                          {{0, 0.5, -0.5}, {320, 0, 0}},   {{0, -2, -2}, {320, 200, 0}},
                          {{-0.5, 0.5, -1}, {160, 50, 0}}, {{-0.5, 0.5, 1}, {160, 50, 0}}};
    m->m_count = 6;
    for (int i = 0; i < 6; ++i) {
        m->m_camera[i] = cases[i][0];
    }
    m->m_cameraCenter = V{1, 1, 2};
    m->Project();
    for (int i = 0; i < 6; ++i) {
        ExpectVec(m->m_screen[i], cases[i][1], 0);
    }
    ExpectVec(m->m_screenCenter, 480, 50, 0, 0);
}

TEST(GeometryProject, ZeroDepthStoresNonFiniteValuesAndGoesOn) {
    auto m = MakeCube();
    m->m_screenSize = V{400, 300, 0};
    m->m_count = 3;
    m->m_camera[0] = V{1, -1, 0};
    m->m_camera[1] = V{0, 0, 0};
    m->m_camera[2] = V{1, 1, -1};
    m->Project();
    EXPECT_EQ(m->m_screen[0].x, INFINITY);
    EXPECT_EQ(m->m_screen[0].y, INFINITY);
    EXPECT_TRUE(std::isnan(m->m_screen[1].x));
    ExpectVec(m->m_screen[2], 400, 0, 0, 0);

    // The eye on the look-at point: no basis (and no NaN in it), every depth is 0.
    m->m_count = 8;
    m->m_eye = m->m_lookAt = V{0.5, 0.5, 0.5};
    m->UpdateCamera();
    ExpectVec(m->m_axisZ, 0, 0, 0, 0);
    m->Refresh();
    for (int i = 0; i < 8; ++i) {
        EXPECT_FALSE(std::isfinite(m->m_screen[i].x));
    }
}

// Every operation of a tick, on each shape: nothing allocates, and entries
// from the count on are never touched, nor past the capacity.
TEST(GeometryPipeline, TicksAllocateNothingAndLeaveEntriesFromCountOnAlone) {
    auto line = std::make_unique<CLine>();
    auto cube = std::make_unique<CCube>();
    auto star = std::make_unique<CStar>();
    const CModelParam params[] = {LineParam(0.1, 0.1, 320), CubeParam(0.05, 0.05, 0.05),
                                  StarParam(0.05, 0.025)};
    CModelBase* models[] = {line.get(), cube.get(), star.get()};
    const V mark{7, -8, 9};
    for (int k = 0; k < 3; ++k) {
        CModelBase& m = *models[k];
        m.Build(params[k]);
        for (auto* a : {&m.m_model, &m.m_world, &m.m_camera, &m.m_screen}) {
            Fill(*a, m.m_count, mark);
        }
        m.m_screenSize = V{400, 300, 0};
        m.m_position = V{0.5, 0.5, 0.5};
        const std::size_t allocations = CountAllocations([&] {
            m.m_eye = V{0.5, 0.8, -2};
            m.UpdateCamera();
            for (int tick = 0; tick < 10; ++tick) {
                double ax = 0.1, ay = 0.2, az = 0.3;
                m.Rotate(ax, ay, az, 0.999);
                m.Move(0.01, 0.02, 0.03);
                V velocity{0.9, -0.9, 0.1};
                m.MoveAndBounce(velocity, 0.5);
                m.Refresh();
            }
            m.Build(params[k]);
        });
        SCOPED_TRACE(testing::Message() << "kind " << m.m_kind);
        EXPECT_EQ(allocations, 0u);
        for (auto* a : {&m.m_model, &m.m_world, &m.m_camera, &m.m_screen}) {
            EXPECT_EQ(ChangedFrom(*a, m.m_count, mark), 0);
        }
    }

    // A vertex written past an array would land on the centre that follows it.
    for (CModelBase* m : models) {
        m->m_modelCenter = V{1, 2, 3};
        m->m_position = V{0.5, 0.5, 0.5};
        m->m_count = CModelBase::kMaxVertices + 10;
        double ax = 0.5, ay = 0.5, az = 0.5;
        m->Rotate(ax, ay, az, 1.0);
        m->Refresh();
        ExpectVec(m->m_worldCenter, 1.5, 2.5, 3.5, 0);
    }
    line->Build(LineParam(0.001, 0.001, 100000));
    EXPECT_EQ(line->m_count, 100000);
    ExpectVec(line->m_modelCenter, 1, 2, 3, 0);
}
