// The tab view: a strip of tabs with the active page shown below it. The
// strip is one window that takes the focus, as Win32's tab control is: the
// arrow keys switch pages on it (the browser keeps Ctrl+Tab for its own tabs).
#include <algorithm>

#include "platform/shared/window_rules.h"
#include "platform/tab_view.h"
#include "platform/web/dom.h"
#include "platform/web/window_host.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

constexpr int kStripHeight = 21;

SWebWindow* View(HWND hwnd) {
    SWebWindow* w = Live(hwnd);
    return w != nullptr && w->kind == EWindowKind::TabView ? w : nullptr;
}

bool Holds(const SWebWindow* outer, const SWebWindow* w) {
    for (; w != nullptr; w = w->TopLevel() ? nullptr : w->parent) {
        if (w == outer) {
            return true;
        }
    }
    return false;
}

int PageHolding(const SWebWindow* view, const SWebWindow* w) {
    for (std::size_t i = 0; i < view->pages.size(); ++i) {
        if (const SWebWindow* page = Live(view->pages[i].page); page != nullptr && Holds(page, w)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void FocusPage(SWebWindow* view) {
    const STabPage& page = view->pages[static_cast<std::size_t>(view->active)];
    SWebWindow* kept = Live(page.lastFocus);
    if (kept != nullptr && Showing(kept) && kept->enabled) {
        lv_focus(kept->element);
        return;
    }
    const std::vector<SWebWindow*> stops = TabStops(Live(page.page));
    lv_focus(stops.empty() ? view->strip->element : stops.front()->element);
}

void Layout(SWebWindow* view) {
    const RECT area = ClientRect(view);
    view->strip->rect = RECT{0, 0, area.right, kStripHeight};
    PlaceElement(view->strip);
    for (std::size_t i = 0; i < view->pages.size(); ++i) {
        SWebWindow* page = Live(view->pages[i].page);
        if (page == nullptr || page->parent != view) {
            continue;
        }
        page->rect = RECT{0, kStripHeight, area.right, std::max(area.bottom, kStripHeight)};
        PlaceElement(page);
        page->visible = static_cast<int>(i) == view->active;
        lv_show(page->element, page->visible);
    }
    lv_select_tab(view->strip->element, view->active);
}

}  // namespace

void MakeTabView(SWebWindow* view) {
    SWebWindow* strip = NewWindow(view);
    strip->control = true;
    strip->tabStop = true;
    strip->visible = true;
    strip->style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    MakeElement(strip, kDomTabStrip);
    view->strip = strip;
}

// A focus in one of the pages goes along to the new one: to the control it
// had last, or its first tab stop; so does no focus at all. On the strip it
// stays.
void SelectTab(SWebWindow* view, int index) {
    if (index < 0 || index >= static_cast<int>(view->pages.size())) {
        return;
    }
    SWebWindow* focus = Live(reinterpret_cast<HWND>(lv_focused()));
    const int holder = PageHolding(view, focus);
    if (holder >= 0) {
        view->pages[static_cast<std::size_t>(holder)].lastFocus = focus->Handle();
    }
    view->active = index;
    Layout(view);
    if (focus == nullptr || (holder >= 0 && holder != index)) {
        FocusPage(view);
    }
}

bool TabStripKey(SWebWindow* strip, WORD vk) {
    SWebWindow* view = strip->parent;
    if (view == nullptr || view->strip != strip) {
        return false;
    }
    const int step = vk == VK_LEFT || vk == VK_UP ? -1 : vk == VK_RIGHT || vk == VK_DOWN ? 1 : 0;
    if (step != 0) {
        SelectTab(view,
                  std::clamp(view->active + step, 0, static_cast<int>(view->pages.size()) - 1));
    }
    return step != 0;
}

BOOL TabViewAddPage(HWND tabView, HWND page, const wchar_t* title, int, void*) {
    SWebWindow* view = View(tabView);
    SWebWindow* p = Live(page);
    if (view == nullptr || p == nullptr || p->TopLevel() || Holds(p, view) ||
        std::any_of(view->pages.begin(), view->pages.end(),
                    [page](const STabPage& t) { return t.page == page; })) {
        return FALSE;
    }
    if (p->parent != view) {
        std::erase(p->parent->children, p);
        view->children.push_back(p);
        p->parent = view;
        lv_adopt(view->element, p->element);
    }
    view->pages.push_back(STabPage{page, title != nullptr ? title : L""});
    lv_add_tab(view->strip->element, view->pages.back().title.c_str());
    if (view->active < 0) {
        view->active = 0;
    }
    Layout(view);
    return TRUE;
}

int TabViewPageCount(HWND tabView) {
    SWebWindow* view = View(tabView);
    return view != nullptr ? static_cast<int>(view->pages.size()) : 0;
}

int TabViewActivePage(HWND tabView) {
    SWebWindow* view = View(tabView);
    return view != nullptr ? view->active : -1;
}

void TabViewSetActivePage(HWND tabView, int index) {
    if (SWebWindow* view = View(tabView)) {
        SelectTab(view, index);
    }
}

const wchar_t* TabViewPageTitle(HWND tabView, int index) {
    SWebWindow* view = View(tabView);
    return view != nullptr && index >= 0 && index < static_cast<int>(view->pages.size())
               ? view->pages[static_cast<std::size_t>(index)].title.c_str()
               : nullptr;
}

HWND TabViewPage(HWND tabView, int index) {
    SWebWindow* view = View(tabView);
    return view != nullptr && index >= 0 && index < static_cast<int>(view->pages.size())
               ? view->pages[static_cast<std::size_t>(index)].page
               : nullptr;
}

// Ctrl+Tab and Ctrl+Shift+Tab where the browser lets them through.
BOOL TabViewPreTranslate(HWND tabView, MSG* msg) {
    SWebWindow* view = View(tabView);
    if (view == nullptr || msg == nullptr || msg->message != WM_KEYDOWN || msg->wParam != VK_TAB ||
        GetKeyState(VK_CONTROL) >= 0 || view->pages.empty()) {
        return FALSE;
    }
    const int n = static_cast<int>(view->pages.size());
    SelectTab(view, (view->active + (GetKeyState(VK_SHIFT) < 0 ? n - 1 : 1)) % n);
    return TRUE;
}

}  // namespace lunvik::platform
