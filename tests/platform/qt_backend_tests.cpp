// Qt back end only: window timers of one period share one Qt timer, so that
// the pages tick in one wake-up, and a handler may change timers and windows
// in the middle of such a shared tick; an edit shows a new text from its start.
#include <QLineEdit>
#include <QTest>
#include <map>

#include "platform/qt/handle.h"

#include "tests/platform/window_test_support.h"

namespace lunvik::test {
namespace {

using PlatformWindow = WindowTest;

// Counts the timer events Qt delivers: the process's timer wake-ups.
class CTimerEventCount : public QObject {
  public:
    int m_count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        m_count += event->type() == QEvent::Timer ? 1 : 0;
        return false;
    }
};

// With a Qt timer per window instead, each wake-up would bring one tick.
TEST_F(PlatformWindow, TimersOfOnePeriodTickTogetherInOneWakeUp) {
    CJournal journal;
    CTestWindow window[4];
    HWND h[4];
    StartTimedWindows(window, h, journal);
    CTimerEventCount wakeUps;
    std::map<int, int> ticksIn;  // WM_TIMER messages by the wake-up they came in
    for (CTestWindow& w : window) {
        w.m_hook = [&](UINT msg, WPARAM, LPARAM, LRESULT&) {
            if (msg == WM_TIMER) {
                ++ticksIn[wakeUps.m_count];
            }
            return false;
        };
    }
    qApp->installEventFilter(&wakeUps);
    ASSERT_TRUE(QTest::qWaitFor([&] { return journal.Count(WM_TIMER) >= 40; }));
    qApp->removeEventFilter(&wakeUps);
    for (const auto& [wakeUp, ticks] : ticksIn) {
        EXPECT_EQ(ticks, 4) << "wake-up " << wakeUp;
    }
}

// A handler that takes timers out of the tick it is in, before and after its
// own: a killed timer, a destroyed window and a moved period tick no more,
// the last window still ticks in it, and a timer set meanwhile waits for the
// next tick.
TEST_F(PlatformWindow, AHandlerMayKillDestroyAndMoveTimersInTheirSharedTick) {
    CJournal journal;
    CTestWindow window[4];
    HWND h[4];
    StartTimedWindows(window, h, journal);
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
}

TEST_F(PlatformWindow, AForeignAddressIsNoWindow) {
    int local = 0;
    const HWND foreign = reinterpret_cast<HWND>(&local);
    EXPECT_FALSE(IsWindow(foreign));
    EXPECT_FALSE(SetWindowTextW(foreign, L"x"));
    EXPECT_FALSE(DestroyWindow(foreign));
    EXPECT_EQ(local, 0);
}

TEST_F(PlatformWindow, AnEditShowsANewTextFromItsStartAndKeepsItsCursorForTheSameText) {
    CPageDialog dialog;
    const HWND hwnd = dialog.Create(nullptr);
    auto* plain = qobject_cast<QLineEdit*>(WidgetFromHandle(GetDlgItem(hwnd, kPlain)));
    ASSERT_NE(plain, nullptr);
    ASSERT_TRUE(SetWindowTextW(GetDlgItem(hwnd, kPlain), L"視点座標 : x = 0.00"));
    EXPECT_EQ(plain->cursorPosition(), 0);
    // Any other text replaces it, a prefix or one outside the 16-bit range too.
    for (const wchar_t* next :
         {L"視点座標 : x = 0.00", L"視点座標 : x = 0.0", L"視点座標 : x = 0.000", L"\U0001D465 = 1",
          L"\U0001D465 = 1", L"\U0001D466 = 1", L""}) {
        plain->setCursorPosition(2);
        const bool same = plain->text() == QString::fromWCharArray(next);
        EXPECT_TRUE(SetWindowTextW(GetDlgItem(hwnd, kPlain), next));
        EXPECT_EQ(plain->text(), QString::fromWCharArray(next));
        EXPECT_EQ(plain->cursorPosition(), same ? 2 : 0);
    }
}

}  // namespace
}  // namespace lunvik::test
