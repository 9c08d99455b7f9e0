#include "app/about_dlg.h"

namespace {
const wchar_t kNotice[] =
    L"2026.12 Lunvik\n"
    L"\n"
    L"https://lunvik.example.org/\n"
    L"demo@lunvik.example.org";
}  // namespace

BOOL CAboutDlg::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM, LRESULT& lResult,
                                     DWORD dwMsgMapID) {
    if (dwMsgMapID != 0) {
        return FALSE;
    }
    if (uMsg == WM_INITDIALOG) {
        lResult = OnInitDialog();
        return TRUE;
    }
    if (uMsg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(LOWORD(wParam));
        lResult = 0;
        return TRUE;
    }
    return FALSE;
}

LRESULT CAboutDlg::OnInitDialog() {
    CenterWindow(GetParent());
    m_hText = GetDlgItem(IDC_ABOUT_TEXT);
    ::SetWindowTextW(m_hText, kNotice);
    return TRUE;
}
