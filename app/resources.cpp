#include "app/resources.h"

#include <array>
#include <cstddef>
#include <iterator>

#include "pages/resource_ids.h"

namespace {

using C = EControlClass;

constexpr DWORD kChild = WS_CHILD;
constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
constexpr DWORD kButton = WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kButtonShown = kButton | WS_VISIBLE;
constexpr DWORD kFrame = kShown | SS_BLACKFRAME | WS_BORDER;
constexpr DWORD kGroup = kShown | BS_GROUPBOX;
constexpr DWORD kEditLine = kShown | ES_READONLY | ES_AUTOHSCROLL;

// The six number boxes are hidden on both pages; page two hides its rate line
// too and takes every edit into the tab order.
constexpr DWORD kEditBox1 = kChild | ES_READONLY | ES_AUTOHSCROLL | ES_CENTER | WS_BORDER;
constexpr DWORD kEditBox2 = kEditBox1 | WS_TABSTOP;
constexpr DWORD kEditLine2 = kEditLine | WS_TABSTOP;
constexpr DWORD kEditHidden2 = kChild | ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr DWORD kSunken = WS_EX_CLIENTEDGE;

// Where a page puts a control, in dialog units, and with which style.
struct SPlace {
    int x, y;
    DWORD style;
    int cx = 0;  // the page's own width where the pages differ; 0 for the row's
};

// A control both pages carry under the same id, class, caption and size, in
// the same order: one row, with its place on page one and on page two.
struct SPageControl {
    int id;
    EControlClass cls;
    const wchar_t* caption;
    int cx, cy;
    SPlace one, two;
    DWORD exStyle = 0;
};

constexpr SPageControl kPageControls[] = {
    {IDC_VIEW_FRAME, C::Static, nullptr, 364, 323, {7, 36, kFrame}, {7, 36, kFrame, 363}, kSunken},
    {IDC_BUTTON1, C::PushButton, L"<=", 28, 14, {279, 67, kButton}, {393, 219, kButton}},
    {IDC_BUTTON2, C::PushButton, L"=>", 28, 14, {311, 67, kButton}, {425, 219, kButton}},
    {IDC_EYE_LEFT, C::PushButton, L"<=", 28, 14, {387, 46, kButtonShown}, {393, 48, kButtonShown}},
    {IDC_EYE_RIGHT, C::PushButton, L"=>", 28, 14, {445, 46, kButtonShown}, {425, 48, kButtonShown}},
    {IDC_BUTTON5, C::PushButton, L"<=", 28, 14, {279, 104, kButton}, {393, 255, kButton}},
    {IDC_BUTTON6, C::PushButton, L"=>", 28, 14, {311, 104, kButton}, {425, 255, kButton}},
    {IDC_RATE_X_UP, C::PushButton, L"<=", 28, 14, {386, 80, kButtonShown}, {269, 154, kButton}},
    {IDC_RATE_X_DOWN, C::PushButton, L"=>", 28, 14, {445, 80, kButtonShown}, {301, 154, kButton}},
    {IDC_RATE_Y_UP, C::PushButton, L"<=", 28, 14, {386, 96, kButtonShown}, {269, 170, kButton}},
    {IDC_RATE_Y_DOWN, C::PushButton, L"=>", 28, 14, {445, 96, kButtonShown}, {301, 170, kButton}},
    {IDC_RATE_Z_UP, C::PushButton, L"<=", 28, 14, {386, 112, kButtonShown}, {269, 186, kButton}},
    {IDC_RATE_Z_DOWN, C::PushButton, L"=>", 28, 14, {445, 112, kButtonShown}, {301, 186, kButton}},
    {IDC_EYE_X_MINUS, C::PushButton, L"-", 28, 14, {279, 134, kButton}, {393, 70, kButtonShown}},
    {IDC_EYE_X_PLUS, C::PushButton, L"+", 28, 14, {311, 134, kButton}, {425, 70, kButtonShown}},
    {IDC_EYE_Y_MINUS, C::PushButton, L"-", 28, 14, {279, 152, kButton}, {393, 87, kButtonShown}},
    {IDC_EYE_Y_PLUS, C::PushButton, L"+", 28, 14, {311, 152, kButton}, {425, 87, kButtonShown}},
    {IDC_EYE_Z_MINUS, C::PushButton, L"-", 28, 14, {279, 171, kButton}, {393, 106, kButtonShown}},
    {IDC_EYE_Z_PLUS, C::PushButton, L"+", 28, 14, {311, 171, kButton}, {425, 106, kButtonShown}},
    {IDC_BUTTON19, C::PushButton, L"-", 28, 14, {276, 196, kButton}, {269, 218, kButton}},
    {IDC_BUTTON20, C::PushButton, L"+", 28, 14, {309, 196, kButton}, {301, 218, kButton}},
    {IDC_BUTTON21, C::PushButton, L"-", 28, 14, {276, 214, kButton}, {269, 236, kButton}},
    {IDC_BUTTON22, C::PushButton, L"+", 28, 14, {308, 214, kButton}, {301, 236, kButton}},
    {IDC_BUTTON23, C::PushButton, L"-", 28, 14, {276, 232, kButton}, {269, 256, kButton}},
    {IDC_BUTTON24, C::PushButton, L"+", 28, 14, {308, 232, kButton}, {301, 256, kButton}},
    {IDC_EDIT_EYE_X, C::Edit, nullptr, 40, 14, {319, 255, kEditBox1}, {297, 288, kEditBox2}},
    {IDC_EDIT_EYE_Y, C::Edit, nullptr, 40, 14, {319, 273, kEditBox1}, {297, 306, kEditBox2}},
    {IDC_EDIT_EYE_Z, C::Edit, nullptr, 40, 14, {319, 291, kEditBox1}, {297, 324, kEditBox2}},
    {IDC_EDIT_LOOKAT_X, C::Edit, nullptr, 40, 14, {275, 255, kEditBox1}, {251, 287, kEditBox2}},
    {IDC_EDIT_LOOKAT_Y, C::Edit, nullptr, 40, 14, {275, 274, kEditBox1}, {251, 306, kEditBox2}},
    {IDC_EDIT_LOOKAT_Z, C::Edit, nullptr, 40, 14, {275, 291, kEditBox1}, {251, 324, kEditBox2}},
    // The eye and look-at lines reach up to the rate line on page one, so that
    // "-9.99" in every place fits in the dialog font; on page two, where
    // nothing else shares their rows, they span the drawing area's width.
    {IDC_EDIT_EYE_LINE, C::Edit, nullptr, 150, 14, {7, 7, kEditLine}, {7, 7, kEditLine2, 363}},
    {IDC_EDIT_LOOKAT_LINE, C::Edit, nullptr, 150, 14, {7, 20, kEditLine}, {7, 20, kEditLine2, 363}},
    {IDC_EDIT_RATE_LINE, C::Edit, nullptr, 211, 14, {159, 7, kEditLine}, {159, 7, kEditHidden2}},
};

constexpr SDialogControl Placed(const SPageControl& c, const SPlace& p) {
    const int cx = p.cx != 0 ? p.cx : c.cx;
    return {c.id, c.cls, c.caption, p.x, p.y, cx, c.cy, p.style, c.exStyle};
}

// The shared controls where the page puts them, then the page's own.
template <std::size_t N>
constexpr auto PageTemplate(SPlace SPageControl::*page, const SDialogControl (&own)[N]) {
    std::array<SDialogControl, std::size(kPageControls) + N> controls{};
    std::size_t i = 0;
    for (const SPageControl& c : kPageControls) {
        controls[i++] = Placed(c, c.*page);
    }
    for (const SDialogControl& c : own) {
        controls[i++] = c;
    }
    return controls;
}

// Page one: the eye orbit, the rotation rate and "Random".
constexpr SDialogControl kOwn130[] = {
    {IDC_GROUP_EYE, C::GroupBox, L"視点", 380, 36, 101, 28, kGroup, 0},
    {IDC_GROUP_SECOND, C::GroupBox, L"モデル回転操作", 379, 69, 101, 96, kGroup, 0},
    {IDC_RANDOM, C::PushButton, L"Random", 392, 131, 76, 26, kButtonShown, 0},
    {IDC_EYE_STOP, C::PushButton, L"停止", 416, 46, 28, 14, kButtonShown, 0},
    {IDC_RATE_X_STOP, C::PushButton, L"停止", 416, 80, 28, 14, kButtonShown, 0},
    {IDC_RATE_Y_STOP, C::PushButton, L"停止", 416, 97, 28, 14, kButtonShown, 0},
    {IDC_RATE_Z_STOP, C::PushButton, L"停止", 416, 113, 28, 14, kButtonShown, 0},
};
constexpr auto kDialog130 = PageTemplate(&SPageControl::one, kOwn130);

// Page two: the eye buttons and "START". The group captions are placeholders:
// the page sets both at initialisation.
constexpr SDialogControl kOwn131[] = {
    {IDC_GROUP_EYE, C::GroupBox, L"Eye", 384, 35, 76, 96, kGroup, 0},
    {IDC_GROUP_SECOND, C::GroupBox, L"Look-at", 261, 144, 76, 133, kChild | BS_GROUPBOX, 0},
    {IDC_START, C::PushButton, L"START", 384, 138, 76, 19, kButtonShown, 0},
};
constexpr auto kDialog131 = PageTemplate(&SPageControl::two, kOwn131);

// The About box.
const SDialogControl kDialog100[] = {
    {IDOK, C::PushButton, L"OK", 130, 81, 50, 14, kShown | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDC_ABOUT_TEXT, C::Static, L"3D demo Lunvik (C) 2026 Lunvik", 19, 20, 91, 32,
     kShown | SS_CENTER | WS_GROUP, 0},
    {IDC_STATIC, C::GroupBox, nullptr, 7, 7, 115, 88, kGroup, 0},
};

const SDialogTemplate kDialogs[] = {
    {IDD_ABOUTBOX, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, L"About", 187,
     102, L"MS Sans Serif", 8, kDialog100},
    {IDD_MAINDLG, WS_CHILD | WS_BORDER | DS_SETFONT, nullptr, 537, 366, L"MS Sans Serif", 8,
     kDialog130},
    {IDD_MAINDLG2, WS_CHILD | WS_BORDER | DS_SETFONT, nullptr, 475, 366, L"MS Sans Serif", 8,
     kDialog131},
};

const SStringResource kStrings[] = {
    {IDR_MAINFRAME, L"3D demo Lunvik"},
};

const SMenuItem kMainMenu[] = {
    {SMenuItem::Popup, L"&Help", 0},
    {SMenuItem::Item, L"&About us...", ID_APP_ABOUT},
    {SMenuItem::EndPopup, nullptr, 0},
};

const SMenuResource kMenus[] = {
    {IDR_MAINFRAME, kMainMenu},
};

// Keys that the frame consumes without a handler, so that they never reach a page.
const SAccelEntry kMainAccel[] = {
    {FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW},  {FVIRTKEY | FCONTROL, 'O', ID_FILE_OPEN},
    {FVIRTKEY | FCONTROL, 'S', ID_FILE_SAVE}, {FVIRTKEY | FCONTROL, 'P', ID_FILE_PRINT},
    {FVIRTKEY, VK_F6, ID_NEXT_PANE},          {FVIRTKEY | FSHIFT, VK_F6, ID_PREV_PANE},
};

const SAccelResource kAccelerators[] = {
    {IDR_MAINFRAME, kMainAccel},
};

// The program icon, rendered from app/lunvik.svg at build time, as on the
// desktop.
const SIconImage kIconImages[] = {
    {16, ":/lunvik/icon-16.png"},
    {32, ":/lunvik/icon-32.png"},
};

const SIconResource kIcons[] = {
    {IDR_MAINFRAME, kIconImages},
};

const SResourceTable kTable = {kDialogs, kStrings, kMenus, kAccelerators, kIcons};

}  // namespace

const SResourceTable& LunvikResources() {
    return kTable;
}
