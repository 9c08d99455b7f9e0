// Dialogs from our template tables: an in-memory DLGTEMPLATE built from the
// table, then user32's own dialog manager (CreateDialogIndirectParamW,
// DialogBoxIndirectParamW), with the dialog procedure routing to the
// object's map.
#include <vector>

#include "platform/resources.h"
#include "platform/win32/window_host.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

// What the dialog procedure needs at WM_INITDIALOG, passed as its parameter.
struct SDialogStart {
    CWindowObject* object;
    LPARAM init;
    bool modal;
};

class CTemplateWriter {
  public:
    void Word(WORD value) { m_words.push_back(value); }
    void Dword(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(const wchar_t* text) {
        for (const wchar_t* c = text; c != nullptr && *c != L'\0'; ++c) {
            Word(static_cast<WORD>(*c));
        }
        Word(0);
    }
    // Items start on a DWORD boundary.
    void Align() {
        if (m_words.size() % 2 != 0) {
            Word(0);
        }
    }
    const DLGTEMPLATE* Template() const {
        return reinterpret_cast<const DLGTEMPLATE*>(m_words.data());
    }

  private:
    std::vector<WORD> m_words;
};

// The predefined classes by their atoms.
WORD ClassAtom(EControlClass cls) {
    switch (cls) {
        case EControlClass::Edit:
            return 0x0081;
        case EControlClass::Static:
            return 0x0082;
        default:
            return 0x0080;  // button, group box
    }
}

void WriteControl(CTemplateWriter& out, const SDialogControl& c) {
    out.Align();
    out.Dword(c.style);
    out.Dword(c.exStyle);
    for (int v : {c.x, c.y, c.cx, c.cy}) {
        out.Word(static_cast<WORD>(v));
    }
    out.Word(static_cast<WORD>(c.id));
    out.Word(0xFFFF);
    out.Word(ClassAtom(c.cls));
    out.Text(c.caption);
    out.Word(0);  // no creation data
}

// Always in our own font, registered for the process, whatever face the
// table names: its base units give the dialog its size, as on Linux.
void WriteTemplate(CTemplateWriter& out, const SDialogTemplate& t) {
    out.Dword(t.style | DS_SETFONT);
    out.Dword(0);
    out.Word(static_cast<WORD>(t.controls.size()));
    for (int v : {0, 0, t.cx, t.cy}) {
        out.Word(static_cast<WORD>(v));
    }
    out.Word(0);  // no menu
    out.Word(0);  // the dialog class
    out.Text(t.caption);
    out.Word(static_cast<WORD>(t.pointSize > 0 ? t.pointSize : 8));
    out.Text(DialogFontFace() != nullptr ? DialogFontFace() : t.font);
    for (const SDialogControl& c : t.controls) {
        WriteControl(out, c);
    }
}

// Messages whose result a dialog procedure returns itself rather than in
// DWLP_MSGRESULT.
bool ReturnsDirectly(UINT msg) {
    return msg == WM_INITDIALOG || (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) ||
           msg == WM_COMPAREITEM || msg == WM_VKEYTOITEM || msg == WM_CHARTOITEM ||
           msg == WM_QUERYDRAGICON;
}

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        const auto* start = reinterpret_cast<const SDialogStart*>(lParam);
        AttachDialog(hwnd, start->object, start->modal);
        lParam = start->init;
    }
    SWindowData* data = DataOf(hwnd);
    if (data == nullptr) {
        return FALSE;
    }
    if (msg == WM_NCDESTROY) {
        Detach(hwnd, data);
        return FALSE;
    }
    LRESULT result = 0;
    if (!Route(hwnd, data, msg, wParam, lParam, &result)) {
        return FALSE;
    }
    if (ReturnsDirectly(msg)) {
        return result;
    }
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace

HWND DialogOf(HWND hwnd) {
    for (HWND h = hwnd; h != nullptr; h = ::GetParent(h)) {
        const SWindowData* data = DataOf(h);
        if (data != nullptr && data->m_kind == EWindowKind::Dialog) {
            return h;
        }
        if ((GetWindowLongW(h, GWL_STYLE) & WS_CHILD) == 0) {
            break;  // GetParent goes on to a top-level window's owner
        }
    }
    return nullptr;
}

bool DialogKeys(MSG* msg) {
    if (TabViewTabKey(msg)) {
        return true;
    }
    const HWND dialog = DialogOf(msg->hwnd);
    return dialog != nullptr && IsDialogMessageW(dialog, msg);
}

HWND CreateDialogWindow(CWindowObject* object, int templateId, HWND parent, LPARAM init) {
    const SDialogTemplate* t = FindDialogTemplate(templateId);
    if (t == nullptr || object == nullptr || (parent != nullptr && !::IsWindow(parent))) {
        return nullptr;
    }
    CTemplateWriter out;
    WriteTemplate(out, *t);
    SDialogStart start{object, init, false};
    return CreateDialogIndirectParamW(Instance(), out.Template(), parent, &DialogProc,
                                      reinterpret_cast<LPARAM>(&start));
}

INT_PTR RunModalDialog(CWindowObject* object, int templateId, HWND owner, LPARAM init) {
    const SDialogTemplate* t = FindDialogTemplate(templateId);
    if (t == nullptr || object == nullptr) {
        return -1;
    }
    CTemplateWriter out;
    WriteTemplate(out, *t);
    SDialogStart start{object, init, true};
    const HWND top = owner != nullptr && ::IsWindow(owner) ? GetAncestor(owner, GA_ROOT) : nullptr;
    return DialogBoxIndirectParamW(Instance(), out.Template(), top, &DialogProc,
                                   reinterpret_cast<LPARAM>(&start));
}

// A modal dialog ends its run with code; a modeless one is destroyed.
BOOL EndDialogWindow(HWND hwnd, INT_PTR code) {
    const SWindowData* data = DataOf(hwnd);
    if (data == nullptr || data->m_kind != EWindowKind::Dialog) {
        return FALSE;
    }
    return data->m_modal ? ::EndDialog(hwnd, code) : ::DestroyWindow(hwnd);
}

}  // namespace lunvik::platform
