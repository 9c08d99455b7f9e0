// Page two driven through its messages: start-up, START, the eye buttons,
// the bounce rule within one tick, and a golden first frame. That its models
// stay in their box is the soak test's.
#include <cmath>

#include "pages/main_dlg2.h"
#include "platform/crt_random.h"
#include "tests/pages/page_test_support.h"

using namespace lunvik::test;

namespace {

using PageTwo = PageTest<CMainDlg2>;
using V = CGridTmpl<double>;

TEST_F(PageTwo, StartsWithTheModelsStandingStillAndShowsTheCamera) {
    Show();
    EXPECT_EQ(Line(IDC_EDIT_EYE_LINE), L"");
    const V before = m_page->m_cube[2].m_position;

    Tick();
    EXPECT_EQ(Line(IDC_EDIT_EYE_LINE), L"視点座標 : x = 0.50, y = 0.50, z = -0.60");
    EXPECT_EQ(Line(IDC_EDIT_LOOKAT_LINE), L"注視点座標 : x = 0.50, y = 0.40, z = 0.50");
    EXPECT_EQ(m_page->m_cube[2].m_position.x, before.x);  // still until START
    EXPECT_EQ(WindowText(::GetDlgItem(Page(), IDC_GROUP_EYE)), L"視点座標");
    EXPECT_EQ(WindowText(::GetDlgItem(Page(), IDC_GROUP_SECOND)), L"注視点座標");
}

// An edit given its text again drops the user's selection: a line whose text
// stays is not written again, so Shift+End on the eye line selects text that
// stays selected through a second of the page's own timer. A line whose text
// changes is written.
TEST_F(PageTwo, ASelectionInAStatusLineSurvivesASecondOfTicks) {
    Show();
    Tick();
    const HWND line = ::GetDlgItem(Page(), IDC_EDIT_EYE_LINE);
    Focus(line);
    PressKey(VK_HOME);
    PressKey(VK_END, true);
    const std::wstring selected = SelectedText(line);
    ASSERT_EQ(selected, L"視点座標 : x = 0.50, y = 0.50, z = -0.60");
    const std::uint64_t ticks = m_page->m_ticks;
    ASSERT_TRUE(PumpUntil([&] { return m_page->m_ticks >= ticks + 40; }, 20000));
    EXPECT_EQ(SelectedText(line), selected);

    Click(IDC_EYE_X_PLUS);
    Tick();
    EXPECT_EQ(Line(IDC_EDIT_EYE_LINE), L"視点座標 : x = 0.60, y = 0.50, z = -0.60");
}

// A page not on show leaves its status lines alone, and brings them up to
// date as it is shown, before its next tick.
TEST_F(PageTwo, AHiddenPageWritesItsStatusLinesAsItIsShown) {
    Show();
    Tick();
    ::ShowWindow(Page(), SW_HIDE);
    Click(IDC_EYE_Y_PLUS);
    Ticks(3);
    EXPECT_EQ(Line(IDC_EDIT_EYE_LINE), L"視点座標 : x = 0.50, y = 0.50, z = -0.60");
    ::ShowWindow(Page(), SW_SHOW);
    EXPECT_EQ(Line(IDC_EDIT_EYE_LINE), L"視点座標 : x = 0.50, y = 0.60, z = -0.60");
}

TEST_F(PageTwo, StartDrawsFreshRatesAndVelocitiesAndKeepsPositions) {
    CrtSrand(99);
    for (int round = 0; round < 20; ++round) {
        const double rate = m_page->m_modelRate[0].x;
        const double velocity = m_page->m_velocity[3].z;
        const double position = m_page->m_star[1].m_position.x;
        Click(IDC_START);
        EXPECT_NE(m_page->m_modelRate[0].x, rate);
        EXPECT_NE(m_page->m_velocity[3].z, velocity);
        EXPECT_EQ(m_page->m_star[1].m_position.x, position);
    }
}

TEST_F(PageTwo, EyeButtonsMoveByATenthAndTurnAboutTheLookAtLine) {
    const V start = m_page->m_eye;
    Click(IDC_EYE_X_PLUS);
    EXPECT_DOUBLE_EQ(m_page->m_eye.x, start.x + 0.1);
    Click(IDC_EYE_X_MINUS);
    Command(IDC_EYE_Y_PLUS, 0xBEEF);  // whatever the notification code
    Command(IDC_EYE_Z_MINUS);
    EXPECT_DOUBLE_EQ(m_page->m_eye.x, start.x);
    EXPECT_DOUBLE_EQ(m_page->m_eye.y, start.y + 0.1);
    EXPECT_DOUBLE_EQ(m_page->m_eye.z, start.z - 0.1);
    Command(IDC_EYE_Y_MINUS);
    Command(IDC_EYE_Z_PLUS);

    // 72 turns of 5 degrees bring the eye back, at the same height and distance.
    for (int i = 0; i < 72; ++i) {
        Click(IDC_EYE_LEFT);
        EXPECT_NEAR(std::hypot(m_page->m_eye.x - 0.5, m_page->m_eye.z - 0.5), 1.1, 1e-12);
    }
    EXPECT_EQ(m_page->m_eye.y, start.y);
    Click(IDC_EYE_LEFT);
    Click(IDC_EYE_RIGHT);
    EXPECT_NEAR(m_page->m_eye.x, start.x, 1e-12);
    EXPECT_NEAR(m_page->m_eye.z, start.z, 1e-12);
}

TEST_F(PageTwo, RotationDampsFromTheFirstModelThatBouncesInATickOn) {
    for (int i = 0; i < CMainDlg2::kMoving; ++i) {
        m_page->m_animated[i]->m_position = V(0.5, 0.5, 0.5);
        m_page->m_velocity[i] = V(0.01, 0.0, 0.0);
        m_page->m_modelRate[i] = V(0.1, 0.2, 0.0);
    }
    m_page->m_animated[3]->m_position.x = 0.995;  // the first to cross a wall
    m_page->m_animated[7]->m_position.z = 0.001;
    m_page->m_velocity[7].z = -0.01;
    Tick();

    for (int i = 0; i < CMainDlg2::kMoving; ++i) {
        const double factor = i < 3 ? 1.0 : std::pow(0.999, m_page->m_animated[i]->m_count);
        EXPECT_NEAR(m_page->m_modelRate[i].x, 0.1 * factor, 1e-15) << i;
        EXPECT_NEAR(m_page->m_modelRate[i].y, 0.2 * factor, 1e-15) << i;
    }
    EXPECT_EQ(m_page->m_animated[3]->m_position.x, 1.0);
    EXPECT_DOUBLE_EQ(m_page->m_velocity[3].x, -0.009);
    EXPECT_EQ(m_page->m_animated[7]->m_position.z, 0.0);
    EXPECT_DOUBLE_EQ(m_page->m_velocity[7].z, 0.009);

    // The next tick starts again at 1.0: nobody bounces, nothing is damped.
    const double rate5 = m_page->m_modelRate[5].x;
    Tick();
    EXPECT_EQ(m_page->m_modelRate[5].x, rate5);
}

TEST_F(PageTwo, FirstFrameWithModelsAtFixedPlacesMatchesTheReference) {
    for (int i = 0; i < CMainDlg2::kMoving; ++i) {
        const double t = (i + 0.5) / CMainDlg2::kMoving;
        m_page->m_animated[i]->m_position = V(t, 0.2 + 0.6 * (i % 3) / 2.0, 1.0 - t);
        m_page->m_animated[i]->ToWorld();
    }
    Show();
    Tick();
    ExpectGolden(Buffer(), "page2_first_tick.png");
}

}  // namespace
