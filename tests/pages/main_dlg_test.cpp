// Page one driven through its messages: start-up state, the first frame, the
// orbit and rate buttons, Random, and what a tick may allocate.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>

#include "pages/main_dlg.h"
#include "platform/crt_random.h"
#include "tests/pages/page_test_support.h"
#include "tests/support/alloc_counter.h"

using namespace lunvik::test;

namespace {

constexpr double kDegree = std::numbers::pi / 180;

using PageOne = PageTest<CMainDlg>;

TEST_F(PageOne, StartsBlackWithEmptyStatusAndDrawsTheSceneOnTheFirstTick) {
    Show();
    SPicture black = Buffer();
    std::fill(black.pixels.begin(), black.pixels.end(), 0xFF000000u);
    EXPECT_EQ(Buffer(), black);
    for (int id = IDC_EDIT_EYE_X; id <= IDC_EDIT_RATE_LINE; ++id) {
        EXPECT_EQ(Line(id), L"") << id;
    }
    // The first frame's picture also shows that every model got the drawing
    // area's size: a projection centred elsewhere would differ.
    Tick();
    EXPECT_EQ(Line(IDC_EDIT_EYE_LINE), L"視点座標 : x = 0.00, y = 0.10, z = -0.50");
    EXPECT_EQ(Line(IDC_EDIT_LOOKAT_LINE), L"注視点座標 : x = 0.00, y = 0.00, z = 0.00");
    EXPECT_EQ(Line(IDC_EDIT_RATE_LINE), L"モデル回転率 : x = 0.00, y = 0.00, z = 0.00 [rad/s]");
    EXPECT_EQ(Line(IDC_EDIT_EYE_Z), L"-0.50");
    ExpectGolden(Buffer(), "page1_first_tick.png");
}

TEST_F(PageOne, RateButtonsStepTheirComponentAndTurnTheCubeAtOnce) {
    Show();
    Tick();
    const CGridTmpl<double> cubeBefore = m_page->m_cube[0].m_model[2];
    const CGridTmpl<double> starBefore = m_page->m_star[0].m_model[0];
    Click(IDC_RATE_X_UP);
    EXPECT_DOUBLE_EQ(m_page->m_rotRate.x, kDegree);
    EXPECT_NE(m_page->m_cube[0].m_model[2].y, cubeBefore.y);  // turned about x at once
    EXPECT_EQ(m_page->m_star[0].m_model[0].y, starBefore.y);  // the stars wait for the tick
    Tick(77);                                                 // any timer id is a full tick
    EXPECT_EQ(Line(IDC_EDIT_RATE_LINE), L"モデル回転率 : x = 0.70, y = 0.00, z = 0.00 [rad/s]");

    // Commands match on the low word, whatever their notification code.
    for (int id : {IDC_RATE_Y_UP, IDC_RATE_Y_UP, IDC_RATE_Y_DOWN, IDC_RATE_Z_DOWN}) {
        Command(id, 0x1234);
    }
    EXPECT_DOUBLE_EQ(m_page->m_rotRate.y, kDegree);
    EXPECT_DOUBLE_EQ(m_page->m_rotRate.z, -kDegree);
    Command(IDC_RATE_X_DOWN);
    EXPECT_DOUBLE_EQ(m_page->m_rotRate.x, 0.0);
}

TEST_F(PageOne, StopButtonsZeroOneComponentAndKeepOrientations) {
    for (int id : {IDC_RATE_X_UP, IDC_RATE_Y_UP, IDC_RATE_Z_UP}) {
        Command(id);
    }
    Tick();
    const CGridTmpl<double> cube = m_page->m_cube[0].m_model[6];
    Click(IDC_RATE_Y_STOP);
    EXPECT_EQ(m_page->m_rotRate.y, 0.0);
    EXPECT_DOUBLE_EQ(m_page->m_rotRate.x + m_page->m_rotRate.z, 2 * kDegree);
    Click(IDC_RATE_X_STOP);
    Click(IDC_RATE_Z_STOP);
    EXPECT_EQ(m_page->m_rotRate.x + m_page->m_rotRate.z, 0.0);
    EXPECT_EQ(m_page->m_cube[0].m_model[6].x, cube.x);
}

TEST_F(PageOne, EyeOrbitsAFullCircleIn360TicksAndStopsWhereItIs) {
    Show();
    Click(IDC_EYE_LEFT);
    const struct {
        int ticks;
        double x, z;
    } steps[] = {{90, 0.5, 0.0}, {270, 0.0, -0.5}};  // a quarter turn towards +x, then home
    for (const auto& step : steps) {
        Ticks(step.ticks);
        EXPECT_NEAR(m_page->m_eye.x, step.x, 1e-9);
        EXPECT_NEAR(m_page->m_eye.z, step.z, 1e-9);
    }
    Click(IDC_EYE_RIGHT);
    Click(IDC_EYE_RIGHT);  // now one degree per tick the other way
    Ticks(45);
    EXPECT_NEAR(m_page->m_eye.x, -0.5 * std::sin(std::numbers::pi / 4), 1e-9);
    Click(IDC_EYE_STOP);
    const CGridTmpl<double> stopped = m_page->m_eye;
    Tick();
    EXPECT_EQ(m_page->m_eye.x, stopped.x);
    EXPECT_EQ(m_page->m_eye.y, 0.1);
    EXPECT_EQ(Line(IDC_EDIT_LOOKAT_LINE), L"注視点座標 : x = 0.00, y = 0.00, z = 0.00");
}

// The keyboard as on Windows: Tab never lands on a status line, which page
// one's template keeps out of the tab order, and Enter on a focused "=>" of
// the eye row presses it: the eye starts its orbit.
TEST_F(PageOne, TabSkipsTheStatusLinesAndEnterPressesTheFocusedButton) {
    Show();
    const HWND eyeRight = ::GetDlgItem(Page(), IDC_EYE_RIGHT);
    Focus(eyeRight);
    ASSERT_EQ(Focused(), eyeRight);
    PressKey(VK_RETURN);
    EXPECT_NE(m_page->m_orbitRate, 0.0);
    for (int i = 0; i < 24; ++i) {
        PressKey(VK_TAB);
        for (int line : {IDC_EDIT_EYE_LINE, IDC_EDIT_LOOKAT_LINE, IDC_EDIT_RATE_LINE}) {
            EXPECT_NE(Focused(), ::GetDlgItem(Page(), line))
                << "Tab " << i + 1 << " on status line " << line;
        }
    }
}

// Each draw is the generator's own, spread over 0 to 12 degrees a tick: a
// rate left at zero, one scaled wrongly or three equal ones would not be.
TEST_F(PageOne, RandomDrawsThreeRatesSpreadOverZeroToTwelveDegreesPerTick) {
    constexpr double kMax = std::numbers::pi / 15;
    CrtSrand(12345);
    double lowest[3] = {kMax, kMax, kMax}, highest[3] = {};
    int distinct = 0;
    for (int round = 0; round < 200; ++round) {
        Click(IDC_RANDOM);
        const double rates[3] = {m_page->m_rotRate.x, m_page->m_rotRate.y, m_page->m_rotRate.z};
        distinct += rates[0] != rates[1] || rates[1] != rates[2] ? 1 : 0;
        for (int i = 0; i < 3; ++i) {
            EXPECT_LE(rates[i], kMax + 1e-15);
            lowest[i] = std::min(lowest[i], rates[i]);
            highest[i] = std::max(highest[i], rates[i]);
        }
    }
    EXPECT_GT(distinct, 190);
    for (int i = 0; i < 3; ++i) {
        EXPECT_GE(lowest[i], 0.0);
        EXPECT_LT(lowest[i], 0.05 * kMax) << i;
        EXPECT_GT(highest[i], 0.95 * kMax) << i;
    }
}

// A page not on show draws nothing; as it is shown again it has the picture
// of a twin page that was on show all along.
TEST_F(PageOne, AHiddenPageDrawsNothingAndShowsTheCurrentPictureAsItIsShown) {
    CTestWindow holder;
    ASSERT_NE(holder.Create(nullptr, RECT{0, 0, 820, 620}, nullptr, WS_POPUP), nullptr);
    auto twin = std::make_unique<CExposed<CMainDlg>>();
    ASSERT_NE(twin->Create(holder), nullptr);
    ::ShowWindow(holder, SW_SHOW);
    ::ShowWindow(twin->m_hWnd, SW_SHOW);
    Show();
    for (const HWND page : {Page(), twin->m_hWnd}) {
        for (int id : {IDC_RATE_X_UP, IDC_RATE_Z_UP, IDC_EYE_LEFT}) {
            ::SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        }
    }
    const auto tickBoth = [&](int n) {
        for (int i = 0; i < n; ++i) {
            Tick();
            lunvik::test::Tick(twin->m_hWnd);
        }
    };
    const auto twinBuffer = [&] { return ViewBuffer(twin->m_view[0]).pixels; };
    tickBoth(3);
    ASSERT_EQ(Buffer().pixels, twinBuffer());
    ::ShowWindow(Page(), SW_HIDE);
    const std::uint64_t walked = m_page->m_view[0].m_segmentsWalked;
    tickBoth(30);
    EXPECT_EQ(m_page->m_view[0].m_segmentsWalked, walked);
    EXPECT_NE(Buffer().pixels, twinBuffer()) << "the scene moved on";
    ::ShowWindow(Page(), SW_SHOW);
    EXPECT_EQ(Buffer().pixels, twinBuffer()) << "before its next tick";
    tickBoth(5);
    EXPECT_EQ(Buffer().pixels, twinBuffer());
    holder.DestroyWindow();
}

TEST_F(PageOne, TickAllocatesNothingOutsideTheToolkitTextUpdate) {
    Show();
    Command(IDC_RATE_X_UP);
    Command(IDC_EYE_LEFT);
    Tick();
    DropStatusEdits();
    Tick();
    EXPECT_EQ(CountAllocations([&] { Ticks(100); }), 0u);
}

}  // namespace
