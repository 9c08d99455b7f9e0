// Timers on Win32: the shared timer table (shared/timer_table.h) on user32
// thread timers, one per period in use. A timer per window would bring a
// WM_TIMER of its own through the queue each period, under Wine a trip
// through the window server each. A window's timers go with its last
// message (Detach). Windows not of ours keep user32's own timers.
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

int g_ticks = 0;            // ticks in progress (a tick's handler may run a loop)
bool g_tickPaints = false;  // painting what they invalidated

// A window of ours invalidated during a tick, and the part of its client area
// the tick invalidated: a few drawing areas at most; one more is invalidated
// with user32 and painted from the queue, as any other. The regions are made
// once and kept with the program.
struct SInvalidated {
    HWND hwnd;
    HRGN region;
};
SInvalidated g_invalidated[8] = {};
int g_invalidatedCount = 0;
HRGN g_part = nullptr;  // the rectangle being added

SInvalidated* EntryFor(HWND hwnd) {
    for (int i = 0; i < g_invalidatedCount; ++i) {
        if (g_invalidated[i].hwnd == hwnd) {
            return &g_invalidated[i];
        }
    }
    if (g_invalidatedCount == static_cast<int>(std::size(g_invalidated))) {
        return nullptr;
    }
    SInvalidated& entry = g_invalidated[g_invalidatedCount];
    if (entry.region == nullptr) {
        entry.region = ::CreateRectRgn(0, 0, 0, 0);
    }
    if (g_part == nullptr) {
        g_part = ::CreateRectRgn(0, 0, 0, 0);
    }
    if (entry.region == nullptr || g_part == nullptr) {
        return nullptr;
    }
    entry.hwnd = hwnd;
    ::SetRectRgn(entry.region, 0, 0, 0, 0);
    ++g_invalidatedCount;
    return &entry;
}

// Dispatched from whichever loop runs, modal ones included. The windows the
// tick invalidated are painted now, the part it invalidated, as the
// window's own paint (BeginPaint, paint.cpp) takes it: under Wine no trip to
// the window server at all, where user32's invalidation and WM_PAINT take
// five (the invalidation, the look that finds the paint, the region, its
// validation, the check after the paint).
void CALLBACK ClockTicked(HWND, UINT, UINT_PTR clock, DWORD) {
    ++g_ticks;
    Table().Tick(static_cast<int>(clock));
    --g_ticks;
    g_tickPaints = true;  // what the paints invalidate goes to user32
    for (int i = 0; i < g_invalidatedCount; ++i) {
        const SInvalidated& entry = g_invalidated[i];
        SWindowData* data = DataOf(entry.hwnd);
        if (data != nullptr && ::IsWindowVisible(entry.hwnd)) {
            data->m_tickPaint = entry.region;
            ::SendMessageW(entry.hwnd, WM_PAINT, 0, 0);
            // A window that does not paint through our BeginPaint (default
            // processing) gets the part from user32's queue instead.
            if ((data = DataOf(entry.hwnd)) != nullptr && data->m_tickPaint != nullptr) {
                data->m_tickPaint = nullptr;
                ::InvalidateRgn(entry.hwnd, entry.region, FALSE);
            }
        }
    }
    g_invalidatedCount = 0;
    g_tickPaints = false;
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
    SInvalidated* entry = g_ticks > 0 && !g_tickPaints && hwnd != nullptr && DataOf(hwnd) != nullptr
                              ? EntryFor(hwnd)
                              : nullptr;
    if (entry == nullptr) {
        return ::InvalidateRect(hwnd, rect, erase);
    }
    RECT part{};
    ::GetClientRect(hwnd, &part);
    if (rect != nullptr && !::IntersectRect(&part, &part, rect)) {
        return TRUE;
    }
    // Our windows erase nothing as they paint (no background brush).
    ::SetRectRgn(g_part, part.left, part.top, part.right, part.bottom);
    ::CombineRgn(entry->region, entry->region, g_part, RGN_OR);
    return TRUE;
}

BOOL KillWindowTimer(HWND hwnd, UINT_PTR id) {
    if (DataOf(hwnd) == nullptr) {
        return ::KillTimer(hwnd, id);
    }
    return Table().Kill(hwnd, id) ? TRUE : FALSE;
}

}  // namespace lunvik::platform
