#include "platform/qt/loop_stack.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <vector>

#include "platform/window.h"

namespace lunvik::platform {
namespace {

struct SRunningLoop {
    QEventLoop* loop;
    CMessageLoop* messageLoop;
};

std::vector<SRunningLoop> g_loops;
bool g_quitPending = false;
bool g_quitPosted = false;
int g_quitCode = 0;

// The quit message taken from the queue: the innermost message loop ends,
// and every modal loop running inside it; each modal run sees the pending
// quit and unwinds, and the message loop takes it.
void QuitNow(int exitCode) {
    g_quitPosted = false;
    g_quitPending = true;
    g_quitCode = exitCode;
    for (auto it = g_loops.rbegin(); it != g_loops.rend(); ++it) {
        it->loop->exit(0);
        if (it->messageLoop != nullptr) {
            break;
        }
    }
}

}  // namespace

void RunLoop(QEventLoop& loop, CMessageLoop* messageLoop) {
    if (g_quitPending) {
        return;
    }
    g_loops.push_back({&loop, messageLoop});
    loop.exec(messageLoop != nullptr ? QEventLoop::AllEvents : QEventLoop::DialogExec);
    g_loops.pop_back();
}

CMessageLoop* InnermostMessageLoop() {
    return g_loops.empty() ? nullptr : g_loops.back().messageLoop;
}

bool QuitPending() {
    return g_quitPending;
}

bool TakeQuit(int* exitCode) {
    if (!g_quitPending) {
        return false;
    }
    g_quitPending = false;
    *exitCode = g_quitCode;
    return true;
}

}  // namespace lunvik::platform

void PostQuitMessage(int exitCode) {
    using namespace lunvik::platform;
    if (g_quitPending || g_quitPosted) {
        return;  // one quit at a time, as the native queue holds one
    }
    if (QCoreApplication::instance() == nullptr) {
        g_quitPending = true;
        g_quitCode = exitCode;
        return;
    }
    // Queued behind the messages already posted, which are handled first.
    g_quitPosted = true;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [exitCode] { QuitNow(exitCode); }, Qt::QueuedConnection);
}
