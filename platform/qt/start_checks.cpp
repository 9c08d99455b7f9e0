#include "platform/qt/start_checks.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace lunvik::platform {
namespace {

// A normal run keeps about ten descriptors open; the rest is room for the
// files the toolkit opens on the way (plugins, fonts, its thread pipes).
constexpr rlim_t kFilesNeeded = 20;

xcb_connection_t* g_probe = nullptr;  // see CanOpenDisplay
int g_savedStderr = -1;               // the real descriptor 2 while it is held

// How much has been written to descriptor 2 while it is held.
off_t HeldSize() {
    return g_savedStderr != -1 ? lseek(2, 0, SEEK_END) : 0;
}

// The first line written to descriptor 2 since it held from bytes: what a
// library had to say about a failure.
std::string HeldLine(off_t from) {
    char text[256] = {};
    const ssize_t got = g_savedStderr != -1 ? pread(2, text, sizeof text - 1, from) : 0;
    const std::string held(text, got > 0 ? static_cast<std::size_t>(got) : 0);
    return held.substr(0, held.find('\n'));
}

// What Qt's X11 plugin does first: connect with libxcb.
bool CanOpenX11(std::string* why) {
    const std::string display = Env("DISPLAY");
    if (display.empty()) {
        *why = "no X display (DISPLAY is not set): run it in a desktop session";
        return false;
    }
    const off_t before = HeldSize();
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool ok = xcb_connection_has_error(connection) == 0;
    if (ok && g_probe == nullptr) {
        g_probe = connection;
    } else {
        xcb_disconnect(connection);
    }
    if (!ok) {
        const std::string said = HeldLine(before);
        *why = "cannot connect to the X display " + display +
               (said.empty() ? "" : " (" + said + ")") +
               ": check that DISPLAY names a running X server that lets you in (XAUTHORITY)";
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
        *why = "cannot connect to the Wayland display " + path +
               ": check WAYLAND_DISPLAY and XDG_RUNTIME_DIR";
    }
    return ok;
}

}  // namespace

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// A launcher may start the program with some of them closed; the next file
// opened would take the place, and an X connection on 2 would get every
// warning written into its protocol stream.
void KeepStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            const int null = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
            if (null > fd) {
                dup2(null, fd);
                close(null);
            }
        }
    }
}

bool EnoughFiles(std::string* why) {
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) != 0 || files.rlim_cur >= kFilesNeeded) {
        return true;
    }
    const rlim_t soft = files.rlim_cur;
    files.rlim_cur = std::min<rlim_t>(files.rlim_max, 1024);
    if (files.rlim_cur >= kFilesNeeded && setrlimit(RLIMIT_NOFILE, &files) == 0) {
        return true;
    }
    *why = "only " + std::to_string(soft) + " files may be open at once: raise the limit to " +
           std::to_string(kFilesNeeded) + " or more (ulimit -n)";
    return false;
}

// The user's choice, else X11 wherever an X display is named, a Wayland
// session included (only there can a window place itself), else Wayland.
std::string ChoosePlatform() {
    const std::string chosen = Env("QT_QPA_PLATFORM");
    if (!chosen.empty()) {
        return chosen;
    }
    return Env("DISPLAY").empty() && !Env("WAYLAND_DISPLAY").empty() ? "wayland" : "xcb";
}

// Qt tries each platform of a ';'-separated list in turn.
bool CanOpenDisplay(const std::string& platforms, std::string* why) {
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

void CloseDisplayProbe() {
    if (g_probe != nullptr) {
        xcb_disconnect(g_probe);
        g_probe = nullptr;
    }
}

// libxcb writes a refusing server's reason straight to descriptor 2, and
// fontconfig its errors: no message handler sees them.
void HoldStderr() {
    if (g_savedStderr != -1) {
        return;
    }
    const int memory = memfd_create("lunvik-stderr", MFD_CLOEXEC);
    g_savedStderr = memory != -1 ? fcntl(2, F_DUPFD_CLOEXEC, 3) : -1;
    if (g_savedStderr != -1) {
        dup2(memory, 2);
    }
    if (memory != -1) {
        close(memory);
    }
}

std::string ReleaseStderr() {
    if (g_savedStderr == -1) {
        return "";
    }
    std::string text;
    char buffer[4096];
    ssize_t got = 0;
    for (off_t at = 0; (got = pread(2, buffer, sizeof buffer, at)) > 0; at += got) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    dup2(g_savedStderr, 2);
    close(g_savedStderr);
    g_savedStderr = -1;
    return text;
}

}  // namespace lunvik::platform
