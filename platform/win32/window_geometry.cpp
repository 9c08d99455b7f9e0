// Centring a window: a child on its parent's client area, a top-level window
// on its owner (or the window given), kept on the owner's monitor.
#include "platform/win32/window_host.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

RECT WorkArea(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

LONG Centred(LONG from, LONG to, LONG size, LONG lowest, LONG highest) {
    LONG at = (from + to) / 2 - size / 2;
    if (at + size > highest) {
        at = highest - size;
    }
    return at < lowest ? lowest : at;
}

}  // namespace

BOOL CenterWindow(HWND hwnd, HWND hwndCenter) {
    if (!::IsWindow(hwnd)) {
        return FALSE;
    }
    const bool child = (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) != 0;
    RECT box;
    GetWindowRect(hwnd, &box);
    RECT area;
    RECT center;
    if (child) {
        const HWND parent = ::GetParent(hwnd);
        ::GetClientRect(parent, &area);
        center = area;
        if (hwndCenter != nullptr && hwndCenter != parent && ::IsWindow(hwndCenter)) {
            ::GetClientRect(hwndCenter, &center);
            MapWindowPoints(hwndCenter, parent, reinterpret_cast<POINT*>(&center), 2);
        }
    } else {
        HWND on = hwndCenter != nullptr ? hwndCenter : GetWindow(hwnd, GW_OWNER);
        if (on != nullptr && (!::IsWindowVisible(on) || IsIconic(on))) {
            on = nullptr;
        }
        area = WorkArea(on != nullptr ? on : hwnd);
        center = area;
        if (on != nullptr) {
            GetWindowRect(on, &center);
        }
    }
    const LONG width = box.right - box.left;
    const LONG height = box.bottom - box.top;
    const LONG lowX = child ? LONG_MIN / 2 : area.left;
    const LONG lowY = child ? LONG_MIN / 2 : area.top;
    const LONG highX = child ? LONG_MAX / 2 : area.right;
    const LONG highY = child ? LONG_MAX / 2 : area.bottom;
    return SetWindowPos(hwnd, nullptr, Centred(center.left, center.right, width, lowX, highX),
                        Centred(center.top, center.bottom, height, lowY, highY), 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace lunvik::platform
