// Default processing of the messages no map handled: the frame's handling of
// its client window and of its end, the tab view's, and DefWindowProc.
#include "platform/win32/window_host.h"

namespace lunvik::platform {
void FillWithFace(HWND hwnd, HDC dc) {
    RECT rect;
    ::GetClientRect(hwnd, &rect);
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
}

namespace {

// The frame keeps its client window over its whole client area, does not
// erase behind it, and ends the program when it goes. Activated again, it
// gives the focus back to the control that had it, as a dialog does; else
// to its client window.
bool FrameProcessing(HWND hwnd, SWindowData* data, HWND client, UINT msg, WPARAM wParam,
                     LRESULT* result) {
    const bool haveClient = client != nullptr && ::IsWindow(client);
    switch (msg) {
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE && IsChild(hwnd, GetFocus())) {
                data->m_lastFocus = GetFocus();
            }
            return false;  // on to DefWindowProc, which focuses the frame when activated
        case WM_SIZE:
            if (haveClient && wParam != SIZE_MINIMIZED) {
                RECT rect;
                ::GetClientRect(hwnd, &rect);
                SetWindowPos(client, nullptr, 0, 0, rect.right, rect.bottom,
                             SWP_NOZORDER | SWP_NOACTIVATE);
            }
            break;
        case WM_ERASEBKGND:
            if (!haveClient) {  // else the client covers it all
                FillWithFace(hwnd, reinterpret_cast<HDC>(wParam));
            }
            *result = 1;
            return true;
        case WM_SETFOCUS:
            if (const HWND kept = KeptFocus(hwnd)) {
                SetFocus(kept);
            } else if (haveClient) {
                SetFocus(client);
            }
            break;
        case WM_DESTROY:
            if ((GetWindowLongW(hwnd, GWL_STYLE) & (WS_CHILD | WS_POPUP)) == 0) {
                ::PostQuitMessage(1);
            }
            break;
        default:
            return false;
    }
    *result = 0;
    return true;
}

}  // namespace

LRESULT DefaultProcessing(HWND hwnd, SWindowData* data, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DPICHANGED) {
        FollowDpi(hwnd, HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    }
    LRESULT result = 0;
    switch (data->m_kind) {
        case EWindowKind::Frame: {
            const HWND client =
                data->m_object != nullptr ? data->m_object->ClientWindow() : nullptr;
            if (FrameProcessing(hwnd, data, client, msg, wParam, &result)) {
                return result;
            }
            break;
        }
        case EWindowKind::TabView:
            if (TabViewProcessing(hwnd, msg, wParam, lParam, &result)) {
                return result;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace lunvik::platform
