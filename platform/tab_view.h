// CTabView: a tab strip whose tabs can be dragged to reorder them, with the
// page of the active tab shown below it and the other pages hidden.
#pragma once

#include "platform/window_impl.h"

namespace lunvik::platform {
BOOL TabViewAddPage(HWND tabView, HWND page, const wchar_t* title, int image, void* data);
int TabViewPageCount(HWND tabView);
int TabViewActivePage(HWND tabView);
void TabViewSetActivePage(HWND tabView, int index);
const wchar_t* TabViewPageTitle(HWND tabView, int index);
HWND TabViewPage(HWND tabView, int index);
BOOL TabViewPreTranslate(HWND tabView, MSG* msg);
}  // namespace lunvik::platform

// A control with a sunken client edge.
using CTabViewWinTraits = CWinTraits<CControlWinTraits::kStyle, WS_EX_CLIENTEDGE>;

class CTabView : public CWindowImpl<CTabView, CWindow, CTabViewWinTraits> {
  public:
    static constexpr lunvik::platform::EWindowKind kWindowKind =
        lunvik::platform::EWindowKind::TabView;

    // Moves page into the page area as the last tab; the first page added
    // becomes the active one.
    BOOL AddPage(HWND page, const wchar_t* title, int image = -1, void* data = nullptr) {
        return lunvik::platform::TabViewAddPage(m_hWnd, page, title, image, data);
    }
    int GetPageCount() const { return lunvik::platform::TabViewPageCount(m_hWnd); }
    int GetActivePage() const { return lunvik::platform::TabViewActivePage(m_hWnd); }
    void SetActivePage(int page) { lunvik::platform::TabViewSetActivePage(m_hWnd, page); }
    // Valid while the page is in the view.
    const wchar_t* GetPageTitle(int page) const {
        return lunvik::platform::TabViewPageTitle(m_hWnd, page);
    }
    HWND GetPageHWND(int page) const { return lunvik::platform::TabViewPage(m_hWnd, page); }

    // Ctrl+Tab / Ctrl+Shift+Tab: next / previous page, wrapping around (consumed
    // even with a single page). Escape during a tab drag puts the tabs back.
    BOOL PreTranslateMessage(MSG* msg) {
        return lunvik::platform::TabViewPreTranslate(m_hWnd, msg);
    }

    BOOL ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD = 0) override {
        return FALSE;
    }
};
