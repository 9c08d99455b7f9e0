// Page one driven through its messages: start-up state, the first frame, the
// orbit and rate buttons, Random, and what a tick may allocate.
#include <cmath>
#include <numbers>

#include "pages/main_dlg.h"
#include "platform/crt_random.h"
#include "tests/pages/page_test_support.h"
#include "tests/support/alloc_counter.h"

using namespace lunvik::test;

namespace {

constexpr double kDegree = 0.017453292519943295;

// Reaches the page's protected control handles.
class CPageOne : public CMainDlg {
  public:
    using CMainDlg::m_hEdits;
    using CMainDlg::m_view;
};

class PageOne : public ::testing::Test {
  protected:
    void SetUp() override { m_page = MakePage<CPageOne>(); }
    HWND Page() const { return m_page->m_hWnd; }
    std::wstring Line(int id) const { return WindowText(::GetDlgItem(Page(), id)); }

    std::unique_ptr<CPageOne> m_page;
};

TEST_F(PageOne, StartsBlackWithEmptyStatusAndDrawsTheSceneOnTheFirstTick) {
    ASSERT_NE(Page(), nullptr);
    const QImage before = BufferImage(m_page->m_view[0]);
    ASSERT_FALSE(before.isNull());
    EXPECT_EQ(CountPixels(before, qRgb(0, 0, 0)), before.width() * before.height());
    for (int id = 1025; id <= 1033; ++id) {
        EXPECT_EQ(Line(id), L"") << id;
    }

    Tick(Page());
    EXPECT_EQ(Line(1031), L"視点座標 : x = 0.00, y = 0.10, z = -0.50");
    EXPECT_EQ(Line(1032), L"注視点座標 : x = 0.00, y = 0.00, z = 0.00");
    EXPECT_EQ(Line(1033), L"モデル回転率 : x = 0.00, y = 0.00, z = 0.00 [rad/s]");
    EXPECT_EQ(Line(1027), L"-0.50");

    const QImage after = BufferImage(m_page->m_view[0]);
    EXPECT_GT(CountPixels(after, qRgb(255, 0, 0)), 50);
    EXPECT_GT(CountPixels(after, qRgb(0, 255, 255)), 200);
    ExpectGolden(after, "page1_first_tick.png");
}

TEST_F(PageOne, BufferIsOnePixelLargerThanTheViewAndModelsGetTheViewSize) {
    RECT rc;
    ::GetClientRect(m_page->m_view[0].m_hWnd, &rc);
    EXPECT_GT(rc.right, 300);
    EXPECT_GT(rc.bottom, 300);
    const QImage buffer = BufferImage(m_page->m_view[0]);
    EXPECT_EQ(buffer.width(), rc.right + 1);
    EXPECT_EQ(buffer.height(), rc.bottom + 1);
    for (int i = 0; i < m_page->m_drawnCount; ++i) {
        EXPECT_EQ(m_page->m_drawn[i]->m_screenSize.x, rc.right);
        EXPECT_EQ(m_page->m_drawn[i]->m_screenSize.y, rc.bottom);
    }
    for (int v = 1; v < kSceneViews; ++v) {
        EXPECT_EQ(m_page->m_view[v].m_hWnd, nullptr);
    }
}

TEST_F(PageOne, RateButtonChangesTheShownRateAndTurnsTheCubeAtOnce) {
    Tick(Page());
    const CGridTmpl<double> cubeBefore = m_page->m_cube[0].m_model[2];
    const CGridTmpl<double> starBefore = m_page->m_star[0].m_model[0];
    Click(Page(), 1007);
    EXPECT_DOUBLE_EQ(m_page->m_rotRate.x, kDegree);
    EXPECT_NE(m_page->m_cube[0].m_model[2].y, cubeBefore.y);  // turned about x at once
    EXPECT_EQ(m_page->m_star[0].m_model[0].y, starBefore.y);  // the stars wait for the tick
    Tick(Page());
    EXPECT_EQ(Line(1033), L"モデル回転率 : x = 0.70, y = 0.00, z = 0.00 [rad/s]");

    // Every rate button moves its own component by one step, either way.
    Command(Page(), 1009);
    Command(Page(), 1009);
    Command(Page(), 1010);
    Command(Page(), 1012);
    EXPECT_DOUBLE_EQ(m_page->m_rotRate.y, kDegree);
    EXPECT_DOUBLE_EQ(m_page->m_rotRate.z, -kDegree);
    Command(Page(), 1008);
    EXPECT_DOUBLE_EQ(m_page->m_rotRate.x, 0.0);
}

TEST_F(PageOne, StopButtonsZeroOneComponentAndKeepOrientations) {
    Command(Page(), 1007);
    Command(Page(), 1009);
    Command(Page(), 1011);
    Tick(Page());
    const CGridTmpl<double> cube = m_page->m_cube[0].m_model[6];
    const CGridTmpl<double> star = m_page->m_star[3].m_model[4];

    Click(Page(), 1040);
    EXPECT_DOUBLE_EQ(m_page->m_rotRate.x, kDegree);
    EXPECT_EQ(m_page->m_rotRate.y, 0.0);
    EXPECT_DOUBLE_EQ(m_page->m_rotRate.z, kDegree);
    Click(Page(), 1039);
    Click(Page(), 1041);
    EXPECT_EQ(m_page->m_rotRate.x, 0.0);
    EXPECT_EQ(m_page->m_rotRate.z, 0.0);
    EXPECT_EQ(m_page->m_cube[0].m_model[6].x, cube.x);
    EXPECT_EQ(m_page->m_star[3].m_model[4].x, star.x);

    // A stopped scene keeps redrawing the very same picture.
    Tick(Page());
    const QImage still = BufferImage(m_page->m_view[0]);
    Tick(Page());
    EXPECT_EQ(BufferImage(m_page->m_view[0]), still);
}

TEST_F(PageOne, EyeOrbitsAFullCircleIn360TicksAndStopsWhereItIs) {
    Tick(Page());
    Click(Page(), 1003);
    for (int i = 0; i < 90; ++i) {
        Tick(Page());
    }
    // A quarter turn from (0, 0.1, -0.5) towards +x.
    EXPECT_NEAR(m_page->m_eye.x, 0.5, 1e-9);
    EXPECT_NEAR(m_page->m_eye.z, 0.0, 1e-9);
    for (int i = 0; i < 270; ++i) {
        Tick(Page());
    }
    EXPECT_NEAR(m_page->m_eye.x, 0.0, 1e-9);
    EXPECT_NEAR(m_page->m_eye.z, -0.5, 1e-9);

    Click(Page(), 1004);
    Click(Page(), 1004);  // now one degree per tick the other way
    for (int i = 0; i < 45; ++i) {
        Tick(Page());
    }
    EXPECT_NEAR(m_page->m_eye.x, -0.5 * std::sin(std::numbers::pi / 4), 1e-9);
    Click(Page(), 1037);
    const CGridTmpl<double> stopped = m_page->m_eye;
    Tick(Page());
    EXPECT_NEAR(m_page->m_eye.x, stopped.x, 1e-12);
    EXPECT_NEAR(m_page->m_eye.z, stopped.z, 1e-12);
    EXPECT_EQ(m_page->m_eye.y, 0.1);
    EXPECT_EQ(Line(1032), L"注視点座標 : x = 0.00, y = 0.00, z = 0.00");
}

TEST_F(PageOne, RandomDrawsThreeNonNegativeRatesUpToTwelveDegreesPerTick) {
    CrtSrand(12345);
    for (int round = 0; round < 200; ++round) {
        Click(Page(), 1036);
        for (double c : {m_page->m_rotRate.x, m_page->m_rotRate.y, m_page->m_rotRate.z}) {
            EXPECT_GE(c, 0.0);
            EXPECT_LE(c, std::numbers::pi / 15 + 1e-15);
        }
    }
    Tick(Page());
    const std::vector<double> shown = ShownNumbers(Line(1033));
    ASSERT_EQ(shown.size(), 3u);
    for (double value : shown) {
        EXPECT_GE(value, 0.0);
        EXPECT_LE(value, 8.38);
    }
}

TEST_F(PageOne, CommandsMatchOnTheLowWordAndOkCancelDoNotEndThePage) {
    Command(Page(), 1003, 0x1234);
    EXPECT_DOUBLE_EQ(m_page->m_orbitRate, kDegree);
    Command(Page(), IDOK);
    Command(Page(), IDCANCEL);
    EXPECT_TRUE(::IsWindow(Page()));
    Tick(Page(), 77);  // any timer id is a full tick
    EXPECT_EQ(Line(1031).substr(0, 4), L"視点座標");
}

TEST_F(PageOne, HiddenControlsExistButAreNeverShown) {
    for (int id : {1001, 1002, 1005, 1006, 1013, 1019, 1024, 1025, 1030}) {
        const HWND control = ::GetDlgItem(Page(), id);
        EXPECT_NE(control, nullptr) << id;
        EXPECT_FALSE(WidgetFromHandle(control)->isVisibleTo(WidgetFromHandle(Page()))) << id;
    }
    for (int id : {1003, 1007, 1036, 1037, 1031, 1033}) {
        EXPECT_TRUE(
            WidgetFromHandle(::GetDlgItem(Page(), id))->isVisibleTo(WidgetFromHandle(Page())))
            << id;
    }
    EXPECT_EQ(WindowText(::GetDlgItem(Page(), 1034)), L"視点座標");
    EXPECT_EQ(WindowText(::GetDlgItem(Page(), 1035)), L"モデル回転率");
    EXPECT_EQ(WindowText(::GetDlgItem(Page(), 1039)), L"停止");
}

TEST_F(PageOne, TickAllocatesNothingOutsideTheToolkitTextUpdate) {
    Command(Page(), 1007);
    Command(Page(), 1003);
    Tick(Page());
    // Without edits to show the texts, what is left of a tick is ours:
    // rotations, erase and draw passes, formatting and the repaint request.
    for (HWND& edit : m_page->m_hEdits) {
        edit = nullptr;
    }
    Tick(Page());
    EXPECT_EQ(CountAllocations([&] {
                  for (int i = 0; i < 100; ++i) {
                      Tick(Page());
                  }
              }),
              0u);
}

}  // namespace
