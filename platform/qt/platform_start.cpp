// Start and stop of the window system. Whatever goes wrong with the display
// ends the program with exit code 2 and one line on stderr, never with Qt's
// abort or a crash: the display is checked before Qt tries it, Qt's own
// messages are held back while it starts, and a display lost while the program
// runs ends the process at once, before any window object can touch the
// toolkit again. While it runs, the raster draws for its screen.
#include <unistd.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform_start.h"
#include "platform/qt/start_checks.h"
#include "platform/qt/start_limits.h"
#include "platform/qt/window_host.h"

namespace {

using lunvik::platform::Env;

int g_argc = 1;
std::string g_programName;
char* g_argv[2] = {nullptr, nullptr};
QApplication* g_app = nullptr;

enum class EPhase { Down, Starting, Running };
EPhase g_phase = EPhase::Down;
QtMessageHandler g_previousHandler = nullptr;
xcb_connection_t* g_x11 = nullptr;  // Qt's connection, when it runs on X11

struct SHeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};
std::vector<SHeldMessage> g_held;  // Qt's messages while it starts

[[noreturn]] void Fail(const QString& what) {
    lunvik::platform::ReleaseStderr();
    const std::string line = what.section(QLatin1Char('\n'), 0, 0).toStdString();
    std::fprintf(stderr, "%s: %s\n", g_programName.c_str(), line.c_str());
    std::fflush(stderr);
    _exit(2);
}

bool DisplayLost() {
    return g_x11 != nullptr && xcb_connection_has_error(g_x11) != 0;
}

void MessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (g_phase == EPhase::Starting) {
        // The first message says best why Qt could not start; the rest follow from it.
        if (type == QtFatalMsg) {
            const QString first = (g_held.empty() ? text : g_held[0].text).section('\n', 0, 0);
            Fail("cannot start the window system (" + first +
                 "): check QT_QPA_PLATFORM and that Qt's platform plugins are installed");
        }
        g_held.push_back({type, context.category != nullptr ? context.category : "", text});
        return;
    }
    if (type == QtFatalMsg) {
        Fail(text);
    }
    // Qt warns, then exits, when its connection breaks.
    if (DisplayLost()) {
        Fail(QString::fromStdString("lost the connection to the X display " + Env("DISPLAY")));
    }
    if (g_previousHandler != nullptr) {
        g_previousHandler(type, context, text);
    }
}

// Qt ends the process with exit() when it loses the display in ways it does not
// tell first; the window objects of static storage must not be destroyed then.
void ExitWhileRunning() {
    if (g_phase == EPhase::Running) {
        Fail(QStringLiteral("lost the connection to the display"));
    }
}

// The program's name, not the path it was started by.
void SetProgramName(const char* argv0) {
    const char* slash = argv0 != nullptr ? std::strrchr(argv0, '/') : nullptr;
    g_programName = slash != nullptr ? slash + 1 : argv0 != nullptr ? argv0 : "";
    if (g_programName.empty()) {
        g_programName = "lunvik";
    }
}

// Qt on the platforms checked, its messages held back while it starts.
void CreateApplication(const std::string& platforms) {
    const bool chosenHere = Env("QT_QPA_PLATFORM").empty();
    if (chosenHere) {
        setenv("QT_QPA_PLATFORM", platforms.c_str(), 1);
    }
    // Qt's own event loop does less for each wake-up than GLib's, and the
    // program has nothing that needs GLib's; a user's own choice stands.
    setenv("QT_NO_GLIB", "1", 0);
    // Qt 6.4 clips every child widget's painting to its size times the scale
    // factor: below one, most of each control stays unpainted.
    const double factor = std::atof(Env("QT_SCALE_FACTOR").c_str());
    if (factor > 0 && factor < 1) {
        setenv("QT_SCALE_FACTOR", "1", 1);
    }
    g_argv[0] = g_programName.data();
    g_held.clear();
    g_phase = EPhase::Starting;
    g_previousHandler = qInstallMessageHandler(MessageHandler);
    g_app = new QApplication(g_argc, g_argv);
    lunvik::platform::CloseDisplayProbe();
    if (chosenHere) {
        unsetenv("QT_QPA_PLATFORM");
    }
}

// Why the screen cannot be used, or nothing. Qt's styles crash painting on
// screens without a true-colour visual.
std::string ScreenProblem() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return "no screen to show a window on: check that the display has a screen attached";
    }
    if (screen->depth() < 15) {
        return "the screen has " + std::to_string(screen->depth()) +
               "-bit colour: run it on a screen of 15 bits or more";
    }
    return "";
}

void DestroyApplication() {
    delete g_app;
    g_app = nullptr;
    qInstallMessageHandler(g_previousHandler);
    g_phase = EPhase::Down;
}

bool Refuse(std::string* why, const std::string& reason) {
    lunvik::platform::ReleaseStderr();  // what the libraries said is in the reason
    if (why != nullptr) {
        *why = reason;
    }
    return false;
}

// Started after all: a start that works is silent. What Qt and the libraries
// warned of on the way concerns settings the program does not use (a style
// override, the runtime directory); only what the user turned on (Qt's debug
// and info categories) goes out.
void ReleaseHeldMessages() {
    lunvik::platform::ReleaseStderr();
    for (const SHeldMessage& held : g_held) {
        if (held.type == QtDebugMsg || held.type == QtInfoMsg) {
            const QMessageLogContext context(nullptr, 0, nullptr, held.category.c_str());
            MessageHandler(held.type, context, held.text);
        }
    }
    g_held.clear();
}

}  // namespace

// Started from a desktop, the program's stderr is the session's log.
void ReportStartFailure(const wchar_t*, const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
}

bool StartPlatform(const char* argv0, std::string* why) {
    if (QCoreApplication::instance() != nullptr) {
        // Already up (ours, or the host program's): our windows on it all the same.
        lunvik::raster::SetScreen(&lunvik::platform::RasterScreen());
        return true;
    }
    using namespace lunvik::platform;
    KeepStandardDescriptors();  // before anything here opens a file
    SetProgramName(argv0);
    std::string reason;
    int helpers = 0;
    if (!EnoughFiles(&reason) || !EnoughStack(&reason) || !EnoughAddressSpace(&reason) ||
        !EnoughThreads(&helpers, &reason)) {
        return Refuse(why, reason);
    }
    HoldStderr();
    const std::string platforms = ChoosePlatform();
    if (!CanOpenDisplay(platforms, &reason)) {
        return Refuse(why, reason);
    }
    CreateApplication(platforms);
    if (!KeepPaintHelpers(helpers)) {
        Fail(
            QStringLiteral("cannot start the threads the window system paints with: raise the "
                           "limit of processes (ulimit -u)"));
    }
    reason = ScreenProblem();
    if (!reason.empty()) {
        DestroyApplication();
        return Refuse(why, reason);
    }
    if (auto* x11 = g_app->nativeInterface<QNativeInterface::QX11Application>()) {
        g_x11 = x11->connection();
        lunvik::platform::WatchX11(g_x11);
    }
    static const bool guarded = std::atexit(ExitWhileRunning) == 0;
    (void)guarded;
    g_phase = EPhase::Running;
    ReleaseHeldMessages();
    lunvik::raster::SetScreen(&RasterScreen());
    return true;
}

void StopPlatform() {
    lunvik::raster::SetScreen(nullptr);
    if (g_app == nullptr) {
        return;
    }
    for (QWidget* window : lunvik::platform::LiveTopLevelWindows()) {
        lunvik::platform::DestroyWindowTree(window);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    g_phase = EPhase::Down;
    delete g_app;
    g_app = nullptr;
    g_x11 = nullptr;
    qInstallMessageHandler(g_previousHandler);
}

void SetProgramIdentity(const char* desktopFileName, const char* version) {
    QGuiApplication::setDesktopFileName(QString::fromUtf8(desktopFileName));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(version));
}
