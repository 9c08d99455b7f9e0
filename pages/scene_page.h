// What the two scene pages share: the controls they address, the drawing
// area, initialisation, the erase-then-draw pass over the draw list, the
// status lines and the commands both answer the same way. Each page keeps
// its own scene, lists and buttons.
#pragma once

#include <cstdint>
#include <cstring>
#include <cwchar>

#include "geometry/grid_tmpl.h"
#include "geometry/model_base.h"
#include "pages/resource_ids.h"
#include "pages/status_text.h"
#include "platform/dialog_impl.h"
#include "platform/window.h"
#include "view/static_view.h"

inline constexpr int kMaxSceneModels = 100;  // capacity of a page's model lists
inline constexpr int kSceneViews = 5;        // drawing areas per page; only the first is created
inline constexpr UINT kTickMilliseconds = 25;
inline constexpr double kTicksPerSecond = 40.0;
inline constexpr double kDegree = 0.017453292519943295;  // pi / 180, the rates' unit

template <class T>
class CScenePage : public CDialogImpl<T, CWindow> {
  public:
    // The page's message map: initialisation, a tick for any timer id, and
    // commands matched on the low word alone (T::OnCommand answers whether it
    // knew the id). Everything else gets default processing.
    BOOL ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM, LRESULT& lResult,
                              DWORD dwMsgMapID = 0) override {
        if (dwMsgMapID != 0) {
            return FALSE;
        }
        switch (uMsg) {
            case WM_INITDIALOG:
                lResult = OnInitDialog();
                return TRUE;
            case WM_TIMER:
                ++m_ticks;
                lResult = static_cast<T*>(this)->OnTimer();
                return TRUE;
            case WM_SIZE:
                FitView();
                return FALSE;  // and on to default processing
            case WM_SHOWWINDOW:
                // Sent just before the page shows: what it left undrawn and
                // unwritten while hidden is done now, so that it shows the
                // current picture and text.
                if (wParam != 0) {
                    T* page = static_cast<T*>(this);
                    m_view[0].CatchUp(page->m_drawn, page->m_drawnCount, page->m_lookAt,
                                      page->m_eye);
                    if (m_statusOwed) {
                        m_statusOwed = false;
                        page->UpdateStatus();
                    }
                }
                return FALSE;
            case WM_COMMAND:
                if (HandleCommonCommand(LOWORD(wParam)) ||
                    static_cast<T*>(this)->OnCommand(LOWORD(wParam))) {
                    lResult = 0;
                    return TRUE;
                }
                return FALSE;
            default:
                return FALSE;
        }
    }

    std::uint64_t m_ticks = 0;  // timer ticks handled, for measurements

  protected:
    // WM_INITDIALOG: centre, icons, then the page's own controls and scene.
    LRESULT OnInitDialog() {
        this->CenterWindow();
        ::SetWindowIcons(this->m_hWnd, IDR_MAINFRAME);
        static_cast<T*>(this)->InitControls();
        static_cast<T*>(this)->SetupScene();
        return TRUE;
    }

    // Fetches the handles both pages keep, sets the two group captions,
    // creates the drawing area inside the placeholder and starts the timer.
    // runAfterEdits lets a page set captions of its own in between.
    template <class F>
    void InitCommonControls(const wchar_t* eyeGroupCaption, const wchar_t* secondGroupCaption,
                            F runAfterEdits) {
        m_hButton1 = this->GetDlgItem(IDC_BUTTON1);
        m_hButton2 = this->GetDlgItem(IDC_BUTTON2);
        m_hGroupEye = this->GetDlgItem(IDC_GROUP_EYE);
        m_hGroupSecond = this->GetDlgItem(IDC_GROUP_SECOND);
        ::SetWindowTextW(m_hGroupEye, eyeGroupCaption);
        ::SetWindowTextW(m_hGroupSecond, secondGroupCaption);
        for (int i = 0; i < kStatusEdits; ++i) {
            m_hEdits[i] = this->GetDlgItem(IDC_EDIT_EYE_X + i);
            ::GetWindowTextW(m_hEdits[i], m_shownText[i], static_cast<int>(kStatusTextSize));
        }
        runAfterEdits();
        m_hFrame = this->GetDlgItem(IDC_VIEW_FRAME);
        RECT rc;
        ::GetClientRect(m_hFrame, &rc);
        m_view[0].Create(m_hFrame, rc);
        this->SetTimer(0, kTickMilliseconds, nullptr);
    }

    // The drawing area's client size, which every drawn model gets as its screen size.
    CGridTmpl<double> ViewSize() const {
        RECT rc;
        ::GetClientRect(m_view[0].m_hWnd, &rc);
        return CGridTmpl<double>(static_cast<double>(rc.right - rc.left),
                                 static_cast<double>(rc.bottom - rc.top), 0.0);
    }

    // The drawing area fills its placeholder again once the page was laid
    // out anew (the screen's DPI changed), and every drawn model gets its
    // new size.
    void FitView() {
        RECT frame{};
        RECT view{};
        if (!::GetClientRect(m_hFrame, &frame) || !::GetClientRect(m_view[0].m_hWnd, &view) ||
            (frame.right == view.right && frame.bottom == view.bottom)) {
            return;
        }
        ::MoveWindow(m_view[0].m_hWnd, 0, 0, frame.right, frame.bottom, TRUE);
        const CGridTmpl<double> screen = ViewSize();
        T* page = static_cast<T*>(this);
        for (int i = 0; i < page->m_drawnCount; ++i) {
            page->m_drawn[i]->m_screenSize.x = screen.x;
            page->m_drawn[i]->m_screenSize.y = screen.y;
        }
    }

    // Builds a model, puts it at position in the world and hands it the camera.
    static void PlaceModel(CModelBase& model, const CModelParam& param,
                           const CGridTmpl<double>& position, const CGridTmpl<double>& lookAt,
                           const CGridTmpl<double>& eye) {
        model.Build(param);
        model.m_position = position;
        model.ToWorld();
        model.Aim(lookAt, eye);
    }

    // One frame: every model of the list is erased before any is drawn, so
    // no erase cuts into a model drawn in the same tick.
    void RedrawModels(CModelBase* const* drawn, int count, const CGridTmpl<double>& lookAt,
                      const CGridTmpl<double>& eye) {
        m_view[0].DrawFrame(drawn, count, lookAt, eye);
    }

    // Brings all nine status edits, visible or not, up to date. An edit is
    // written only when its text changed: an edit given its text again lays it
    // out again and loses the user's selection and caret. Nothing is
    // formatted while the numbers stay as they were (the eye often stands
    // still); they are compared bit for bit, so that 0 and -0 differ as their
    // texts do.
    void UpdateStatus(const CGridTmpl<double>& eye, const CGridTmpl<double>& lookAt,
                      const CGridTmpl<double>& rotRate) {
        const double numbers[9] = {eye.x,    eye.y,    eye.z,     lookAt.x, lookAt.y,
                                   lookAt.z, rotRate.x, rotRate.y, rotRate.z};
        if (m_statusFormatted && std::memcmp(numbers, m_statusNumbers, sizeof numbers) == 0) {
            return;
        }
        std::memcpy(m_statusNumbers, numbers, sizeof numbers);
        m_statusFormatted = true;
        for (int i = 0; i < 6; ++i) {
            FormatStatusNumber(m_statusText, numbers[i]);
            ShowStatus(i);
        }
        FormatStatusLine(m_statusText, L"視点座標 : ", eye.x, eye.y, eye.z, L"");
        ShowStatus(6);
        FormatStatusLine(m_statusText, L"注視点座標 : ", lookAt.x, lookAt.y, lookAt.z, L"");
        ShowStatus(7);
        FormatStatusLine(m_statusText, L"モデル回転率 : ", rotRate.x * kTicksPerSecond,
                         rotRate.y * kTicksPerSecond, rotRate.z * kTicksPerSecond, L" [rad/s]");
        ShowStatus(8);
    }

    // A tick's status update: a page that is not on show leaves it until it
    // is shown (WM_SHOWWINDOW).
    void UpdateStatusIfShown() {
        m_statusOwed = !::IsWindowVisible(this->m_hWnd);
        if (!m_statusOwed) {
            static_cast<T*>(this)->UpdateStatus();
        }
    }

    // m_statusText into edit i, unless the edit holds it already.
    void ShowStatus(int i) {
        if (std::wcscmp(m_statusText, m_shownText[i]) != 0) {
            std::wcscpy(m_shownText[i], m_statusText);
            ::SetWindowTextW(m_hEdits[i], m_statusText);
        }
    }

    // Only the part of the drawing area that the frame changed.
    void RequestRepaint() { m_view[0].InvalidateChanges(); }

    // Commands both pages answer alike. OK and Cancel are ignored: ending a
    // page would leave an empty tab with no way back.
    bool HandleCommonCommand(WORD id) {
        switch (id) {
            case ID_APP_ABOUT: {
                CSimpleDialog<IDD_ABOUTBOX, false> about;
                about.DoModal(::GetActiveWindow());
                return true;
            }
            case IDOK:
            case IDCANCEL:
                return true;
            default:
                return false;
        }
    }

    static constexpr int kStatusEdits = 9;  // 1025 to 1033

    HWND m_hButton1 = nullptr;  // hidden buttons 1001 and 1002: kept, never used
    HWND m_hButton2 = nullptr;
    HWND m_hGroupEye = nullptr;
    HWND m_hGroupSecond = nullptr;
    HWND m_hEdits[kStatusEdits] = {};
    HWND m_hFrame = nullptr;  // placeholder 1000 that hosts the drawing area
    CStaticView m_view[kSceneViews];
    StatusText m_statusText = {};
    StatusText m_shownText[kStatusEdits] = {};  // what each edit holds
    bool m_statusOwed = false;                  // a tick left the edits unwritten
    double m_statusNumbers[9] = {};             // what the edits were formatted from
    bool m_statusFormatted = false;
};
