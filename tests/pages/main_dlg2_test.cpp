// Page two driven through its messages: start-up, START, the eye buttons,
// the bounce rule within one tick, and a golden first frame.
#include <cmath>

#include "pages/main_dlg2.h"
#include "platform/crt_random.h"
#include "tests/pages/page_test_support.h"

using namespace lunvik::test;

namespace {

using PageTwo = PageTest<CMainDlg2>;
using V = CGridTmpl<double>;

TEST_F(PageTwo, StartsWithTheModelsInTheBoxStandingStillAndShowsTheCamera) {
    ASSERT_EQ(m_page->m_animatedCount, CMainDlg2::kMoving);
    for (int i = 0; i < m_page->m_animatedCount; ++i) {
        const V& p = m_page->m_animated[i]->m_position;
        EXPECT_TRUE(p.x >= 0 && p.x <= 1 && p.y >= 0 && p.y <= 1 && p.z >= 0 && p.z <= 1) << i;
    }
    EXPECT_EQ(Line(IDC_EDIT_EYE_LINE), L"");
    const V before = m_page->m_cube[2].m_position;

    Tick();
    EXPECT_EQ(Line(IDC_EDIT_EYE_LINE), L"視点座標 : x = 0.50, y = 0.50, z = -0.60");
    EXPECT_EQ(Line(IDC_EDIT_LOOKAT_LINE), L"注視点座標 : x = 0.50, y = 0.40, z = 0.50");
    EXPECT_EQ(m_page->m_cube[2].m_position.x, before.x);  // still until START
    EXPECT_EQ(WindowText(::GetDlgItem(Page(), IDC_GROUP_EYE)), L"視点座標");
    EXPECT_EQ(WindowText(::GetDlgItem(Page(), IDC_GROUP_SECOND)), L"注視点座標");
}

TEST_F(PageTwo, StartDrawsFreshRatesAndVelocitiesInRangeAndKeepsPositions) {
    CrtSrand(99);
    for (int round = 0; round < 20; ++round) {
        const double firstRate = m_page->m_modelRate[0].x;
        const double position = m_page->m_star[1].m_position.x;
        Click(IDC_START);
        EXPECT_NE(m_page->m_modelRate[0].x, firstRate);
        EXPECT_EQ(m_page->m_star[1].m_position.x, position);
        for (int i = 0; i < CMainDlg2::kMoving; ++i) {
            const V& r = m_page->m_modelRate[i];
            const V& v = m_page->m_velocity[i];
            for (double c : {r.x, r.y, r.z}) {
                EXPECT_TRUE(c >= 0.0 && c <= 0.4188790204786391) << c;  // up to 24 degrees
            }
            for (double c : {v.x, v.y, v.z}) {
                EXPECT_TRUE(c >= 0.0 && c <= 0.025) << c;
            }
        }
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

TEST_F(PageTwo, HiddenButtonsChangeNothingAndAnyTimerIdTicks) {
    CrtSrand(5);
    Command(IDC_START);
    const V eye = m_page->m_eye;
    const V rate = m_page->m_modelRate[4];
    for (int id :
         {IDC_BUTTON1, IDC_BUTTON2, IDC_BUTTON5, IDC_BUTTON6, IDC_RATE_X_UP, IDC_RATE_X_DOWN,
          IDC_RATE_Y_UP, IDC_RATE_Y_DOWN, IDC_RATE_Z_UP, IDC_RATE_Z_DOWN, IDC_BUTTON19,
          IDC_BUTTON20, IDC_BUTTON21, IDC_BUTTON22, IDC_BUTTON23, IDC_BUTTON24, IDOK, IDCANCEL}) {
        Command(id);
    }
    EXPECT_TRUE(::IsWindow(Page()));
    EXPECT_TRUE(eye.x == m_page->m_eye.x && eye.y == m_page->m_eye.y && eye.z == m_page->m_eye.z);
    EXPECT_EQ(m_page->m_modelRate[4].x, rate.x);

    const V position = m_page->m_cube[0].m_position;
    Tick(4242);
    const V& moved = m_page->m_cube[0].m_position;
    EXPECT_TRUE(moved.x != position.x || moved.y != position.y || moved.z != position.z);
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
    Tick();
    ExpectGolden(Buffer(), "page2_first_tick.png");
}

}  // namespace
