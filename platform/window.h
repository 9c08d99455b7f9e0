// Operations on window handles, with their Win32 names, and CWindow, the thin
// handle wrapper the window classes derive from. A destroyed handle is always
// harmless: the operation does nothing and reports 0 / FALSE; so is a null
// one, but where Win32 gives it a meaning (InvalidateRect: every window,
// PostMessageW: the thread's queue, SetTimer: a thread timer). Those marked
// LUNVIK_WIN32_API are user32's and kernel32's own on Windows.
#pragma once

#include "platform/win_types.h"

LUNVIK_WIN32_API HWND GetDlgItem(HWND hDlg, int id);
LUNVIK_WIN32_API BOOL SetWindowTextW(HWND hwnd, const wchar_t* text);
// Copies at most size - 1 characters and the terminator; returns the count copied.
LUNVIK_WIN32_API int GetWindowTextW(HWND hwnd, wchar_t* buffer, int size);
// left = top = 0, right/bottom = the size of the area inside the window's frame.
LUNVIK_WIN32_API BOOL GetClientRect(HWND hwnd, RECT* rect);
// A window of ours invalidated during a timer tick is painted as the tick
// ends, on every back end (on Windows through InvalidateWindow): a frame a
// tick asks for goes on the screen without a further trip through the queue.
#if defined(_WIN32)
namespace lunvik::platform {
BOOL InvalidateWindow(HWND hwnd, const RECT* rect, BOOL erase);
}  // namespace lunvik::platform
#if !defined(LUNVIK_WIN32_BACK_END)
inline BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    return lunvik::platform::InvalidateWindow(hwnd, rect, erase);
}
#endif
#else
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
#endif
// Runs the window's message map, then default processing, before returning.
LUNVIK_WIN32_API LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Queues the message; the running message loop's filters see it before dispatch.
LUNVIK_WIN32_API BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Ends the outermost message loop with exitCode, from however deep a modal loop.
LUNVIK_WIN32_API void PostQuitMessage(int exitCode);
// WM_TIMER (wParam = id) every ms milliseconds until KillTimer or the window is
// destroyed; the same id again restarts it. timerProc is not supported.
// On Windows too a window of ours gets its timers from our own table
// (platform/win32/window_timers.cpp), where timers of one period share one
// user32 timer: both pages tick in one trip through the queue, not one each.
#if defined(_WIN32)
namespace lunvik::platform {
UINT_PTR SetWindowTimer(HWND hwnd, UINT_PTR id, UINT ms);
BOOL KillWindowTimer(HWND hwnd, UINT_PTR id);
}  // namespace lunvik::platform
#if !defined(LUNVIK_WIN32_BACK_END)  // there <windows.h> has declared user32's
inline UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC) {
    return lunvik::platform::SetWindowTimer(hwnd, id, ms);
}
inline BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    return lunvik::platform::KillWindowTimer(hwnd, id);
}
#endif
#else
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC timerProc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);
namespace lunvik::platform {
inline UINT_PTR SetWindowTimer(HWND hwnd, UINT_PTR id, UINT ms) {
    return ::SetTimer(hwnd, id, ms, nullptr);
}
inline BOOL KillWindowTimer(HWND hwnd, UINT_PTR id) {
    return ::KillTimer(hwnd, id);
}
}  // namespace lunvik::platform
#endif
// Moves and sizes a child in its parent's client area (a top-level window
// on the screen); the window hears WM_SIZE when its size changed.
LUNVIK_WIN32_API BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
// Returns whether the window was visible before.
LUNVIK_WIN32_API BOOL ShowWindow(HWND hwnd, int cmdShow);
LUNVIK_WIN32_API BOOL IsWindow(HWND hwnd);
LUNVIK_WIN32_API BOOL IsWindowVisible(HWND hwnd);
LUNVIK_WIN32_API BOOL DestroyWindow(HWND hwnd);
// The parent window, or for a top-level window its owner.
LUNVIK_WIN32_API HWND GetParent(HWND hwnd);
LUNVIK_WIN32_API HWND GetActiveWindow();
LUNVIK_WIN32_API int GetSystemMetrics(int index);
// High bit set (negative) while the key is down, as of the last key message.
LUNVIK_WIN32_API SHORT GetKeyState(int virtualKey);
// An icon image from icon resource resourceId, the one nearest to cx x cy.
HICON LoadImageW(HINSTANCE instance, int resourceId, UINT type, int cx, int cy, UINT flags);
// Loads icon resource iconId at the system's large and at its small icon size
// and sets them as the window's big and small icons (WM_SETICON).
void SetWindowIcons(HWND hwnd, int iconId);
HMENU LoadMenuW(HINSTANCE instance, int id);
HACCEL LoadAcceleratorsW(HINSTANCE instance, int id);
// A key-down matching an entry of the table becomes WM_COMMAND(cmd, 1) sent to
// hwnd; returns nonzero when the message was turned into a command.
LUNVIK_WIN32_API int TranslateAcceleratorW(HWND hwnd, HACCEL accel, MSG* msg);
// a * b / c rounded half away from zero; -1 when c is 0 or the result overflows.
LUNVIK_WIN32_API int MulDiv(int a, int b, int c);
// Rectangles. One with no width or no height (left >= right or top >= bottom)
// is empty. The destination may be one of the sources.
// The smallest rectangle holding both, an empty one taking no part; FALSE,
// and all zero, when both are empty.
LUNVIK_WIN32_API BOOL UnionRect(RECT* dst, const RECT* src1, const RECT* src2);
// The part both cover; FALSE, and all zero, when they do not overlap (an empty
// rectangle overlaps nothing, and neither do two that only share an edge).
LUNVIK_WIN32_API BOOL IntersectRect(RECT* dst, const RECT* src1, const RECT* src2);
// Moves the rectangle by dx, dy.
LUNVIK_WIN32_API BOOL OffsetRect(RECT* rect, int dx, int dy);

namespace lunvik::platform {
// Centres hwnd on hwndCenter; by default a child on its parent's client area,
// a top-level window on its owner, the active window or the screen.
BOOL CenterWindow(HWND hwnd, HWND hwndCenter);
}  // namespace lunvik::platform

class CWindow {
  public:
    HWND m_hWnd = nullptr;

    CWindow(HWND hwnd = nullptr) : m_hWnd(hwnd) {}
    CWindow& operator=(HWND hwnd) {
        m_hWnd = hwnd;
        return *this;
    }
    operator HWND() const { return m_hWnd; }

    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    BOOL SetWindowTextW(const wchar_t* text) { return ::SetWindowTextW(m_hWnd, text); }
    int GetWindowTextW(wchar_t* buffer, int size) const {
        return ::GetWindowTextW(m_hWnd, buffer, size);
    }
    BOOL GetClientRect(RECT* rect) const { return ::GetClientRect(m_hWnd, rect); }
    BOOL InvalidateRect(const RECT* rect = nullptr, BOOL erase = TRUE) {
        return ::InvalidateRect(m_hWnd, rect, erase);
    }
    BOOL CenterWindow(HWND hwndCenter = nullptr) {
        return lunvik::platform::CenterWindow(m_hWnd, hwndCenter);
    }
    UINT_PTR SetTimer(UINT_PTR id, UINT ms, TIMERPROC = nullptr) {
        return lunvik::platform::SetWindowTimer(m_hWnd, id, ms);
    }
    BOOL KillTimer(UINT_PTR id) { return lunvik::platform::KillWindowTimer(m_hWnd, id); }
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageW(m_hWnd, msg, wParam, lParam);
    }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::PostMessageW(m_hWnd, msg, wParam, lParam);
    }
    HICON SetIcon(HICON icon, BOOL bigIcon = TRUE) {
        return reinterpret_cast<HICON>(::SendMessageW(
            m_hWnd, WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
    }
    BOOL ShowWindow(int cmdShow) { return ::ShowWindow(m_hWnd, cmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    CWindow GetParent() const { return CWindow(::GetParent(m_hWnd)); }
    BOOL DestroyWindow() {
        if (!::DestroyWindow(m_hWnd)) {
            return FALSE;
        }
        m_hWnd = nullptr;
        return TRUE;
    }
};
