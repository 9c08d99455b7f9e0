// The tab view: comctl32's tab control as the strip, with the active page
// shown in its display area and the other pages hidden. Each tab's page is
// the window handle in its item data.
#include "platform/tab_view.h"
#include "platform/win32/window_host.h"

namespace lunvik::platform {
namespace {

SWindowData* TabData(HWND tabView) {
    SWindowData* data = DataOf(tabView);
    return data != nullptr && data->m_kind == EWindowKind::TabView && data->m_tabs != nullptr
               ? data
               : nullptr;
}

int Count(const SWindowData* data) {
    return static_cast<int>(::SendMessageW(data->m_tabs, TCM_GETITEMCOUNT, 0, 0));
}

HWND PageAt(const SWindowData* data, int index) {
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    if (!::SendMessageW(data->m_tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item))) {
        return nullptr;
    }
    return reinterpret_cast<HWND>(item.lParam);
}

int ActiveIndex(const SWindowData* data) {
    return static_cast<int>(::SendMessageW(data->m_tabs, TCM_GETCURSEL, 0, 0));
}

// The page of the tab view at or above hwnd, or null.
HWND PageHolding(const SWindowData* data, HWND hwnd) {
    for (int i = 0, n = Count(data); i < n; ++i) {
        const HWND page = PageAt(data, i);
        if (hwnd != nullptr && (hwnd == page || IsChild(page, hwnd))) {
            return page;
        }
    }
    return nullptr;
}

// The page's first tab stop, as the dialog manager finds it; null for none.
HWND FirstStop(HWND page) {
    const HWND first = GetNextDlgTabItem(page, nullptr, FALSE);
    return first != nullptr && IsChild(page, first) &&
                   (GetWindowLongW(first, GWL_STYLE) & WS_TABSTOP) != 0
               ? first
               : nullptr;
}

// The focus to the active page: to the control it last had, else its first
// tab stop, else the strip. Through the dialog manager, which makes a push
// button taking the focus the default one.
void FocusActivePage(const SWindowData* data) {
    const HWND page = PageAt(data, ActiveIndex(data));
    HWND to = page != nullptr ? KeptFocus(page) : nullptr;
    to = to != nullptr ? to : page != nullptr ? FirstStop(page) : nullptr;
    if (to != nullptr) {
        ::SendMessageW(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(to), TRUE);
    } else {
        SetFocus(data->m_tabs);
    }
}

// The strip over the whole view, the active page in its display area above
// it, every other page hidden. A page that is not on show never keeps the
// focus, nor does the view itself.
void Layout(HWND tabView, const SWindowData* data) {
    RECT area;
    ::GetClientRect(tabView, &area);
    SetWindowPos(data->m_tabs, HWND_BOTTOM, 0, 0, area.right, area.bottom, SWP_NOACTIVATE);
    ::SendMessageW(data->m_tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    const HWND active = PageAt(data, ActiveIndex(data));
    SetWindowPos(active, HWND_TOP, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    for (int i = 0, n = Count(data); i < n; ++i) {
        if (PageAt(data, i) != active) {
            ::ShowWindow(PageAt(data, i), SW_HIDE);
        }
    }
    const HWND focus = GetFocus();
    const HWND holder = PageHolding(data, focus);
    if (focus == tabView || (holder != nullptr && holder != active)) {
        FocusActivePage(data);
    }
}

// A focus anywhere in the view goes along to the new page: to the control
// it had last, or its first tab stop.
void Activate(HWND tabView, SWindowData* data, int index) {
    if (index < 0 || index >= Count(data)) {
        return;
    }
    const HWND focus = GetFocus();
    if (SWindowData* before = DataOf(PageHolding(data, focus))) {
        before->m_lastFocus = focus;
    }
    ::SendMessageW(data->m_tabs, TCM_SETCURSEL, index, 0);
    Layout(tabView, data);
    if (focus != nullptr && (focus == tabView || IsChild(tabView, focus))) {
        FocusActivePage(data);
    }
}

HWND MakeStrip(HWND tabView) {
    const HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, nullptr,
                                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, 0,
                                      0, tabView, nullptr, Instance(), nullptr);
    if (tabs != nullptr) {
        ::SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                       FALSE);
    }
    return tabs;
}

}  // namespace

bool TabViewProcessing(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    SWindowData* data = DataOf(hwnd);
    switch (msg) {
        case WM_CREATE:
            data->m_tabs = MakeStrip(hwnd);
            *result = data->m_tabs != nullptr ? 0 : -1;
            return true;
        case WM_SIZE:
            if (TabData(hwnd) != nullptr) {
                Layout(hwnd, data);
            }
            break;
        case WM_NOTIFY: {
            const auto* note = reinterpret_cast<const NMHDR*>(lParam);
            if (note->hwndFrom == data->m_tabs && note->code == TCN_SELCHANGE) {
                Layout(hwnd, data);
            }
            break;
        }
        case WM_SETFOCUS:
            if (TabData(hwnd) != nullptr) {
                FocusActivePage(data);
            }
            break;
        case WM_ERASEBKGND:
            FillWithFace(hwnd, reinterpret_cast<HDC>(wParam));
            *result = 1;
            return true;
        default:
            return false;
    }
    *result = 0;
    return true;
}

BOOL TabViewAddPage(HWND tabView, HWND page, const wchar_t* title, int image, void*) {
    SWindowData* data = TabData(tabView);
    if (data == nullptr || !::IsWindow(page) || page == tabView || IsChild(page, tabView)) {
        return FALSE;
    }
    const int n = Count(data);
    for (int i = 0; i < n; ++i) {
        if (PageAt(data, i) == page) {
            return FALSE;
        }
    }
    if (::GetParent(page) != tabView) {
        SetParent(page, tabView);
    }
    data->m_titles.emplace_back(title != nullptr ? title : L"");
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM | TCIF_IMAGE;
    item.pszText = data->m_titles.back().data();
    item.iImage = image;
    item.lParam = reinterpret_cast<LPARAM>(page);
    ::SendMessageW(data->m_tabs, TCM_INSERTITEMW, n, reinterpret_cast<LPARAM>(&item));
    if (n == 0) {
        Activate(tabView, data, 0);
    } else {
        Layout(tabView, data);
    }
    return TRUE;
}

int TabViewPageCount(HWND tabView) {
    const SWindowData* data = TabData(tabView);
    return data != nullptr ? Count(data) : 0;
}

int TabViewActivePage(HWND tabView) {
    const SWindowData* data = TabData(tabView);
    return data != nullptr ? ActiveIndex(data) : -1;
}

void TabViewSetActivePage(HWND tabView, int index) {
    if (SWindowData* data = TabData(tabView)) {
        Activate(tabView, data, index);
    }
}

const wchar_t* TabViewPageTitle(HWND tabView, int index) {
    const SWindowData* data = TabData(tabView);
    if (data == nullptr || index < 0 || index >= Count(data)) {
        return nullptr;
    }
    return data->m_titles[static_cast<std::size_t>(index)].c_str();
}

HWND TabViewPage(HWND tabView, int index) {
    const SWindowData* data = TabData(tabView);
    return data != nullptr && index >= 0 && index < Count(data) ? PageAt(data, index) : nullptr;
}

// Ctrl+Tab and Ctrl+Shift+Tab: the next and the previous page, wrapping
// around; consumed even with one page.
BOOL TabViewPreTranslate(HWND tabView, MSG* msg) {
    SWindowData* data = TabData(tabView);
    if (data == nullptr || msg == nullptr || msg->message != WM_KEYDOWN || msg->wParam != VK_TAB ||
        ::GetKeyState(VK_CONTROL) >= 0) {
        return FALSE;
    }
    const int n = Count(data);
    if (n > 1) {
        const int step = ::GetKeyState(VK_SHIFT) < 0 ? n - 1 : 1;
        Activate(tabView, data, (TabViewActivePage(tabView) + step) % n);
    }
    return TRUE;
}

HWND KeptFocus(HWND hwnd) {
    const SWindowData* data = DataOf(hwnd);
    const HWND kept = data != nullptr ? data->m_lastFocus : nullptr;
    return kept != nullptr && IsChild(hwnd, kept) && IsWindowVisible(kept) && IsWindowEnabled(kept)
               ? kept
               : nullptr;
}

bool TabViewTabKey(const MSG* msg) {
    if (msg->message != WM_KEYDOWN || msg->wParam != VK_TAB || ::GetKeyState(VK_CONTROL) < 0 ||
        ::GetKeyState(VK_MENU) < 0) {
        return false;
    }
    const bool back = ::GetKeyState(VK_SHIFT) < 0;
    const HWND focus = GetFocus();
    // From the strip into the page: its first stop, or going back its last.
    if (const SWindowData* data = TabData(::GetParent(focus)); data && focus == data->m_tabs) {
        const HWND page = PageAt(data, ActiveIndex(data));
        const HWND first = page != nullptr ? FirstStop(page) : nullptr;
        const HWND to = back && first != nullptr ? GetNextDlgTabItem(page, first, TRUE) : first;
        if (to != nullptr) {
            ::SendMessageW(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(to), TRUE);
        }
        return true;
    }
    // From the active page's last stop, or going back its first, to the strip.
    const HWND page = DialogOf(focus);
    const SWindowData* data = page != nullptr ? TabData(::GetParent(page)) : nullptr;
    if (data == nullptr || page != PageAt(data, ActiveIndex(data))) {
        return false;
    }
    const HWND first = FirstStop(page);
    const HWND edge = back || first == nullptr ? first : GetNextDlgTabItem(page, first, TRUE);
    if (focus != edge) {
        return false;
    }
    SetFocus(data->m_tabs);
    return true;
}

}  // namespace lunvik::platform
