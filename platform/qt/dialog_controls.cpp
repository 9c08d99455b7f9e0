// A dialog's controls from its template's entries: push buttons, edits,
// group boxes, black frames and texts, placed in dialog units and registered
// under their ids.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qt/window_host.h"
#include "platform/resources.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

constexpr DWORD kStaticTypeMask = 0x1F;

QWidget* MakePushButton(CWindowHost& dialog, const SDialogControl& c) {
    auto* button = new QPushButton(ToQString(c.caption), dialog.Widget());
    if ((c.style & 0xF) == BS_DEFPUSHBUTTON) {
        button->setDefault(true);
        dialog.SetDefaultCommand(c.id);
    }
    const HWND dialogHandle = dialog.Handle();
    const HWND buttonHandle = HandleFromWidget(button);
    const WORD id = static_cast<WORD>(c.id);
    QObject::connect(button, &QPushButton::clicked, button, [=] {
        SendMessageW(dialogHandle, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(buttonHandle));
    });
    return button;
}

QWidget* MakeEdit(QWidget* parent, const SDialogControl& c) {
    auto* edit = new QLineEdit(ToQString(c.caption), parent);
    edit->setReadOnly((c.style & ES_READONLY) != 0);
    edit->setAlignment((c.style & ES_CENTER) != 0 ? Qt::AlignCenter
                                                  : Qt::AlignLeft | Qt::AlignVCenter);
    edit->setFrame((c.style & WS_BORDER) != 0 || (c.exStyle & WS_EX_CLIENTEDGE) != 0);
    return edit;
}

QWidget* MakeGroupBox(QWidget* parent, const SDialogControl& c) {
    auto* group = new QGroupBox(ToQString(c.caption), parent);
    // Only a frame: clicks reach the controls it frames, which stay its siblings.
    group->setAttribute(Qt::WA_TransparentForMouseEvents);
    return group;
}

// A black frame (sunken when it has an edge) or a text.
QWidget* MakeStatic(QWidget* parent, const SDialogControl& c) {
    if ((c.style & kStaticTypeMask) == SS_BLACKFRAME) {
        auto* frame = new QFrame(parent);
        if (!SetSunkenEdge(frame, c.style, c.exStyle)) {
            frame->setFrameStyle(QFrame::Box | QFrame::Plain);
            frame->setLineWidth(1);
            QPalette palette = frame->palette();
            palette.setColor(QPalette::WindowText, Qt::black);
            frame->setPalette(palette);
        }
        return frame;
    }
    auto* label = new QLabel(ToQString(c.caption), parent);
    label->setWordWrap(true);
    label->setAlignment((c.style & kStaticTypeMask) == SS_CENTER ? Qt::AlignHCenter | Qt::AlignTop
                                                                 : Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QWidget* MakeControlWidget(CWindowHost& dialog, const SDialogControl& c) {
    switch (c.cls) {
        case EControlClass::PushButton:
            return MakePushButton(dialog, c);
        case EControlClass::Edit:
            return MakeEdit(dialog.Widget(), c);
        case EControlClass::GroupBox:
            return MakeGroupBox(dialog.Widget(), c);
        case EControlClass::Static:
            break;
    }
    return MakeStatic(dialog.Widget(), c);
}

}  // namespace

QWidget* MakeDialogControl(CWindowHost& dialog, const SDialogControl& c, const SBaseUnits& units) {
    QWidget* widget = MakeControlWidget(dialog, ThreeDimensional(c));
    const QPoint origin = ClientOrigin(dialog.Widget());
    const RECT r = units.ControlRect(c);
    widget->setGeometry(origin.x() + r.left, origin.y() + r.top, r.right - r.left,
                        r.bottom - r.top);
    RegisterWindow(widget, nullptr, c.id);
    // Tab stops only where the template puts them; a click still focuses.
    if (widget->focusPolicy() != Qt::NoFocus) {
        widget->setFocusPolicy((c.style & WS_TABSTOP) != 0 ? Qt::StrongFocus : Qt::ClickFocus);
    }
    widget->setEnabled((c.style & WS_DISABLED) == 0);
    // Hidden controls exist (GetDlgItem finds them) but stay hidden.
    widget->setVisible((c.style & WS_VISIBLE) != 0);
    if (c.cls == EControlClass::GroupBox) {
        widget->lower();
    }
    return widget;
}

}  // namespace lunvik::platform
