#include "platform/qt/screen_put.h"

#include <QtGui/qguiapplication_platform.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>
#include <QGuiApplication>
#include <QWidget>

#include <cstdlib>
#include <vector>

#include "platform/qt/window_host.h"

namespace lunvik::platform {
namespace {

// Qt's connection to the X server, when Qt runs on X11.
xcb_connection_t* QtConnection() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 =
        app != nullptr ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 != nullptr ? x11->connection() : nullptr;
}

// The connection while it works: a lost display leaves nothing to put on.
xcb_connection_t* Working(xcb_connection_t* connection) {
    return connection != nullptr && xcb_connection_has_error(connection) == 0 ? connection
                                                                              : nullptr;
}

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

// A bitmap's pixels in memory the server shares, and the last put from them.
struct SSharedBits {
    std::uint32_t* bits;
    xcb_connection_t* connection;
    std::uint32_t segment;
    unsigned int readBy;  // sequence of the round trip after the last put
    bool answerDue;       // its answer not yet taken
};

std::vector<SSharedBits>& Shared() {
    // Never destroyed: bitmaps of static storage are freed at exit.
    static auto& shared = *new std::vector<SSharedBits>();
    return shared;
}

SSharedBits* FindShared(const std::uint32_t* bits) {
    for (SSharedBits& s : Shared()) {
        if (s.bits == bits) {
            return &s;
        }
    }
    return nullptr;
}

// Memory the server maps too, passed as a file descriptor; null when it
// cannot be made or attached.
std::uint32_t* AttachedMemory(xcb_connection_t* connection, std::size_t bytes,
                              std::uint32_t* segment) {
    const int fd = memfd_create("lunvik-frame", MFD_CLOEXEC);
    if (fd == -1) {
        return nullptr;
    }
    void* memory = ftruncate(fd, static_cast<off_t>(bytes)) == 0
                       ? mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                       : MAP_FAILED;
    if (memory == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    *segment = xcb_generate_id(connection);
    // The request takes the descriptor and closes it once sent.
    xcb_generic_error_t* error =
        xcb_request_check(connection, xcb_shm_attach_fd_checked(connection, *segment, fd, 1));
    if (error != nullptr) {
        std::free(error);
        munmap(memory, bytes);
        return nullptr;
    }
    return static_cast<std::uint32_t*>(memory);
}

void WaitUntilRead(const std::uint32_t* bits) {
    SSharedBits* shared = FindShared(bits);
    if (shared != nullptr && shared->answerDue && Working(shared->connection) != nullptr) {
        // Normally long there: the last put went out a frame ago.
        std::free(xcb_get_input_focus_reply(shared->connection, {shared->readBy}, nullptr));
        shared->answerDue = false;
    }
}

// An answer nobody will wait for is dropped, or libxcb would keep it.
void DropAnswer(SSharedBits& shared) {
    if (shared.answerDue && Working(shared.connection) != nullptr) {
        xcb_discard_reply(shared.connection, shared.readBy);
    }
    shared.answerDue = false;
}

// Qt closes its connection as it goes; the bitmaps of static storage outlive it.
bool g_forgetting = false;
void ForgetConnection() {
    for (SSharedBits& shared : Shared()) {
        shared.connection = nullptr;
    }
    g_forgetting = false;
}

// The bitmaps of a window that puts on the screen share their memory with it.
std::uint32_t* AllocateBits(HWND window, LONG width, LONG height) {
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    CWindowHost* host = LiveHost(window);
    xcb_connection_t* connection = Working(QtConnection());
    if (host == nullptr || host->m_screenPut == nullptr || connection == nullptr) {
        return nullptr;
    }
    std::uint32_t segment = 0;
    std::uint32_t* bits = AttachedMemory(connection, pixels * 4, &segment);
    if (bits != nullptr) {
        if (!g_forgetting) {
            qAddPostRoutine(&ForgetConnection);
            g_forgetting = true;
        }
        Shared().push_back(SSharedBits{bits, connection, segment, 0, false});
    }
    return bits;
}

void ReleaseBits(std::uint32_t* bits, std::size_t pixels) {
    SSharedBits* shared = FindShared(bits);
    if (shared == nullptr) {
        return;
    }
    // The server drops the segment after any put still queued; with the
    // connection gone it has dropped it already.
    DropAnswer(*shared);
    if (Working(shared->connection) != nullptr) {
        xcb_shm_detach(shared->connection, shared->segment);
        xcb_flush(shared->connection);
    }
    munmap(bits, pixels * 4);
    Shared().erase(Shared().begin() + (shared - Shared().data()));
}

[[maybe_unused]] const bool g_bitmapMemorySet =
    (SetBitmapMemory(SBitmapMemory{&AllocateBits, &ReleaseBits, &WaitUntilRead}), true);

}  // namespace

bool CanPutOnScreen() {
    static xcb_connection_t* checked = nullptr;
    static bool can = false;
    xcb_connection_t* connection = Working(QtConnection());
    if (connection != checked) {
        checked = connection;
        can = connection != nullptr && ServerTakesPuts(connection);
    }
    return can;
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

CScreenPut::CScreenPut(QWidget* widget) : m_widget(widget), m_connection(QtConnection()) {}

CScreenPut::~CScreenPut() {
    xcb_connection_t* connection = Working(m_connection);
    if (connection != nullptr && m_gc != 0) {
        xcb_free_gc(connection, m_gc);
        xcb_flush(connection);
    }
}

bool CScreenPut::Put(const HBITMAP__& bitmap, const QRect& source, const QPoint& to) {
    if (source.isEmpty()) {
        return true;
    }
    SSharedBits* shared = bitmap.m_shared ? FindShared(bitmap.m_bits) : nullptr;
    xcb_connection_t* connection = Working(m_connection);
    // The request's sizes and places are 16-bit fields.
    if (shared == nullptr || shared->connection != m_connection || connection == nullptr ||
        bitmap.m_width > 0xFFFF || bitmap.m_height > 0xFFFF || to.x() > 0x7FFF || to.y() > 0x7FFF) {
        return false;
    }
    if (m_window != static_cast<xcb_window_t>(m_widget->internalWinId()) && !Bind(connection)) {
        return false;
    }
    // Checked, and the answer dropped: a window another client destroyed
    // under us is no error worth a line on stderr.
    const xcb_void_cookie_t put = xcb_shm_put_image_checked(
        connection, m_window, m_gc, static_cast<std::uint16_t>(bitmap.m_width),
        static_cast<std::uint16_t>(bitmap.m_height), static_cast<std::uint16_t>(source.x()),
        static_cast<std::uint16_t>(source.y()), static_cast<std::uint16_t>(source.width()),
        static_cast<std::uint16_t>(source.height()), static_cast<std::int16_t>(to.x()),
        static_cast<std::int16_t>(to.y()), m_depth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, shared->segment,
        0);
    xcb_discard_reply(connection, put.sequence);
    DropAnswer(*shared);  // this put's answer comes after the last one's
    shared->readBy = xcb_get_input_focus(connection).sequence;
    shared->answerDue = true;
    bitmap.m_beingRead = true;
    xcb_flush(connection);
    return true;
}

bool CScreenPut::Bind(xcb_connection_t* connection) {
    m_window = static_cast<xcb_window_t>(m_widget->winId());
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, m_window), nullptr);
    m_depth = attributes != nullptr ? DepthOfOurVisual(connection, attributes->visual) : 0;
    std::free(attributes);
    if (m_depth == 0) {
        return false;
    }
    if (m_gc != 0) {
        xcb_free_gc(connection, m_gc);  // made for the window Qt has made anew
    }
    m_gc = xcb_generate_id(connection);
    xcb_create_gc(connection, m_gc, m_window, 0, nullptr);
    return true;
}

}  // namespace lunvik::platform
