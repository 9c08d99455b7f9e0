// The real entry function, run in-process on the offscreen platform: the
// window it opens, page switching, tab dragging, the consumed keys, the About
// box over running pages, and a clean end with exit code 1.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>

#include "app/main_frame.h"
#include "pages/resource_ids.h"
#include "platform/qt/handle.h"
#include "tests/app/run_program.h"

namespace {

using lunvik::test::RunProgram;

QWidget* Frame() {
    return WidgetFromHandle(MainFrame().m_hWnd);
}

QTabBar* Tabs() {
    return Frame()->findChild<QTabBar*>();
}

QStringList TabTexts() {
    return {Tabs()->tabText(0), Tabs()->tabText(1)};
}

int ActivePage() {
    return MainFrame().m_view.GetActivePage();
}

// Keys go to whatever has the focus in the frame, as a user's would.
void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : Frame();
    QTest::keyClick(target, key, modifiers);
}

// Help > "&About us...", the menu's one item.
QAction* AboutAction() {
    return Frame()->findChild<QMenuBar*>()->actions().value(0)->menu()->actions().value(0);
}

TEST(Program, OpensTheMainWindowWithTwoTabsAndEndsWithOneOnAltF4) {
    const int code = RunProgram([&] {
        // A desktop groups the window under the entry the package installs.
        EXPECT_EQ(QGuiApplication::desktopFileName(), LUNVIK_APP_ID);
        EXPECT_EQ(QCoreApplication::applicationVersion(), "1.0.0.1");
        EXPECT_EQ(AboutAction()->text(), "&About us...");
        const QList<QSize> icons = Frame()->windowIcon().availableSizes();
        EXPECT_TRUE(icons.contains(QSize(16, 16)) && icons.contains(QSize(32, 32)));
        EXPECT_EQ(TabTexts(), QStringList({"Page1", "Page2"}));
        EXPECT_EQ(ActivePage(), 0);
        // The page lies below the tab strip, inside the tab view's client edge.
        const QRect view = WidgetFromHandle(MainFrame().m_view)->contentsRect();
        const QRect page = WidgetFromHandle(MainFrame().m_page1)->geometry();
        EXPECT_GT(page.top(), view.top());
        EXPECT_EQ(page.bottom(), view.bottom());
        Key(Qt::Key_F4, Qt::AltModifier);  // closes it when no window manager takes the key
    });
    EXPECT_EQ(code, 1);

    // After the loop every object is windowless again.
    const CMainFrame& f = MainFrame();
    EXPECT_TRUE(!f.m_hWnd && !f.m_page1.m_hWnd && !f.m_page2.m_hWnd && !f.m_view.m_hWnd);
    EXPECT_EQ(QCoreApplication::instance(), nullptr);
}

TEST(Program, CtrlTabSwitchesPagesBothWaysTabsDragAndTheAcceleratorsDoNothing) {
    std::vector<int> pages;
    const int code = RunProgram([&] {
        Frame()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(Frame()));
        for (int i = 0; i < 4; ++i) {
            Key(i < 2 ? Qt::Key_Tab : Qt::Key_Backtab,
                i < 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
            pages.push_back(ActivePage());
        }
        for (Qt::Key key : {Qt::Key_N, Qt::Key_O, Qt::Key_S, Qt::Key_P}) {
            Key(key, Qt::ControlModifier);
        }
        Key(Qt::Key_F6);
        Key(Qt::Key_F6, Qt::ShiftModifier);
        pages.push_back(ActivePage());

        // A tab dragged past its neighbour goes back when Escape cancels the drag.
        const QPoint start = Tabs()->tabRect(0).center();
        QTest::mousePress(Tabs(), Qt::LeftButton, {}, start);
        for (int x = start.x(); x <= Tabs()->tabRect(1).right(); x += 5) {
            QTest::mouseMove(Tabs(), QPoint(x, start.y()));
        }
        EXPECT_EQ(TabTexts(), QStringList({"Page2", "Page1"}));
        Key(Qt::Key_Escape);
        EXPECT_EQ(TabTexts(), QStringList({"Page1", "Page2"}));

        // Commands from another program: a tab command, then the exit command.
        ::SendMessageW(MainFrame().m_hWnd, WM_COMMAND, ID_WINDOW_TABFIRST + 1, 0);
        pages.push_back(ActivePage());
        ::SendMessageW(MainFrame().m_hWnd, WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0), 0);
    });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(pages, (std::vector<int>{1, 0, 1, 0, 0, 1}));
}

// Opens the About box from the window's own menu and, once both pages have
// ticked behind it (or after five seconds), runs close on it inside its loop.
// True when the box opened, the pages ticked and the box went away again.
bool AboutWhileTicking(const std::function<void(QWidget*)>& close) {
    CMainFrame& frame = MainFrame();
    const double angle = frame.m_page1.m_orbitAngle;
    const double x = frame.m_page2.m_cube[0].m_position.x;
    bool ticked = false;
    QElapsedTimer clock;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* about = QApplication::activeModalWidget();
        ticked = std::abs(frame.m_page1.m_orbitAngle - angle) > 0.05 &&
                 frame.m_page2.m_cube[0].m_position.x != x;
        if (about && (ticked || clock.elapsed() > 5000)) {
            poll.stop();
            close(about);
        }
    });
    clock.start();
    poll.start(5);
    AboutAction()->trigger();  // queued: the box runs its own loop once it arrives
    return QTest::qWaitFor([&] { return !poll.isActive() && !QApplication::activeModalWidget(); },
                           10000) &&
           ticked;
}

TEST(Program, AboutBoxIsModalWhileBothPagesKeepTicking) {
    const int code = RunProgram([&] {
        MainFrame().m_page1.m_orbitRate = 0.01;  // page one's orbit counts its ticks
        ::SendMessageW(MainFrame().m_page2.m_hWnd, WM_COMMAND, IDC_START, 0);
        EXPECT_TRUE(AboutWhileTicking([](QWidget* about) {
            QTest::mouseClick(WidgetFromHandle(::GetDlgItem(HandleFromWidget(about), IDOK)),
                              Qt::LeftButton);
        })) << "OK";
        EXPECT_TRUE(AboutWhileTicking([](QWidget* about) { about->close(); })) << "close box";
        // Closing the main window while the box is open ends the program too.
        AboutWhileTicking([](QWidget*) { Frame()->close(); });
    });
    EXPECT_EQ(code, 1);
}

}  // namespace
