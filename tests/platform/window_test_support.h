// Shared by the window-layer tests, which run on both back ends: a resource
// table of test dialogs, window classes that log what they hear, and a
// fixture that checks every test leaves no window behind.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/dialog_impl.h"
#include "platform/resources.h"
#include "platform/window_impl.h"
#include "tests/platform/backend_support.h"

// Found by argument-dependent lookup, beside RECT.
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
    return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace lunvik::test {

inline constexpr int kPageDialog = 200;  // child dialog with every control class
inline constexpr int kFrame = 1000, kGo = 1001, kHidden = 1002, kPlain = 1004, kGroup = 1005;
inline constexpr int kTyped = 1008, kAlso = 1009;

inline const SDialogControl kPageControls[] = {
    // Its client area is 148 x 84 pixels: whole device pixels at scale 1.5 too.
    {kFrame, EControlClass::Static, nullptr, 7, 36, 101, 54, SS_BLACKFRAME | WS_BORDER | WS_VISIBLE,
     WS_EX_CLIENTEDGE},
    {kGo, EControlClass::PushButton, L"Go", 121, 40, 50, 14, WS_VISIBLE | WS_TABSTOP, 0},
    {kHidden, EControlClass::PushButton, L"=>", 121, 60, 28, 14, WS_TABSTOP, 0},
    {1003, EControlClass::Edit, nullptr, 7, 7, 40, 14,
     ES_READONLY | ES_CENTER | WS_BORDER | WS_VISIBLE, 0},
    {kPlain, EControlClass::Edit, nullptr, 7, 20, 130, 14, ES_READONLY | WS_VISIBLE, 0},
    // Drawn after the button it frames: it must not take the button's clicks.
    {kGroup, EControlClass::GroupBox, L"視点", 115, 30, 70, 50, WS_VISIBLE, 0},
    {1006, EControlClass::Static, L"notice", 120, 85, 60, 10, SS_CENTER | WS_VISIBLE, 0},
    // Tab stops besides kGo: a disabled one, an edit and a button.
    {1007, EControlClass::PushButton, L"Off", 150, 60, 28, 14,
     WS_VISIBLE | WS_TABSTOP | WS_DISABLED, 0},
    {kTyped, EControlClass::Edit, nullptr, 140, 7, 40, 14, WS_BORDER | WS_VISIBLE | WS_TABSTOP, 0},
    {kAlso, EControlClass::PushButton, L"Also", 150, 20, 28, 14, WS_VISIBLE | WS_TABSTOP, 0},
};

inline const SDialogTemplate kDialogs[] = {
    {kPageDialog, WS_CHILD | WS_BORDER | DS_SETFONT, nullptr, 201, 101, L"MS Sans Serif", 8,
     kPageControls},
};

inline const SResourceTable kResources = {kDialogs, {}, {}, {}, {}};

struct SMessage {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// Logs every message into a shared journal, so that tests can check order
// across windows.
class CJournal {
  public:
    std::vector<SMessage> m_entries;
    // Messages of that id, to one window or (no window given) to any.
    int Count(UINT msg, HWND hwnd = nullptr) const {
        return static_cast<int>(std::count_if(m_entries.begin(), m_entries.end(), [&](auto& e) {
            return e.msg == msg && (hwnd == nullptr || e.hwnd == hwnd);
        }));
    }
};

// A window class that logs what it hears; a hook lets a test act on a message
// (true: handled, with the result in lResult).
template <class TBase>
class CLogged : public TBase {
  public:
    CJournal* m_journal = nullptr;
    std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> m_hook;
    int m_finalMessages = 0;

    BOOL ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD = 0) override {
        if (m_journal != nullptr) {
            m_journal->m_entries.push_back({hwnd, msg, wParam, lParam});
        }
        return m_hook && m_hook(msg, wParam, lParam, result) ? TRUE : FALSE;
    }
    void OnFinalMessage(HWND) override { ++m_finalMessages; }
};

class CTestWindow : public CLogged<CWindowImpl<CTestWindow, CStaticT<CWindow>>> {};

// The style of a test's top-level windows: on Win32 a window with WS_CHILD,
// the class's default, needs a parent (and so does a page dialog).
inline constexpr DWORD kTopLevel = WS_POPUP;

class CPageDialog : public CLogged<CDialogImpl<CPageDialog>> {
  public:
    enum { IDD = kPageDialog };
};

// A page dialog with a view window over the client area of its framed
// placeholder, logging into the journal, as a drawing area sits on its page.
struct SPageWithView {
    CTestWindow top;
    CPageDialog page;
    CJournal journal;
    CTestWindow view;
    HWND parent = top.Create(nullptr, RECT{0, 0, 400, 300}, nullptr, kTopLevel);
    HWND hwnd = page.Create(parent);
    HWND placeholder = GetDlgItem(hwnd, kFrame);
    HWND child = CreateView();

  private:
    HWND CreateView() {
        RECT rc{};
        GetClientRect(placeholder, &rc);
        view.m_journal = &journal;
        return view.Create(placeholder, rc);
    }
};

// A page dialog logging into its journal, on a top-level window; both shown.
struct SShownDialog {
    explicit SShownDialog(LPARAM init = 0) {
        dialog.m_journal = &journal;
        hwnd =
            dialog.Create(parent.Create(nullptr, RECT{0, 0, 400, 300}, nullptr, kTopLevel), init);
        ShowWindow(parent, SW_SHOW);
        ShowWindow(hwnd, SW_SHOW);
    }
    CJournal journal;
    CTestWindow parent;
    CPageDialog dialog;
    HWND hwnd = nullptr;
};

// Top-level windows that log into journal, each on a 10 ms timer of id 7.
template <std::size_t N>
void StartTimedWindows(CTestWindow (&windows)[N], HWND (&handles)[N], CJournal& journal) {
    for (std::size_t i = 0; i < N; ++i) {
        windows[i].m_journal = &journal;
        handles[i] = windows[i].Create(nullptr, RECT{0, 0, 10, 10}, nullptr, kTopLevel);
        ASSERT_NE(SetTimer(handles[i], 7, 10, nullptr), 0u);
    }
}

// Every test starts with the test resources and must leave no window behind.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override { SetResources(&kResources); }
    void TearDown() override { EXPECT_EQ(DestroyAndCountLeft(), 0) << "windows left behind"; }
};

}  // namespace lunvik::test
