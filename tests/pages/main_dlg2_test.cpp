// Page two driven through its messages: start-up, START, the eye buttons,
// the bounce rule within one tick, and a golden first frame.
#include <cmath>

#include "pages/main_dlg2.h"
#include "platform/crt_random.h"
#include "tests/pages/page_test_support.h"

using namespace lunvik::test;

namespace {

constexpr double kMaxRate = 0.4188790204786391;  // 24 degrees per tick
constexpr double kMaxSpeed = 0.025;

class CPageTwo : public CMainDlg2 {
  public:
    using CMainDlg2::m_view;
};

class PageTwo : public ::testing::Test {
  protected:
    void SetUp() override { m_page = MakePage<CPageTwo>(); }
    HWND Page() const { return m_page->m_hWnd; }
    std::wstring Line(int id) const { return WindowText(::GetDlgItem(Page(), id)); }

    std::unique_ptr<CPageTwo> m_page;
};

TEST_F(PageTwo, StartsWithTheModelsInTheBoxStandingStillAndShowsTheCamera) {
    EXPECT_EQ(m_page->m_drawnCount, 11);
    EXPECT_EQ(m_page->m_animatedCount, 10);
    EXPECT_EQ(m_page->m_drawn[0], &m_page->m_line);
    for (int i = 0; i < m_page->m_animatedCount; ++i) {
        const CModelBase& model = *m_page->m_animated[i];
        EXPECT_EQ(model.m_kind, i < 5 ? 1 : 2);
        for (double c : {model.m_position.x, model.m_position.y, model.m_position.z}) {
            EXPECT_GE(c, 0.0);
            EXPECT_LE(c, 1.0);
        }
    }
    EXPECT_EQ(Line(1031), L"");
    const CGridTmpl<double> before = m_page->m_cube[2].m_position;

    Tick(Page());
    EXPECT_EQ(Line(1031), L"視点座標 : x = 0.50, y = 0.50, z = -0.60");
    EXPECT_EQ(Line(1032), L"注視点座標 : x = 0.50, y = 0.40, z = 0.50");
    EXPECT_EQ(Line(1033), L"モデル回転率 : x = 0.00, y = 0.00, z = 0.00 [rad/s]");
    EXPECT_EQ(m_page->m_cube[2].m_position.x, before.x);  // still until START
    EXPECT_GT(CountPixels(BufferImage(m_page->m_view[0]), qRgb(0, 255, 0)), 1000);
    EXPECT_EQ(WindowText(::GetDlgItem(Page(), 1034)), L"視点座標");
    EXPECT_EQ(WindowText(::GetDlgItem(Page(), 1035)), L"注視点座標");
}

TEST_F(PageTwo, StartDrawsFreshRatesAndVelocitiesInRangeAndKeepsPositions) {
    CrtSrand(99);
    Click(Page(), 1036);
    const CGridTmpl<double> firstRate = m_page->m_modelRate[0];
    const CGridTmpl<double> position = m_page->m_star[1].m_position;
    for (int i = 0; i < CMainDlg2::kMoving; ++i) {
        const CGridTmpl<double>& r = m_page->m_modelRate[i];
        const CGridTmpl<double>& v = m_page->m_velocity[i];
        for (double c : {r.x, r.y, r.z}) {
            EXPECT_GE(c, 0.0);
            EXPECT_LE(c, kMaxRate);
        }
        for (double c : {v.x, v.y, v.z}) {
            EXPECT_GE(c, 0.0);
            EXPECT_LE(c, kMaxSpeed);
        }
    }
    Command(Page(), 1036);
    EXPECT_NE(m_page->m_modelRate[0].x, firstRate.x);
    EXPECT_EQ(m_page->m_star[1].m_position.x, position.x);

    // Rates are drawn before velocities: the 31st draw is model 0's x speed.
    CrtSrand(7);
    int draws[60];
    for (int& d : draws) {
        d = CrtRand();
    }
    CrtSrand(7);
    Command(Page(), 1036);
    EXPECT_EQ(m_page->m_modelRate[0].y, draws[1] / 32767.0 * 24.0 * 0.017453292519943295);
    EXPECT_EQ(m_page->m_velocity[0].x, draws[30] / 1310680.0);
    EXPECT_EQ(m_page->m_velocity[9].z, draws[59] / 1310680.0);
}

TEST_F(PageTwo, EyeButtonsMoveByATenthAndTurnAboutTheLookAtLine) {
    const CGridTmpl<double> start = m_page->m_eye;
    Click(Page(), 1014);
    EXPECT_DOUBLE_EQ(m_page->m_eye.x, start.x + 0.1);
    Click(Page(), 1013);
    Command(Page(), 1016, 0xBEEF);
    Command(Page(), 1017);
    EXPECT_DOUBLE_EQ(m_page->m_eye.x, start.x);
    EXPECT_DOUBLE_EQ(m_page->m_eye.y, start.y + 0.1);
    EXPECT_DOUBLE_EQ(m_page->m_eye.z, start.z - 0.1);
    Command(Page(), 1015);
    Command(Page(), 1018);

    for (int i = 0; i < 72; ++i) {
        Click(Page(), 1003);
        EXPECT_EQ(m_page->m_eye.y, start.y);
        const double dx = m_page->m_eye.x - m_page->m_lookAt.x;
        const double dz = m_page->m_eye.z - m_page->m_lookAt.z;
        EXPECT_NEAR(std::hypot(dx, dz), 1.1, 1e-12);
    }
    EXPECT_NEAR(m_page->m_eye.x, start.x, 1e-12);
    EXPECT_NEAR(m_page->m_eye.z, start.z, 1e-12);
    Click(Page(), 1003);
    Click(Page(), 1004);
    EXPECT_NEAR(m_page->m_eye.x, start.x, 1e-12);
    EXPECT_NEAR(m_page->m_eye.z, start.z, 1e-12);
    EXPECT_EQ(m_page->m_eye.y, start.y);
}

TEST_F(PageTwo, HiddenButtonsChangeNothingAndAnyTimerIdTicks) {
    Command(Page(), 1036);
    const CGridTmpl<double> eye = m_page->m_eye;
    const CGridTmpl<double> rate = m_page->m_modelRate[4];
    for (int id : {1001, 1002, 1005, 1006, 1007, 1008, 1009, 1010, 1011, 1012, 1019, 1020, 1021,
                   1022, 1023, 1024}) {
        Command(Page(), id);
        const QWidget* button = WidgetFromHandle(::GetDlgItem(Page(), id));
        ASSERT_NE(button, nullptr) << id;
        EXPECT_FALSE(button->isVisibleTo(WidgetFromHandle(Page()))) << id;
    }
    Command(Page(), IDOK);
    Command(Page(), IDCANCEL);
    EXPECT_TRUE(::IsWindow(Page()));
    EXPECT_EQ(m_page->m_eye.x, eye.x);
    EXPECT_EQ(m_page->m_eye.y, eye.y);
    EXPECT_EQ(m_page->m_eye.z, eye.z);
    EXPECT_EQ(m_page->m_modelRate[4].x, rate.x);

    const CGridTmpl<double> position = m_page->m_cube[0].m_position;
    Tick(Page(), 4242);
    const CGridTmpl<double>& moved = m_page->m_cube[0].m_position;
    EXPECT_TRUE(moved.x != position.x || moved.y != position.y || moved.z != position.z ||
                position.x == 1.0);
}

TEST_F(PageTwo, RotationDampsFromTheFirstModelThatBouncesInATickOn) {
    for (int i = 0; i < CMainDlg2::kMoving; ++i) {
        m_page->m_animated[i]->m_position = CGridTmpl<double>(0.5, 0.5, 0.5);
        m_page->m_velocity[i] = CGridTmpl<double>(0.01, 0.0, 0.0);
        m_page->m_modelRate[i] = CGridTmpl<double>(0.1, 0.2, 0.0);
    }
    m_page->m_animated[3]->m_position.x = 0.995;  // the first to cross a wall
    m_page->m_animated[7]->m_position.z = 0.001;
    m_page->m_velocity[7].z = -0.01;
    Tick(Page());

    for (int i = 0; i < CMainDlg2::kMoving; ++i) {
        const double count = m_page->m_animated[i]->m_count;
        const double factor = i < 3 ? 1.0 : std::pow(0.999, count);
        EXPECT_NEAR(m_page->m_modelRate[i].x, 0.1 * factor, 1e-15) << i;
        EXPECT_NEAR(m_page->m_modelRate[i].y, 0.2 * factor, 1e-15) << i;
        EXPECT_EQ(m_page->m_modelRate[i].z, 0.0) << i;
    }
    EXPECT_EQ(m_page->m_animated[3]->m_position.x, 1.0);
    EXPECT_DOUBLE_EQ(m_page->m_velocity[3].x, -0.009);
    EXPECT_EQ(m_page->m_animated[7]->m_position.z, 0.0);
    EXPECT_DOUBLE_EQ(m_page->m_velocity[7].z, 0.009);

    // The next tick starts again at 1.0: nobody bounces, nothing is damped.
    const double rate5 = m_page->m_modelRate[5].x;
    Tick(Page());
    EXPECT_EQ(m_page->m_modelRate[5].x, rate5);
}

TEST_F(PageTwo, FirstFrameWithModelsAtFixedPlacesMatchesTheReference) {
    for (int i = 0; i < CMainDlg2::kMoving; ++i) {
        const double t = (i + 0.5) / CMainDlg2::kMoving;
        m_page->m_animated[i]->m_position =
            CGridTmpl<double>(t, 0.2 + 0.6 * (i % 3) / 2.0, 1.0 - t);
        m_page->m_animated[i]->ToWorld();
    }
    Tick(Page());
    const QImage frame = BufferImage(m_page->m_view[0]);
    EXPECT_GT(CountPixels(frame, qRgb(255, 0, 0)), 100);
    EXPECT_GT(CountPixels(frame, qRgb(0, 255, 255)), 100);
    ExpectGolden(frame, "page2_first_tick.png");
}

}  // namespace
