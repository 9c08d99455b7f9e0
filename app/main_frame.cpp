#include "app/main_frame.h"

#include "app/about_dlg.h"

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg) {
    if (m_hAccel != nullptr && ::TranslateAcceleratorW(m_hWnd, m_hAccel, pMsg)) {
        return TRUE;
    }
    return m_view.PreTranslateMessage(pMsg);
}

BOOL CMainFrame::OnIdle() {
    return FALSE;
}

BOOL CMainFrame::ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                      LRESULT& lResult, DWORD dwMsgMapID) {
    if (dwMsgMapID == 0) {
        switch (uMsg) {
            case WM_CREATE:
                lResult = OnCreate();
                return TRUE;
            case WM_DESTROY:
                OnDestroy();  // and on to the frame handling, which posts the quit message
                break;
            case WM_COMMAND: {
                const WORD id = LOWORD(wParam);
                if (id == ID_APP_EXIT) {
                    ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
                } else if (id == ID_APP_ABOUT) {
                    OnAbout();
                } else if (id >= ID_WINDOW_TABFIRST && id <= ID_WINDOW_TABLAST) {
                    m_view.SetActivePage(id - ID_WINDOW_TABFIRST);
                } else {
                    break;
                }
                lResult = 0;
                return TRUE;
            }
            default:
                break;
        }
    }
    if (CUpdateUI<CMainFrame>::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult,
                                                    dwMsgMapID)) {
        return TRUE;
    }
    return CFrameWindowImpl::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, dwMsgMapID);
}

LRESULT CMainFrame::OnCreate() {
    ::SetWindowIcons(m_hWnd, IDR_MAINFRAME);  // the icon of the frame's window class
    m_hWndClient = m_view.Create(m_hWnd, RECT{});
    if (m_loop != nullptr) {
        m_loop->AddMessageFilter(this);
        m_loop->AddIdleHandler(this);
    }
    AddPages();
    return 0;
}

void CMainFrame::AddPages() {
    m_page1.Create(m_view.m_hWnd);
    m_page2.Create(m_view.m_hWnd);  // its set-up seeds the process-wide random generator
    m_view.AddPage(m_page1.m_hWnd, L"Page1");
    m_view.AddPage(m_page2.m_hWnd, L"Page2");
    m_view.SetActivePage(0);
}

void CMainFrame::OnDestroy() {
    if (m_loop != nullptr) {
        m_loop->RemoveMessageFilter(this);
        m_loop->RemoveIdleHandler(this);
        m_loop = nullptr;
    }
}

void CMainFrame::OnAbout() {
    CAboutDlg about;
    about.DoModal(::GetActiveWindow());
}
