// The application shell's platform side, driven inside CMessageLoop::Run:
// frame, tab view, keys through the message filters, quit, idle.
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include "platform/app_module.h"
#include "platform/frame_window.h"
#include "platform/message_loop.h"
#include "platform/tab_view.h"
#include "tests/platform/window_test_support.h"

namespace lunvik::test {
namespace {

class CTestFrame : public CFrameWindowImpl<CTestFrame>, public CMessageFilter, public CIdleHandler {
  public:
    CAppModule* m_module = nullptr;
    int m_pageCount = 2;
    CTabView m_view;
    CPageDialog m_pages[3];
    int m_filtered = 0;              // messages PreTranslateMessage saw
    std::vector<WPARAM> m_keysDown;  // the virtual keys of the WM_KEYDOWNs among them
    std::vector<WPARAM> m_commands;
    std::function<void()> m_onIdle;

    BOOL PreTranslateMessage(MSG* msg) override {
        ++m_filtered;
        if (msg->message == WM_KEYDOWN) {
            m_keysDown.push_back(msg->wParam);
        }
        if (m_hAccel != nullptr && TranslateAcceleratorW(m_hWnd, m_hAccel, msg)) {
            return TRUE;
        }
        return m_view.PreTranslateMessage(msg);
    }
    BOOL OnIdle() override {
        if (m_onIdle) {
            m_onIdle();
        }
        return FALSE;
    }
    BOOL ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD = 0) override {
        switch (msg) {
            case WM_CREATE:
                OnCreate();
                result = 0;
                return TRUE;
            case WM_DESTROY:
                m_module->GetMessageLoop()->RemoveMessageFilter(this);
                m_module->GetMessageLoop()->RemoveIdleHandler(this);
                break;  // the frame's default processing posts the quit message
            case WM_COMMAND:
                m_commands.push_back(wParam);
                result = 0;
                return TRUE;
        }
        return CFrameWindowImpl<CTestFrame>::ProcessWindowMessage(hwnd, msg, wParam, lParam,
                                                                  result);
    }

  private:
    void OnCreate() {
        m_hWndClient = m_view.Create(m_hWnd, RECT{CW_USEDEFAULT, CW_USEDEFAULT, 0, 0});
        m_module->GetMessageLoop()->AddMessageFilter(this);
        m_module->GetMessageLoop()->AddIdleHandler(this);
        static const wchar_t* const kTitles[] = {L"Page1", L"Page2", L"Page3"};
        for (int i = 0; i < m_pageCount; ++i) {
            m_pages[i].Create(m_view);
            m_view.AddPage(m_pages[i], kTitles[i]);
        }
        m_view.SetActivePage(0);
    }
};

// Counts the key presses that reach a widget while it lives.
class CKeyCounter : public QObject {
  public:
    explicit CKeyCounter(QWidget* target) : m_target(target) { target->installEventFilter(this); }
    ~CKeyCounter() override { m_target->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        // Modifier keys arrive as presses of their own.
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            m_count += key != Qt::Key_Control && key != Qt::Key_Shift ? 1 : 0;
        }
        return false;
    }
    int m_count = 0;

  private:
    QWidget* m_target;
};

class PlatformFrame : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(m_module.AddMessageLoop(&m_loop));
        m_frame.m_module = &m_module;
    }
    void TearDown() override {
        DestroyWindow(m_frame);
        PostQuitMessage(0);  // takes any quit still pending, so the next test starts clean
        m_loop.Run();
        m_module.RemoveMessageLoop();
        WindowTest::TearDown();
    }
    HWND CreateFrame(int pages = 2) {
        m_frame.m_pageCount = pages;
        const HWND hwnd = m_frame.Create(nullptr, RECT{0, 0, 750, 700}, L"3D demo Lunvik", 0, 0,
                                         LoadMenuW(nullptr, 128));
        m_frame.m_hAccel = LoadAcceleratorsW(nullptr, 128);
        ShowWindow(hwnd, SW_SHOWDEFAULT);
        return hwnd;
    }
    // Runs the loop with script running inside it; returns Run's exit code.
    int RunWith(std::function<void()> script) {
        QTimer::singleShot(0, [script = std::move(script)] {
            script();
            PostQuitMessage(0);
        });
        return m_loop.Run();
    }
    QWidget* Focus() const {
        return W(m_frame.m_pages[m_frame.m_view.GetActivePage()].GetDlgItem(1001));
    }

    CAppModule m_module;
    CMessageLoop m_loop;
    CTestFrame m_frame;
};

TEST_F(PlatformFrame, TabViewFillsTheClientAreaShowsTheActivePageAndCloseEndsRun) {
    const HWND hwnd = CreateFrame();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(W(hwnd)->frameGeometry(), QRect(0, 0, 750, 700));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(W(hwnd)));
    W(hwnd)->resize(600, 500);
    QCoreApplication::processEvents();
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(W(m_frame.m_view)->size(), QSize(client.right, client.bottom));

    EXPECT_EQ(m_frame.m_view.GetPageCount(), 2);
    EXPECT_TRUE(IsWindowVisible(m_frame.m_pages[0]));
    EXPECT_FALSE(IsWindowVisible(m_frame.m_pages[1]));
    EXPECT_EQ(GetParent(m_frame.m_pages[0]), m_frame.m_view.m_hWnd);
    // The view's client edge is outside its client area; the page lies below
    // the strip, inside that area.
    EXPECT_EQ(W(m_frame.m_view)->contentsRect(), W(m_frame.m_view)->rect().adjusted(2, 2, -2, -2));
    const QRect page = W(m_frame.m_pages[0])->geometry();
    EXPECT_GT(page.top(), W(m_frame.m_view)->contentsRect().top());
    EXPECT_EQ(page.bottom(), W(m_frame.m_view)->contentsRect().bottom());
    m_frame.m_view.SetActivePage(1);
    EXPECT_FALSE(IsWindowVisible(m_frame.m_pages[0]));
    EXPECT_TRUE(IsWindowVisible(m_frame.m_pages[1]));

    // Closing the frame ends Run with 1 and takes every window down.
    QTimer::singleShot(0, [hwnd] { W(hwnd)->close(); });
    EXPECT_EQ(m_loop.Run(), 1);
    EXPECT_EQ(m_frame.m_hWnd, nullptr);
    EXPECT_EQ(m_frame.m_pages[1].m_hWnd, nullptr);
    EXPECT_EQ(m_frame.m_pages[1].m_finalMessages, 1);
    EXPECT_EQ(QApplication::allWidgets().size(), 0);
}

TEST_F(PlatformFrame, AcceleratorsAndCtrlTabAreConsumedEvenWithOnePage) {
    CreateFrame(1);
    RunWith([&] {
        QWidget* button = Focus();
        CKeyCounter counter(button);
        QTest::keyClick(button, Qt::Key_N, Qt::ControlModifier);
        QTest::keyClick(button, Qt::Key_F6);
        QTest::keyClick(button, Qt::Key_F6, Qt::ShiftModifier);
        QTest::keyClick(button, Qt::Key_Tab, Qt::ControlModifier);  // no other page to go to
        EXPECT_EQ(m_frame.m_view.GetActivePage(), 0);
        EXPECT_EQ(counter.m_count, 0);
        QTest::keyClick(button, Qt::Key_Q, Qt::ControlModifier);  // not in the table
        QTest::keyClick(button, Qt::Key_N);                       // Ctrl missing
        EXPECT_EQ(counter.m_count, 2);
    });
    EXPECT_EQ(m_frame.m_commands, (std::vector<WPARAM>{MAKEWPARAM(57600, 1), MAKEWPARAM(57680, 1),
                                                       MAKEWPARAM(57681, 1)}));
    // The filters saw each press as a key-down with its virtual key.
    EXPECT_EQ(m_frame.m_keysDown, (std::vector<WPARAM>{VK_CONTROL, 'N', VK_F6, VK_SHIFT, VK_F6,
                                                       VK_CONTROL, VK_TAB, VK_CONTROL, 'Q', 'N'}));
}

TEST_F(PlatformFrame, QuitFromInsideAModalLoopEndsRunAndModalKeysSkipTheFilters) {
    CreateFrame();
    CModalDialog modal;
    modal.m_hook = [&](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_INITDIALOG) {
            modal.SetTimer(1, 10);
        } else if (msg == WM_TIMER) {
            const int filteredBefore = m_frame.m_filtered;
            QTest::keyClick(W(modal), Qt::Key_Tab, Qt::ControlModifier);
            EXPECT_EQ(m_frame.m_filtered, filteredBefore);
            EXPECT_EQ(m_frame.m_view.GetActivePage(), 0);
            PostQuitMessage(7);
        }
        return false;
    };
    INT_PTR modalResult = 0;
    QTimer::singleShot(0, [&] { modalResult = modal.DoModal(m_frame); });
    EXPECT_EQ(m_loop.Run(), 7);
    EXPECT_EQ(modalResult, -1);
    EXPECT_EQ(modal.m_hWnd, nullptr);
    EXPECT_TRUE(IsWindow(m_frame));
}

TEST_F(PlatformFrame, IdleHandlersRunWhenTheQueueIsEmpty) {
    CreateFrame();
    m_frame.m_onIdle = [] { PostQuitMessage(3); };
    EXPECT_EQ(m_loop.Run(), 3);
    // A quit posted while no loop runs ends the next Run at once.
    m_frame.m_onIdle = nullptr;
    PostQuitMessage(4);
    EXPECT_EQ(m_loop.Run(), 4);
}

TEST_F(PlatformFrame, EscapePutsDraggedTabsBackAndCtrlTabCyclesThePagesBothWays) {
    const HWND hwnd = CreateFrame(3);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(W(hwnd)));
    auto* bar = W(m_frame.m_view)->findChild<QTabBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->isMovable());
    std::wstring firstDuringDrag;
    std::vector<int> active;
    RunWith([&] {
        const QPoint start = bar->tabRect(0).center();
        const int end = bar->tabRect(1).right();
        QTest::mousePress(bar, Qt::LeftButton, {}, start);
        for (int x = start.x(); x <= end; x += 5) {
            QTest::mouseMove(bar, QPoint(x, start.y()));
        }
        firstDuringDrag = m_frame.m_view.GetPageTitle(0);
        QTest::keyClick(Focus(), Qt::Key_Escape);
        EXPECT_NE(firstDuringDrag, L"Page1") << "the drag moved the first tab";
        EXPECT_EQ(std::wstring(m_frame.m_view.GetPageTitle(0)), L"Page1");
        EXPECT_EQ(std::wstring(m_frame.m_view.GetPageTitle(1)), L"Page2");
        EXPECT_EQ(m_frame.m_view.GetPageHWND(0), m_frame.m_pages[0].m_hWnd);
        EXPECT_EQ(m_frame.m_view.GetActivePage(), 0);

        const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
            QTest::keyClick(Focus(), key, modifiers);
            active.push_back(m_frame.m_view.GetActivePage());
        };
        press(Qt::Key_Tab, Qt::ControlModifier);
        press(Qt::Key_Tab, Qt::ControlModifier);
        press(Qt::Key_Tab, Qt::ControlModifier);                      // wraps
        press(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);  // wraps back
        press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        press(Qt::Key_Tab, Qt::NoModifier);  // plain Tab is the page's own
    });
    EXPECT_EQ(active, (std::vector<int>{1, 2, 0, 2, 1, 1}));
}

}  // namespace
}  // namespace lunvik::test
