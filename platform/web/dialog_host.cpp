// Dialogs from templates: the dialog in its font's units, Tab, Enter and
// Escape among its controls (made in dialog_controls.cpp), modal runs.
#include <algorithm>

#include "platform/web/dom.h"
#include "platform/web/window_host.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

// A top-level dialog's caption, above its client area.
constexpr int kCaptionHeight = 20;

SBaseUnits UnitsOf(const SDialogTemplate& t) {
    const int px = DialogFontPixels(t.pointSize);
    return SBaseUnits(lv_text_width(px, kBaseUnitLetters), lv_font_height(px));
}

SWebWindow* MakeDialog(CWindowObject* object, const SDialogTemplate& t, SWebWindow* parent,
                       bool child) {
    SWebWindow* w = NewWindow(parent);
    w->kind = EWindowKind::Dialog;
    w->style = child ? t.style : t.style & ~WS_CHILD;
    w->edge = (t.style & WS_BORDER) != 0 || !child ? 1 : 0;
    w->top = child ? 0 : kCaptionHeight;
    const SBaseUnits units = UnitsOf(t);
    w->rect = RECT{0, 0, units.X(t.cx) + 2 * w->edge, units.Y(t.cy) + 2 * w->edge + w->top};
    MakeElement(w, child ? kDomWindow : kDomDialog);
    PlaceElement(w);
    if (!child && t.caption != nullptr) {
        w->text = t.caption;
        lv_set_text(w->element, t.caption);
    }
    w->object = object;
    object->AttachWindow(w->Handle());
    for (const SDialogControl& control : t.controls) {
        MakeDialogControl(w, control, units);
    }
    return w;
}

SWebWindow* DialogOf(SWebWindow* w) {
    for (; w != nullptr && w->kind != EWindowKind::Dialog;
         w = w->TopLevel() ? nullptr : w->parent) {
    }
    return w;
}

void Press(SWebWindow* dialog, int command) {
    const HWND control = GetDlgItem(dialog->Handle(), command);
    SendMessageW(dialog->Handle(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
}

void CollectStops(SWebWindow* w, std::vector<SWebWindow*>* stops) {
    for (SWebWindow* child : w->children) {
        if (child->TopLevel() || !child->visible || !child->enabled) {
            continue;
        }
        if (child->tabStop) {
            stops->push_back(child);
        }
        CollectStops(child, stops);
    }
}

}  // namespace

void ActivateWindow(SWebWindow* top) {
    SWebWindow* kept = Live(top->lastFocus);
    if (kept != nullptr && Showing(kept) && kept->enabled) {
        lv_focus(kept->element);
        return;
    }
    const std::vector<SWebWindow*> stops = TabStops(top);
    const auto page = std::find_if(stops.begin(), stops.end(), [](const SWebWindow* s) {
        return s->parent == nullptr || s->parent->strip != s;
    });
    if (page != stops.end() || !stops.empty()) {
        lv_focus((page != stops.end() ? *page : stops.front())->element);
    }
}

std::vector<SWebWindow*> TabStops(SWebWindow* top) {
    std::vector<SWebWindow*> stops;
    CollectStops(top, &stops);
    return stops;
}

bool DialogKey(SWebWindow* focus, WORD vk, bool shift) {
    SWebWindow* top = RootOf(focus);
    if (vk == VK_TAB) {
        const std::vector<SWebWindow*> stops = TabStops(top);
        const auto at = std::find(stops.begin(), stops.end(), focus) - stops.begin();
        const int to = TabStepIndex(static_cast<int>(stops.size()),
                                    at < static_cast<int>(stops.size()) ? static_cast<int>(at) : -1,
                                    !shift, true);
        if (to >= 0) {
            lv_focus(stops[static_cast<std::size_t>(to)]->element);
        }
        return true;
    }
    SWebWindow* dialog = DialogOf(focus);
    if (vk == VK_RETURN && focus->button && dialog != nullptr) {
        Press(dialog, focus->id);
        return true;
    }
    const int command =
        top->kind == EWindowKind::Dialog ? DialogKeyCommand(vk, top->defaultCommand) : 0;
    if (command != 0) {
        Press(top, command);
    }
    return command != 0;
}

HWND CreateDialogWindow(CWindowObject* object, int templateId, HWND parent, LPARAM init) {
    const SDialogTemplate* t = FindDialogTemplate(templateId);
    SWebWindow* p = Live(parent);
    if (t == nullptr || (parent != nullptr && p == nullptr)) {
        return nullptr;
    }
    SWebWindow* w = MakeDialog(object, *t, p, p != nullptr && (t->style & WS_CHILD) != 0);
    const HWND hwnd = w->Handle();
    SendMessageW(hwnd, WM_INITDIALOG, 0, init);
    if ((w = Live(hwnd)) == nullptr) {
        return nullptr;
    }
    w->visible = (t->style & WS_VISIBLE) != 0;
    lv_show(w->element, w->visible);
    return hwnd;
}

// Clicks and keys reach only the dialog while it runs: the page's modal
// dialog makes everything else inert.
INT_PTR RunModalDialog(CWindowObject* object, int templateId, HWND owner, LPARAM init) {
    const SDialogTemplate* t = FindDialogTemplate(templateId);
    if (t == nullptr) {
        return -1;
    }
    SWebWindow* ownerWindow = Live(owner);
    SWebWindow* w =
        MakeDialog(object, *t, ownerWindow != nullptr ? RootOf(ownerWindow) : nullptr, false);
    const HWND hwnd = w->Handle();
    const HWND focusBefore = reinterpret_cast<HWND>(lv_focused());
    SModalState state;
    w->modal = &state;
    SendMessageW(hwnd, WM_INITDIALOG, 0, init);
    if ((w = Live(hwnd)) != nullptr && !state.ended && !QuitPending()) {
        w->visible = true;
        lv_modal(w->element, 1);
        ActivateWindow(w);
        CWebLoop loop(nullptr);
        state.loop = &loop;
        RunLoop(loop, nullptr);
        state.loop = nullptr;
    }
    if ((w = Live(hwnd)) != nullptr) {
        w->modal = nullptr;
        lv_modal(w->element, 0);
        DestroyWindowTree(w);
    }
    if (SWebWindow* back = Live(focusBefore)) {
        lv_focus(back->element);
    }
    return state.ended ? state.code : -1;
}

BOOL EndDialogWindow(HWND hwnd, INT_PTR code) {
    SWebWindow* w = Live(hwnd);
    if (w == nullptr || w->kind != EWindowKind::Dialog || w->dying) {
        return FALSE;
    }
    if (w->modal == nullptr) {
        DestroyWindowTree(w);
        return TRUE;
    }
    w->modal->ended = true;
    w->modal->code = code;
    if (w->modal->loop != nullptr) {
        w->modal->loop->Exit();
    }
    return TRUE;
}

}  // namespace lunvik::platform
