// Shared by the window-layer tests: a resource table of test dialogs, window
// classes that log what they hear, and a fixture that checks every test leaves
// no widget behind.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <vector>

#include "platform/dialog_impl.h"
#include "platform/qt/handle.h"
#include "platform/resources.h"
#include "platform/window_impl.h"

namespace lunvik::test {

inline constexpr int kPageDialog = 200;  // child dialog with every control class
inline constexpr int kFrame = 1000, kGo = 1001, kHidden = 1002, kPlain = 1004, kGroup = 1005;

inline const SDialogControl kPageControls[] = {
    {kFrame, EControlClass::Static, nullptr, 7, 36, 101, 55, SS_BLACKFRAME | WS_BORDER | WS_VISIBLE,
     WS_EX_CLIENTEDGE},
    {kGo, EControlClass::PushButton, L"Go", 121, 40, 50, 14, WS_VISIBLE | WS_TABSTOP, 0},
    {kHidden, EControlClass::PushButton, L"=>", 121, 60, 28, 14, WS_TABSTOP, 0},
    {1003, EControlClass::Edit, nullptr, 7, 7, 40, 14,
     ES_READONLY | ES_CENTER | WS_BORDER | WS_VISIBLE, 0},
    {kPlain, EControlClass::Edit, nullptr, 7, 20, 130, 14, ES_READONLY | WS_VISIBLE, 0},
    // Drawn after the button it frames: it must not take the button's clicks.
    {kGroup, EControlClass::GroupBox, L"視点", 115, 30, 70, 50, WS_VISIBLE, 0},
    {1006, EControlClass::Static, L"notice", 120, 85, 60, 10, SS_CENTER | WS_VISIBLE, 0},
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

class CPageDialog : public CLogged<CDialogImpl<CPageDialog>> {
  public:
    enum { IDD = kPageDialog };
};

inline QWidget* W(HWND hwnd) {
    return WidgetFromHandle(hwnd);
}

// A page dialog with a view window over the client area of its framed
// placeholder, logging into the journal, as a drawing area sits on its page.
struct SPageWithView {
    CPageDialog page;
    CJournal journal;
    CTestWindow view;
    HWND hwnd = page.Create(nullptr);
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
        qDeleteAll(QApplication::topLevelWidgets());  // so that one failure does not cascade
    }
    static void DeleteDestroyed() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

}  // namespace lunvik::test
