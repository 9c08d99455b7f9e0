// The seam between the window templates (window_impl.h, dialog_impl.h,
// frame_window.h, tab_view.h) and the toolkit back end that makes the
// real windows. Nothing here names the toolkit: a native back end would
// implement these same functions.
#pragma once

#include "platform/win_types.h"

namespace lunvik::platform {

// What a window stands for on screen; it picks the host and its defaults.
enum class EWindowKind {
    Window,   // a plain child or top-level window (DefWindowProc)
    Dialog,   // built from a dialog template (DefDlgProc)
    Frame,    // a top-level frame with menu and client window
    TabView,  // a tab strip with a page area
};

// The C++ object behind a window, as the back end sees it.
class CWindowObject {
  public:
    // The object's message map; TRUE when it handled the message.
    virtual BOOL RouteMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) = 0;
    // The window exists (before its first message) ...
    virtual void AttachWindow(HWND hwnd) = 0;
    // ... and is gone: the object becomes windowless.
    virtual void DetachWindow(HWND hwnd) = 0;
    // For frames: the window that fills the client area.
    virtual HWND ClientWindow() const { return nullptr; }

  protected:
    ~CWindowObject() = default;
};

struct SCreateParams {
    EWindowKind kind = EWindowKind::Window;
    HWND parent = nullptr;
    RECT rect{};  // child: in the parent's client area; top-level: outer, on screen
    const wchar_t* name = nullptr;
    const wchar_t* className = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    UINT id = 0;
    HMENU menu = nullptr;
    void* param = nullptr;
};

// Makes the window, sends WM_CREATE; nullptr when no window could be made or
// WM_CREATE answered -1.
HWND CreateHostWindow(CWindowObject* object, const SCreateParams& params);
// A modeless dialog from template templateId; WM_INITDIALOG(0, init) is sent
// once the controls exist, before this returns.
HWND CreateDialogWindow(CWindowObject* object, int templateId, HWND parent, LPARAM init);
// A modal dialog run in a nested loop until EndDialogWindow; returns its code,
// -1 when the dialog could not be made or went without EndDialog.
INT_PTR RunModalDialog(CWindowObject* object, int templateId, HWND owner, LPARAM init);
BOOL EndDialogWindow(HWND hwnd, INT_PTR code);
// The object is being destroyed while it still has a window: the window goes
// without sending it anything more.
void ForgetObject(CWindowObject* object, HWND hwnd);

}  // namespace lunvik::platform
