// Timers on Qt: the shared timer table (shared/timer_table.h) on Qt's
// precise timers. A dying window's timers go before its WM_DESTROY
// (window_lifetime.cpp).
#include <QObject>
#include <QPointer>
#include <QTimerEvent>

#include "platform/qt/window_host.h"
#include "platform/shared/timer_table.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

class CTimerHub : public QObject, private IPeriodicClock {
  public:
    using QObject::QObject;
    CTimerTable m_table{*this};

  protected:
    void timerEvent(QTimerEvent* event) override {
        const CTickPaints paints;
        m_table.Tick(event->timerId());
    }

  private:
    int Start(UINT period) override {
        return startTimer(static_cast<int>(period), Qt::PreciseTimer);
    }
    void Stop(int clock) override { killTimer(clock); }
};

// Lives with the application: its Qt timers cannot outlive the event loop.
QPointer<CTimerHub> g_hub;

CTimerTable& Table() {
    if (g_hub.isNull()) {
        g_hub = new CTimerHub(QCoreApplication::instance());
    }
    return g_hub->m_table;
}

}  // namespace

void KillWindowTimers(CWindowHost* host) {
    if (!g_hub.isNull()) {
        g_hub->m_table.KillAll(host->Handle());
    }
}

}  // namespace lunvik::platform

using namespace lunvik::platform;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC) {
    CWindowHost* host = LiveHost(hwnd);
    if (host == nullptr || host->Dying()) {
        return 0;
    }
    Table().Set(hwnd, id, ms);
    return id != 0 ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    return LiveHost(hwnd) != nullptr && !g_hub.isNull() && g_hub->m_table.Kill(hwnd, id) ? TRUE
                                                                                         : FALSE;
}
