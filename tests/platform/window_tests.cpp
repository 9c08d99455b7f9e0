// Windows and handles: creation inside a parent's client area, messages,
// timers, destruction of window trees, icons, dead handles.
#include <QIcon>
#include <QTest>
#include <climits>

#include "tests/platform/window_test_support.h"

namespace lunvik::test {
namespace {

using PlatformWindow = WindowTest;

TEST_F(PlatformWindow, ChildWindowCoversItsPlaceholderAndGoesDownAfterItsParent) {
    CPageDialog page;
    const HWND hwnd = page.Create(nullptr);
    const HWND placeholder = GetDlgItem(hwnd, 1000);
    RECT rc;
    ASSERT_TRUE(GetClientRect(placeholder, &rc));

    CJournal journal;
    CTestWindow view;
    view.m_journal = &journal;
    RECT clientAtCreate{};
    view.m_hook = [&](UINT msg, WPARAM, LPARAM lParam, LRESULT&) {
        if (msg == WM_CREATE) {
            view.GetClientRect(&clientAtCreate);
            EXPECT_EQ(reinterpret_cast<const CREATESTRUCTW*>(lParam)->hwndParent, placeholder);
        }
        return false;
    };
    const HWND child = view.Create(placeholder, rc);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(journal.m_entries.front().msg, WM_CREATE);
    EXPECT_EQ(clientAtCreate.right, rc.right);
    EXPECT_EQ(clientAtCreate.bottom, rc.bottom);
    // Inside the placeholder's frame, exactly over its client area.
    EXPECT_EQ(W(child)->geometry(), W(placeholder)->contentsRect());
    EXPECT_TRUE(W(child)->testAttribute(Qt::WA_OpaquePaintEvent));
    EXPECT_FALSE(W(child)->autoFillBackground());

    // A shown page paints its view through WM_PAINT.
    ShowWindow(hwnd, SW_SHOW);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(W(hwnd)));
    const int paints = journal.Count(WM_PAINT, child);
    view.InvalidateRect();
    EXPECT_TRUE(QTest::qWaitFor([&] { return journal.Count(WM_PAINT, child) > paints; }));

    // Destroying the page: it hears WM_DESTROY first, while the child is still a window.
    page.m_journal = &journal;
    QPointer<QWidget> pageWidget = W(hwnd);
    QPointer<QWidget> viewWidget = W(child);
    bool childStillThere = false;
    page.m_hook = [&](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_DESTROY) {
            childStillThere = IsWindow(child) && journal.Count(WM_DESTROY, child) == 0;
            EXPECT_FALSE(page.DestroyWindow()) << "a window being destroyed is not destroyed again";
        }
        return false;
    };
    ASSERT_TRUE(DestroyWindow(hwnd));
    EXPECT_TRUE(childStillThere);
    EXPECT_EQ(journal.Count(WM_DESTROY, hwnd), 1);
    EXPECT_EQ(journal.Count(WM_DESTROY, child), 1);
    EXPECT_EQ(page.m_hWnd, nullptr);
    EXPECT_EQ(view.m_hWnd, nullptr);
    EXPECT_EQ(page.m_finalMessages, 1);
    EXPECT_EQ(view.m_finalMessages, 1);
    EXPECT_FALSE(IsWindow(child));
    DeleteDestroyed();
    EXPECT_TRUE(pageWidget.isNull());
    EXPECT_TRUE(viewWidget.isNull());

    // The object can have a window again.
    EXPECT_NE(page.Create(nullptr), nullptr);
}

TEST_F(PlatformWindow, RefusedCreationsMakeNoWindowAndExtremeRectanglesAreClamped) {
    CJournal journal;
    CTestWindow refused;
    refused.m_journal = &journal;
    refused.m_hook = [](UINT msg, WPARAM, LPARAM, LRESULT& result) {
        result = -1;
        return msg == WM_CREATE;
    };
    EXPECT_EQ(refused.Create(nullptr, RECT{0, 0, 10, 10}), nullptr);
    EXPECT_EQ(refused.m_hWnd, nullptr);
    EXPECT_EQ(journal.Count(WM_DESTROY), 1);

    CTestWindow parent;
    ASSERT_NE(parent.Create(nullptr, RECT{0, 0, 100, 100}), nullptr);
    CTestWindow huge;
    const RECT limits{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    ASSERT_NE(huge.Create(parent, limits, nullptr, WS_CHILD | WS_VISIBLE), nullptr);
    EXPECT_TRUE(InvalidateRect(huge, &limits, TRUE));
    CTestWindow reversed;
    ASSERT_NE(reversed.Create(parent, RECT{50, 50, 10, 10}, nullptr, WS_CHILD), nullptr);
    EXPECT_EQ(W(reversed)->size(), QSize(0, 0));
}

TEST_F(PlatformWindow, TimersAndPostedMessagesReachOnlyLiveWindows) {
    CJournal journal;
    CTestWindow window;
    window.m_journal = &journal;
    const HWND hwnd = window.Create(nullptr, RECT{0, 0, 10, 10});
    EXPECT_NE(SetTimer(hwnd, 0, 10, nullptr), 0u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return journal.Count(WM_TIMER) >= 3; }));
    // The same id again restarts that timer: one kill stops it.
    SetTimer(hwnd, 5, 10, nullptr);
    SetTimer(hwnd, 5, 15, nullptr);
    EXPECT_TRUE(KillTimer(hwnd, 5));
    EXPECT_FALSE(KillTimer(hwnd, 5));
    ASSERT_TRUE(PostMessageW(hwnd, WM_USER, 1, 2));
    EXPECT_EQ(journal.Count(WM_USER), 0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(journal.Count(WM_USER), 1);

    PostMessageW(hwnd, WM_USER, 3, 4);
    DestroyWindow(hwnd);
    const int ticks = journal.Count(WM_TIMER);
    QTest::qWait(60);
    EXPECT_EQ(journal.Count(WM_TIMER), ticks);
    EXPECT_EQ(journal.Count(WM_USER), 1);
    for (const SMessage& m : journal.m_entries) {
        EXPECT_TRUE(m.msg != WM_TIMER || m.wParam == 0u) << "only timer 0 ever ticked";
    }

    // WM_CLOSE by default destroys a plain window.
    const HWND again = window.Create(nullptr, RECT{0, 0, 10, 10});
    PostMessageW(again, WM_CLOSE, 0, 0);
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(IsWindow(again));
    EXPECT_EQ(window.m_hWnd, nullptr);
}

TEST_F(PlatformWindow, IconsComeFromTheResourcesAtTheAskedSize) {
    const HICON big = LoadImageW(nullptr, 128, IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                 GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR);
    const HICON small = LoadImageW(nullptr, 128, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR);
    EXPECT_EQ(reinterpret_cast<const SIconImage*>(big)->size, 32);
    EXPECT_EQ(reinterpret_cast<const SIconImage*>(small)->size, 16);

    CModalDialog box;  // a top-level dialog shows its icons as the window icon
    const HWND hwnd = box.Create(nullptr);
    EXPECT_EQ(box.SetIcon(big, TRUE), nullptr);
    EXPECT_EQ(box.SetIcon(small, FALSE), nullptr);
    EXPECT_EQ(box.SetIcon(small, TRUE), big);
    box.SetIcon(big, TRUE);
    const QImage picture = W(hwnd)->windowIcon().pixmap(QSize(16, 16)).toImage();
    EXPECT_EQ(picture.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(qAlpha(picture.pixel(1, 1)), 0);
}

TEST_F(PlatformWindow, DeadAndForeignHandlesAreHarmless) {
    CPageDialog page;
    const HWND destroyed = page.Create(nullptr);
    DestroyWindow(destroyed);
    int local = 0;
    for (HWND hwnd : {HWND{nullptr}, destroyed, reinterpret_cast<HWND>(&local)}) {
        RECT rc{1, 2, 3, 4};
        wchar_t text[4] = L"abc";
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(GetDlgItem(hwnd, 1001), nullptr);
        EXPECT_FALSE(SetWindowTextW(hwnd, L"x"));
        EXPECT_EQ(GetWindowTextW(hwnd, text, 4), 0);
        EXPECT_FALSE(GetClientRect(hwnd, &rc));
        EXPECT_FALSE(InvalidateRect(hwnd, nullptr, TRUE));
        EXPECT_EQ(SendMessageW(hwnd, WM_CLOSE, 0, 0), 0);
        EXPECT_FALSE(PostMessageW(hwnd, WM_CLOSE, 0, 0));
        EXPECT_EQ(SetTimer(hwnd, 1, 10, nullptr), 0u);
        EXPECT_FALSE(KillTimer(hwnd, 1));
        EXPECT_FALSE(ShowWindow(hwnd, SW_SHOW));
        EXPECT_FALSE(IsWindowVisible(hwnd));
        EXPECT_FALSE(DestroyWindow(hwnd));
        EXPECT_EQ(GetParent(hwnd), nullptr);
        EXPECT_FALSE(lunvik::platform::CenterWindow(hwnd, nullptr));
        EXPECT_FALSE(lunvik::platform::EndDialogWindow(hwnd, 1));
        EXPECT_EQ(TranslateAcceleratorW(hwnd, LoadAcceleratorsW(nullptr, 128), nullptr), 0);
    }
    EXPECT_EQ(local, 0);
}

TEST_F(PlatformWindow, AnObjectGoingAwayTakesItsWindowWithoutHearingMore) {
    QPointer<QWidget> widget;
    {
        CJournal journal;
        CTestWindow window;
        window.m_journal = &journal;
        widget = W(window.Create(nullptr, RECT{0, 0, 10, 10}));
        window.SetTimer(0, 10);
    }
    QTest::qWait(30);  // a tick now would reach a dead object (ASan would say)
    DeleteDestroyed();
    EXPECT_TRUE(widget.isNull());
}

}  // namespace
}  // namespace lunvik::test
