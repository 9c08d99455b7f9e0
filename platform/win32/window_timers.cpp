// Timers on Win32: the shared timer table (shared/timer_table.h) on user32
// thread timers, one per period in use. A timer per window would bring a
// WM_TIMER of its own through the queue each period, under Wine a trip
// through the window server each. A window's timers go with its last
// message (Detach). Windows not of ours keep user32's own timers.
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

// Dispatched from whichever loop runs, modal ones included.
void CALLBACK ClockTicked(HWND, UINT, UINT_PTR clock, DWORD) {
    Table().Tick(static_cast<int>(clock));
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

BOOL KillWindowTimer(HWND hwnd, UINT_PTR id) {
    if (DataOf(hwnd) == nullptr) {
        return ::KillTimer(hwnd, id);
    }
    return Table().Kill(hwnd, id) ? TRUE : FALSE;
}

}  // namespace lunvik::platform
