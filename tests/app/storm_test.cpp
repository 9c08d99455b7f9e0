// A storm of user actions on the real program: 100,000 commands of every
// control id of both pages, shown or hidden, as clicks and as WM_COMMAND,
// with ticks, Ctrl+Tab and the About box in between. Afterwards both pages
// still animate, nothing is NaN, page two's models are in their box, and
// (in the sanitizer build) nothing leaked.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>
#include <random>

#include "app/lunvik_main.h"
#include "app/main_frame.h"
#include "platform/qt/handle.h"
#include "platform/resources.h"

namespace {

std::function<void()> g_script;

void Command(HWND page, int id) {
    ::SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

// What the page's drawing area shows, painted through its own WM_PAINT.
QImage Picture(HWND page) {
    return WidgetFromHandle(::GetDlgItem(page, IDC_VIEW_FRAME))->grab().toImage();
}

int RunProgram(std::function<void()> script) {
    g_script = std::move(script);
    qAddPreRoutine([] { QTimer::singleShot(0, [] { g_script(); }); });
    return LunvikMain("lunvik");
}

TEST(Storm, HundredThousandCommandsLeaveBothPagesAnimatingFiniteAndInTheirBoxes) {
    std::mt19937 random(20261207);
    int commands = 0, ticks = 0, switches = 0, flips = 0, abouts = 0;
    const int code = RunProgram([&] {
        CMainFrame& frame = MainFrame();
        const HWND pages[2] = {frame.m_page1.m_hWnd, frame.m_page2.m_hWnd};
        std::vector<int> ids = {IDOK, IDCANCEL};
        for (int dialog : {IDD_MAINDLG, IDD_MAINDLG2}) {
            for (const SDialogControl& control : FindDialogTemplate(dialog)->controls) {
                if (control.id >= 0) {
                    ids.push_back(control.id);
                }
            }
        }
        auto command = [&] {
            const HWND page = pages[random() % 2];
            const int id = ids[random() % ids.size()];
            auto* button = qobject_cast<QAbstractButton*>(WidgetFromHandle(::GetDlgItem(page, id)));
            if (button != nullptr && random() % 2 == 0) {
                button->click();
            } else {
                Command(page, id);
            }
            ++commands;
        };
        WidgetFromHandle(frame.m_hWnd)->activateWindow();
        while (commands < 100000) {
            command();
            switch (random() % 64) {
                case 0:
                case 1:
                case 2:
                    ::SendMessageW(pages[random() % 2], WM_TIMER, 0, 0);
                    ++ticks;
                    break;
                case 3: {
                    const int shown = frame.m_view.GetActivePage();
                    QWidget* focus = QApplication::focusWidget();
                    QTest::keyClick(focus ? focus : WidgetFromHandle(frame.m_hWnd), Qt::Key_Tab,
                                    Qt::ControlModifier);
                    ++switches;
                    flips += frame.m_view.GetActivePage() != shown ? 1 : 0;
                    break;
                }
                case 4:
                    QCoreApplication::processEvents();  // real timers and paints
                    break;
                case 5:
                    if (random() % 40 != 0) {
                        break;
                    }
                    // The storm goes on inside the box's own loop, which then
                    // closes by Escape, Enter or its OK button.
                    QTimer::singleShot(1, [&] {
                        QWidget* about = QApplication::activeModalWidget();
                        ASSERT_NE(about, nullptr);
                        ++abouts;
                        for (int k = 0; k < 20; ++k) {
                            command();
                            ::SendMessageW(pages[k % 2], WM_TIMER, 0, 0);
                        }
                        switch (random() % 3) {
                            case 0:
                                QTest::keyClick(about, Qt::Key_Escape);
                                break;
                            case 1:
                                QTest::keyClick(about, Qt::Key_Return);
                                break;
                            default:
                                QTest::mouseClick(
                                    WidgetFromHandle(::GetDlgItem(HandleFromWidget(about), IDOK)),
                                    Qt::LeftButton);
                        }
                    });
                    ::SendMessageW(random() % 2 ? frame.m_hWnd : pages[random() % 2], WM_COMMAND,
                                   ID_APP_ABOUT, 0);
                    break;
            }
        }
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

        // Both pages set moving again, then left to their own timers.
        Command(pages[0], IDC_RANDOM);
        Command(pages[0], IDC_EYE_LEFT);
        Command(pages[1], IDC_START);
        const QImage before[2] = {Picture(pages[0]), Picture(pages[1])};
        auto moved = [&](int i) { return Picture(pages[i]) != before[i]; };
        EXPECT_TRUE(QTest::qWaitFor([&] { return moved(0) && moved(1); }, 5000));

        std::vector<double> values = {frame.m_page1.m_orbitRate, frame.m_page1.m_orbitAngle};
        for (const CGridTmpl<double>& v : {frame.m_page1.m_eye, frame.m_page1.m_rotRate,
                                           frame.m_page2.m_eye, frame.m_page2.m_lookAt}) {
            values.insert(values.end(), {v.x, v.y, v.z});
        }
        for (int i = 0; i < CMainDlg2::kMoving; ++i) {
            for (const CGridTmpl<double>& v :
                 {frame.m_page2.m_velocity[i], frame.m_page2.m_modelRate[i],
                  frame.m_page2.m_animated[i]->m_position}) {
                values.insert(values.end(), {v.x, v.y, v.z});
            }
            const CGridTmpl<double>& p = frame.m_page2.m_animated[i]->m_position;
            EXPECT_TRUE(p.x >= 0 && p.x <= 1 && p.y >= 0 && p.y <= 1 && p.z >= 0 && p.z <= 1);
        }
        for (double v : values) {
            EXPECT_FALSE(std::isnan(v));
        }
        for (HWND page : pages) {
            for (int i = 0; i < 9; ++i) {
                wchar_t text[64] = {};
                ::GetWindowTextW(::GetDlgItem(page, IDC_EDIT_EYE_X + i), text, 64);
                EXPECT_EQ(std::wstring(text).find(L"nan"), std::wstring::npos);
            }
        }
        WidgetFromHandle(frame.m_hWnd)->close();
    });
    EXPECT_EQ(code, 1);
    EXPECT_GE(commands, 100000);
    EXPECT_GT(ticks, 4000);
    EXPECT_GT(switches, 1000);
    EXPECT_EQ(flips, switches);
    EXPECT_GT(abouts, 20);
    std::printf("storm: %d commands, %d ticks sent, %d Ctrl+Tab, %d About boxes\n", commands, ticks,
                switches, abouts);
}

}  // namespace
