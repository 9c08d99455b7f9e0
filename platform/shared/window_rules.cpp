// The arithmetic Win32's window operations use, kept from overflowing, and
// the operations that are messages to the window.
#include "platform/shared/window_rules.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <limits>

#include "platform/window.h"
#include "platform/window_object.h"

namespace lunvik::platform {

int Saturate(long long value) {
    return static_cast<int>(
        std::clamp(value, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
}

int Extent(LONG from, LONG to) {
    // Any rectangle is accepted; a reversed or huge one must not overflow.
    return Saturate(std::max(static_cast<long long>(to) - from, 0LL));
}

CREATESTRUCTW CreateStructOf(const SCreateParams& p) {
    CREATESTRUCTW cs{};
    cs.lpCreateParams = p.param;
    cs.hMenu = p.menu;
    cs.hwndParent = p.parent;
    cs.x = p.rect.left;
    cs.y = p.rect.top;
    cs.cx = Extent(p.rect.left, p.rect.right);
    cs.cy = Extent(p.rect.top, p.rect.bottom);
    cs.style = static_cast<LONG>(p.style);
    cs.lpszName = p.name;
    cs.lpszClass = p.className;
    cs.dwExStyle = p.exStyle;
    return cs;
}

}  // namespace lunvik::platform

using namespace lunvik::platform;

BOOL IsWindow(HWND hwnd) {
    return hwnd != nullptr && HostWindowAlive(hwnd) ? TRUE : FALSE;
}

HWND GetParent(HWND hwnd) {
    return IsWindow(hwnd) ? HostParent(hwnd) : nullptr;
}

HWND GetDlgItem(HWND hDlg, int id) {
    return IsWindow(hDlg) ? HostChild(hDlg, id) : nullptr;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
    if (rect == nullptr || !IsWindow(hwnd)) {
        return FALSE;
    }
    *rect = HostClientRect(hwnd);
    return TRUE;
}

int MulDiv(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    const long long product = static_cast<long long>(a) * b;
    long long quotient = product / c;
    const long long remainder = product % c;
    if (2 * std::llabs(remainder) >= std::llabs(static_cast<long long>(c))) {
        quotient += (product < 0) != (c < 0) ? -1 : 1;
    }
    if (quotient > std::numeric_limits<int>::max() || quotient < std::numeric_limits<int>::min()) {
        return -1;
    }
    return static_cast<int>(quotient);
}

BOOL SetWindowTextW(HWND hwnd, const wchar_t* text) {
    // A handle that is not a live window gets nothing from SendMessageW: FALSE.
    return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
}

int GetWindowTextW(HWND hwnd, wchar_t* buffer, int size) {
    if (buffer != nullptr && size > 0) {
        buffer[0] = L'\0';
    }
    if (!IsWindow(hwnd)) {
        return 0;
    }
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(size),
                                         reinterpret_cast<LPARAM>(buffer)));
}
