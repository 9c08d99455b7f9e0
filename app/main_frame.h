// The main window: a frame whose whole client area is a tab view holding the
// two scene pages.
#pragma once

#include "pages/main_dlg.h"
#include "pages/main_dlg2.h"
#include "platform/frame_window.h"
#include "platform/message_loop.h"
#include "platform/tab_view.h"

class CMainFrame : public CFrameWindowImpl<CMainFrame>,
                   public CUpdateUI<CMainFrame>,
                   public CMessageFilter,
                   public CIdleHandler {
  public:
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnIdle() override;
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD dwMsgMapID = 0) override;

    CMainDlg m_page1;
    CMainDlg2 m_page2;
    CTabView m_view;
    // The loop that runs the frame, given by whoever creates it: the frame
    // joins it (key filter, idle handler) on creation and leaves it on destruction.
    CMessageLoop* m_loop = nullptr;

  private:
    LRESULT OnCreate();
    void OnDestroy();
    void OnAbout();
    void AddPages();
};
