// Timers on Win32: the shared timer table (shared/timer_table.h) on user32
// thread timers, one per period in use. A timer per window would bring a
// WM_TIMER of its own through the queue each period, under Wine a trip
// through the window server each. A window's timers go with its last
// message (Detach). Windows not of ours keep user32's own timers.
#include <algorithm>
#include <iterator>

#include "platform/shared/timer_table.h"
#include "platform/win32/window_host.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

void CALLBACK ClockTicked(HWND, UINT, UINT_PTR clock, DWORD);

class CThreadClocks final : public IPeriodicClock {
  public:
    int Start(UINT period) override {
        return static_cast<int>(::SetTimer(nullptr, 0, period, &ClockTicked));
    }
    void Stop(int clock) override { ::KillTimer(nullptr, static_cast<UINT_PTR>(clock)); }
};

constinit CThreadClocks g_clocks;

// Never destroyed: windows of static objects may still go at exit.
CTimerTable& Table() {
    static CTimerTable* const table = new CTimerTable(g_clocks);
    return *table;
}

int g_ticks = 0;  // ticks in progress (a tick's handler may run a loop)
// Windows of ours invalidated during a tick: a few drawing areas at most; one
// more is painted from the queue, as any other.
HWND g_invalidated[8] = {};
int g_invalidatedCount = 0;

// Dispatched from whichever loop runs, modal ones included. The windows the
// tick invalidated are painted now, each alone (its children from the queue):
// under Wine one trip to the window server, where the queue's WM_PAINT takes
// three (the look that finds it, the region's, the check after it).
void CALLBACK ClockTicked(HWND, UINT, UINT_PTR clock, DWORD) {
    ++g_ticks;
    Table().Tick(static_cast<int>(clock));
    --g_ticks;
    while (g_invalidatedCount > 0) {
        const HWND hwnd = g_invalidated[--g_invalidatedCount];
        if (DataOf(hwnd) != nullptr) {
            ::RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_NOCHILDREN);
        }
    }
}

}  // namespace

void KillWindowTimers(HWND hwnd) {
    Table().KillAll(hwnd);
}

UINT_PTR SetWindowTimer(HWND hwnd, UINT_PTR id, UINT ms) {
    if (DataOf(hwnd) == nullptr) {
        return ::SetTimer(hwnd, id, ms, nullptr);
    }
    Table().Set(hwnd, id, ms);
    return id != 0 ? id : 1;
}

BOOL InvalidateWindow(HWND hwnd, const RECT* rect, BOOL erase) {
    if (!::InvalidateRect(hwnd, rect, erase)) {
        return FALSE;
    }
    if (g_ticks > 0 && hwnd != nullptr && DataOf(hwnd) != nullptr) {
        const auto end = g_invalidated + g_invalidatedCount;
        if (std::find(g_invalidated, end, hwnd) == end &&
            g_invalidatedCount < static_cast<int>(std::size(g_invalidated))) {
            g_invalidated[g_invalidatedCount++] = hwnd;
        }
    }
    return TRUE;
}

BOOL KillWindowTimer(HWND hwnd, UINT_PTR id) {
    if (DataOf(hwnd) == nullptr) {
        return ::KillTimer(hwnd, id);
    }
    return Table().Kill(hwnd, id) ? TRUE : FALSE;
}

}  // namespace lunvik::platform
