// CMessageLoop::Run on user32's queue: every message passes the filters, then
// the keyboard handling of dialogs (Tab across a tab strip, then
// IsDialogMessage: Tab, Enter, mnemonics in a page), then is translated and
// dispatched. Idle handlers run when the queue has run empty.
//
// Messages are taken with one PeekMessageW(PM_REMOVE), and the loop waits in
// GetMessageW only once the queue is empty: a look at the queue before each
// message would cost a second trip to the window server for every message
// (under Wine a round trip each).
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
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // Empty: the idle handlers, for as long as they ask and nothing comes.
            while (idle) {
                if (!OnIdle(idleCount++)) {
                    idle = false;
                } else if (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
                    break;
                }
            }
            if (GetMessageW(&msg, nullptr, 0, 0) == -1) {
                continue;
            }
        }
        if (msg.message == WM_QUIT) {
            break;
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
