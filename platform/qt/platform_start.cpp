// Start and stop of the window system. Qt aborts the process when its
// platform plugin cannot start; the program must instead say why and exit, so
// the display is checked before Qt tries, and a fatal message during start-up
// ends the process quietly as a last resort.
#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform_start.h"
#include "platform/qt/window_host.h"

namespace {

int g_argc = 1;
std::string g_programName;
char* g_argv[2] = {nullptr, nullptr};
QApplication* g_app = nullptr;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// What Qt's X11 plugin does first: connect with libxcb.
bool CanOpenX11(std::string* why) {
    const std::string display = Env("DISPLAY");
    if (display.empty()) {
        *why = "no X display (DISPLAY is not set)";
        return false;
    }
    void* xcb = dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
    if (xcb == nullptr) {
        *why = "the X client library (libxcb) is missing";
        return false;
    }
    using Connect = void* (*)(const char*, int*);
    using HasError = int (*)(void*);
    using Disconnect = void (*)(void*);
    auto connect = reinterpret_cast<Connect>(dlsym(xcb, "xcb_connect"));
    auto hasError = reinterpret_cast<HasError>(dlsym(xcb, "xcb_connection_has_error"));
    auto disconnect = reinterpret_cast<Disconnect>(dlsym(xcb, "xcb_disconnect"));
    bool ok = false;
    if (connect != nullptr && hasError != nullptr && disconnect != nullptr) {
        void* connection = connect(nullptr, nullptr);
        ok = hasError(connection) == 0;
        disconnect(connection);
    }
    dlclose(xcb);
    if (!ok) {
        *why = "cannot connect to the X display " + display;
    }
    return ok;
}

bool CanOpenWayland(std::string* why) {
    std::string name = Env("WAYLAND_DISPLAY");
    if (name.empty()) {
        name = "wayland-0";
    }
    const std::string path = name[0] == '/' ? name : Env("XDG_RUNTIME_DIR") + "/" + name;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    bool ok = false;
    if (path.size() < sizeof(address.sun_path)) {
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd >= 0) {
            ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
            close(fd);
        }
    }
    if (!ok) {
        *why = "cannot connect to the Wayland display " + path;
    }
    return ok;
}

// Qt tries each platform of a ';'-separated list in turn; with none given it
// tries Wayland (when a Wayland session is announced) and then X11.
bool CanOpenDisplay(std::string* why) {
    std::string platforms = Env("QT_QPA_PLATFORM");
    if (platforms.empty()) {
        platforms = (!Env("WAYLAND_DISPLAY").empty() ? "wayland;" : "") + std::string("xcb");
    }
    std::string reasons;
    std::size_t start = 0;
    while (start <= platforms.size()) {
        std::size_t end = platforms.find(';', start);
        if (end == std::string::npos) {
            end = platforms.size();
        }
        const std::string entry = platforms.substr(start, end - start);
        const std::string name = entry.substr(0, entry.find(':'));
        std::string reason;
        if (name == "xcb"                   ? CanOpenX11(&reason)
            : name.rfind("wayland", 0) == 0 ? CanOpenWayland(&reason)
                                            : true) {
            return true;
        }
        reasons += (reasons.empty() ? "" : "; ") + reason;
        start = end + 1;
    }
    *why = reasons;
    return false;
}

QtMessageHandler g_previousHandler = nullptr;

void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        if (g_previousHandler != nullptr) {
            g_previousHandler(type, context, text);
        }
        return;
    }
    const std::string line = text.section(QLatin1Char('\n'), 0, 0).toStdString();
    std::fprintf(stderr, "%s: cannot start the window system: %s\n", g_programName.c_str(),
                 line.c_str());
    std::fflush(stderr);
    _exit(2);
}

}  // namespace

bool StartPlatform(const char* argv0, std::string* why) {
    if (QCoreApplication::instance() != nullptr) {
        return true;  // already up (ours, or the host program's)
    }
    g_programName = argv0 != nullptr && *argv0 != '\0' ? argv0 : "lunvik";
    std::string reason;
    if (!CanOpenDisplay(&reason)) {
        if (why != nullptr) {
            *why = reason;
        }
        return false;
    }
    g_argv[0] = g_programName.data();
    g_previousHandler = qInstallMessageHandler(StartupMessageHandler);
    g_app = new QApplication(g_argc, g_argv);
    qInstallMessageHandler(g_previousHandler);
    return true;
}

void StopPlatform() {
    if (g_app == nullptr) {
        return;
    }
    for (QWidget* window : lunvik::platform::LiveTopLevelWindows()) {
        lunvik::platform::DestroyWindowTree(window);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete g_app;
    g_app = nullptr;
}

void SetProgramIdentity(const char* desktopFileName, const char* version) {
    QGuiApplication::setDesktopFileName(QString::fromUtf8(desktopFileName));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(version));
}
