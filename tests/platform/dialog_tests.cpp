// Dialogs from templates: controls, geometry, commands, modal runs, keys.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "tests/platform/window_test_support.h"

namespace lunvik::test {
namespace {

using PlatformDialog = WindowTest;

QRect PixelRect(int x, int y, int cx, int cy, QPoint origin) {
    return QRect(origin.x() + MulDiv(x, 6, 4), origin.y() + MulDiv(y, 13, 8), MulDiv(cx, 6, 4),
                 MulDiv(cy, 13, 8));
}

TEST(PlatformMulDiv, RoundsHalfAwayFromZeroAndReportsFailure) {
    EXPECT_EQ(MulDiv(7, 6, 4), 11);    // 10.5
    EXPECT_EQ(MulDiv(-7, 6, 4), -11);  // -10.5
    EXPECT_EQ(MulDiv(3, 13, 8), 5);    // 4.875
    EXPECT_EQ(MulDiv(5, 13, 8), 8);    // 8.125
    EXPECT_EQ(MulDiv(36, 13, 8), 59);  // 58.5
    EXPECT_EQ(MulDiv(7, 6, -4), -11);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(0x7FFFFFFF, 4, 1), -1);
}

TEST_F(PlatformDialog, InitDialogArrivesOnceWithTheControlsInPlace) {
    CJournal journal;
    CPageDialog dialog;
    dialog.m_journal = &journal;
    bool controlsThere = false;
    dialog.m_hook = [&](UINT msg, WPARAM, LPARAM, LRESULT& result) {
        if (msg != WM_INITDIALOG) {
            return false;
        }
        controlsThere = dialog.GetDlgItem(1001) != nullptr && dialog.GetDlgItem(1002) != nullptr &&
                        dialog.GetDlgItem(1006) != nullptr;
        result = TRUE;
        return true;
    };
    const HWND hwnd = dialog.Create(nullptr, 1234);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(dialog.m_hWnd, hwnd);
    EXPECT_EQ(journal.Count(WM_INITDIALOG), 1);
    EXPECT_EQ(journal.Count(WM_CREATE), 0);
    EXPECT_TRUE(controlsThere);
    const SMessage& init = journal.m_entries.front();
    EXPECT_EQ(init.msg, WM_INITDIALOG);
    EXPECT_EQ(init.wParam, 0u);
    EXPECT_EQ(init.lParam, 1234);
    EXPECT_EQ(dialog.Create(nullptr), nullptr) << "one window per object";
}

TEST_F(PlatformDialog, ControlsArePlacedInDialogUnitsInsideTheClientArea) {
    CTestWindow parent;
    ASSERT_NE(parent.Create(nullptr, RECT{0, 0, 600, 400}, nullptr, WS_OVERLAPPED), nullptr);
    CPageDialog dialog;
    const HWND hwnd = dialog.Create(parent);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(W(hwnd)->parentWidget(), W(parent));
    EXPECT_EQ(GetParent(hwnd), parent.m_hWnd);
    EXPECT_FALSE(W(hwnd)->isWindow());

    // The border of a WS_BORDER child dialog lies outside its client area.
    RECT client;
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(client.right, MulDiv(201, 6, 4));
    EXPECT_EQ(client.bottom, MulDiv(101, 13, 8));
    const QPoint origin(1, 1);
    EXPECT_EQ(W(GetDlgItem(hwnd, 1001))->geometry(), PixelRect(121, 40, 50, 14, origin));
    EXPECT_EQ(W(GetDlgItem(hwnd, 1000))->geometry(), PixelRect(7, 36, 101, 55, origin));
    EXPECT_EQ(W(GetDlgItem(hwnd, 1000))->geometry(), QRect(12, 60, 152, 89));

    // Border plus client edge: the black frame's client area is 3 pixels in.
    RECT frameClient;
    ASSERT_TRUE(GetClientRect(GetDlgItem(hwnd, 1000), &frameClient));
    EXPECT_EQ(frameClient.right, 152 - 6);
    EXPECT_EQ(frameClient.bottom, 89 - 6);

    // A top-level dialog has no frame of its own around the client area.
    CPageDialog topLevel;
    const HWND top = topLevel.Create(nullptr);
    EXPECT_TRUE(W(top)->isWindow());
    EXPECT_EQ(W(GetDlgItem(top, 1001))->geometry(), PixelRect(121, 40, 50, 14, QPoint(0, 0)));
}

TEST_F(PlatformDialog, ControlsHaveTheirClassAndStyle) {
    CPageDialog dialog;
    const HWND hwnd = dialog.Create(nullptr);
    ShowWindow(hwnd, SW_SHOW);
    auto* centred = qobject_cast<QLineEdit*>(W(GetDlgItem(hwnd, 1003)));
    auto* plain = qobject_cast<QLineEdit*>(W(GetDlgItem(hwnd, 1004)));
    ASSERT_TRUE(centred && plain);
    EXPECT_TRUE(centred->isReadOnly());
    EXPECT_TRUE(centred->hasFrame());
    EXPECT_FALSE(plain->hasFrame());
    EXPECT_TRUE(centred->alignment() & Qt::AlignHCenter);
    EXPECT_FALSE(plain->alignment() & Qt::AlignHCenter);
    auto* label = qobject_cast<QLabel*>(W(GetDlgItem(hwnd, 1006)));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);
    EXPECT_NE(qobject_cast<QGroupBox*>(W(GetDlgItem(hwnd, 1005))), nullptr);

    // Hidden controls exist but are never shown.
    EXPECT_NE(GetDlgItem(hwnd, 1002), nullptr);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(hwnd, 1002)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(hwnd, 1001)));
    EXPECT_EQ(GetDlgItem(hwnd, 4242), nullptr);
}

TEST_F(PlatformDialog, ButtonClickBecomesCommandWithIdAndHandle) {
    CJournal journal;
    CPageDialog dialog;
    dialog.m_journal = &journal;
    const HWND hwnd = dialog.Create(nullptr);
    ShowWindow(hwnd, SW_SHOW);
    const HWND button = GetDlgItem(hwnd, 1001);

    // The group box drawn over the button lets the mouse through to it.
    const QPoint centre = W(button)->geometry().center();
    EXPECT_EQ(W(hwnd)->childAt(centre), W(button));
    QTest::mouseClick(W(hwnd)->childAt(centre), Qt::LeftButton);
    qobject_cast<QAbstractButton*>(W(button))->click();

    ASSERT_EQ(journal.Count(hwnd, WM_COMMAND), 2);
    for (const SMessage& m : journal.m_entries) {
        if (m.msg == WM_COMMAND) {
            EXPECT_EQ(m.wParam, MAKEWPARAM(1001, BN_CLICKED));
            EXPECT_EQ(m.lParam, reinterpret_cast<LPARAM>(button));
        }
    }
}

TEST_F(PlatformDialog, WindowTextReachesTheControls) {
    CPageDialog dialog;
    const HWND hwnd = dialog.Create(nullptr);
    const HWND edit = GetDlgItem(hwnd, 1004);
    ASSERT_TRUE(SetWindowTextW(edit, L"視点座標 : x = 0.00"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(W(edit))->text(), QStringLiteral("視点座標 : x = 0.00"));
    // Shown from its start, so a line too long for its edit keeps its label in view.
    EXPECT_EQ(qobject_cast<QLineEdit*>(W(edit))->cursorPosition(), 0);
    SetWindowTextW(GetDlgItem(hwnd, 1005), L"視点座標");
    EXPECT_EQ(qobject_cast<QGroupBox*>(W(GetDlgItem(hwnd, 1005)))->title(),
              QStringLiteral("視点座標"));
    SetWindowTextW(GetDlgItem(hwnd, 1001), L"停止");
    EXPECT_EQ(qobject_cast<QAbstractButton*>(W(GetDlgItem(hwnd, 1001)))->text(),
              QStringLiteral("停止"));

    wchar_t text[5];
    EXPECT_EQ(GetWindowTextW(edit, text, 5), 4);
    EXPECT_EQ(std::wstring(text), L"視点座標");
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

TEST_F(PlatformDialog, EnterAndEscapeInAModalDialog) {
    PressInActiveWindow(Qt::Key_Return);
    EXPECT_EQ((CSimpleDialog<kModalDialog, FALSE>().DoModal(nullptr)), IDOK);
    PressInActiveWindow(Qt::Key_Escape);
    EXPECT_EQ((CSimpleDialog<kModalDialog, FALSE>().DoModal(nullptr)), IDCANCEL);
    // Enter is the default push button's command, whatever IDOK does.
    PressInActiveWindow(Qt::Key_Enter);
    EXPECT_EQ((CSimpleDialog<kYesDialog>().DoModal(nullptr)), IDYES);
    // The close box is Cancel.
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ((CSimpleDialog<kYesDialog>().DoModal(nullptr)), IDCANCEL);
}

TEST_F(PlatformDialog, ModalRunKeepsOtherTimersTickingAndReturnsTheCode) {
    CJournal journal;
    CTestWindow ticker;
    ticker.m_journal = &journal;
    ASSERT_NE(ticker.Create(nullptr, RECT{0, 0, 50, 50}), nullptr);
    ticker.SetTimer(0, 10);

    CModalDialog modal;
    modal.m_hook = [&](UINT msg, WPARAM, LPARAM, LRESULT& result) {
        if (msg == WM_INITDIALOG) {
            modal.SetTimer(1, 10);
            result = TRUE;
            return true;
        }
        if (msg == WM_TIMER && journal.Count(ticker, WM_TIMER) >= 3) {
            modal.EndDialog(42);
        }
        return false;
    };
    EXPECT_EQ(modal.DoModal(ticker), 42);
    EXPECT_GE(journal.Count(ticker, WM_TIMER), 3);
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
