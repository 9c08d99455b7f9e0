#include "app/resources.h"

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

// Page one: the eye orbit, the rotation rate and "Random".
constexpr DWORD kEditBox1 = kChild | ES_READONLY | ES_AUTOHSCROLL | ES_CENTER | WS_BORDER;

const SDialogControl kDialog130[] = {
    {IDC_VIEW_FRAME, C::Static, nullptr, 7, 36, 364, 323, kFrame, WS_EX_CLIENTEDGE},
    {IDC_BUTTON1, C::PushButton, L"<=", 279, 67, 28, 14, kButton, 0},
    {IDC_BUTTON2, C::PushButton, L"=>", 311, 67, 28, 14, kButton, 0},
    {IDC_EYE_LEFT, C::PushButton, L"<=", 387, 46, 28, 14, kButtonShown, 0},
    {IDC_EYE_RIGHT, C::PushButton, L"=>", 445, 46, 28, 14, kButtonShown, 0},
    {IDC_BUTTON5, C::PushButton, L"<=", 279, 104, 28, 14, kButton, 0},
    {IDC_BUTTON6, C::PushButton, L"=>", 311, 104, 28, 14, kButton, 0},
    {IDC_RATE_X_UP, C::PushButton, L"<=", 386, 80, 28, 14, kButtonShown, 0},
    {IDC_RATE_X_DOWN, C::PushButton, L"=>", 445, 80, 28, 14, kButtonShown, 0},
    {IDC_RATE_Y_UP, C::PushButton, L"<=", 386, 96, 28, 14, kButtonShown, 0},
    {IDC_RATE_Y_DOWN, C::PushButton, L"=>", 445, 96, 28, 14, kButtonShown, 0},
    {IDC_RATE_Z_UP, C::PushButton, L"<=", 386, 112, 28, 14, kButtonShown, 0},
    {IDC_RATE_Z_DOWN, C::PushButton, L"=>", 445, 112, 28, 14, kButtonShown, 0},
    {IDC_EYE_X_MINUS, C::PushButton, L"-", 279, 134, 28, 14, kButton, 0},
    {IDC_EYE_X_PLUS, C::PushButton, L"+", 311, 134, 28, 14, kButton, 0},
    {IDC_EYE_Y_MINUS, C::PushButton, L"-", 279, 152, 28, 14, kButton, 0},
    {IDC_EYE_Y_PLUS, C::PushButton, L"+", 311, 152, 28, 14, kButton, 0},
    {IDC_EYE_Z_MINUS, C::PushButton, L"-", 279, 171, 28, 14, kButton, 0},
    {IDC_EYE_Z_PLUS, C::PushButton, L"+", 311, 171, 28, 14, kButton, 0},
    {IDC_BUTTON19, C::PushButton, L"-", 276, 196, 28, 14, kButton, 0},
    {IDC_BUTTON20, C::PushButton, L"+", 309, 196, 28, 14, kButton, 0},
    {IDC_BUTTON21, C::PushButton, L"-", 276, 214, 28, 14, kButton, 0},
    {IDC_BUTTON22, C::PushButton, L"+", 308, 214, 28, 14, kButton, 0},
    {IDC_BUTTON23, C::PushButton, L"-", 276, 232, 28, 14, kButton, 0},
    {IDC_BUTTON24, C::PushButton, L"+", 308, 232, 28, 14, kButton, 0},
    {IDC_EDIT_EYE_X, C::Edit, nullptr, 319, 255, 40, 14, kEditBox1, 0},
    {IDC_EDIT_EYE_Y, C::Edit, nullptr, 319, 273, 40, 14, kEditBox1, 0},
    {IDC_EDIT_EYE_Z, C::Edit, nullptr, 319, 291, 40, 14, kEditBox1, 0},
    {IDC_EDIT_LOOKAT_X, C::Edit, nullptr, 275, 255, 40, 14, kEditBox1, 0},
    {IDC_EDIT_LOOKAT_Y, C::Edit, nullptr, 275, 274, 40, 14, kEditBox1, 0},
    {IDC_EDIT_LOOKAT_Z, C::Edit, nullptr, 275, 291, 40, 14, kEditBox1, 0},
    // The eye and look-at lines reach up to the rate line, so that "-9.99" in
    // every place fits in the dialog font.
    {IDC_EDIT_EYE_LINE, C::Edit, nullptr, 7, 7, 150, 14, kEditLine, 0},
    {IDC_EDIT_LOOKAT_LINE, C::Edit, nullptr, 7, 20, 150, 14, kEditLine, 0},
    {IDC_EDIT_RATE_LINE, C::Edit, nullptr, 159, 7, 211, 14, kEditLine, 0},
    {IDC_GROUP_EYE, C::GroupBox, L"視点", 380, 36, 101, 28, kGroup, 0},
    {IDC_GROUP_SECOND, C::GroupBox, L"モデル回転操作", 379, 69, 101, 96, kGroup, 0},
    {IDC_RANDOM, C::PushButton, L"Random", 392, 131, 76, 26, kButtonShown, 0},
    {IDC_EYE_STOP, C::PushButton, L"停止", 416, 46, 28, 14, kButtonShown, 0},
    {IDC_RATE_X_STOP, C::PushButton, L"停止", 416, 80, 28, 14, kButtonShown, 0},
    {IDC_RATE_Y_STOP, C::PushButton, L"停止", 416, 97, 28, 14, kButtonShown, 0},
    {IDC_RATE_Z_STOP, C::PushButton, L"停止", 416, 113, 28, 14, kButtonShown, 0},
};

// Page two: the eye buttons and "START".
constexpr DWORD kEditBox2 =
    kChild | ES_READONLY | ES_AUTOHSCROLL | ES_CENTER | WS_BORDER | WS_TABSTOP;
constexpr DWORD kEditLine2 = kEditLine | WS_TABSTOP;
constexpr DWORD kEditHidden2 = kChild | ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP;

const SDialogControl kDialog131[] = {
    {IDC_VIEW_FRAME, C::Static, nullptr, 7, 36, 363, 323, kFrame, WS_EX_CLIENTEDGE},
    {IDC_BUTTON1, C::PushButton, L"<=", 393, 219, 28, 14, kButton, 0},
    {IDC_BUTTON2, C::PushButton, L"=>", 425, 219, 28, 14, kButton, 0},
    {IDC_EYE_LEFT, C::PushButton, L"<=", 393, 48, 28, 14, kButtonShown, 0},
    {IDC_EYE_RIGHT, C::PushButton, L"=>", 425, 48, 28, 14, kButtonShown, 0},
    {IDC_BUTTON5, C::PushButton, L"<=", 393, 255, 28, 14, kButton, 0},
    {IDC_BUTTON6, C::PushButton, L"=>", 425, 255, 28, 14, kButton, 0},
    {IDC_RATE_X_UP, C::PushButton, L"<=", 269, 154, 28, 14, kButton, 0},
    {IDC_RATE_X_DOWN, C::PushButton, L"=>", 301, 154, 28, 14, kButton, 0},
    {IDC_RATE_Y_UP, C::PushButton, L"<=", 269, 170, 28, 14, kButton, 0},
    {IDC_RATE_Y_DOWN, C::PushButton, L"=>", 301, 170, 28, 14, kButton, 0},
    {IDC_RATE_Z_UP, C::PushButton, L"<=", 269, 186, 28, 14, kButton, 0},
    {IDC_RATE_Z_DOWN, C::PushButton, L"=>", 301, 186, 28, 14, kButton, 0},
    {IDC_EYE_X_MINUS, C::PushButton, L"-", 393, 70, 28, 14, kButtonShown, 0},
    {IDC_EYE_X_PLUS, C::PushButton, L"+", 425, 70, 28, 14, kButtonShown, 0},
    {IDC_EYE_Y_MINUS, C::PushButton, L"-", 393, 87, 28, 14, kButtonShown, 0},
    {IDC_EYE_Y_PLUS, C::PushButton, L"+", 425, 87, 28, 14, kButtonShown, 0},
    {IDC_EYE_Z_MINUS, C::PushButton, L"-", 393, 106, 28, 14, kButtonShown, 0},
    {IDC_EYE_Z_PLUS, C::PushButton, L"+", 425, 106, 28, 14, kButtonShown, 0},
    {IDC_BUTTON19, C::PushButton, L"-", 269, 218, 28, 14, kButton, 0},
    {IDC_BUTTON20, C::PushButton, L"+", 301, 218, 28, 14, kButton, 0},
    {IDC_BUTTON21, C::PushButton, L"-", 269, 236, 28, 14, kButton, 0},
    {IDC_BUTTON22, C::PushButton, L"+", 301, 236, 28, 14, kButton, 0},
    {IDC_BUTTON23, C::PushButton, L"-", 269, 256, 28, 14, kButton, 0},
    {IDC_BUTTON24, C::PushButton, L"+", 301, 256, 28, 14, kButton, 0},
    {IDC_EDIT_EYE_X, C::Edit, nullptr, 297, 288, 40, 14, kEditBox2, 0},
    {IDC_EDIT_EYE_Y, C::Edit, nullptr, 297, 306, 40, 14, kEditBox2, 0},
    {IDC_EDIT_EYE_Z, C::Edit, nullptr, 297, 324, 40, 14, kEditBox2, 0},
    {IDC_EDIT_LOOKAT_X, C::Edit, nullptr, 251, 287, 40, 14, kEditBox2, 0},
    {IDC_EDIT_LOOKAT_Y, C::Edit, nullptr, 251, 306, 40, 14, kEditBox2, 0},
    {IDC_EDIT_LOOKAT_Z, C::Edit, nullptr, 251, 324, 40, 14, kEditBox2, 0},
    // The eye and look-at lines span the drawing area's width: nothing else
    // is shown in their rows, and the eye moves without bound.
    {IDC_EDIT_EYE_LINE, C::Edit, nullptr, 7, 7, 363, 14, kEditLine2, 0},
    {IDC_EDIT_LOOKAT_LINE, C::Edit, nullptr, 7, 20, 363, 14, kEditLine2, 0},
    {IDC_EDIT_RATE_LINE, C::Edit, nullptr, 159, 7, 211, 14, kEditHidden2, 0},
    // Placeholder captions: the page sets both at initialisation.
    {IDC_GROUP_EYE, C::GroupBox, L"Eye", 384, 35, 76, 96, kGroup, 0},
    {IDC_GROUP_SECOND, C::GroupBox, L"Look-at", 261, 144, 76, 133, kChild | BS_GROUPBOX, 0},
    {IDC_START, C::PushButton, L"START", 384, 138, 76, 19, kButtonShown, 0},
};

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
