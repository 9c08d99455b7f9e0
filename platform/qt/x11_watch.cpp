// What the program watches in the X events Qt gets, before Qt handles them.
#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cmath>
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

// A registered child window of ours that has an X window of its own.
QWidget* OurNativeChild(xcb_window_t window) {
    QWidget* widget = QWidget::find(window);
    return widget != nullptr && !widget->isWindow() && IsRegistered(widget) ? widget : nullptr;
}

// Where Qt has put a child's X window: the widget's rectangle in its native
// parent, in device pixels.
QRect NativeGeometry(QWidget* widget) {
    const qreal scale = widget->devicePixelRatioF();
    const QPoint at = widget->mapTo(widget->nativeParentWidget(), QPoint(0, 0));
    return QRect(qRound(at.x() * scale), qRound(at.y() * scale), qRound(widget->width() * scale),
                 qRound(widget->height() * scale));
}

// Within a pixel of each other: Qt rounds scaled rectangles its own way.
bool Near(const QRect& a, const QRect& b) {
    return std::abs(a.x() - b.x()) <= 1 && std::abs(a.y() - b.y()) <= 1 &&
           std::abs(a.width() - b.width()) <= 1 && std::abs(a.height() - b.height()) <= 1;
}

class CX11Watch : public QAbstractNativeEventFilter {
  public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") {
            return false;
        }
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7F) {
            case 0:
                return Gone(reinterpret_cast<const xcb_generic_error_t*>(event));
            case XCB_DESTROY_NOTIFY:
                Destroyed(reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window);
                return false;
            case XCB_UNMAP_NOTIFY:
                Unmapped(*reinterpret_cast<const xcb_unmap_notify_event_t*>(event));
                return false;
            case XCB_CONFIGURE_NOTIFY:
                return Moved(*reinterpret_cast<const xcb_configure_notify_event_t*>(event));
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

    xcb_connection_t* m_connection = nullptr;
    std::uint8_t m_xinput = 0;  // XInput's opcode on the connection, 0 without it

  private:
    // A top-level window destroyed by another X client is gone as if closed
    // (a modal dialog's run ends with it); a child gets a new X window.
    void Destroyed(xcb_window_t window) {
        QWidget* widget = QWidget::find(window);
        if (widget != nullptr && widget->isWindow()) {
            DestroyWindowTree(widget);
        } else if (auto* child = dynamic_cast<CHostWidget*>(OurNativeChild(window))) {
            m_gone[m_nextGone] = window;
            m_nextGone = (m_nextGone + 1) % m_gone.size();
            child->RenewNativeWindow();
        }
    }

    // Qt's requests on a window gone under it fail; that is no news worth a
    // line on stderr.
    bool Gone(const xcb_generic_error_t* error) const {
        return (error->error_code == XCB_WINDOW || error->error_code == XCB_DRAWABLE) &&
               std::find(m_gone.begin(), m_gone.end(), error->resource_id) != m_gone.end();
    }

    // A child Qt shows, unmapped by another client, is mapped again: its
    // whole picture is put again when the server exposes it.
    void Unmapped(const xcb_unmap_notify_event_t& event) const {
        QWidget* widget = event.event == event.window ? OurNativeChild(event.window) : nullptr;
        if (widget != nullptr && widget->isVisible()) {
            xcb_map_window(m_connection, event.window);
            xcb_flush(m_connection);
        }
    }

    // A top-level window made larger than its maximum by another client
    // (without a window manager nothing stands in the way) is put back to
    // the bound before Qt hears of it and makes buffers of that size.
    bool Oversized(const xcb_configure_notify_event_t& event) const {
        QWidget* window = QWidget::find(event.window);
        if (window == nullptr || !window->isWindow() || !IsRegistered(window)) {
            return false;
        }
        const QSize most = window->maximumSize() * window->devicePixelRatioF();
        if (event.width <= most.width() && event.height <= most.height()) {
            return false;
        }
        const std::uint32_t values[] = {
            static_cast<std::uint32_t>(std::min<int>(event.width, most.width())),
            static_cast<std::uint32_t>(std::min<int>(event.height, most.height()))};
        xcb_configure_window(m_connection, event.window,
                             XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
        xcb_flush(m_connection);
        return true;
    }

    // A child moved or resized by another client goes back where Qt had put
    // it; Qt does not hear of the change.
    bool Moved(const xcb_configure_notify_event_t& event) const {
        if (event.event == event.window && Oversized(event)) {
            return true;
        }
        QWidget* widget = event.event == event.window ? OurNativeChild(event.window) : nullptr;
        const QRect now(event.x, event.y, event.width, event.height);
        if (widget == nullptr || Near(now, NativeGeometry(widget))) {
            return false;
        }
        const QRect back = NativeGeometry(widget);
        const std::uint32_t values[] = {
            static_cast<std::uint32_t>(back.x()), static_cast<std::uint32_t>(back.y()),
            static_cast<std::uint32_t>(back.width()), static_cast<std::uint32_t>(back.height())};
        xcb_configure_window(m_connection, event.window,
                             XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                                 XCB_CONFIG_WINDOW_HEIGHT,
                             values);
        xcb_flush(m_connection);
        return true;
    }

    CEnterShedding m_enters;
    std::array<std::uint32_t, 4> m_gone{};  // child windows destroyed by others, latest last
    std::size_t m_nextGone = 0;
};

CX11Watch g_watch;

}  // namespace

void WatchX11(xcb_connection_t* connection) {
    if (connection == nullptr) {
        return;  // Qt's offscreen platform offers the X11 interface without one
    }
    static const char kName[] = "XInputExtension";
    xcb_query_extension_reply_t* xinput = xcb_query_extension_reply(
        connection, xcb_query_extension(connection, sizeof kName - 1, kName), nullptr);
    g_watch.m_connection = connection;
    g_watch.m_xinput = xinput != nullptr && xinput->present != 0 ? xinput->major_opcode : 0;
    std::free(xinput);
    QCoreApplication::instance()->installNativeEventFilter(&g_watch);
}

}  // namespace lunvik::platform
