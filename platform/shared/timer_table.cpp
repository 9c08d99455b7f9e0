#include "platform/shared/timer_table.h"

#include <algorithm>

#include "platform/window.h"

namespace lunvik::platform {

void CTimerTable::Set(HWND hwnd, UINT_PTR id, UINT period) {
    period = std::clamp(period, kMinimum, kMaximum);
    auto [group, at] = Find(hwnd, id);
    if (group != nullptr && group->period == period) {
        return;
    }
    if (group != nullptr) {
        Remove(group, at);
    }
    SGroup* target = GroupOf(period);
    if (target == nullptr) {
        auto added = std::make_unique<SGroup>();
        added->period = period;
        added->clock = m_clock.Start(period);
        target = m_groups.emplace_back(std::move(added)).get();
    }
    target->timers.push_back(STimer{hwnd, id});
}

bool CTimerTable::Kill(HWND hwnd, UINT_PTR id) {
    auto [group, at] = Find(hwnd, id);
    if (group == nullptr) {
        return false;
    }
    Remove(group, at);
    return true;
}

void CTimerTable::KillAll(HWND hwnd) {
    for (std::size_t g = m_groups.size(); g-- > 0;) {
        SGroup* group = m_groups[g].get();
        for (std::size_t i = group->timers.size(); i-- > 0;) {
            if (group->timers[i].hwnd == hwnd) {
                Remove(group, i);
            }
        }
    }
}

void CTimerTable::Tick(int clock) {
    auto it = std::find_if(m_groups.begin(), m_groups.end(),
                           [&](const auto& g) { return g->clock == clock; });
    if (it == m_groups.end()) {
        return;
    }
    // Held by pointer: the handlers may add groups (moving the list) or kill
    // timers of this one, which only leave holes until the tick ends.
    SGroup* group = it->get();
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

std::pair<CTimerTable::SGroup*, std::size_t> CTimerTable::Find(HWND hwnd, UINT_PTR id) {
    for (const auto& group : m_groups) {
        for (std::size_t i = 0; i < group->timers.size(); ++i) {
            if (group->timers[i].hwnd == hwnd && group->timers[i].id == id) {
                return {group.get(), i};
            }
        }
    }
    return {nullptr, 0};
}

CTimerTable::SGroup* CTimerTable::GroupOf(UINT period) {
    for (const auto& group : m_groups) {
        if (group->period == period) {
            return group.get();
        }
    }
    return nullptr;
}

void CTimerTable::Remove(SGroup* group, std::size_t at) {
    group->timers[at].hwnd = nullptr;
    if (group->ticking == 0) {
        Compact(group);
    }
}

// Drops the holes, and the group with its clock once it is empty.
void CTimerTable::Compact(SGroup* group) {
    std::erase_if(group->timers, [](const STimer& t) { return t.hwnd == nullptr; });
    if (!group->timers.empty()) {
        return;
    }
    m_clock.Stop(group->clock);
    std::erase_if(m_groups, [&](const auto& g) { return g.get() == group; });
}

}  // namespace lunvik::platform
