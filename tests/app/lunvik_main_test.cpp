// The real entry function, run in-process on the offscreen platform: the
// window it opens, page switching, the consumed keys, the About box over
// running pages, and a clean end with exit code 1.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/lunvik_main.h"
#include "app/main_frame.h"
#include "platform/qt/handle.h"

namespace {

// What a test does once the program's loop runs; it runs on the loop's thread.
std::function<void()> g_script;

void StartScript() {
    QTimer::singleShot(0, [] {
        if (g_script) {
            g_script();
        }
    });
}

// The entry function makes its own QApplication; the script is started from it.
int RunProgram(std::function<void()> script) {
    static const bool hooked = [] {
        qAddPreRoutine(StartScript);
        return true;
    }();
    (void)hooked;
    g_script = std::move(script);
    const int code = LunvikMain("lunvik");
    g_script = nullptr;
    return code;
}

QWidget* Frame() {
    return WidgetFromHandle(MainFrame().m_hWnd);
}

QTabBar* Tabs() {
    return Frame() ? Frame()->findChild<QTabBar*>() : nullptr;
}

// Keys go to whatever has the focus in the frame, as a user's would.
void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : Frame();
    QTest::keyClick(target, key, modifiers);
}

void CloseFrame() {
    Frame()->close();
}

QAction* AboutAction() {
    auto* bar = Frame()->findChild<QMenuBar*>();
    for (QAction* menu : bar ? bar->actions() : QList<QAction*>()) {
        for (QAction* item : menu->menu() ? menu->menu()->actions() : QList<QAction*>()) {
            if (item->text() == "&About us...") {
                return item;
            }
        }
    }
    return nullptr;
}

// The About box, once open: the application's modal window.
QWidget* AboutBox() {
    return QApplication::activeModalWidget();
}

TEST(Program, OpensTheMainWindowWithTwoTabsAndEndsWithOneOnClose) {
    QString title;
    QStringList tabs;
    int active = -1;
    QRect geometry;
    QList<QSize> iconSizes;
    const int code = RunProgram([&] {
        title = Frame()->windowTitle();
        iconSizes = Frame()->windowIcon().availableSizes();
        for (int i = 0; Tabs() && i < Tabs()->count(); ++i) {
            tabs << Tabs()->tabText(i);
        }
        active = MainFrame().m_view.GetActivePage();
        geometry = Frame()->frameGeometry();
        CloseFrame();
    });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(title, "3D demo Lunvik");
    EXPECT_EQ(tabs, QStringList({"Page1", "Page2"}));
    EXPECT_EQ(active, 0);
    EXPECT_EQ(geometry.topLeft(), QPoint(0, 0));
    EXPECT_EQ(geometry.size(), QSize(750, 700));
    EXPECT_TRUE(iconSizes.contains(QSize(16, 16)));
    EXPECT_TRUE(iconSizes.contains(QSize(32, 32)));

    // After the loop every object is windowless again.
    EXPECT_EQ(MainFrame().m_hWnd, nullptr);
    EXPECT_EQ(MainFrame().m_page1.m_hWnd, nullptr);
    EXPECT_EQ(MainFrame().m_page2.m_hWnd, nullptr);
    EXPECT_EQ(MainFrame().m_view.m_hWnd, nullptr);
    EXPECT_EQ(QCoreApplication::instance(), nullptr);
}

TEST(Program, CtrlTabSwitchesPagesBothWaysAndTheAcceleratorsDoNothing) {
    std::vector<int> pages;
    double orbit1 = -1, eyeX2 = -1;
    const int code = RunProgram([&] {
        QTest::qWait(50);
        Frame()->activateWindow();
        pages.push_back(MainFrame().m_view.GetActivePage());
        Key(Qt::Key_Tab, Qt::ControlModifier);
        pages.push_back(MainFrame().m_view.GetActivePage());
        Key(Qt::Key_Tab, Qt::ControlModifier);
        pages.push_back(MainFrame().m_view.GetActivePage());
        Key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        pages.push_back(MainFrame().m_view.GetActivePage());
        Key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        pages.push_back(MainFrame().m_view.GetActivePage());

        const double eye2 = MainFrame().m_page2.m_eye.x;
        Key(Qt::Key_N, Qt::ControlModifier);
        Key(Qt::Key_O, Qt::ControlModifier);
        Key(Qt::Key_S, Qt::ControlModifier);
        Key(Qt::Key_P, Qt::ControlModifier);
        Key(Qt::Key_F6);
        Key(Qt::Key_F6, Qt::ShiftModifier);
        pages.push_back(MainFrame().m_view.GetActivePage());
        orbit1 = MainFrame().m_page1.m_orbitRate;
        eyeX2 = MainFrame().m_page2.m_eye.x - eye2;
        EXPECT_TRUE(Frame()->isVisible());

        // Commands from another program: the tab commands and the exit command.
        ::SendMessageW(MainFrame().m_hWnd, WM_COMMAND, 0xFF01, 0);
        pages.push_back(MainFrame().m_view.GetActivePage());
        ::SendMessageW(MainFrame().m_hWnd, WM_COMMAND, MAKEWPARAM(57665, 0), 0);
    });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(pages, (std::vector<int>{0, 1, 0, 1, 0, 0, 1}));
    EXPECT_EQ(orbit1, 0.0);
    EXPECT_EQ(eyeX2, 0.0);
}

TEST(Program, AboutBoxIsModalWhileBothPagesKeepTicking) {
    int opened = 0;
    int closedBy[3] = {0, 0, 0};
    double orbitDuringAbout = 0;
    double eyeMoveDuringAbout = 0;
    const int code = RunProgram([&] {
        CMainFrame& frame = MainFrame();
        frame.m_page1.m_orbitRate = 0.01;  // page one's orbit counts its ticks
        ::SendMessageW(frame.m_page2.m_hWnd, WM_COMMAND, 1036, 0);

        // Each way of closing: the OK button, Enter, Escape.
        for (int way = 0; way < 3; ++way) {
            const double angle = frame.m_page1.m_orbitAngle;
            const double position = frame.m_page2.m_cube[0].m_position.x +
                                    frame.m_page2.m_cube[0].m_position.y +
                                    frame.m_page2.m_cube[0].m_position.z;
            QTimer::singleShot(300, [&, way, angle, position] {
                QWidget* about = AboutBox();
                if (about == nullptr) {
                    return;
                }
                ++opened;
                orbitDuringAbout = angle - frame.m_page1.m_orbitAngle;
                eyeMoveDuringAbout = position - (frame.m_page2.m_cube[0].m_position.x +
                                                 frame.m_page2.m_cube[0].m_position.y +
                                                 frame.m_page2.m_cube[0].m_position.z);
                closedBy[way] = 1;
                if (way == 0) {
                    QTest::mouseClick(WidgetFromHandle(::GetDlgItem(HandleFromWidget(about), 1)),
                                      Qt::LeftButton);
                } else {
                    QTest::keyClick(about, way == 1 ? Qt::Key_Return : Qt::Key_Escape);
                }
            });
            // Help > "&About us...", on the window's own menu.
            QAction* about = AboutAction();
            ASSERT_NE(about, nullptr);
            about->trigger();
            // The menu's command is queued; the box runs its own loop once it arrives.
            EXPECT_TRUE(QTest::qWaitFor([&] { return closedBy[way] == 1; }, 5000)) << way;
            QTest::qWait(20);
            EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "way " << way;
            EXPECT_GT(orbitDuringAbout, 0.05) << "page one stopped ticking behind the box";
            EXPECT_NE(eyeMoveDuringAbout, 0.0) << "page two stopped ticking behind the box";
        }
        CloseFrame();
    });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(opened, 3);
    EXPECT_EQ(closedBy[0] + closedBy[1] + closedBy[2], 3);
}

TEST(Program, AltF4ClosesTheWindowAndEndsWithOne) {
    bool closed = false;
    const int code = RunProgram([&] {
        Key(Qt::Key_F4, Qt::AltModifier);
        closed = MainFrame().m_hWnd == nullptr;
    });
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(closed);
}

TEST(Program, MenuHoldsTheAboutCommand) {
    QStringList menus;
    QStringList items;
    RunProgram([&] {
        if (auto* bar = Frame()->findChild<QMenuBar*>()) {
            for (QAction* menu : bar->actions()) {
                menus << menu->text();
                if (menu->menu()) {
                    for (QAction* item : menu->menu()->actions()) {
                        items << item->text();
                    }
                }
            }
        }
        CloseFrame();
    });
    EXPECT_EQ(menus, QStringList({"&Help"}));
    EXPECT_EQ(items, QStringList({"&About us..."}));
}

}  // namespace
