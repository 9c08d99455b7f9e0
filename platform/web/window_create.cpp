// Creation of plain windows, frames and tab views: the window in the
// registry, its element on the page, then WM_CREATE. (Dialogs are made from
// their templates in dialog_host.cpp.)
#include <cmath>

#include "platform/shared/window_rules.h"
#include "platform/web/dom.h"
#include "platform/web/window_host.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

LRESULT SendCreate(HWND hwnd, const SCreateParams& p) {
    CREATESTRUCTW cs = CreateStructOf(p);
    return SendMessageW(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs));
}

void MakeWindowElement(SWebWindow* w, const SCreateParams& p) {
    if (p.kind == EWindowKind::Frame) {
        MakeElement(w, kDomFrame);
        AttachMenu(w, p.menu);
    } else if (p.kind == EWindowKind::TabView) {
        MakeElement(w, kDomWindow);
        MakeTabView(w);
    } else {
        MakeElement(w, kDomWindow);
        w->canvas = lv_make(kDomCanvas, w->element, reinterpret_cast<std::uintptr_t>(w));
    }
}

}  // namespace

void MakeElement(SWebWindow* w, int domKind) {
    const SWebWindow* parent = w->TopLevel() ? nullptr : w->parent;
    w->element = lv_make(domKind, parent != nullptr ? parent->element : 0,
                         reinterpret_cast<std::uintptr_t>(w));
}

void PlaceElement(SWebWindow* w) {
    const RECT& r = w->rect;
    lv_place(w->element, r.left, r.top, Extent(r.left, r.right), Extent(r.top, r.bottom), w->edge);
    if (w->canvas != 0) {
        // One canvas pixel to a device pixel: lines stay one device pixel wide.
        const RECT client = ClientRect(w);
        const double scale = lv_scale();
        lv_canvas_size(w->canvas, static_cast<int>(std::ceil(client.right * scale)),
                       static_cast<int>(std::ceil(client.bottom * scale)), client.right,
                       client.bottom);
    }
}

HWND CreateHostWindow(CWindowObject* object, const SCreateParams& p) {
    SWebWindow* parent = Live(p.parent);
    if (p.parent != nullptr && parent == nullptr) {
        return nullptr;
    }
    SWebWindow* w = NewWindow(parent);
    w->kind = p.kind;
    w->style = parent != nullptr && p.kind != EWindowKind::Frame ? p.style : p.style & ~WS_CHILD;
    w->id = static_cast<int>(p.id);
    w->text = p.name != nullptr ? p.name : L"";
    // A frame is the page itself; a child's border and client edge lie outside its client area.
    w->edge =
        parent == nullptr || p.kind == EWindowKind::Frame
            ? 0
            : ((p.style & WS_BORDER) != 0 ? 1 : 0) + ((p.exStyle & WS_EX_CLIENTEDGE) != 0 ? 2 : 0);
    if (p.rect.left != CW_USEDEFAULT) {
        w->rect = p.rect;
    }
    const HWND hwnd = w->Handle();
    w->object = object;
    object->AttachWindow(hwnd);
    MakeWindowElement(w, p);
    PlaceElement(w);
    // A new drawing area is all to be painted.
    w->invalid = w->canvas != 0 ? ClientRect(w) : RECT{};
    if (p.kind == EWindowKind::Frame) {
        lv_set_title(w->text.c_str());
    }
    const LRESULT created = SendCreate(hwnd, p);
    if ((w = Live(hwnd)) == nullptr) {
        return nullptr;
    }
    if (created == -1) {
        DestroyWindowTree(w);
        return nullptr;
    }
    UpdateFrameLayout(w);
    w->visible = (p.style & WS_VISIBLE) != 0;
    lv_show(w->element, w->visible);
    return hwnd;
}

}  // namespace lunvik::platform
