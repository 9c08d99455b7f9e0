// Dialogs from templates: controls, geometry, texts and commands. Run on
// both back ends.

#include "tests/platform/window_test_support.h"

namespace lunvik::test {
namespace {

using PlatformDialog = WindowTest;

TEST_F(PlatformDialog, ControlsArePlacedInDialogUnitsInsideTheClientArea) {
    CTestWindow parent;
    ASSERT_NE(parent.Create(nullptr, RECT{0, 0, 600, 400}, nullptr, kTopLevel), nullptr);
    CPageDialog dialog;
    const HWND hwnd = dialog.Create(parent);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(GetParent(hwnd), parent.m_hWnd);
    EXPECT_EQ(dialog.Create(parent), nullptr) << "one window per object";

    // x * 6 / 4 and y * 13 / 8, halves rounded up, in the client area: the
    // border of a WS_BORDER child dialog lies outside it.
    RECT client, frameClient;
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(client, (RECT{0, 0, 302, 164}));
    EXPECT_EQ(ChildRect(GetDlgItem(hwnd, kGo)), (RECT{182, 65, 182 + 75, 65 + 23}));
    EXPECT_EQ(ChildRect(GetDlgItem(hwnd, kFrame)), (RECT{11, 59, 11 + 152, 59 + 88}));
    // A dialog turns a control's border into a client edge, as Win32 does:
    // the black frame's client area is 2 pixels in, not 3.
    ASSERT_TRUE(GetClientRect(GetDlgItem(hwnd, kFrame), &frameClient));
    EXPECT_EQ(frameClient, (RECT{0, 0, 152 - 4, 88 - 4}));
}

TEST_F(PlatformDialog, ControlsShowTheirTextsInGlyphsOfTheDialogFont) {
    SShownDialog shown;
    const HWND hwnd = shown.hwnd;
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(hwnd, kHidden)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(hwnd, kGo)));
    const HWND plain = GetDlgItem(hwnd, kPlain);
    ASSERT_TRUE(SetWindowTextW(plain, L"視点座標 : x = 0.00"));
    wchar_t text[5];
    EXPECT_EQ(GetWindowTextW(plain, text, 5), 4);
    EXPECT_EQ(std::wstring(text), L"視点座標");
    // Japanese and Latin from the fonts built into the program, whatever the
    // machine has installed.
    EXPECT_TRUE(DrawsGlyphs(plain, L"視点座標 : x = 0.00"));
    EXPECT_TRUE(DrawsGlyphs(GetDlgItem(hwnd, kGroup), L"視点"));
    EXPECT_FALSE(DrawsGlyphs(plain, L"\u4E00")) << "a character the program never writes";
}

TEST_F(PlatformDialog, InitDialogComesFirstAndAClickBecomesCommandWithIdAndHandle) {
    SShownDialog shown(1234);
    auto& [journal, parent, dialog, hwnd] = shown;
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(journal.m_entries.front().msg, WM_INITDIALOG);
    EXPECT_EQ(journal.m_entries.front().lParam, 1234);

    // The group box drawn over the button lets the mouse through to it.
    const HWND button = GetDlgItem(hwnd, kGo);
    ClickCentre(button);
    ASSERT_EQ(journal.Count(WM_COMMAND, hwnd), 1);
    EXPECT_EQ(journal.m_entries.back().wParam, MAKEWPARAM(kGo, BN_CLICKED));
    EXPECT_EQ(journal.m_entries.back().lParam, reinterpret_cast<LPARAM>(button));
}

// Tab and Shift+Tab visit the visible, enabled controls with WS_TABSTOP in
// template order, round the end; Enter presses the focused push button, which
// the dialog has made its default one.
TEST_F(PlatformDialog, TabVisitsTheTabStopsInTemplateOrderAndEnterPressesTheFocusedButton) {
    SShownDialog shown;
    auto& [journal, parent, dialog, hwnd] = shown;
    const auto item = [dlg = hwnd](int id) { return GetDlgItem(dlg, id); };  // clang 14: no binding
    Focus(item(kGo));
    ASSERT_EQ(Focused(), item(kGo));
    PressKey(VK_TAB);
    EXPECT_EQ(Focused(), item(kTyped))
        << "past the hidden button, the plain edits, the disabled one";
    PressKey(VK_TAB);
    EXPECT_EQ(Focused(), item(kAlso));
    PressKey(VK_RETURN);
    PressKey(VK_TAB);
    EXPECT_EQ(Focused(), item(kGo));
    PressKey(VK_RETURN);
    PressKey(VK_TAB, true);
    EXPECT_EQ(Focused(), item(kAlso));
    PressKey(VK_TAB, true);
    EXPECT_EQ(Focused(), item(kTyped));
    std::vector<WPARAM> commands;
    for (const SMessage& m : journal.m_entries) {
        if (m.msg == WM_COMMAND && HIWORD(m.wParam) == BN_CLICKED) {  // not an edit's EN_SETFOCUS
            commands.push_back(m.wParam);
        }
    }
    EXPECT_EQ(commands,
              (std::vector<WPARAM>{MAKEWPARAM(kAlso, BN_CLICKED), MAKEWPARAM(kGo, BN_CLICKED)}));
}

}  // namespace
}  // namespace lunvik::test
