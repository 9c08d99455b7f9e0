// A storm of user actions on the real program: 100,000 commands of every
// control id of both pages, shown or hidden, as clicks and as WM_COMMAND,
// with ticks, Ctrl+Tab and the About box in between. The storm runs once;
// each case checks one thing it must not have broken. (In the sanitizer
// build the run also shows that nothing leaked.)
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <random>

#include "app/main_frame.h"
#include "platform/qt/handle.h"
#include "platform/resources.h"
#include "tests/app/run_program.h"

namespace {

void Command(HWND page, int id) {
    ::SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

// What the page's drawing area shows, painted through its own WM_PAINT.
QImage Picture(HWND page) {
    return WidgetFromHandle(::GetDlgItem(page, IDC_VIEW_FRAME))->grab().toImage();
}

// Every control id of both pages' templates, and OK and Cancel.
std::vector<int> CommandIds() {
    std::vector<int> ids = {IDOK, IDCANCEL};
    for (int dialog : {IDD_MAINDLG, IDD_MAINDLG2}) {
        for (const SDialogControl& control : FindDialogTemplate(dialog)->controls) {
            if (control.id >= 0) {
                ids.push_back(control.id);
            }
        }
    }
    return ids;
}

class Storm : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_code = lunvik::test::RunProgram([] {
            CMainFrame& frame = MainFrame();
            const HWND pages[2] = {frame.m_page1.m_hWnd, frame.m_page2.m_hWnd};
            WidgetFromHandle(frame.m_hWnd)->activateWindow();
            Blow(frame, pages);
            s_modalLeft = QApplication::activeModalWidget() != nullptr;
            RestartAndWatch(frame, pages);
            CollectNumbers(frame, pages);
            WidgetFromHandle(frame.m_hWnd)->close();
        });
    }

    // One command of a random id to a random page, as a click or a message.
    static void RandomCommand(const HWND (&pages)[2]) {
        static const std::vector<int> ids = CommandIds();
        const HWND page = pages[s_random() % 2];
        const int id = ids[s_random() % ids.size()];
        auto* button = qobject_cast<QAbstractButton*>(WidgetFromHandle(::GetDlgItem(page, id)));
        if (button != nullptr && s_random() % 2 == 0) {
            button->click();
        } else {
            Command(page, id);
        }
    }

    static void Blow(CMainFrame& frame, const HWND (&pages)[2]) {
        for (int commands = 0; commands < 100000; ++commands) {
            RandomCommand(pages);
            const unsigned dice = s_random() % 64;
            if (dice < 3) {
                ::SendMessageW(pages[s_random() % 2], WM_TIMER, 0, 0);
            } else if (dice == 3) {
                const int shown = frame.m_view.GetActivePage();
                QWidget* focus = QApplication::focusWidget();
                QTest::keyClick(focus ? focus : WidgetFromHandle(frame.m_hWnd), Qt::Key_Tab,
                                Qt::ControlModifier);
                ++s_switches;
                s_flips += frame.m_view.GetActivePage() != shown ? 1 : 0;
            } else if (dice == 4) {
                QCoreApplication::processEvents();  // real timers and paints
            } else if (dice == 5 && s_random() % 40 == 0) {
                About(frame, pages);
            }
        }
    }

    // The storm goes on inside the About box's own loop, which then closes
    // by Escape, Enter or its OK button.
    static void About(CMainFrame& frame, const HWND (&pages)[2]) {
        QTimer::singleShot(1, [&] {
            QWidget* about = QApplication::activeModalWidget();
            ASSERT_NE(about, nullptr);
            for (int k = 0; k < 20; ++k) {
                RandomCommand(pages);
                ::SendMessageW(pages[k % 2], WM_TIMER, 0, 0);
            }
            if (const unsigned way = s_random() % 3; way < 2) {
                QTest::keyClick(about, way == 0 ? Qt::Key_Escape : Qt::Key_Return);
            } else {
                QTest::mouseClick(WidgetFromHandle(::GetDlgItem(HandleFromWidget(about), IDOK)),
                                  Qt::LeftButton);
            }
        });
        ::SendMessageW(s_random() % 2 ? frame.m_hWnd : pages[s_random() % 2], WM_COMMAND,
                       ID_APP_ABOUT, 0);
    }

    // Both pages set moving again, then left to their own timers, each
    // watched on show (a page not on show draws nothing).
    static void RestartAndWatch(CMainFrame& frame, const HWND (&pages)[2]) {
        Command(pages[0], IDC_RANDOM);
        Command(pages[0], IDC_EYE_LEFT);
        Command(pages[1], IDC_START);
        s_animating = true;
        for (int i : {0, 1}) {
            frame.m_view.SetActivePage(i);
            const QImage before = Picture(pages[i]);
            s_animating = QTest::qWaitFor([&] { return Picture(pages[i]) != before; }, 5000) &&
                          s_animating;
        }
    }

    // Every number the pages animate with, and their status edits' texts.
    static void CollectNumbers(const CMainFrame& frame, const HWND (&pages)[2]) {
        s_numbers = {frame.m_page1.m_orbitRate, frame.m_page1.m_orbitAngle};
        auto add = [](const CGridTmpl<double>& v) {
            s_numbers.insert(s_numbers.end(), {v.x, v.y, v.z});
        };
        for (const CGridTmpl<double>& v : {frame.m_page1.m_eye, frame.m_page1.m_rotRate,
                                           frame.m_page2.m_eye, frame.m_page2.m_lookAt}) {
            add(v);
        }
        for (int i = 0; i < CMainDlg2::kMoving; ++i) {
            add(frame.m_page2.m_velocity[i]);
            add(frame.m_page2.m_modelRate[i]);
            add(frame.m_page2.m_animated[i]->m_position);
        }
        for (HWND page : pages) {
            for (int i = 0; i < 9; ++i) {
                wchar_t text[64] = {};
                ::GetWindowTextW(::GetDlgItem(page, IDC_EDIT_EYE_X + i), text, 64);
                s_texts.emplace_back(text);
            }
        }
    }

    static inline std::mt19937 s_random{20261207};
    static inline int s_code = -1;
    static inline int s_switches = 0;
    static inline int s_flips = 0;  // Ctrl+Tab presses that changed the page
    static inline bool s_modalLeft = true;
    static inline bool s_animating = false;
    static inline std::vector<double> s_numbers;
    static inline std::vector<std::wstring> s_texts;
};

TEST_F(Storm, EveryAboutBoxClosesAndTheProgramEndsWithOne) {
    EXPECT_FALSE(s_modalLeft);
    EXPECT_EQ(s_code, 1);
}

TEST_F(Storm, EveryCtrlTabSwitchesThePage) {
    EXPECT_EQ(s_flips, s_switches);
}

// (So OK and Cancel, among the commands, ended no page.)
TEST_F(Storm, BothPagesStillAnimateOnTheirOwnTimers) {
    EXPECT_TRUE(s_animating);
}

TEST_F(Storm, NoNumberOrStatusTextBecomesNaN) {
    ASSERT_FALSE(s_numbers.empty());
    for (double v : s_numbers) {
        EXPECT_FALSE(std::isnan(v));
    }
    for (const std::wstring& text : s_texts) {
        EXPECT_EQ(text.find(L"nan"), std::wstring::npos);
    }
}

}  // namespace
