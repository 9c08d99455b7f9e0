// The widgets that stand for our windows: CHostWidget for plain windows,
// dialogs and the tab view, CFrameHost for frames. Each passes its events to
// its CWindowHost first (window_host.cpp).
#include <QPaintEvent>

#include "platform/qt/window_host.h"

namespace lunvik::platform {

CHostWidget::CHostWidget(QWidget* parent, Qt::WindowFlags flags, EWindowKind kind, DWORD style)
    : QFrame(parent, flags), m_host(this, kind, style) {
    if (kind == EWindowKind::Window) {
        // The window's own WM_PAINT is all that is drawn.
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAutoFillBackground(false);
    } else {
        setAutoFillBackground(true);
    }
}

bool CHostWidget::event(QEvent* event) {
    if (m_host.HandleEvent(event)) {
        return true;
    }
    return QFrame::event(event);
}

// A page of a tab view does not go round: past its ends the strip is next.
bool CHostWidget::focusNextPrevChild(bool next) {
    if (m_host.Kind() == EWindowKind::Dialog &&
        DialogTabStep(this, next, !IsTabView(parentWidget()))) {
        return true;
    }
    return QFrame::focusNextPrevChild(next);
}

QPaintEngine* CHostWidget::paintEngine() const {
    return testAttribute(Qt::WA_PaintOnScreen) ? nullptr : QFrame::paintEngine();
}

void CHostWidget::RenewNativeWindow() {
    const bool shown = !isHidden();
    hide();
    destroy(true, true);
    create();
    setVisible(shown);
}

void CHostWidget::paintEvent(QPaintEvent* event) {
    if (m_host.Kind() == EWindowKind::Window) {
        m_host.Paint(event->rect());
    }
    // A repaint inside the client area leaves the frame around it alone.
    if (frameStyle() != QFrame::NoFrame && !contentsRect().contains(event->rect())) {
        QFrame::paintEvent(event);
    }
}

CFrameHost::CFrameHost(QWidget* owner, DWORD style)
    : QMainWindow(owner, owner != nullptr ? Qt::Window : Qt::WindowFlags()),
      m_host(this, EWindowKind::Frame, style) {}

bool CFrameHost::event(QEvent* event) {
    if (m_host.HandleEvent(event)) {
        return true;
    }
    return QMainWindow::event(event);
}

}  // namespace lunvik::platform
