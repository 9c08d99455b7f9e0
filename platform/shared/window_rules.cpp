// The arithmetic Win32's window operations use, kept from overflowing, and
// the operations that are messages to the window.
#include "platform/shared/window_rules.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <limits>

#include "platform/window.h"

namespace lunvik::platform {

int Saturate(long long value) {
    return static_cast<int>(
        std::clamp(value, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
}

int Extent(LONG from, LONG to) {
    // Any rectangle is accepted; a reversed or huge one must not overflow.
    return Saturate(std::max(static_cast<long long>(to) - from, 0LL));
}

}  // namespace lunvik::platform

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
