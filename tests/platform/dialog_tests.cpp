// Dialogs from templates: controls, geometry, texts and commands.
#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

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
    EXPECT_EQ(GetParent(hwnd), parent.m_hWnd);
    EXPECT_EQ(dialog.Create(parent), nullptr) << "one window per object";

    // x * 6 / 4 and y * 13 / 8, halves rounded up; the border of a WS_BORDER
    // child dialog lies outside its client area, so a top-level one (no
    // border) has its controls one pixel further up and left.
    RECT client, frameClient;
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(QSize(client.right, client.bottom), QSize(302, 164));
    EXPECT_EQ(W(GetDlgItem(hwnd, kGo))->geometry(), QRect(183, 66, 75, 23));
    EXPECT_EQ(W(GetDlgItem(hwnd, kFrame))->geometry(), QRect(12, 60, 152, 89));
    // A dialog turns a control's border into a client edge, as Win32 does:
    // the black frame's client area is 2 pixels in, not 3.
    ASSERT_TRUE(GetClientRect(GetDlgItem(hwnd, kFrame), &frameClient));
    EXPECT_EQ(QSize(frameClient.right, frameClient.bottom), QSize(152 - 4, 89 - 4));
    CPageDialog topLevel;
    EXPECT_EQ(W(GetDlgItem(topLevel.Create(nullptr), kGo))->geometry(), QRect(182, 65, 75, 23));
}

TEST_F(PlatformDialog, ControlsShowTheirTexts) {
    CPageDialog dialog;
    const HWND hwnd = dialog.Create(nullptr);
    ShowWindow(hwnd, SW_SHOW);
    auto* plain = qobject_cast<QLineEdit*>(W(GetDlgItem(hwnd, kPlain)));
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(hwnd, kHidden)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(hwnd, kGo)));
    ASSERT_TRUE(SetWindowTextW(GetDlgItem(hwnd, kPlain), L"視点座標 : x = 0.00"));
    EXPECT_EQ(plain->text(), QStringLiteral("視点座標 : x = 0.00"));
    // Shown from its start, so a line too long for its edit keeps its label in view.
    EXPECT_EQ(plain->cursorPosition(), 0);
    wchar_t text[5];
    EXPECT_EQ(GetWindowTextW(GetDlgItem(hwnd, kPlain), text, 5), 4);
    EXPECT_EQ(std::wstring(text), L"視点座標");
    // The text it holds again leaves the edit alone (the cursor stays); any
    // other text replaces it, a prefix or one outside the 16-bit range too.
    for (const wchar_t* next :
         {L"視点座標 : x = 0.00", L"視点座標 : x = 0.0", L"視点座標 : x = 0.000", L"\U0001D465 = 1",
          L"\U0001D465 = 1", L"\U0001D466 = 1", L""}) {
        plain->setCursorPosition(2);
        const bool same = plain->text() == QString::fromWCharArray(next);
        EXPECT_TRUE(SetWindowTextW(GetDlgItem(hwnd, kPlain), next));
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
    ShowWindow(hwnd, SW_SHOW);

    // The group box drawn over the button lets the mouse through to it.
    const HWND button = GetDlgItem(hwnd, kGo);
    QTest::mouseClick(W(hwnd)->childAt(W(button)->geometry().center()), Qt::LeftButton);
    ASSERT_EQ(journal.Count(WM_COMMAND, hwnd), 1);
    EXPECT_EQ(journal.m_entries.back().wParam, MAKEWPARAM(kGo, BN_CLICKED));
    EXPECT_EQ(journal.m_entries.back().lParam, reinterpret_cast<LPARAM>(button));
}

}  // namespace
}  // namespace lunvik::test
