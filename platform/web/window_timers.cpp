// Timers on the page: the shared timer table (shared/timer_table.h) on
// clocks of our own that the loop runs when they are due. A clock that
// fell behind (a background tab, whose timers the browser slows) ticks once
// and starts its period afresh: no burst of ticks to catch up.
#include <emscripten.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "platform/shared/timer_table.h"
#include "platform/web/dom.h"
#include "platform/web/window_host.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

class CPageClocks : public IPeriodicClock {
  public:
    CTimerTable m_table{*this};

    int Start(UINT period) override {
        m_clocks.push_back(SClock{++m_last, period, emscripten_get_now() + period});
        return m_last;
    }
    void Stop(int clock) override {
        std::erase_if(m_clocks, [clock](const SClock& c) { return c.number == clock; });
    }

    // Each due clock once, on a copy: a tick may start or stop clocks.
    int RunDue() {
        const double now = emscripten_get_now();
        std::vector<int> due;
        for (SClock& c : m_clocks) {
            if (c.due <= now) {
                c.due = now - c.due >= c.period ? now + c.period : c.due + c.period;
                due.push_back(c.number);
            }
        }
        for (int clock : due) {
            lv_ticked();
            m_table.Tick(clock);
        }
        double next = emscripten_get_now() + INT_MAX;
        for (const SClock& c : m_clocks) {
            next = std::min(next, c.due);
        }
        return static_cast<int>(std::clamp(std::ceil(next - emscripten_get_now()), 0.0, 1e9));
    }

  private:
    struct SClock {
        int number;
        UINT period;
        double due;  // milliseconds, on the page's clock
    };
    std::vector<SClock> m_clocks;
    int m_last = 0;
};

CPageClocks g_clocks;

}  // namespace

void KillWindowTimers(SWebWindow* w) {
    g_clocks.m_table.KillAll(w->Handle());
}

int RunDueTicks() {
    return g_clocks.RunDue();
}

}  // namespace lunvik::platform

using namespace lunvik::platform;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC) {
    SWebWindow* w = Live(hwnd);
    if (w == nullptr || w->dying) {
        return 0;
    }
    g_clocks.m_table.Set(hwnd, id, ms);
    return id != 0 ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    return Live(hwnd) != nullptr && g_clocks.m_table.Kill(hwnd, id) ? TRUE : FALSE;
}
