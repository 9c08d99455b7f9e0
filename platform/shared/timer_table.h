// Window timers by Win32's rules, whatever clock the back end has. Timers of
// one period share one periodic clock, so that windows ticking at the same
// rate (both pages) wake the program once a period, not once a window. A
// shared tick sends WM_TIMER to each of its timers in the order they were
// set; a timer set during a tick waits for the next one, so a new timer's
// first WM_TIMER comes within one period, not exactly after it, and a timer
// set again with its own period keeps its place in its tick.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "platform/win_types.h"

namespace lunvik::platform {

// The back end's periodic clocks: Start returns a clock's number (not 0),
// which the back end hands to CTimerTable::Tick each period until Stop.
class IPeriodicClock {
  public:
    virtual int Start(UINT period) = 0;
    virtual void Stop(int clock) = 0;

  protected:
    ~IPeriodicClock() = default;
};

class CTimerTable {
  public:
    explicit CTimerTable(IPeriodicClock& clock) : m_clock(clock) {}

    // Win32 keeps periods within these bounds; a zero period would spin.
    static constexpr UINT kMinimum = 10;
    static constexpr UINT kMaximum = 0x7FFFFFFF;

    // The period is clamped to the bounds above.
    void Set(HWND hwnd, UINT_PTR id, UINT period);
    bool Kill(HWND hwnd, UINT_PTR id);
    void KillAll(HWND hwnd);
    // One period of clock has passed: WM_TIMER to each of its timers.
    void Tick(int clock);

  private:
    struct STimer {
        HWND hwnd;  // null: killed during a tick, removed after it
        UINT_PTR id;
    };
    struct SGroup {
        UINT period = 0;
        int clock = 0;
        std::vector<STimer> timers;
        int ticking = 0;  // nested ticks in progress (a handler may run a loop)
    };

    std::pair<SGroup*, std::size_t> Find(HWND hwnd, UINT_PTR id);
    SGroup* GroupOf(UINT period);
    void Remove(SGroup* group, std::size_t at);
    void Compact(SGroup* group);

    IPeriodicClock& m_clock;
    std::vector<std::unique_ptr<SGroup>> m_groups;  // one per period in use
};

}  // namespace lunvik::platform
