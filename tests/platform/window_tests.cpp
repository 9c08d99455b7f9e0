// Windows and handles: creation inside a parent's client area, messages,
// timers, destruction of window trees, dead handles. Run on both back ends.
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
    ASSERT_TRUE(witness.Create(nullptr, RECT{0, 0, 10, 10}, nullptr, kTopLevel) != nullptr &&
                witness.SetTimer(0, 10));
    ASSERT_TRUE(PumpUntil([&] { return journal.Count(WM_TIMER) >= 3; }));
    witness.DestroyWindow();
}

TEST_F(PlatformWindow, AChildWindowCoversItsPlaceholdersClientArea) {
    SPageWithView on;
    ASSERT_NE(on.child, nullptr);
    EXPECT_EQ(on.journal.Count(WM_CREATE, on.child), 1);
    RECT inside{};
    GetClientRect(on.placeholder, &inside);
    EXPECT_EQ(ChildRect(on.child), inside);
}

// The page hears WM_DESTROY first, while its child is still a window.
TEST_F(PlatformWindow, ADestroyedPageHearsOfItBeforeItsChildrenAndCanHaveAWindowAgain) {
    SPageWithView on;
    auto& [top, page, journal, view, parent, hwnd, placeholder, child] = on;
    page.m_journal = &journal;
    bool childStillThere = false;
    // Named captures: clang before 16 cannot capture structured bindings.
    page.m_hook = [&childStillThere, &log = journal, kid = child](UINT msg, WPARAM, LPARAM,
                                                                  LRESULT&) {
        if (msg == WM_DESTROY) {
            childStillThere = IsWindow(kid) && log.Count(WM_DESTROY, kid) == 0;
        }
        return false;
    };
    ASSERT_TRUE(DestroyWindow(hwnd));
    EXPECT_TRUE(childStillThere);
    EXPECT_EQ(journal.Count(WM_DESTROY, child), 1);
    EXPECT_TRUE(page.m_hWnd == nullptr && view.m_hWnd == nullptr);
    EXPECT_EQ(page.m_finalMessages + view.m_finalMessages, 2);
    EXPECT_FALSE(IsWindow(child));
    EXPECT_NE(page.Create(parent), nullptr) << "the object can have a window again";
}

TEST_F(PlatformWindow, ExtremeRectanglesAreClamped) {
    CTestWindow parent, huge, reversed;
    ASSERT_NE(parent.Create(nullptr, RECT{0, 0, 100, 100}, nullptr, kTopLevel), nullptr);
    const RECT limits{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    ASSERT_NE(huge.Create(parent, limits, nullptr, WS_CHILD | WS_VISIBLE), nullptr);
    EXPECT_TRUE(InvalidateRect(huge, &limits, TRUE));
    ASSERT_NE(reversed.Create(parent, RECT{50, 50, 10, 10}, nullptr, WS_CHILD), nullptr);
    RECT none{1, 1, 1, 1};
    EXPECT_TRUE(GetClientRect(reversed, &none));
    EXPECT_EQ(none, RECT{});
}

TEST_F(PlatformWindow, AKilledTimerAndADestroyedWindowsTimerTickNoMore) {
    CJournal journal;
    CTestWindow window[2];
    HWND h[2];
    StartTimedWindows(window, h, journal);
    ASSERT_TRUE(PumpUntil([&] { return journal.Count(WM_TIMER, h[1]) >= 3; }));
    EXPECT_TRUE(KillTimer(h[0], 7));
    EXPECT_FALSE(KillTimer(h[0], 7)) << "killed already";
    DestroyWindow(h[1]);
    const int ticks = journal.Count(WM_TIMER);
    WaitThreeTicks();
    EXPECT_EQ(journal.Count(WM_TIMER), ticks);
}

TEST_F(PlatformWindow, APostedMessageWaitsForTheLoopAndDiesWithItsWindow) {
    CJournal journal;
    CTestWindow window;
    window.m_journal = &journal;
    const HWND hwnd = window.Create(nullptr, RECT{0, 0, 10, 10}, nullptr, kTopLevel);
    ASSERT_TRUE(PostMessageW(hwnd, WM_USER, 1, 2));
    EXPECT_EQ(journal.Count(WM_USER), 0);  // posted: not yet
    DeliverPosted();
    EXPECT_EQ(journal.Count(WM_USER), 1);
    PostMessageW(hwnd, WM_USER, 3, 4);
    DestroyWindow(hwnd);
    DeliverPosted();
    EXPECT_EQ(journal.Count(WM_USER), 1);
}

// A tick after the object is gone would reach a dead object (ASan would say).
TEST_F(PlatformWindow, AWindowObjectGoingAwayTakesItsWindowAndTimerWithIt) {
    HWND gone = nullptr;
    {
        CTestWindow shortLived;
        gone = shortLived.Create(nullptr, RECT{0, 0, 10, 10}, nullptr, kTopLevel);
        shortLived.SetTimer(0, 10);
    }
    EXPECT_FALSE(IsWindow(gone));
    WaitThreeTicks();
}

// Win32's rules, which the Qt back end's definitions keep: an empty rectangle
// takes no part in a union and overlaps nothing; a result with nothing in it
// is all zero; the destination may be a source.
TEST(PlatformRectangles, EmptyOnesTakeNoPartAndNothingIsAllZero) {
    const RECT a{0, 0, 10, 10};
    const RECT b{5, -5, 20, 8};
    const RECT flat{2, 3, 40, 3};    // no height: a union that took it would reach x = 40
    const RECT edge{10, 0, 20, 10};  // touches a along x = 10
    RECT r = a;
    EXPECT_TRUE(UnionRect(&r, &r, &b));
    EXPECT_EQ(r, (RECT{0, -5, 20, 10}));
    EXPECT_TRUE(UnionRect(&r, &flat, &a) && r == a && UnionRect(&r, &a, &flat) && r == a);
    const RECT reversed{9, 9, 1, 1};
    EXPECT_FALSE(UnionRect(&r, &flat, &reversed));
    EXPECT_EQ(r, RECT{});

    EXPECT_TRUE(IntersectRect(&r, &a, &b));
    EXPECT_EQ(r, (RECT{5, 0, 10, 8}));
    for (const RECT& other : {edge, flat, reversed}) {
        r = b;
        EXPECT_FALSE(IntersectRect(&r, &a, &other)) << other;
        EXPECT_EQ(r, RECT{}) << other;
    }
    r = a;
    EXPECT_TRUE(OffsetRect(&r, -3, 4));
    EXPECT_EQ(r, (RECT{-3, 4, 7, 14}));
}

// A frame a tick asks for is painted as the tick ends, before anything the
// tick queued; outside a tick a paint waits for the loop, as ever.
TEST_F(PlatformWindow, AWindowATickInvalidatesIsPaintedAsTheTickEnds) {
    CJournal journal;
    CTestWindow window;
    window.m_journal = &journal;
    const HWND hwnd = window.Create(nullptr, RECT{0, 0, 60, 40}, nullptr, kTopLevel);
    ASSERT_NE(hwnd, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    const auto paints = [&] { return journal.Count(WM_PAINT, hwnd); };
    ASSERT_TRUE(PumpUntil([&] { return paints() > 0; }));
    int paintsInTick = -1;
    int paintsWhenPosted = -1;
    window.m_hook = [&](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_TIMER && window.KillTimer(1)) {
            paintsInTick = paints();
            PostMessageW(hwnd, WM_USER, 0, 0);
            const RECT part{5, 5, 25, 15};
            InvalidateRect(hwnd, &part, TRUE);
        } else if (msg == WM_USER) {
            paintsWhenPosted = paints();
        }
        return false;
    };
    ASSERT_TRUE(window.SetTimer(1, 10));
    ASSERT_TRUE(PumpUntil([&] { return paintsWhenPosted >= 0; }));
    EXPECT_GT(paintsWhenPosted, paintsInTick);

    const int before = paints();
    InvalidateRect(hwnd, nullptr, TRUE);
    EXPECT_EQ(paints(), before);
    EXPECT_TRUE(PumpUntil([&] { return paints() > before; }));
    window.DestroyWindow();
}

// (On Win32 any number can alias a live window's handle; the Qt back end
// also refuses a foreign address, qt_backend_tests.cpp.)
// As user32 does: a window hears it is to be shown or hidden before it is,
// and only when that changes; a child does not hear its parent show.
TEST_F(PlatformWindow, ShowWindowTellsTheWindowFirstAndOnlyOfAChange) {
    SPageWithView on;
    ShowWindow(on.parent, SW_SHOW);
    ShowWindow(on.hwnd, SW_HIDE);
    CJournal journal;
    on.page.m_journal = &journal;
    bool visibleWhenTold = true;
    WPARAM showing = 2;
    on.page.m_hook = [&](UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
        if (msg == WM_SHOWWINDOW) {
            visibleWhenTold = IsWindowVisible(on.hwnd) != FALSE;
            showing = wParam;
        }
        return false;
    };
    const auto told = [&] { return journal.Count(WM_SHOWWINDOW); };
    ShowWindow(on.hwnd, SW_HIDE);
    EXPECT_EQ(told(), 0) << "hidden already";
    ShowWindow(on.hwnd, SW_SHOWNA);
    ASSERT_EQ(told(), 1);
    EXPECT_EQ(showing, WPARAM{TRUE});
    EXPECT_FALSE(visibleWhenTold);
    EXPECT_TRUE(IsWindowVisible(on.child));
    ShowWindow(on.hwnd, SW_SHOW);
    EXPECT_EQ(told(), 1) << "shown already";
    ShowWindow(on.hwnd, SW_HIDE);
    ASSERT_EQ(told(), 2);
    EXPECT_EQ(showing, WPARAM{FALSE});

    ShowWindow(on.parent, SW_HIDE);
    ShowWindow(on.hwnd, SW_SHOWNA);
    EXPECT_FALSE(IsWindowVisible(on.child)) << "its top-level window is hidden";
    const int childTold = on.journal.Count(WM_SHOWWINDOW, on.child);
    ShowWindow(on.parent, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(on.child));
    EXPECT_EQ(told(), 3);
    EXPECT_EQ(on.journal.Count(WM_SHOWWINDOW, on.child), childTold);
}

TEST_F(PlatformWindow, DeadHandlesAreHarmless) {
    CTestWindow top;
    CPageDialog page;
    const HWND destroyed = page.Create(top.Create(nullptr, RECT{0, 0, 9, 9}, nullptr, kTopLevel));
    ASSERT_TRUE(DestroyWindow(destroyed));
    for (HWND hwnd : {HWND{nullptr}, destroyed}) {
        RECT rc{1, 2, 3, 4};
        wchar_t text[4] = L"abc";
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(GetDlgItem(hwnd, kGo), nullptr);
        EXPECT_FALSE(SetWindowTextW(hwnd, L"x"));
        EXPECT_EQ(GetWindowTextW(hwnd, text, 4), 0);
        EXPECT_FALSE(GetClientRect(hwnd, &rc));
        EXPECT_EQ(SendMessageW(hwnd, WM_CLOSE, 0, 0), 0);
        // Win32 gives a null window a meaning here (every window, the
        // thread's queue, a thread timer); the program never passes one.
        if (hwnd != nullptr) {
            EXPECT_FALSE(InvalidateRect(hwnd, nullptr, TRUE));
            EXPECT_FALSE(PostMessageW(hwnd, WM_CLOSE, 0, 0));
            EXPECT_EQ(SetTimer(hwnd, 1, 10, nullptr), 0u);
        }
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
}

}  // namespace
}  // namespace lunvik::test
