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

// Through the input queue, so that the dialog manager sees Shift held down.
void PressKey(WORD vk, bool shift) {
    INPUT keys[4] = {};
    UINT n = 0;
    const auto add = [&](WORD key, DWORD flags) {
        keys[n].type = INPUT_KEYBOARD;
        keys[n].ki.wVk = key;
        keys[n++].ki.dwFlags = flags;
    };
    if (shift) {
        add(VK_SHIFT, 0);
    }
    add(vk, 0);
    add(vk, KEYEVENTF_KEYUP);
    if (shift) {
        add(VK_SHIFT, KEYEVENTF_KEYUP);
    }
    SendInput(n, keys, sizeof(INPUT));
    // Until the release has been taken from the queue.
    PumpUntil([] { return !PeekMessageW(nullptr, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE); },
              500);
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
