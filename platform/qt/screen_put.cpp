#include "platform/qt/screen_put.h"

#include <sys/socket.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>
#include <QCoreApplication>
#include <QWidget>

#include <cstdlib>

namespace lunvik::platform {
namespace {

bool TakesOurPixels(const xcb_setup_t* setup, std::uint8_t depth) {
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST) {
        return false;
    }
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem > 0; xcb_format_next(&it)) {
        if (it.data->depth == depth) {
            return it.data->bits_per_pixel == 32;
        }
    }
    return false;
}

// Memory goes to the server as a file descriptor, which only a local socket
// carries; a display reached over the network (ssh -X) is painted by Qt.
bool LocalSocket(xcb_connection_t* connection) {
    sockaddr_storage address{};
    socklen_t size = sizeof address;
    return getsockname(xcb_get_file_descriptor(connection), reinterpret_cast<sockaddr*>(&address),
                       &size) == 0 &&
           address.ss_family == AF_UNIX;
}

bool ServerTakesPuts(xcb_connection_t* connection) {
    if (!LocalSocket(connection)) {
        return false;
    }
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(connection, &xcb_shm_id);
    if (shm == nullptr || shm->present == 0) {
        return false;
    }
    // 1.2 takes the memory as a file descriptor: no System V segment, which a
    // server in another IPC namespace could mistake for one of its own.
    xcb_shm_query_version_reply_t* version =
        xcb_shm_query_version_reply(connection, xcb_shm_query_version(connection), nullptr);
    const bool fds =
        version != nullptr && (version->major_version > 1 ||
                               (version->major_version == 1 && version->minor_version >= 2));
    std::free(version);
    return fds && TakesOurPixels(xcb_get_setup(connection), 24);
}

// The depth of a visual when its pixels are ours (true colour, 0xRRGGBB), or 0.
std::uint8_t DepthOfOurVisual(xcb_connection_t* connection, xcb_visualid_t visual) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    for (auto screen = xcb_setup_roots_iterator(setup); screen.rem > 0; xcb_screen_next(&screen)) {
        for (auto depth = xcb_screen_allowed_depths_iterator(screen.data); depth.rem > 0;
             xcb_depth_next(&depth)) {
            for (auto type = xcb_depth_visuals_iterator(depth.data); type.rem > 0;
                 xcb_visualtype_next(&type)) {
                const xcb_visualtype_t& v = *type.data;
                if (v.visual_id == visual) {
                    const bool ours = v._class == XCB_VISUAL_CLASS_TRUE_COLOR &&
                                      v.red_mask == 0xFF0000 && v.green_mask == 0xFF00 &&
                                      v.blue_mask == 0xFF &&
                                      TakesOurPixels(setup, depth.data->depth);
                    return ours ? depth.data->depth : 0;
                }
            }
        }
    }
    return 0;
}

// Puts go on a connection of our own. On Qt's, the answer to the round trip
// after each put woke Qt's X thread 40 times a second only to queue it for
// us, 8 % of what the running program cost; here nobody reads it until the
// next frame takes it. Qt is given no -display, so both connect to $DISPLAY.
xcb_connection_t* g_putsFor = nullptr;  // the Qt connection g_puts was made beside
xcb_connection_t* g_puts = nullptr;

void ClosePutConnection() {
    ForgetSharedConnection();
    if (g_puts != nullptr) {
        xcb_disconnect(g_puts);
    }
    g_puts = nullptr;
    g_putsFor = nullptr;
}

}  // namespace

xcb_connection_t* PutConnection() {
    xcb_connection_t* qt = Working(QtConnection());
    if (qt != g_putsFor && !QCoreApplication::closingDown()) {
        ClosePutConnection();
        g_putsFor = qt;
        g_puts = qt != nullptr ? xcb_connect(nullptr, nullptr) : nullptr;
        if (g_puts != nullptr && (Working(g_puts) == nullptr || !ServerTakesPuts(g_puts))) {
            xcb_disconnect(g_puts);
            g_puts = nullptr;
        }
        if (g_puts != nullptr) {
            qAddPostRoutine(&ClosePutConnection);
        }
    }
    return g_putsFor == qt ? Working(g_puts) : nullptr;
}

bool CanPutOnScreen() {
    return PutConnection() != nullptr;
}

bool PaintOnScreen(QWidget* widget) {
    if (!CanPutOnScreen()) {
        return false;
    }
    // Only the widget gets a window of its own, not its siblings or ancestors,
    // and one the pointer never enters: Qt pays a round trip for each entry.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    widget->setAttribute(Qt::WA_DontCreateNativeAncestors);
    widget->setWindowFlag(Qt::WindowTransparentForInput);
    widget->setAttribute(Qt::WA_NativeWindow);
    widget->setAttribute(Qt::WA_PaintOnScreen);
    widget->setAttribute(Qt::WA_NoSystemBackground);
    return true;
}

CScreenPut::CScreenPut(QWidget* widget) : m_widget(widget) {}

CScreenPut::~CScreenPut() {
    xcb_connection_t* connection = PutConnection();
    if (connection != nullptr && connection == m_connection && m_gc != 0) {
        xcb_free_gc(connection, m_gc);
        xcb_flush(connection);
    }
}

bool CScreenPut::Put(const HBITMAP__& bitmap, const QRect& source, const QPoint& to) {
    if (source.isEmpty()) {
        return true;
    }
    // The connection comes with the bitmap's segment, without a look at Qt's
    // each frame; it is forgotten there once the put connection closes.
    xcb_connection_t* connection = nullptr;
    std::uint32_t segment = 0;
    // The request's sizes and places are 16-bit fields.
    if (bitmap.m_screen == nullptr || !SharedSegment(bitmap.m_bits, &connection, &segment) ||
        bitmap.m_width > 0xFFFF || bitmap.m_height > 0xFFFF || to.x() > 0x7FFF || to.y() > 0x7FFF) {
        return false;
    }
    if ((m_window != static_cast<xcb_window_t>(m_widget->internalWinId()) ||
         m_connection != connection) &&
        !Bind(connection)) {
        return false;
    }
    // Checked, and the answer dropped: a window another client destroyed
    // under us is no error worth a line on stderr.
    const xcb_void_cookie_t put = xcb_shm_put_image_checked(
        connection, m_window, m_gc, static_cast<std::uint16_t>(bitmap.m_width),
        static_cast<std::uint16_t>(bitmap.m_height), static_cast<std::uint16_t>(source.x()),
        static_cast<std::uint16_t>(source.y()), static_cast<std::uint16_t>(source.width()),
        static_cast<std::uint16_t>(source.height()), static_cast<std::int16_t>(to.x()),
        static_cast<std::int16_t>(to.y()), m_depth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment, 0);
    xcb_discard_reply(connection, put.sequence);
    HandedToServer(bitmap.m_bits, xcb_get_input_focus(connection).sequence);
    bitmap.m_beingRead = true;
    xcb_flush(connection);
    return true;
}

bool CScreenPut::Bind(xcb_connection_t* connection) {
    xcb_connection_t* qt = Working(QtConnection());
    m_window = static_cast<xcb_window_t>(m_widget->winId());
    // Asked on Qt's connection: the answer also says the server has made the
    // window Qt asked for, which the put connection cannot otherwise know.
    xcb_get_window_attributes_reply_t* attributes =
        qt != nullptr
            ? xcb_get_window_attributes_reply(qt, xcb_get_window_attributes(qt, m_window), nullptr)
            : nullptr;
    m_depth = attributes != nullptr ? DepthOfOurVisual(qt, attributes->visual) : 0;
    std::free(attributes);
    if (m_gc != 0 && m_connection == connection) {
        xcb_free_gc(connection, m_gc);  // made for the window Qt has made anew
    }
    m_gc = 0;
    m_connection = nullptr;
    if (m_depth == 0) {
        m_window = 0;
        return false;
    }
    m_gc = xcb_generate_id(connection);
    xcb_create_gc(connection, m_gc, m_window, 0, nullptr);
    m_connection = connection;
    return true;
}

}  // namespace lunvik::platform
