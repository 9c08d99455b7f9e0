// Win32 back end only: window timers of one period share one user32 timer,
// so that the pages tick together on one timer message from the queue (each
// a trip through the window server under Wine), not on one message each.
#include <map>

#include "platform/message_loop.h"
#include "tests/platform/window_test_support.h"

namespace lunvik::test {
namespace {

using PlatformWindow = WindowTest;

// Sees every message the loop takes from the queue.
class CTimerMessages : public CMessageFilter {
  public:
    int m_count = 0;
    BOOL PreTranslateMessage(MSG* msg) override {
        m_count += msg->message == WM_TIMER ? 1 : 0;
        return FALSE;
    }
};

TEST_F(PlatformWindow, TimersOfOnePeriodTickTogetherOnOneQueuedMessage) {
    CJournal journal;
    CTestWindow window[4];
    HWND h[4];
    StartTimedWindows(window, h, journal);
    ASSERT_NE(SetTimer(h[0], 9, 5000, nullptr), 0u);  // ends the loop if the others never do
    CMessageLoop loop;
    CTimerMessages queued;
    loop.AddMessageFilter(&queued);
    std::map<int, int> ticksIn;  // WM_TIMER to the windows, by the queued one they came with
    bool ending = false;
    for (CTestWindow& w : window) {
        w.m_hook = [&](UINT msg, WPARAM id, LPARAM, LRESULT&) {
            if (msg == WM_TIMER && id == 7) {
                ++ticksIn[queued.m_count];
            }
            if (msg == WM_TIMER && !ending && (id == 9 || journal.Count(WM_TIMER) >= 40)) {
                ending = true;
                PostQuitMessage(0);
            }
            return false;
        };
    }
    loop.Run();
    EXPECT_GE(journal.Count(WM_TIMER), 40);
    for (const auto& [message, ticks] : ticksIn) {
        EXPECT_EQ(ticks, 4) << "queued timer message " << message;
    }
}

}  // namespace
}  // namespace lunvik::test
