// A dialog's controls from its template's entries: push buttons, read-only
// edits, group boxes, black frames and texts as the page's own controls,
// placed in dialog units and registered under their ids.
#include "platform/web/dom.h"
#include "platform/web/window_host.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

constexpr DWORD kStaticTypeMask = 0x1F;

int DomKind(SWebWindow* dialog, const SDialogControl& c) {
    switch (c.cls) {
        case EControlClass::PushButton:
            if ((c.style & 0xF) == BS_DEFPUSHBUTTON) {
                dialog->defaultCommand = c.id;
                return kDomDefaultButton;
            }
            return kDomButton;
        case EControlClass::Edit:
            return (c.style & ES_CENTER) != 0 ? kDomCentredEdit : kDomEdit;
        case EControlClass::GroupBox:
            return kDomGroup;
        case EControlClass::Static:
            break;
    }
    const DWORD type = c.style & kStaticTypeMask;
    return type == SS_BLACKFRAME ? kDomBlackFrame : type == SS_CENTER ? kDomCentredText : kDomText;
}

}  // namespace

void MakeDialogControl(SWebWindow* dialog, const SDialogControl& entry, const SBaseUnits& units) {
    const SDialogControl c = ThreeDimensional(entry);
    SWebWindow* w = NewWindow(dialog);
    w->control = true;
    w->id = c.id;
    w->style = c.style | WS_CHILD;
    w->button = c.cls == EControlClass::PushButton;
    // Tab stops only where the template puts them; a click still focuses.
    w->tabStop = (c.style & WS_TABSTOP) != 0 && c.cls != EControlClass::GroupBox;
    w->edge = (c.exStyle & WS_EX_CLIENTEDGE) != 0 && c.cls != EControlClass::Edit ? 2 : 0;
    w->rect = units.ControlRect(c);
    MakeElement(w, DomKind(dialog, c));
    PlaceElement(w);
    if (c.caption != nullptr) {
        w->text = c.caption;
        lv_set_text(w->element, c.caption);
    }
    w->enabled = (c.style & WS_DISABLED) == 0;
    lv_enable(w->element, w->enabled);
    // Hidden controls exist (GetDlgItem finds them) but stay hidden.
    w->visible = (c.style & WS_VISIBLE) != 0;
    lv_show(w->element, w->visible);
}

}  // namespace lunvik::platform
