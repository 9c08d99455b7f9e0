#include "platform/qt/loop_stack.h"

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
int g_quitCode = 0;

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
    if (!g_quitPending) {
        g_quitPending = true;
        g_quitCode = exitCode;
    }
    // The innermost message loop ends, and every modal loop running inside it:
    // each modal run sees the pending quit and unwinds, and the message loop
    // takes it.
    for (auto it = g_loops.rbegin(); it != g_loops.rend(); ++it) {
        it->loop->exit(0);
        if (it->messageLoop != nullptr) {
            break;
        }
    }
}
