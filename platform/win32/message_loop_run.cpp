// CMessageLoop::Run on user32's queue: every message passes the filters, then
// the keyboard handling of dialogs (Tab across a tab strip, then
// IsDialogMessage: Tab, Enter, mnemonics in a page), then is translated and
// dispatched. Idle handlers run when the queue has run empty.
#include "platform/message_loop.h"
#include "platform/win32/window_host.h"

namespace {

// Messages after which the idle handlers need not run again.
bool IsIdleMessage(const MSG& msg) {
    return msg.message != WM_PAINT && msg.message != 0x0118 /* WM_SYSTIMER */ &&
           msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE;
}

}  // namespace

int CMessageLoop::Run() {
    bool idle = true;
    int idleCount = 0;
    MSG msg{};
    for (;;) {
        while (idle && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) {
                idle = false;
            }
        }
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) {
            continue;
        }
        if (got == 0) {
            break;  // WM_QUIT
        }
        if (!PreTranslateMessage(&msg) && !lunvik::platform::DialogKeys(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (IsIdleMessage(msg)) {
            idle = true;
            idleCount = 0;
        }
    }
    return static_cast<int>(msg.wParam);
}
