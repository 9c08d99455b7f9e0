// Dialogs built from dialog templates (platform/resources.h): modeless
// (Create) or modal (DoModal), and CSimpleDialog for boxes that only close.
#pragma once

#include "platform/window_impl.h"

template <class T, class TBase = CWindow>
class CDialogImpl : public CWindowImplRoot<TBase> {
  public:
    // A modeless dialog from template T::IDD: a child of hWndParent when the
    // template has WS_CHILD, otherwise a top-level window owned by it.
    HWND Create(HWND hWndParent, LPARAM init = 0) {
        if (this->HasLiveWindow()) {
            return nullptr;
        }
        return lunvik::platform::CreateDialogWindow(this, T::IDD, hWndParent, init);
    }
    // Runs the dialog modally, owned by parent's top-level window, until
    // EndDialog; the rest of the program keeps running meanwhile.
    INT_PTR DoModal(HWND parent = ::GetActiveWindow(), LPARAM init = 0) {
        if (this->HasLiveWindow()) {
            return -1;
        }
        return lunvik::platform::RunModalDialog(this, T::IDD, parent, init);
    }
    // A modal dialog ends its loop with code; a modeless one is destroyed.
    BOOL EndDialog(int code) { return lunvik::platform::EndDialogWindow(this->m_hWnd, code); }
};

// A modal box that closes on any of the commands IDOK to IDNO, returning it.
template <WORD t_wDlgTemplateID, BOOL t_bCenter = TRUE>
class CSimpleDialog : public CDialogImpl<CSimpleDialog<t_wDlgTemplateID, t_bCenter>> {
  public:
    enum { IDD = t_wDlgTemplateID };

    BOOL ProcessWindowMessage(HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT& result,
                              DWORD = 0) override {
        if (msg == WM_INITDIALOG) {
            if (t_bCenter) {
                this->CenterWindow(this->GetParent());
            }
            result = TRUE;
            return TRUE;
        }
        if (msg == WM_COMMAND && LOWORD(wParam) >= IDOK && LOWORD(wParam) <= IDNO) {
            this->EndDialog(LOWORD(wParam));
            result = 0;
            return TRUE;
        }
        return FALSE;
    }
};
