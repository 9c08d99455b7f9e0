// What the program watches in the X events Qt gets, before Qt handles them.
#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/qt/window_host.h"

namespace lunvik::platform {
namespace {

// An XInput 2 crossing event on the wire, as far as it is read here.
struct SXiCrossing {
    std::uint8_t responseType;  // XCB_GE_GENERIC
    std::uint8_t extension;
    std::uint16_t sequence;
    std::uint32_t length;
    std::uint16_t eventType;
    std::uint16_t device;
    std::uint32_t time;
    std::uint16_t source;
    std::uint8_t mode;
    std::uint8_t detail;
    std::uint32_t root;
    std::uint32_t window;
};
constexpr std::uint16_t kXiEnter = 7;

// Qt asks the server about every scrolling device each time the pointer
// enters one of its windows, and waits for the answer. A pointer that
// crosses a window's edge thousands of times a second (a flood of motion
// over a title bar) would then pile up events faster than they go, without
// bound. One enter per window in kGap milliseconds is taken, far more than
// a hand makes; the moves that follow still tell the widgets where the
// pointer is.
class CEnterShedding {
  public:
    bool Drop(std::uint32_t window, std::uint32_t time) {
        for (SEntry& entry : m_taken) {
            if (entry.window == window) {
                if (time - entry.time < kGap) {
                    return true;
                }
                entry.time = time;
                return false;
            }
        }
        m_taken[m_next] = SEntry{window, time};  // the oldest window is forgotten
        m_next = (m_next + 1) % m_taken.size();
        return false;
    }

  private:
    static constexpr std::uint32_t kGap = 50;
    struct SEntry {
        std::uint32_t window;
        std::uint32_t time;
    };
    std::array<SEntry, 8> m_taken{};
    std::size_t m_next = 0;
};

// A top-level window destroyed by another X client is gone as if closed; a
// modal dialog's run ends with it.
void WindowDestroyed(xcb_window_t gone) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->internalWinId() == gone) {
            DestroyWindowTree(window);
        }
    }
}

class CX11Watch : public QAbstractNativeEventFilter {
  public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") {
            return false;
        }
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7F) {
            case XCB_DESTROY_NOTIFY:
                WindowDestroyed(reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window);
                return false;
            case XCB_ENTER_NOTIFY: {
                const auto* enter = reinterpret_cast<const xcb_enter_notify_event_t*>(event);
                return m_enters.Drop(enter->event, enter->time);
            }
            case XCB_GE_GENERIC: {
                SXiCrossing enter{};
                std::memcpy(&enter, event, sizeof enter);  // XI 2 events are 32 bytes or more
                return m_xinput != 0 && enter.extension == m_xinput &&
                       enter.eventType == kXiEnter && m_enters.Drop(enter.window, enter.time);
            }
            default:
                return false;
        }
    }

    std::uint8_t m_xinput = 0;  // XInput's opcode on the connection, 0 without it

  private:
    CEnterShedding m_enters;
};

CX11Watch g_watch;

}  // namespace

void WatchX11(xcb_connection_t* connection) {
    static const char kName[] = "XInputExtension";
    xcb_query_extension_reply_t* xinput = xcb_query_extension_reply(
        connection, xcb_query_extension(connection, sizeof kName - 1, kName), nullptr);
    g_watch.m_xinput = xinput != nullptr && xinput->present != 0 ? xinput->major_opcode : 0;
    std::free(xinput);
    QCoreApplication::instance()->installNativeEventFilter(&g_watch);
}

}  // namespace lunvik::platform
