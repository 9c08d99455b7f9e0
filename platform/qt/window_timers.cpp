// Timers: a QTimer per id, owned by the window's widget, that sends WM_TIMER.
// They stop when the window starts to die (window_lifetime.cpp).
#include <QTimer>
#include <algorithm>

#include "platform/qt/window_host.h"
#include "platform/window.h"

using namespace lunvik::platform;

namespace {

// Win32 keeps timers within these bounds; a zero period would spin.
constexpr UINT kTimerMinimum = 10;
constexpr UINT kTimerMaximum = 0x7FFFFFFF;

}  // namespace

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms, void*) {
    CWindowHost* host = LiveHost(hwnd);
    if (host == nullptr || host->m_dying) {
        return 0;
    }
    QTimer*& timer = host->m_timers[id];
    if (timer == nullptr) {
        timer = new QTimer(host->m_widget);
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer, &QTimer::timeout, host->m_widget,
                         [hwnd, id] { SendMessageW(hwnd, WM_TIMER, id, 0); });
    }
    timer->start(static_cast<int>(std::clamp(ms, kTimerMinimum, kTimerMaximum)));
    return id != 0 ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    CWindowHost* host = LiveHost(hwnd);
    if (host == nullptr) {
        return FALSE;
    }
    auto it = host->m_timers.find(id);
    if (it == host->m_timers.end() || !it->second->isActive()) {
        return FALSE;
    }
    it->second->stop();
    return TRUE;
}
