#include "platform/shared/message_rules.h"

#include "platform/message_loop.h"
#include "platform/shared/loop_stack.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

SModifiers g_modifiers;

}  // namespace

void DispatchPosted(MSG msg) {
    CMessageLoop* loop = InnermostMessageLoop();
    if (loop == nullptr || !loop->PreTranslateMessage(&msg)) {
        SendMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    }
}

bool OfferKeyPress(CMessageLoop& loop, HWND window, HWND top, const SKeyPress& key) {
    MSG msg{};
    msg.hwnd = window;
    msg.message = g_modifiers.alt || key.vk == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN;
    msg.wParam = key.vk;
    msg.lParam = 1 | (key.repeat ? (LPARAM{1} << 30) : 0);
    if (loop.PreTranslateMessage(&msg)) {
        return true;
    }
    // A window manager, where there is one, takes Alt+F4 first.
    if (msg.message == WM_SYSKEYDOWN && key.vk == VK_F4 && IsWindow(top)) {
        SendMessageW(top, WM_CLOSE, 0, 0);
        return true;
    }
    return false;
}

void SetKeyModifiers(const SModifiers& modifiers) {
    g_modifiers = modifiers;
}

const SModifiers& KeyModifiers() {
    return g_modifiers;
}

void CloseDialog(HWND dialog) {
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(cancel));
}

bool EndsProgram(EWindowKind kind, DWORD style) {
    return kind == EWindowKind::Frame && (style & (WS_CHILD | WS_POPUP)) == 0;
}

}  // namespace lunvik::platform

SHORT GetKeyState(int virtualKey) {
    const auto& m = lunvik::platform::KeyModifiers();
    const bool down = virtualKey == VK_SHIFT     ? m.shift
                      : virtualKey == VK_CONTROL ? m.control
                      : virtualKey == VK_MENU    ? m.alt
                                                 : false;
    return down ? static_cast<SHORT>(0x8000) : SHORT{0};
}
