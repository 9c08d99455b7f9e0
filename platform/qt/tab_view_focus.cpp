// Where the focus goes in a tab view: into a page at the control it had
// last or its first tab stop, and with Tab across the strip and the page's
// tab stops, as Win32's tabbed dialogs do.
#include "platform/qt/window_host.h"

namespace lunvik::platform {

void FocusPage(QWidget* strip, QWidget* page, QWidget* kept) {
    const QList<QWidget*> stops = page != nullptr ? DialogTabStops(page) : QList<QWidget*>();
    if (kept != nullptr && page->isAncestorOf(kept) && kept->isVisibleTo(page) &&
        kept->isEnabled()) {
        kept->setFocus(Qt::OtherFocusReason);
    } else if (!stops.isEmpty()) {
        stops.first()->setFocus(Qt::TabFocusReason);
    } else {
        strip->setFocus(Qt::OtherFocusReason);
    }
}

void TabAcrossStrip(QWidget* strip, QWidget* page, QWidget* kept, bool next) {
    QWidget* focus = strip->window()->focusWidget();
    const Qt::FocusReason reason = next ? Qt::TabFocusReason : Qt::BacktabFocusReason;
    if (focus == strip && page != nullptr) {
        const QList<QWidget*> stops = DialogTabStops(page);
        if (!stops.isEmpty()) {
            (next ? stops.first() : stops.last())->setFocus(reason);
        }
    } else if (page != nullptr && page->isVisible() && page->isAncestorOf(focus)) {
        strip->setFocus(reason);
    } else {
        FocusPage(strip, page, kept);  // the focus was in a page being hidden
    }
}

}  // namespace lunvik::platform
