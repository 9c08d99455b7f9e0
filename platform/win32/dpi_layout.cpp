// A change of the screen's DPI (WM_DPICHANGED), taken as a per-monitor
// aware program must: the window takes the rectangle Windows suggests, and
// our dialogs, their font and controls, the tab strips' font and with them
// the drawing areas are laid out for the new DPI as a start at it lays them
// out. Windows' own rescaling of dialogs is turned off, so that Windows and
// Wine (which has none) take this one path.
#include <map>
#include <vector>

#include "platform/resources.h"
#include "platform/win32/window_host.h"

namespace lunvik::platform {
namespace {

std::map<int, HFONT> g_fonts;  // by DPI * 256 + point size

// The dialog manager's base units for the font: the mean width of "A".."Z"
// and "a".."z", rounded, and the font's height.
SIZE BaseUnits(HFONT font) {
    static const wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const HDC dc = ::GetDC(nullptr);
    const HGDIOBJ before = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    SIZE extent{};
    GetTextMetricsW(dc, &metrics);
    GetTextExtentPoint32W(dc, kAlphabet, 52, &extent);
    SelectObject(dc, before);
    ::ReleaseDC(nullptr, dc);
    return SIZE{(extent.cx / 26 + 1) / 2, metrics.tmHeight};
}

// Windows 10's dialog manager would rescale a per-monitor dialog itself.
void TurnOffDialogRescaling(HWND dialog) {
    using FSetBehavior =
        BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    static const auto set = reinterpret_cast<FSetBehavior>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetDialogDpiChangeBehavior")));
    if (set != nullptr) {
        set(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
    }
}

// The dialog's controls, in template order (their Z order), placed and in
// the font for dpi, and a top-level dialog sized for them; then WM_SIZE, so
// that the dialog fits what it put inside its controls.
void LayOutDialog(HWND dialog, SWindowData* data, int dpi) {
    const SDialogTemplate* t = FindDialogTemplate(data->m_templateId);
    data->m_dpi = dpi;
    if (t == nullptr) {
        return;
    }
    const HFONT font = LayoutFont(dpi, t->pointSize > 0 ? t->pointSize : 8);
    const SIZE base = BaseUnits(font);
    const auto x = [&](int units) { return ::MulDiv(units, base.cx, 4); };
    const auto y = [&](int units) { return ::MulDiv(units, base.cy, 8); };
    HWND control = GetWindow(dialog, GW_CHILD);
    for (const SDialogControl& c : t->controls) {
        if (control == nullptr) {
            break;
        }
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        ::MoveWindow(control, x(c.x), y(c.y), x(c.cx), y(c.cy), TRUE);
        control = GetWindow(control, GW_HWNDNEXT);
    }
    const LONG style = GetWindowLongW(dialog, GWL_STYLE);
    if ((style & WS_CHILD) == 0) {
        RECT outer{0, 0, x(t->cx), y(t->cy)};
        AdjustWindowRectEx(&outer, static_cast<DWORD>(style), FALSE,
                           static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)));
        SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT client;
    ::GetClientRect(dialog, &client);
    ::SendMessageW(dialog, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    ::InvalidateRect(dialog, nullptr, TRUE);
}

BOOL CALLBACK Collect(HWND hwnd, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(hwnd);
    return TRUE;
}

}  // namespace

HFONT LayoutFont(int dpi, int pointSize) {
    HFONT& font = g_fonts[dpi * 256 + pointSize];
    if (font == nullptr) {
        const wchar_t* face = DialogFontFace() != nullptr ? DialogFontFace() : L"MS Shell Dlg";
        font = CreateFontW(-::MulDiv(pointSize, dpi, 72), 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, FF_DONTCARE, face);
    }
    return font;
}

void DeleteLayoutFonts() {
    for (const auto& [key, font] : g_fonts) {
        DeleteObject(font);
    }
    g_fonts.clear();
}

// Until a change, a top-level window's own: on Windows its monitor's.
int LayoutDpi(HWND hwnd) {
    const HWND root = GetAncestor(hwnd, GA_ROOTOWNER);
    const SWindowData* data = DataOf(root);
    const UINT own = root != nullptr ? GetDpiForWindow(root) : 0;
    return data != nullptr && data->m_dpi != 0 ? data->m_dpi
           : own != 0                          ? static_cast<int>(own)
                                               : static_cast<int>(GetDpiForSystem());
}

void StartDialogLayout(HWND dialog, int templateId) {
    SWindowData* data = DataOf(dialog);
    TurnOffDialogRescaling(dialog);
    data->m_templateId = templateId;
    data->m_dpi = static_cast<int>(GetDpiForWindow(dialog));
    const HWND root = GetAncestor(dialog, GA_ROOTOWNER);
    if (root != dialog && LayoutDpi(root) != data->m_dpi) {
        LayOutDialog(dialog, data, LayoutDpi(root));
    }
}

void FollowDpi(HWND hwnd, int dpi, const RECT* suggested) {
    std::vector<HWND> windows{hwnd};
    EnumChildWindows(hwnd, &Collect, reinterpret_cast<LPARAM>(&windows));
    if (SWindowData* top = DataOf(hwnd)) {
        top->m_dpi = dpi;
    }
    for (const HWND window : windows) {
        SWindowData* data = DataOf(window);
        if (data != nullptr && data->m_kind == EWindowKind::Dialog) {
            LayOutDialog(window, data, dpi);
        } else if (data != nullptr && data->m_kind == EWindowKind::TabView) {
            ::SendMessageW(data->m_tabs, WM_SETFONT, reinterpret_cast<WPARAM>(LayoutFont(dpi, 8)),
                           TRUE);
        }
    }
    if (suggested != nullptr) {
        SetWindowPos(hwnd, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The strips' new height lays the pages out anew even at the same size.
    for (const HWND window : windows) {
        const SWindowData* data = DataOf(window);
        if (data != nullptr && data->m_kind == EWindowKind::TabView) {
            RECT client;
            ::GetClientRect(window, &client);
            ::SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
        }
    }
}

}  // namespace lunvik::platform
