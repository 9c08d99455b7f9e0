// Windows and handles: creation inside a parent's client area, messages,
// timers, destruction of window trees, dead handles.
#include <QPointer>
#include <QTest>
#include <climits>

#include "platform/paint.h"
#include "tests/platform/window_test_support.h"

namespace lunvik::test {
namespace {

using PlatformWindow = WindowTest;

// Runs the loop until a live window's own 10 ms timer has ticked three times:
// by then a timer of the same period anywhere else would have ticked too.
void WaitThreeTicks() {
    CJournal journal;
    CTestWindow witness;
    witness.m_journal = &journal;
    ASSERT_TRUE(witness.Create(nullptr, RECT{0, 0, 10, 10}) != nullptr && witness.SetTimer(0, 10));
    ASSERT_TRUE(QTest::qWaitFor([&] { return journal.Count(WM_TIMER) >= 3; }, 5000));
    witness.DestroyWindow();
}

TEST_F(PlatformWindow, ChildWindowCoversItsPlaceholderAndGoesDownAfterItsParent) {
    SPageWithView on;
    auto& [page, journal, view, hwnd, placeholder, child] = on;
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(journal.m_entries.front().msg, WM_CREATE);
    EXPECT_EQ(W(child)->geometry(), W(placeholder)->contentsRect());

    // Destroying the page: it hears WM_DESTROY first, while the child is still a window.
    page.m_journal = &journal;
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
    EXPECT_EQ(journal.Count(WM_DESTROY, child), 1);
    EXPECT_TRUE(page.m_hWnd == nullptr && view.m_hWnd == nullptr);
    EXPECT_EQ(page.m_finalMessages + view.m_finalMessages, 2);
    DeleteDestroyed();
    EXPECT_TRUE(viewWidget.isNull());
    EXPECT_NE(page.Create(nullptr), nullptr) << "the object can have a window again";
}

TEST_F(PlatformWindow, ExtremeRectanglesAreClamped) {
    CTestWindow parent, huge, reversed;
    ASSERT_NE(parent.Create(nullptr, RECT{0, 0, 100, 100}), nullptr);
    const RECT limits{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    ASSERT_NE(huge.Create(parent, limits, nullptr, WS_CHILD | WS_VISIBLE), nullptr);
    EXPECT_TRUE(InvalidateRect(huge, &limits, TRUE));
    ASSERT_NE(reversed.Create(parent, RECT{50, 50, 10, 10}, nullptr, WS_CHILD), nullptr);
    EXPECT_EQ(W(reversed)->size(), QSize(0, 0));
}

// Counts the timer events Qt delivers: the process's timer wake-ups.
class CTimerEventCount : public QObject {
  public:
    int m_count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        m_count += event->type() == QEvent::Timer ? 1 : 0;
        return false;
    }
};

TEST_F(PlatformWindow, TimersAndPostedMessagesReachOnlyLiveWindows) {
    // Four windows on timers of one period tick together, one wake-up for all.
    CJournal journal;
    CTestWindow window[4];
    HWND h[4];
    for (int i = 0; i < 4; ++i) {
        window[i].m_journal = &journal;
        h[i] = window[i].Create(nullptr, RECT{0, 0, 10, 10});
        ASSERT_EQ(SetTimer(h[i], 7, 10, nullptr), 7u);
    }
    CTimerEventCount wakeUps;
    qApp->installEventFilter(&wakeUps);
    ASSERT_TRUE(QTest::qWaitFor([&] { return journal.Count(WM_TIMER) >= 40; }));
    qApp->removeEventFilter(&wakeUps);
    EXPECT_LT(wakeUps.m_count, 20);

    // A handler that takes timers out of the tick it is in, before and after
    // its own: a killed timer, a destroyed window and a moved period tick no
    // more, the last window still ticks in it, and a timer set meanwhile
    // waits for the next tick.
    std::size_t cut = 0;
    bool inCutTick = false;
    window[1].m_hook = [&](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_TIMER && cut == 0) {
            inCutTick = true;
            QMetaObject::invokeMethod(
                qApp, [&] { inCutTick = false; }, Qt::QueuedConnection);
            EXPECT_TRUE(KillTimer(h[0], 7));
            DestroyWindow(h[2]);
            EXPECT_FALSE(KillTimer(h[2], 7));
            SetTimer(h[1], 7, 100000, nullptr);
            SetTimer(h[3], 8, 0, nullptr);
            cut = journal.m_entries.size();
        }
        return false;
    };
    int hits[2][2] = {};  // [id 7, 8][after, in the cut tick]
    window[3].m_hook = [&](UINT msg, WPARAM id, LPARAM, LRESULT&) {
        if (msg == WM_TIMER && cut != 0) {
            ++hits[id - 7][inCutTick ? 1 : 0];
        }
        return false;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return hits[1][0] >= 3; }));
    EXPECT_EQ(hits[0][1], 1);
    EXPECT_EQ(hits[1][1], 0);
    for (std::size_t i = cut; i < journal.m_entries.size(); ++i) {
        EXPECT_TRUE(journal.m_entries[i].msg != WM_TIMER || journal.m_entries[i].hwnd == h[3]);
    }

    const HWND hwnd = h[3];
    ASSERT_TRUE(PostMessageW(hwnd, WM_USER, 1, 2));
    EXPECT_EQ(journal.Count(WM_USER), 0);  // posted: not yet
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(journal.Count(WM_USER), 1);

    PostMessageW(hwnd, WM_USER, 3, 4);
    DestroyWindow(hwnd);
    const int ticks = journal.Count(WM_TIMER);
    WaitThreeTicks();
    EXPECT_EQ(journal.Count(WM_TIMER), ticks);
    EXPECT_EQ(journal.Count(WM_USER), 1);

    // An object going away takes its window and timer with it: a tick now
    // would reach a dead object (ASan would say).
    QPointer<QWidget> widget;
    {
        CTestWindow shortLived;
        widget = W(shortLived.Create(nullptr, RECT{0, 0, 10, 10}));
        shortLived.SetTimer(0, 10);
    }
    WaitThreeTicks();
    DeleteDestroyed();
    EXPECT_TRUE(widget.isNull());
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
        EXPECT_EQ(GetDlgItem(hwnd, kGo), nullptr);
        EXPECT_FALSE(SetWindowTextW(hwnd, L"x"));
        EXPECT_EQ(GetWindowTextW(hwnd, text, 4), 0);
        EXPECT_FALSE(GetClientRect(hwnd, &rc));
        EXPECT_FALSE(InvalidateRect(hwnd, nullptr, TRUE));
        EXPECT_EQ(SendMessageW(hwnd, WM_CLOSE, 0, 0), 0);
        EXPECT_FALSE(PostMessageW(hwnd, WM_CLOSE, 0, 0));
        EXPECT_EQ(SetTimer(hwnd, 1, 10, nullptr), 0u);
        EXPECT_FALSE(KillTimer(hwnd, 1));
        EXPECT_FALSE(ShowWindow(hwnd, SW_SHOW));
        EXPECT_FALSE(DestroyWindow(hwnd));
        EXPECT_EQ(GetParent(hwnd), nullptr);
        EXPECT_FALSE(lunvik::platform::CenterWindow(hwnd, nullptr));
        EXPECT_FALSE(lunvik::platform::EndDialogWindow(hwnd, 1));
        PAINTSTRUCT ps{};
        EXPECT_EQ(BeginPaint(hwnd, &ps), nullptr);
        EXPECT_EQ(GetDC(hwnd)->m_scale, 1.0);
    }
    EXPECT_EQ(local, 0);
}

}  // namespace
}  // namespace lunvik::test
