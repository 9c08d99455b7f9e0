// The window-layer tests' needs, on Win32.
#include <algorithm>
#include <chrono>
#include <cwchar>

#include "platform/win32/window_host.h"
#include "tests/platform/backend_support.h"

namespace lunvik::test {

using lunvik::platform::DataOf;

bool PumpUntil(const std::function<bool()>& done, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        DeliverPosted();
    }
    return true;
}

void DeliverPosted() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // As the program's loop does: a dialog's keys are the dialog's.
        const HWND dialog = lunvik::platform::DialogOf(msg.hwnd);
        if (dialog == nullptr || !IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

void Focus(HWND control) {
    SetForegroundWindow(GetAncestor(control, GA_ROOT));
    ::SetFocus(control);
    DeliverPosted();
}

HWND Focused() {
    return ::GetFocus();
}

// Posted to the focus, as the input queue would deliver it, with the thread's
// key state saying whether Shift is down: the dialog manager reads it.
void PressKey(WORD vk, bool shift) {
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE shiftBefore = keys[VK_SHIFT];
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    const HWND focus = ::GetFocus();
    ::PostMessageW(focus, WM_KEYDOWN, vk, 1);
    ::PostMessageW(focus, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001));
    DeliverPosted();
    keys[VK_SHIFT] = shiftBefore;
    SetKeyboardState(keys);
}

RECT ChildRect(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ClickCentre(HWND control) {
    ::SendMessageW(control, BM_CLICK, 0, 0);
}

bool DrawsGlyphs(HWND control, const wchar_t* text) {
    const HDC dc = ::GetDC(control);
    const HGDIOBJ before =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    const int n = static_cast<int>(wcslen(text));
    WORD glyphs[64] = {};
    const bool all =
        n < 64 && GetGlyphIndicesW(dc, text, n, glyphs, GGI_MARK_NONEXISTING_GLYPHS) == DWORD(n) &&
        std::find(glyphs, glyphs + n, 0xFFFF) == glyphs + n;
    SelectObject(dc, before);
    ::ReleaseDC(control, dc);
    return all;
}

namespace {
BOOL CALLBACK CountOurs(HWND hwnd, LPARAM count) {
    *reinterpret_cast<int*>(count) += DataOf(hwnd) != nullptr ? 1 : 0;
    EnumChildWindows(hwnd, &CountOurs, count);
    return TRUE;
}
BOOL CALLBACK DestroyOurs(HWND hwnd, LPARAM) {
    if (DataOf(hwnd) != nullptr) {
        ::DestroyWindow(hwnd);
    }
    return TRUE;
}
}  // namespace

int DestroyAndCountLeft() {
    EnumThreadWindows(GetCurrentThreadId(), &DestroyOurs, 0);
    DeliverPosted();
    int left = 0;
    EnumThreadWindows(GetCurrentThreadId(), &CountOurs, reinterpret_cast<LPARAM>(&left));
    return left;
}

}  // namespace lunvik::test
