// The screen as the raster sees it (raster.h's IScreen): each window's device
// scale, and for the windows that put their paint straight on an X11 window
// (screen_put.cpp), bitmap pixels in memory shared with the X server, so that
// a put copies nothing. Drawing into such a bitmap again first waits until
// the server has read the last put from it.
#include <QtGui/qguiapplication_platform.h>
#include <sys/mman.h>
#include <unistd.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>
#include <QGuiApplication>
#include <QWidget>

#include <cstdlib>
#include <vector>

#include "platform/qt/screen_put.h"
#include "platform/qt/window_host.h"

namespace lunvik::platform {
namespace {

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

// An answer nobody will wait for is dropped, or libxcb would keep it.
void DropAnswer(SSharedBits& shared) {
    if (shared.answerDue && Working(shared.connection) != nullptr) {
        xcb_discard_reply(shared.connection, shared.readBy);
    }
    shared.answerDue = false;
}

class CQtScreen final : public raster::IScreen {
  public:
    // A handle is followed only when it is a live window.
    double DeviceScale(HWND window) const override {
        const QWidget* widget = LiveWidget(window);
        return widget != nullptr ? widget->devicePixelRatioF() : 1.0;
    }

    // The bitmaps of a window that puts on the screen share their memory with it.
    std::uint32_t* LendPixels(HWND window, LONG width, LONG height) override {
        const std::size_t pixels =
            static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        CWindowHost* host = LiveHost(window);
        xcb_connection_t* connection = PutConnection();
        if (host == nullptr || host->ScreenPut() == nullptr || connection == nullptr) {
            return nullptr;
        }
        std::uint32_t segment = 0;
        std::uint32_t* bits = AttachedMemory(connection, pixels * 4, &segment);
        if (bits != nullptr) {
            Shared().push_back(SSharedBits{bits, connection, segment, 0, false});
        }
        return bits;
    }

    void TakeBack(std::uint32_t* bits, std::size_t pixels) override {
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

    void WaitUntilRead(const std::uint32_t* bits) override {
        SSharedBits* shared = FindShared(bits);
        if (shared != nullptr && shared->answerDue && Working(shared->connection) != nullptr) {
            // Normally long there: the last put went out a frame ago, and a read
            // that does not wait takes it without the wait's poll.
            void* answer = nullptr;
            if (xcb_poll_for_reply(shared->connection, shared->readBy, &answer, nullptr) == 0) {
                answer = xcb_wait_for_reply(shared->connection, shared->readBy, nullptr);
            }
            std::free(answer);
            shared->answerDue = false;
            // Nothing asks for events there, but errors and MappingNotify come
            // anyway and would pile up.
            while (xcb_generic_event_t* event = xcb_poll_for_queued_event(shared->connection)) {
                std::free(event);
            }
        }
    }
};

// Constant-initialised and trivially destroyed: it outlives every bitmap.
constinit CQtScreen g_screen;

}  // namespace

raster::IScreen& RasterScreen() {
    return g_screen;
}

xcb_connection_t* QtConnection() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 =
        app != nullptr ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_connection_t* Working(xcb_connection_t* connection) {
    return connection != nullptr && xcb_connection_has_error(connection) == 0 ? connection
                                                                              : nullptr;
}

// The bitmaps of static storage outlive the connection.
void ForgetSharedConnection() {
    for (SSharedBits& shared : Shared()) {
        shared.connection = nullptr;
    }
}

bool SharedSegment(const std::uint32_t* bits, xcb_connection_t** connection,
                   std::uint32_t* segment) {
    const SSharedBits* shared = FindShared(bits);
    if (shared == nullptr || Working(shared->connection) == nullptr) {
        return false;
    }
    *connection = shared->connection;
    *segment = shared->segment;
    return true;
}

void HandedToServer(const std::uint32_t* bits, unsigned int readBy) {
    if (SSharedBits* shared = FindShared(bits)) {
        DropAnswer(*shared);  // this put's answer comes after the last one's
        shared->readBy = readBy;
        shared->answerDue = true;
    }
}

}  // namespace lunvik::platform
