// Dialogs from templates: controls, geometry, commands, modal runs, keys.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "tests/platform/window_test_support.h"

namespace lunvik::test {
namespace {

using PlatformDialog = WindowTest;

TEST_F(PlatformDialog, ControlsArePlacedInDialogUnitsInsideTheClientArea) {
    CTestWindow parent;
    ASSERT_NE(parent.Create(nullptr, RECT{0, 0, 600, 400}, nullptr, WS_OVERLAPPED), nullptr);
    CPageDialog dialog;
    const HWND hwnd = dialog.Create(parent);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(W(hwnd)->parentWidget(), W(parent));
    EXPECT_EQ(GetParent(hwnd), parent.m_hWnd);
    EXPECT_FALSE(W(hwnd)->isWindow());

    // x * 6 / 4 and y * 13 / 8, halves rounded up; the border of a WS_BORDER
    // child dialog lies outside its client area.
    RECT client;
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(client.right, 302);
    EXPECT_EQ(client.bottom, 164);
    EXPECT_EQ(W(GetDlgItem(hwnd, 1001))->geometry(), QRect(183, 66, 75, 23));
    EXPECT_EQ(W(GetDlgItem(hwnd, 1000))->geometry(), QRect(12, 60, 152, 89));
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(0x7FFFFFFF, 4, 1), -1);

    // Border plus client edge: the black frame's client area is 3 pixels in.
    RECT frameClient;
    ASSERT_TRUE(GetClientRect(GetDlgItem(hwnd, 1000), &frameClient));
    EXPECT_EQ(frameClient.right, 152 - 6);
    EXPECT_EQ(frameClient.bottom, 89 - 6);

    // A top-level dialog has no frame of its own around the client area.
    CPageDialog topLevel;
    const HWND top = topLevel.Create(nullptr);
    EXPECT_TRUE(W(top)->isWindow());
    EXPECT_EQ(W(GetDlgItem(top, 1001))->geometry(), QRect(182, 65, 75, 23));
}

TEST_F(PlatformDialog, ControlsHaveTheirClassStyleAndText) {
    CPageDialog dialog;
    const HWND hwnd = dialog.Create(nullptr);
    ShowWindow(hwnd, SW_SHOW);
    auto* centred = qobject_cast<QLineEdit*>(W(GetDlgItem(hwnd, 1003)));
    auto* plain = qobject_cast<QLineEdit*>(W(GetDlgItem(hwnd, 1004)));
    auto* label = qobject_cast<QLabel*>(W(GetDlgItem(hwnd, 1006)));
    auto* group = qobject_cast<QGroupBox*>(W(GetDlgItem(hwnd, 1005)));
    ASSERT_TRUE(centred && plain && label && group);
    EXPECT_TRUE(centred->isReadOnly());
    EXPECT_TRUE(centred->hasFrame());
    EXPECT_FALSE(plain->hasFrame());
    EXPECT_TRUE(centred->alignment() & Qt::AlignHCenter);
    EXPECT_FALSE(plain->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);

    // Hidden controls exist but are never shown.
    EXPECT_NE(GetDlgItem(hwnd, 1002), nullptr);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(hwnd, 1002)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(hwnd, 1001)));
    EXPECT_EQ(GetDlgItem(hwnd, 4242), nullptr);

    ASSERT_TRUE(SetWindowTextW(GetDlgItem(hwnd, 1004), L"視点座標 : x = 0.00"));
    EXPECT_EQ(plain->text(), QStringLiteral("視点座標 : x = 0.00"));
    // Shown from its start, so a line too long for its edit keeps its label in view.
    EXPECT_EQ(plain->cursorPosition(), 0);
    SetWindowTextW(GetDlgItem(hwnd, 1005), L"視点座標");
    EXPECT_EQ(group->title(), QStringLiteral("視点座標"));
    SetWindowTextW(GetDlgItem(hwnd, 1001), L"停止");
    EXPECT_EQ(qobject_cast<QAbstractButton*>(W(GetDlgItem(hwnd, 1001)))->text(),
              QStringLiteral("停止"));
    wchar_t text[5];
    EXPECT_EQ(GetWindowTextW(GetDlgItem(hwnd, 1004), text, 5), 4);
    EXPECT_EQ(std::wstring(text), L"視点座標");
    // The text it holds again leaves the edit alone (the cursor stays); any
    // other text replaces it, a prefix or one outside the 16-bit range too.
    for (const wchar_t* next :
         {L"視点座標 : x = 0.00", L"視点座標 : x = 0.0", L"視点座標 : x = 0.000", L"\U0001D465 = 1",
          L"\U0001D465 = 1", L"\U0001D466 = 1", L""}) {
        plain->setCursorPosition(2);
        const bool same = plain->text() == QString::fromWCharArray(next);
        EXPECT_TRUE(SetWindowTextW(GetDlgItem(hwnd, 1004), next));
        EXPECT_EQ(plain->text(), QString::fromWCharArray(next));
        EXPECT_EQ(plain->cursorPosition(), same ? 2 : 0);
    }
}

TEST_F(PlatformDialog, InitDialogComesFirstAndAClickBecomesCommandWithIdAndHandle) {
    CJournal journal;
    CPageDialog dialog;
    dialog.m_journal = &journal;
    const HWND hwnd = dialog.Create(nullptr, 1234);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(journal.m_entries.front().msg, WM_INITDIALOG);
    EXPECT_EQ(journal.m_entries.front().lParam, 1234);
    EXPECT_EQ(journal.Count(WM_INITDIALOG), 1);
    EXPECT_EQ(journal.Count(WM_CREATE), 0);
    ShowWindow(hwnd, SW_SHOW);
    const HWND button = GetDlgItem(hwnd, 1001);

    // The group box drawn over the button lets the mouse through to it.
    const QPoint centre = W(button)->geometry().center();
    EXPECT_EQ(W(hwnd)->childAt(centre), W(button));
    QTest::mouseClick(W(hwnd)->childAt(centre), Qt::LeftButton);
    qobject_cast<QAbstractButton*>(W(button))->click();

    ASSERT_EQ(journal.Count(WM_COMMAND, hwnd), 2);
    for (const SMessage& m : journal.m_entries) {
        if (m.msg == WM_COMMAND) {
            EXPECT_EQ(m.wParam, MAKEWPARAM(1001, BN_CLICKED));
            EXPECT_EQ(m.lParam, reinterpret_cast<LPARAM>(button));
        }
    }
}

// Ends the modal dialog that is running, from inside its loop, by a key.
void PressInActiveWindow(Qt::Key key) {
    QTimer::singleShot(0, [key] {
        QWidget* window = QApplication::activeModalWidget();
        ASSERT_NE(window, nullptr);
        QWidget* focus = window->focusWidget() != nullptr ? window->focusWidget() : window;
        QTest::keyClick(focus, key);
    });
}

TEST_F(PlatformDialog, EnterEscapeAndTheCloseBoxInAModalDialog) {
    PressInActiveWindow(Qt::Key_Escape);
    EXPECT_EQ((CSimpleDialog<kModalDialog, FALSE>().DoModal(nullptr)), IDCANCEL);
    // Enter is the default push button's command, whatever IDOK does.
    PressInActiveWindow(Qt::Key_Enter);
    EXPECT_EQ((CSimpleDialog<kModalDialog>().DoModal(nullptr)), IDYES);
    // The close box is Cancel.
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ((CSimpleDialog<kModalDialog>().DoModal(nullptr)), IDCANCEL);
}

TEST_F(PlatformDialog, ModalRunKeepsOtherTimersTickingAndReturnsTheCode) {
    CJournal journal;
    CTestWindow ticker;
    ticker.m_journal = &journal;
    ASSERT_NE(ticker.Create(nullptr, RECT{0, 0, 50, 50}), nullptr);
    ticker.SetTimer(0, 10);

    CModalDialog modal;
    modal.m_hook = [&](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_INITDIALOG) {
            modal.SetTimer(1, 10);
        } else if (msg == WM_TIMER && journal.Count(WM_TIMER, ticker) >= 3) {
            modal.EndDialog(42);
        }
        return false;
    };
    EXPECT_EQ(modal.DoModal(ticker), 42);
    EXPECT_GE(journal.Count(WM_TIMER, ticker), 3);
    EXPECT_EQ(modal.m_hWnd, nullptr);
    EXPECT_EQ(modal.m_finalMessages, 1);

    // Ended during WM_INITDIALOG: never shown, the code comes back at once.
    CModalDialog quick;
    quick.m_hook = [&](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_INITDIALOG) {
            quick.EndDialog(7);
        }
        return false;
    };
    EXPECT_EQ(quick.DoModal(nullptr), 7);
    // A template that does not exist makes no dialog.
    EXPECT_EQ((CSimpleDialog<999>().DoModal(nullptr)), -1);
}

TEST_F(PlatformDialog, ModelessEndDialogDestroysAndCentringUsesTheParent) {
    CTestWindow parent;
    ASSERT_NE(parent.Create(nullptr, RECT{0, 0, 700, 500}, nullptr, WS_OVERLAPPED), nullptr);
    CPageDialog page;
    const HWND hwnd = page.Create(parent);
    EXPECT_EQ(page.Create(parent), nullptr) << "one window per object";
    ASSERT_TRUE(page.CenterWindow());
    const QRect area = W(parent)->contentsRect();
    EXPECT_LE(std::abs(W(hwnd)->geometry().center().x() - area.center().x()), 1);
    EXPECT_LE(std::abs(W(hwnd)->geometry().center().y() - area.center().y()), 1);

    EXPECT_TRUE(page.EndDialog(1));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(page.m_hWnd, nullptr);
    EXPECT_FALSE(page.EndDialog(1));
}

}  // namespace
}  // namespace lunvik::test
