// Dialogs from templates: the dialog window in its font and size, Tab between
// its controls (made in dialog_controls.cpp), modal runs.
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPointer>

#include "platform/qt/loop_stack.h"
#include "platform/qt/window_host.h"
#include "platform/resources.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

// The dialogs' own fonts, built into the program so that a text looks the same
// on every machine, and Japanese shows where no Japanese font is installed:
// Latin from the first, every other character the program writes from the
// second. Loaded once; the family names come from the files.
QStringList DialogFontFamilies() {
    static const QStringList families = [] {
        QStringList names;
        for (const char* file :
             {":/lunvik/fonts/lunvik-sans.ttf", ":/lunvik/fonts/lunvik-gothic.ttf"}) {
            names += QFontDatabase::applicationFontFamilies(
                QFontDatabase::addApplicationFont(QString::fromLatin1(file)));
        }
        return names;
    }();
    return families;
}

QFont DialogFont(int pointSize) {
    QFont font;
    font.setFamilies(DialogFontFamilies());
    font.setPixelSize(DialogFontPixels(pointSize));
    return font;
}

// A top-level dialog's frame offers what its styles say: a close box with
// WS_SYSMENU, minimise and maximise boxes only when asked for.
Qt::WindowFlags DialogFlags(DWORD style) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if ((style & WS_SYSMENU) != 0) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    if ((style & WS_MINIMIZEBOX) != 0) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    if ((style & WS_MAXIMIZEBOX) != 0) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    return flags;
}

CWindowHost* MakeDialog(CWindowObject* object, const SDialogTemplate& t, QWidget* qtParent,
                        bool child) {
    auto* widget = new CHostWidget(qtParent, child ? Qt::Widget : DialogFlags(t.style),
                                   EWindowKind::Dialog, t.style);
    CWindowHost& host = widget->Host();
    widget->setFont(DialogFont(t.pointSize));
    const SBaseUnits units = BaseUnits(widget->font());
    if (child && (t.style & WS_BORDER) != 0) {
        widget->setFrameStyle(QFrame::Box | QFrame::Plain);
        widget->setLineWidth(1);
    }
    const int border = widget->frameWidth();
    widget->resize(units.X(t.cx) + 2 * border, units.Y(t.cy) + 2 * border);
    if (child) {
        widget->move(ClientOrigin(qtParent));
    } else {
        widget->setWindowTitle(ToQString(t.caption));
        // Without a sizing border its size is the template's: a window
        // manager offers neither resizing nor maximising.
        if ((t.style & WS_THICKFRAME) == 0) {
            widget->setFixedSize(widget->size());
            LeaveSizingOutOfMotifHints(widget);
        }
    }
    RegisterHost(&host, object, 0);
    for (const SDialogControl& control : t.controls) {
        MakeDialogControl(host, control, units);
    }
    return &host;
}

}  // namespace

SBaseUnits BaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    return SBaseUnits(metrics.horizontalAdvance(QString::fromLatin1(kBaseUnitLetters)),
                      metrics.height());
}

QList<QWidget*> DialogTabStops(QWidget* dialog) {
    // The dialog's own controls in template order (their creation order; a
    // group box lowered below the others takes no focus).
    // Shown as far as the dialog goes: its window may not be shown yet. A
    // dialog that is hidden has none.
    QList<QWidget*> stops;
    if (dialog->isHidden()) {
        return stops;
    }
    for (QObject* child : dialog->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control != nullptr && !control->isWindow() && control->isVisibleTo(dialog) &&
            control->isEnabled() && (control->focusPolicy() & Qt::TabFocus) != 0) {
            stops.push_back(control);
        }
    }
    return stops;
}

bool DialogTabStep(QWidget* dialog, bool next, bool wrap) {
    const QList<QWidget*> stops = DialogTabStops(dialog);
    const int to =
        TabStepIndex(static_cast<int>(stops.size()),
                     static_cast<int>(stops.indexOf(dialog->window()->focusWidget())), next, wrap);
    if (to < 0) {
        return false;
    }
    stops[to]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

HWND CreateDialogWindow(CWindowObject* object, int templateId, HWND parent, LPARAM init) {
    const SDialogTemplate* t = FindDialogTemplate(templateId);
    QWidget* parentWidget = LiveWidget(parent);
    if (t == nullptr || !HaveApplication() || (parent != nullptr && parentWidget == nullptr)) {
        return nullptr;
    }
    const bool child = parentWidget != nullptr && (t->style & WS_CHILD) != 0;
    QWidget* qtParent = child ? parentWidget : (parentWidget ? parentWidget->window() : nullptr);
    CWindowHost* host = MakeDialog(object, *t, qtParent, child);
    const HWND hwnd = host->Handle();
    host->Send(WM_INITDIALOG, 0, init);
    QWidget* widget = LiveWidget(hwnd);
    if (widget == nullptr) {
        return nullptr;
    }
    widget->setVisible((t->style & WS_VISIBLE) != 0);
    return hwnd;
}

INT_PTR RunModalDialog(CWindowObject* object, int templateId, HWND owner, LPARAM init) {
    const SDialogTemplate* t = FindDialogTemplate(templateId);
    if (t == nullptr || !HaveApplication()) {
        return -1;
    }
    QWidget* ownerWidget = LiveWidget(owner);
    CWindowHost* host =
        MakeDialog(object, *t, ownerWidget != nullptr ? ownerWidget->window() : nullptr, false);
    const HWND hwnd = host->Handle();
    host->Widget()->setWindowModality(Qt::ApplicationModal);
    SModalState state;
    host->SetModal(&state);
    host->Send(WM_INITDIALOG, 0, init);
    // EndDialog during WM_INITDIALOG ends the run before the dialog is shown.
    if (LiveHost(hwnd) == host && !state.ended && !QuitPending()) {
        host->Widget()->show();
        host->Widget()->activateWindow();
        CQtLoop loop(true);
        state.loop = &loop;
        RunLoop(loop, nullptr);
        state.loop = nullptr;
    }
    if (LiveHost(hwnd) == host) {
        host->SetModal(nullptr);
        DestroyWindowTree(host->Widget());
    }
    // The owner is active again, as the modal run found it; without a window
    // manager no one else gives it the focus back.
    if (QWidget* back = LiveWidget(owner); back != nullptr && back->window()->isVisible()) {
        back->window()->activateWindow();
    }
    return state.ended ? state.code : -1;
}

BOOL EndDialogWindow(HWND hwnd, INT_PTR code) {
    CWindowHost* host = LiveHost(hwnd);
    if (host == nullptr || host->Kind() != EWindowKind::Dialog || host->Dying()) {
        return FALSE;
    }
    if (!host->EndModal(code)) {
        DestroyWindowTree(host->Widget());
    }
    return TRUE;
}

}  // namespace lunvik::platform
