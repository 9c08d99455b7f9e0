// Top-level frame windows: menu bar, accelerator table and a client window
// that always fills the client area.
#pragma once

#include "platform/update_ui.h"
#include "platform/window_impl.h"

// Frame handling is the frame's default processing: WM_SIZE keeps the client
// window sized, WM_CLOSE destroys the window, and WM_DESTROY of a frame that
// is neither child nor pop-up posts the quit message with exit code 1.
template <class T, class TBase = CWindow, class TWinTraits = CFrameWinTraits>
class CFrameWindowImpl : public CWindowImplRoot<TBase> {
  public:
    HWND m_hWndClient = nullptr;
    HACCEL m_hAccel = nullptr;

    // rect is the outer window rectangle on the screen. nullptr when no window
    // can be made (or WM_CREATE answered -1).
    HWND Create(HWND hWndParent, RECT rect, const wchar_t* title, DWORD style = 0,
                DWORD exStyle = 0, HMENU menu = nullptr, void* param = nullptr) {
        return this->CreateHost({.kind = lunvik::platform::EWindowKind::Frame,
                                 .parent = hWndParent,
                                 .rect = rect,
                                 .name = title,
                                 .style = TWinTraits::GetWndStyle(style),
                                 .exStyle = TWinTraits::GetWndExStyle(exStyle),
                                 .menu = menu,
                                 .param = param});
    }

    // For maps that chain here; everything is left to default processing.
    BOOL ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD = 0) override {
        return FALSE;
    }

  private:
    HWND ClientWindow() const override { return m_hWndClient; }
};
