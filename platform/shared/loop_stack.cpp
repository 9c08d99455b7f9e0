#include "platform/shared/loop_stack.h"

#include <vector>

#include "platform/window.h"

namespace lunvik::platform {
namespace {

struct SRunningLoop {
    CRunningLoop* loop;
    CMessageLoop* messageLoop;
};

std::vector<SRunningLoop> g_loops;
bool g_quitPending = false;
bool g_quitPosted = false;
int g_quitCode = 0;

}  // namespace

// Each modal run inside the ended message loop sees the pending quit and
// unwinds, and the message loop takes it.
void QuitNow(int exitCode) {
    g_quitPosted = false;
    g_quitPending = true;
    g_quitCode = exitCode;
    for (auto it = g_loops.rbegin(); it != g_loops.rend(); ++it) {
        it->loop->Exit();
        if (it->messageLoop != nullptr) {
            break;
        }
    }
}

void RunLoop(CRunningLoop& loop, CMessageLoop* messageLoop) {
    if (g_quitPending) {
        return;
    }
    g_loops.push_back({&loop, messageLoop});
    loop.Exec();
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
    // Queued behind the messages already posted, which are handled first.
    g_quitPosted = QueueQuit(exitCode);
    if (!g_quitPosted) {
        g_quitPending = true;
        g_quitCode = exitCode;
    }
}
