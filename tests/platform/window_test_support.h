// Shared by the window-layer tests: a resource table of test dialogs, menus,
// accelerators and an icon, window classes that log what they hear, and a
// fixture that checks every test leaves no widget behind.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <array>
#include <functional>
#include <vector>

#include "platform/dialog_impl.h"
#include "platform/qt/handle.h"
#include "platform/resources.h"
#include "platform/window_impl.h"

namespace lunvik::test {

inline constexpr int kPageDialog = 200;   // child dialog with every control class
inline constexpr int kModalDialog = 201;  // top-level box: OK, and Yes as its default button

inline const SDialogControl kPageControls[] = {
    {1000, EControlClass::Static, nullptr, 7, 36, 101, 55, SS_BLACKFRAME | WS_BORDER | WS_VISIBLE,
     WS_EX_CLIENTEDGE},
    {1001, EControlClass::PushButton, L"Go", 121, 40, 50, 14, WS_VISIBLE | WS_TABSTOP, 0},
    {1002, EControlClass::PushButton, L"=>", 121, 60, 28, 14, WS_TABSTOP, 0},
    {1003, EControlClass::Edit, nullptr, 7, 7, 40, 14,
     ES_READONLY | ES_CENTER | WS_BORDER | WS_VISIBLE, 0},
    {1004, EControlClass::Edit, nullptr, 7, 20, 130, 14, ES_READONLY | WS_VISIBLE, 0},
    // Drawn after the button it frames: it must not take the button's clicks.
    {1005, EControlClass::GroupBox, L"視点", 115, 30, 70, 50, WS_VISIBLE, 0},
    {1006, EControlClass::Static, L"notice", 120, 85, 60, 10, SS_CENTER | WS_VISIBLE, 0},
};

inline const SDialogControl kModalControls[] = {
    {IDOK, EControlClass::PushButton, L"OK", 130, 81, 50, 14, WS_VISIBLE | WS_TABSTOP, 0},
    {IDYES, EControlClass::PushButton, L"Yes", 70, 81, 50, 14,
     BS_DEFPUSHBUTTON | WS_VISIBLE | WS_TABSTOP, 0},
};

inline const SDialogTemplate kDialogs[] = {
    {kPageDialog, WS_CHILD | WS_BORDER | DS_SETFONT, nullptr, 201, 101, L"MS Sans Serif", 8,
     kPageControls},
    {kModalDialog, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, L"Box", 187,
     102, L"MS Sans Serif", 8, kModalControls},
};

inline const SMenuItem kMenuItems[] = {
    {SMenuItem::Popup, L"&Help", 0},
    {SMenuItem::Item, L"&About us...", 57664},
    {SMenuItem::EndPopup, nullptr, 0},
};
inline const SMenuResource kMenus[] = {{128, kMenuItems}};

inline const SAccelEntry kAccelEntries[] = {
    {FVIRTKEY | FCONTROL, 'N', 57600},
    {FVIRTKEY, VK_F6, 57680},
    {FVIRTKEY | FSHIFT, VK_F6, 57681},
};
inline const SAccelResource kAccels[] = {{128, kAccelEntries}};

inline const SIconColor kIconPalette[] = {{'.', 0x00000000}, {'r', 0xFFFF0000}};
inline constexpr char kRedRow[] = "rrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrr";
inline constexpr char kClearRow[] = "................................";
// A red top row and transparent elsewhere: the rows of a size-N image are the
// last N characters of the 32-character ones.
template <int N>
const char* const* IconRows() {
    static const std::array<const char*, N> rows = [] {
        std::array<const char*, N> r;
        r.fill(kClearRow + 32 - N);
        r[0] = kRedRow + 32 - N;
        return r;
    }();
    return rows.data();
}
inline const SIconImage kIconImages[] = {{16, IconRows<16>(), kIconPalette},
                                         {32, IconRows<32>(), kIconPalette}};
inline const SIconResource kIcons[] = {{128, kIconImages}};

inline const SResourceTable kResources = {kDialogs, {}, kMenus, kAccels, kIcons};

struct SMessage {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// Logs every message into a shared journal, so that tests can check order
// across windows; hooks let a test act on a message.
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

template <class TBase>
class CLogged : public TBase {
  public:
    CJournal* m_journal = nullptr;
    // Return true when handled; result goes to lResult.
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

class CPageDialog : public CLogged<CDialogImpl<CPageDialog>> {
  public:
    enum { IDD = kPageDialog };
};

class CModalDialog : public CLogged<CDialogImpl<CModalDialog>> {
  public:
    enum { IDD = kModalDialog };
};

inline QWidget* W(HWND hwnd) {
    return WidgetFromHandle(hwnd);
}

// Every test starts with the test resources and must leave no widget behind.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override { SetResources(&kResources); }
    void TearDown() override {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            DestroyWindow(HandleFromWidget(widget));
        }
        DeleteDestroyed();
        EXPECT_EQ(QApplication::allWidgets().size(), 0) << "widgets left behind";
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            delete widget;  // so that one failure does not cascade
        }
    }
    static void DeleteDestroyed() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

}  // namespace lunvik::test
