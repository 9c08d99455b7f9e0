// The About box: dialog 100 with the maker's notice, centred on the window
// that was active when it opened.
#pragma once

#include "pages/resource_ids.h"
#include "platform/dialog_impl.h"

class CAboutDlg : public CDialogImpl<CAboutDlg, CWindow> {
  public:
    enum { IDD = IDD_ABOUTBOX };

    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD dwMsgMapID = 0) override;

    HWND m_hText = nullptr;  // static control 1000

  private:
    LRESULT OnInitDialog();
};
