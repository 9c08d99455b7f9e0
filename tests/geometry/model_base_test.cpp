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

// The unit axes as a model's three vertices, turned once.
std::unique_ptr<CCube> TurnAxes(double ax, double ay, double az) {
    auto m = MakeCube();
    m->m_model[0] = V{1, 0, 0};
    m->m_model[1] = V{0, 1, 0};
    m->m_model[2] = V{0, 0, 1};
    m->m_count = 3;
    m->Rotate(ax, ay, az, 1.0);
    return m;
}

double Distance(const V& a, const V& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                     (a.z - b.z) * (a.z - b.z));
}

}  // namespace

TEST(GeometryVector, NormalizedGivesUnitLengthAndKeepsZero) {
    ExpectVec(V{3, 0, 4}.Normalized(), 0.6, 0, 0.8);
    ExpectVec(V{0, -2, 0}.Normalized(), 0, -1, 0);
    ExpectVec(V{}.Normalized(), 0, 0, 0, 0);
}

TEST(GeometryModelBase, NewModelHasUnitBounceBoxAndEverythingElseZero) {
    auto m = std::make_unique<CStar>();
    ExpectVec(m->m_boxMin, 0, 0, 0, 0);
    ExpectVec(m->m_boxMax, 1, 1, 1, 0);
    for (const V* v : {&m->m_modelCenter, &m->m_worldCenter, &m->m_cameraCenter, &m->m_screenCenter,
                       &m->m_position, &m->m_eye, &m->m_lookAt, &m->m_axisX, &m->m_axisY,
                       &m->m_axisZ, &m->m_screenSize}) {
        ExpectVec(*v, 0, 0, 0, 0);
    }
    for (const auto* a : {&m->m_model, &m->m_world, &m->m_camera, &m->m_screen}) {
        EXPECT_EQ(ChangedFrom(*a, 0, V{}), 0);
    }
}

TEST(GeometryBounce, ClampsToTheFaceAndReflectsScaledByFactor) {
    auto m = MakeCube();
    m->m_position = V{0.95, 0.5, 0.5};
    V velocity{0.1, 0, 0};
    EXPECT_EQ(m->MoveAndBounce(velocity, 0.9), 1);
    ExpectVec(m->m_position, 1, 0.5, 0.5, 0);
    ExpectVec(velocity, -0.09, 0, 0);
    // The world stage follows the new position at once.
    ExpectVec(m->m_world[0], 0.975, 0.475, 0.475);
    ExpectVec(m->m_worldCenter, 1, 0.5, 0.5);
}

TEST(GeometryBounce, LandingExactlyOnAFaceIsNoBounce) {
    auto m = MakeCube();
    m->m_position = V{0.5, 0.75, 0.25};
    V velocity{0.5, -0.75, 0.75};
    EXPECT_EQ(m->MoveAndBounce(velocity, 0.5), 0);
    ExpectVec(m->m_position, 1, 0, 1, 0);
    ExpectVec(velocity, 0.5, -0.75, 0.75, 0);
}

TEST(GeometryBounce, SeveralAxesInOneCallReportTheLast) {
    auto m = MakeCube();
    m->m_position = V{0.9, 0.5, 0.1};
    V velocity{0.2, 0.1, -0.3};
    EXPECT_EQ(m->MoveAndBounce(velocity, 0.5), 3);
    ExpectVec(m->m_position, 1, 0.6, 0, 1e-15);
    ExpectVec(velocity, -0.1, 0.1, 0.15, 1e-15);

    m->m_position = V{0.9, 0.1, 0.5};
    velocity = V{0.2, -0.3, 0};
    EXPECT_EQ(m->MoveAndBounce(velocity, 1.0), 2);
    ExpectVec(m->m_position, 1, 0, 0.5, 0);
    ExpectVec(velocity, -0.2, 0.3, 0, 0);
}

TEST(GeometryRotate, RightHandedAboutEachAxisAndXFirstThenYThenZ) {
    auto m = TurnAxes(kQuarter, 0, 0);  // y -> z, z -> -y
    ExpectVec(m->m_model[0], 1, 0, 0);
    ExpectVec(m->m_model[1], 0, 0, 1);
    ExpectVec(m->m_model[2], 0, -1, 0);
    m = TurnAxes(0, kQuarter, 0);  // z -> x, x -> -z
    ExpectVec(m->m_model[0], 0, 0, -1);
    ExpectVec(m->m_model[2], 1, 0, 0);
    m = TurnAxes(0, 0, kQuarter);  // x -> y, y -> -x
    ExpectVec(m->m_model[0], 0, 1, 0);
    ExpectVec(m->m_model[1], -1, 0, 0);
    m = TurnAxes(kQuarter, kQuarter, kQuarter);
    ExpectVec(m->m_model[0], 0, 0, -1);
    ExpectVec(m->m_model[1], 0, 1, 0);
    ExpectVec(m->m_model[2], 1, 0, 0);
}

TEST(GeometryRotate, OneCallEqualsOneCallPerAxisInOrder) {
    auto once = MakeCube();
    auto perAxis = MakeCube();
    double ax = 0.3, ay = -0.7, az = 1.1, none = 0;
    once->Rotate(ax, ay, az, 1.0);
    EXPECT_EQ(ax, 0.3);
    perAxis->Rotate(ax, none, none, 1.0);
    perAxis->Rotate(none, ay, none, 1.0);
    perAxis->Rotate(none, none, az, 1.0);
    for (int i = 0; i < 8; ++i) {
        ExpectVec(perAxis->m_model[i], once->m_model[i].x, once->m_model[i].y, once->m_model[i].z);
    }
}

TEST(GeometryRotate, EveryVertexTurnsByTheAnglesPassedIn) {
    auto m = MakeCube();
    m->m_count = 3;
    m->m_modelCenter = V{0.1, 0.2, 0.3};  // not turned
    for (int i = 0; i < 3; ++i) {
        m->m_model[i] = V{0, 1, 0};
    }
    double ax = 0.8, ay = 0, az = 0;
    m->Rotate(ax, ay, az, 0.5);
    for (int i = 0; i < 3; ++i) {
        ExpectVec(m->m_model[i], 0, std::cos(0.8), std::sin(0.8));
    }
    ExpectVec(m->m_modelCenter, 0.1, 0.2, 0.3, 0);
    EXPECT_EQ(ax, 0.1);
    EXPECT_EQ(ay, 0.0);
}

TEST(GeometryRotate, ShapesStayRigidAndAnglesDecayByFactorToTheCount) {
    auto cube = MakeCube();
    auto star = std::make_unique<CStar>();
    star->Build(StarParam(0.05, 0.025));
    for (CModelBase* m :
         {static_cast<CModelBase*>(cube.get()), static_cast<CModelBase*>(star.get())}) {
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
    // A zero angle must not touch its coordinates at all: with an infinite y,
    // even a turn by 0 about x would make z NaN.
    m->m_model[0] = V{1, INFINITY, 0};
    double ax = 0, ay = 0.5, az = 0;
    m->Rotate(ax, ay, az, 1.0);
    EXPECT_NEAR(m->m_model[0].x, std::cos(0.5), 1e-12);
    EXPECT_EQ(m->m_model[0].y, INFINITY);
    EXPECT_NEAR(m->m_model[0].z, -std::sin(0.5), 1e-12);

    m->m_model[0] = V{1, 2, 3};
    std::array<V, 8> before;
    std::copy_n(m->m_model.begin(), 8, before.begin());
    ax = ay = az = 0;
    m->Rotate(ax, ay, az, 0.5);
    for (int i = 0; i < 8; ++i) {
        ExpectVec(m->m_model[i], before[i].x, before[i].y, before[i].z, 0);
    }
    EXPECT_EQ(ax, 0.0);

    for (std::int32_t count : {0, -5}) {
        m->m_count = count;
        ax = 0.3, ay = 0.2, az = 0.1;
        m->Rotate(ax, ay, az, 0.5);
        EXPECT_EQ(ax, 0.3);
        EXPECT_EQ(ay, 0.2);
        EXPECT_EQ(az, 0.1);
        for (int i = 0; i < 8; ++i) {
            ExpectVec(m->m_model[i], before[i].x, before[i].y, before[i].z, 0);
        }
    }
}

TEST(GeometryCamera, LevelEyeDrawsXToTheRightAndYUpwards) {
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
}

TEST(GeometryCamera, RaisedEyeShrinksTheSideRowsByTheCosineOfElevation) {
    auto m = MakeCube();
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
}

TEST(GeometryCamera, EyeStraightAboveDrawsEverythingAtTheCentre) {
    auto m = MakeCube();
    m->m_screenSize = V{400, 300, 0};
    m->m_position = V{0.2, 0.1, 0.7};
    m->m_lookAt = V{0.5, 0.5, 0.5};
    m->m_eye = V{0.5, 3, 0.5};
    m->UpdateCamera();
    ExpectVec(m->m_axisX, 0, 0, 0, 0);
    ExpectVec(m->m_axisY, 0, 0, 0, 0);
    m->Refresh();
    for (int i = 0; i < 8; ++i) {
        ExpectVec(m->m_screen[i], 200, 150, 0, 0);
    }
}

TEST(GeometryProject, PointsBehindTheEyeLandOnTheirMirrorImages) {
    auto m = MakeCube();
    m->m_screenSize = V{400, 300, 0};
    m->m_count = 2;
    m->m_camera[0] = V{1, 1, -2};
    m->m_camera[1] = V{1, 1, 2};
    m->m_cameraCenter = V{1, 1, -2};
    m->m_screen[0] = m->m_screen[1] = V{9, 9, 9};
    m->Project();
    ExpectVec(m->m_screen[0], 300, 75, 0, 0);
    ExpectVec(m->m_screen[1], 300, 75, 0, 0);
    ExpectVec(m->m_screenCenter, 300, 75, 0, 0);
}

TEST(GeometryProject, BothFieldsOfViewAre90DegreesAndStretchToTheArea) {
    auto m = MakeCube();
    m->m_screenSize = V{640, 200, 0};
    m->m_count = 5;
    m->m_camera[0] = V{-1, 0, -1};
    m->m_camera[1] = V{3, 0, -3};
    m->m_camera[2] = V{0, 0.5, -0.5};
    m->m_camera[3] = V{0, -2, -2};
    m->m_camera[4] = V{-0.5, 0.5, -1};
    m->Project();
    ExpectVec(m->m_screen[0], 0, 100, 0, 0);
    ExpectVec(m->m_screen[1], 640, 100, 0, 0);
    ExpectVec(m->m_screen[2], 320, 0, 0, 0);
    ExpectVec(m->m_screen[3], 320, 200, 0, 0);
    ExpectVec(m->m_screen[4], 160, 50, 0, 0);
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

    // The eye on the look-at point: no basis, every depth is 0.
    m->m_count = 8;
    m->m_eye = m->m_lookAt = V{0.5, 0.5, 0.5};
    m->UpdateCamera();
    m->Refresh();
    for (int i = 0; i < 8; ++i) {
        EXPECT_FALSE(std::isfinite(m->m_screen[i].x));
    }
}

TEST(GeometryPipeline, EntriesFromCountOnAreLeftAloneByEveryOperation) {
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
        m.m_eye = V{0.5, 0.8, -2};
        m.UpdateCamera();
        double ax = 0.1, ay = 0.2, az = 0.3;
        m.Rotate(ax, ay, az, 0.999);
        m.Move(0.01, 0.02, 0.03);
        V velocity{0.9, -0.9, 0.1};
        m.MoveAndBounce(velocity, 0.5);
        m.Refresh();
        m.Build(params[k]);
        SCOPED_TRACE(testing::Message() << "kind " << m.m_kind);
        for (auto* a : {&m.m_model, &m.m_world, &m.m_camera, &m.m_screen}) {
            EXPECT_EQ(ChangedFrom(*a, m.m_count, mark), 0);
        }
    }
}

TEST(GeometryPipeline, CountsAboveTheCapacityStayInsideTheArrays) {
    auto m = MakeCube();
    m->m_modelCenter = V{1, 2, 3};
    m->m_position = V{0.5, 0.5, 0.5};
    m->m_count = CModelBase::kMaxVertices + 10;
    double ax = 0.5, ay = 0.5, az = 0.5;
    m->Rotate(ax, ay, az, 1.0);
    m->Refresh();
    ExpectVec(m->m_modelCenter, 1, 2, 3, 0);
    ExpectVec(m->m_worldCenter, 1.5, 2.5, 3.5, 0);

    auto line = std::make_unique<CLine>();
    line->m_modelCenter = V{1, 2, 3};
    line->Build(LineParam(0.001, 0.001, 100000));
    EXPECT_EQ(line->m_count, 100000);
    ExpectVec(line->m_modelCenter, 1, 2, 3, 0);
}

TEST(GeometryPipeline, NothingAllocates) {
    static CLine line;
    static CCube cube;
    static CStar star;
    const CModelParam params[] = {LineParam(0.1, 0.1, 320), CubeParam(0.05, 0.05, 0.05),
                                  StarParam(0.05, 0.025)};
    CModelBase* models[] = {&line, &cube, &star};
    const std::size_t allocations = CountAllocations([&] {
        for (int k = 0; k < 3; ++k) {
            CModelBase& m = *models[k];
            m.Build(params[k]);
            m.m_screenSize = V{400, 300, 0};
            m.m_eye = V{0.5, 0.5, -2};
            m.UpdateCamera();
            for (int tick = 0; tick < 10; ++tick) {
                double ax = 0.01, ay = 0.02, az = 0.03;
                V velocity{0.2, 0.1, -0.3};
                m.MoveAndBounce(velocity, 0.999);
                m.Rotate(ax, ay, az, 0.999);
                m.Refresh();
            }
        }
    });
    EXPECT_EQ(allocations, 0u);
}
