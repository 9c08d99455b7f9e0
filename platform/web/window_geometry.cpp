// Where windows are and whether they show: client areas, centring,
// visibility and what is to be repainted.
#include "platform/shared/window_rules.h"
#include "platform/web/dom.h"
#include "platform/web/window_host.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

void Invalidate(SWebWindow* w, const RECT* rect) {
    const RECT client = ClientRect(w);
    RECT part = client;
    if (rect != nullptr && !IntersectRect(&part, rect, &client)) {
        return;
    }
    UnionRect(&w->invalid, &w->invalid, &part);
}

}  // namespace

RECT ClientRect(const SWebWindow* w) {
    const int width = Extent(w->rect.left, w->rect.right) - 2 * w->edge;
    const int height = Extent(w->rect.top, w->rect.bottom) - 2 * w->edge - w->top;
    return RECT{0, 0, std::max(width, 0), std::max(height, 0)};
}

BOOL CenterWindow(HWND hwnd, HWND hwndCenter) {
    SWebWindow* w = Live(hwnd);
    if (w == nullptr) {
        return FALSE;
    }
    SWebWindow* on = Live(hwndCenter);
    if (on == nullptr && w->parent != nullptr) {
        on = w->TopLevel() ? RootOf(w->parent) : w->parent;
    }
    // On its parent's client area, or a top-level window on its owner's rectangle.
    RECT area = on != nullptr ? (w->TopLevel() ? on->rect : ClientRect(on)) : RECT{0, 0, 750, 700};
    const int width = Extent(w->rect.left, w->rect.right);
    const int height = Extent(w->rect.top, w->rect.bottom);
    const int left = std::max(0, (area.left + area.right - width) / 2);
    const int top = std::max(0, (area.top + area.bottom - height) / 2);
    w->rect = RECT{left, top, left + width, top + height};
    PlaceElement(w);
    return TRUE;
}

RECT HostClientRect(HWND window) {
    return ClientRect(Live(window));
}

}  // namespace lunvik::platform

using namespace lunvik::platform;

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL) {
    if (hwnd == nullptr) {
        for (SWebWindow* top : TopLevelWindows()) {
            Invalidate(top, nullptr);
        }
        return TRUE;
    }
    SWebWindow* w = Live(hwnd);
    if (w == nullptr) {
        return FALSE;
    }
    Invalidate(w, rect);
    return TRUE;
}

// A top-level window's place is its client area's here, as on the desktop
// back ends: the program moves only children. Win32 tells a window of its new
// client size at once.
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL) {
    SWebWindow* w = Live(hwnd);
    if (w == nullptr) {
        return FALSE;
    }
    const RECT before = ClientRect(w);
    w->rect =
        RECT{x, y, Saturate(0LL + x + std::max(width, 0)), Saturate(0LL + y + std::max(height, 0))};
    PlaceElement(w);
    const RECT after = ClientRect(w);
    if (after.right != before.right || after.bottom != before.bottom) {
        SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED,
                     MAKELPARAM(static_cast<WORD>(after.right), static_cast<WORD>(after.bottom)));
    }
    return TRUE;
}

BOOL ShowWindow(HWND hwnd, int cmdShow) {
    SWebWindow* w = Live(hwnd);
    if (w == nullptr) {
        return FALSE;
    }
    const bool show = cmdShow != SW_HIDE;
    if (w->visible != show) {
        // As user32 does, a window to be shown or hidden hears of it first.
        SendMessageW(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        if ((w = Live(hwnd)) == nullptr) {
            return FALSE;  // what it heard destroyed it
        }
    }
    const BOOL before = w->visible ? TRUE : FALSE;
    w->visible = show;
    lv_show(w->element, w->visible);
    if (w->visible && !before && w->TopLevel()) {
        ActivateWindow(w);
    }
    return before;
}

BOOL IsWindowVisible(HWND hwnd) {
    SWebWindow* w = Live(hwnd);
    return w != nullptr && Showing(w) ? TRUE : FALSE;
}
