// Timers. Window timers of one period share one Qt timer, so that windows
// ticking at the same rate (both pages) wake the process once a period, not
// once a window. A shared tick sends WM_TIMER to each of its timers in the
// order they were set; a timer set during a tick waits for the next one, so
// a new timer's first WM_TIMER comes within one period, not exactly after it,
// and a timer set again with its own period keeps its place in its tick.
// A dying window's timers go before its WM_DESTROY (window_lifetime.cpp).
#include <QObject>
#include <QPointer>
#include <QTimerEvent>
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/qt/window_host.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

// Win32 keeps timers within these bounds; a zero period would spin.
constexpr UINT kTimerMinimum = 10;
constexpr UINT kTimerMaximum = 0x7FFFFFFF;

struct STimer {
    HWND hwnd;  // null: killed during a tick, removed after it
    UINT_PTR id;
};

struct STimerGroup {
    UINT period = 0;
    int qtTimer = 0;
    std::vector<STimer> timers;
    int ticking = 0;  // nested ticks in progress (a handler may run a loop)
};

class CTimerHub : public QObject {
  public:
    using QObject::QObject;

    void Set(HWND hwnd, UINT_PTR id, UINT period) {
        auto [group, at] = Find(hwnd, id);
        if (group != nullptr && group->period == period) {
            return;
        }
        if (group != nullptr) {
            Remove(group, at);
        }
        STimerGroup* target = GroupOf(period);
        if (target == nullptr) {
            auto added = std::make_unique<STimerGroup>();
            added->period = period;
            added->qtTimer = startTimer(static_cast<int>(period), Qt::PreciseTimer);
            target = m_groups.emplace_back(std::move(added)).get();
        }
        target->timers.push_back(STimer{hwnd, id});
    }

    bool Kill(HWND hwnd, UINT_PTR id) {
        auto [group, at] = Find(hwnd, id);
        if (group == nullptr) {
            return false;
        }
        Remove(group, at);
        return true;
    }

    void KillAll(HWND hwnd) {
        for (std::size_t g = m_groups.size(); g-- > 0;) {
            STimerGroup* group = m_groups[g].get();
            for (std::size_t i = group->timers.size(); i-- > 0;) {
                if (group->timers[i].hwnd == hwnd) {
                    Remove(group, i);
                }
            }
        }
    }

  protected:
    void timerEvent(QTimerEvent* event) override {
        auto it = std::find_if(m_groups.begin(), m_groups.end(),
                               [&](const auto& g) { return g->qtTimer == event->timerId(); });
        if (it == m_groups.end()) {
            return;
        }
        // Held by pointer: the handlers may add groups (moving the list) or
        // kill timers of this one, which only leave holes until the tick ends.
        STimerGroup* group = it->get();
        ++group->ticking;
        const std::size_t count = group->timers.size();
        for (std::size_t i = 0; i < count; ++i) {
            const STimer timer = group->timers[i];
            if (timer.hwnd != nullptr) {
                SendMessageW(timer.hwnd, WM_TIMER, timer.id, 0);
            }
        }
        if (--group->ticking == 0) {
            Compact(group);
        }
    }

  private:
    std::pair<STimerGroup*, std::size_t> Find(HWND hwnd, UINT_PTR id) {
        for (const auto& group : m_groups) {
            for (std::size_t i = 0; i < group->timers.size(); ++i) {
                if (group->timers[i].hwnd == hwnd && group->timers[i].id == id) {
                    return {group.get(), i};
                }
            }
        }
        return {nullptr, 0};
    }

    STimerGroup* GroupOf(UINT period) {
        for (const auto& group : m_groups) {
            if (group->period == period) {
                return group.get();
            }
        }
        return nullptr;
    }

    void Remove(STimerGroup* group, std::size_t at) {
        group->timers[at].hwnd = nullptr;
        if (group->ticking == 0) {
            Compact(group);
        }
    }

    // Drops the holes, and the group with its Qt timer once it is empty.
    void Compact(STimerGroup* group) {
        std::erase_if(group->timers, [](const STimer& t) { return t.hwnd == nullptr; });
        if (!group->timers.empty()) {
            return;
        }
        killTimer(group->qtTimer);
        std::erase_if(m_groups, [&](const auto& g) { return g.get() == group; });
    }

    std::vector<std::unique_ptr<STimerGroup>> m_groups;  // one per period in use
};

// Lives with the application: its Qt timers cannot outlive the event loop.
QPointer<CTimerHub> g_hub;

CTimerHub* Hub() {
    if (g_hub.isNull()) {
        g_hub = new CTimerHub(QCoreApplication::instance());
    }
    return g_hub.data();
}

}  // namespace

void KillWindowTimers(CWindowHost* host) {
    if (!g_hub.isNull()) {
        g_hub->KillAll(host->Handle());
    }
}

}  // namespace lunvik::platform

using namespace lunvik::platform;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC) {
    CWindowHost* host = LiveHost(hwnd);
    if (host == nullptr || host->Dying()) {
        return 0;
    }
    Hub()->Set(hwnd, id, std::clamp(ms, kTimerMinimum, kTimerMaximum));
    return id != 0 ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    return LiveHost(hwnd) != nullptr && !g_hub.isNull() && g_hub->Kill(hwnd, id) ? TRUE : FALSE;
}
