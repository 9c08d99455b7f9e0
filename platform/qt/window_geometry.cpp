// Where windows are and whether they show: client areas, outer rectangles,
// centring, visibility, and the saturating arithmetic that keeps any
// rectangle from overflowing.
#include <QApplication>
#include <QMainWindow>
#include <QResizeEvent>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/qt/window_host.h"
#include "platform/shared/window_rules.h"
#include "platform/window.h"

namespace lunvik::platform {

QPoint ClientOrigin(const QWidget* widget) {
    return widget->contentsRect().topLeft();
}

bool SetSunkenEdge(QFrame* frame, DWORD style, DWORD exStyle) {
    const int edge =
        ((style & WS_BORDER) != 0 ? 1 : 0) + ((exStyle & WS_EX_CLIENTEDGE) != 0 ? 2 : 0);
    if (edge == 0) {
        return false;
    }
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(edge);
    return true;
}

QMargins CenterTopLevel(QWidget* widget, QWidget* center) {
    if (center == nullptr) {
        center = widget->parentWidget() != nullptr ? widget->parentWidget()->window() : nullptr;
    }
    if (center == nullptr && HaveApplication() && QApplication::activeWindow() != widget) {
        center = QApplication::activeWindow();
    }
    QScreen* screen = center != nullptr ? center->screen() : widget->screen();
    const QRect work = screen != nullptr ? screen->availableGeometry() : QRect();
    const QRect reference = center != nullptr ? center->window()->frameGeometry() : work;
    QRect outer = widget->frameGeometry();
    QMargins frame(widget->geometry().left() - outer.left(), widget->geometry().top() - outer.top(),
                   outer.right() - widget->geometry().right(),
                   outer.bottom() - widget->geometry().bottom());
    if (!widget->isVisible() && center != nullptr) {
        // Not yet decorated: most likely the window manager gives it the
        // frame that the reference window has, around the client area.
        const QRect centerClient = center->window()->geometry();
        frame = QMargins(
            centerClient.left() - reference.left(), centerClient.top() - reference.top(),
            reference.right() - centerClient.right(), reference.bottom() - centerClient.bottom());
        outer += frame;
    }
    int x = (reference.left() + reference.right() + 1) / 2 - outer.width() / 2;
    int y = (reference.top() + reference.bottom() + 1) / 2 - outer.height() / 2;
    if (!work.isEmpty()) {
        // Keep it on the screen, as the native call does.
        x = std::max(work.left(), std::min(x, work.right() + 1 - outer.width()));
        y = std::max(work.top(), std::min(y, work.bottom() + 1 - outer.height()));
    }
    widget->move(x, y);
    return frame;
}

// The screen's work area takes the whole outer rectangle, at any scale or font
// size; what does not fit is clipped inside the window.
QRect FitOnScreen(const QRect& outer) {
    QScreen* screen = HaveApplication() ? QGuiApplication::screenAt(outer.topLeft()) : nullptr;
    if (screen == nullptr && HaveApplication()) {
        screen = QGuiApplication::primaryScreen();
    }
    QRect work = screen != nullptr ? screen->availableGeometry() : QRect();
    if (work.isEmpty()) {
        return outer;
    }
    const qreal scale = screen->devicePixelRatio();
    if (scale != std::floor(scale)) {
        work.adjust(0, 0, -1, -1);  // rounded to the nearest logical pixel, maybe up
    }
    QRect fitted(outer.topLeft(), outer.size().boundedTo(work.size()));
    fitted.moveLeft(std::clamp(fitted.left(), work.left(), work.right() + 1 - fitted.width()));
    fitted.moveTop(std::clamp(fitted.top(), work.top(), work.bottom() + 1 - fitted.height()));
    return fitted;
}

// As Win32's maximum tracking size: no larger than all screens together, so
// that no other client can make the window, and its buffers, any larger.
void BoundToScreens(QWidget* window) {
    const QScreen* screen = window->screen();
    if (screen != nullptr) {
        window->setMaximumSize(screen->virtualGeometry().size());
    }
}

namespace {
BOOL MoveWindowTo(HWND hwnd, int x, int y, int width, int height) {
    QWidget* widget = LiveWidget(hwnd);
    if (widget == nullptr) {
        return FALSE;
    }
    const QPoint origin = widget->parentWidget() != nullptr && !widget->isWindow()
                              ? ClientOrigin(widget->parentWidget())
                              : QPoint();
    const QSize before = widget->size();
    widget->setGeometry(
        QRect(origin + QPoint(x, y), QSize(std::max(width, 0), std::max(height, 0))));
    // Qt tells a widget that is not on show of its size only when it shows;
    // Win32 sends WM_SIZE at once.
    if (widget->testAttribute(Qt::WA_PendingResizeEvent)) {
        widget->setAttribute(Qt::WA_PendingResizeEvent, false);
        QResizeEvent resized(widget->size(), before);
        QCoreApplication::sendEvent(widget, &resized);
    }
    return TRUE;
}
}  // namespace

BOOL CenterWindow(HWND hwnd, HWND hwndCenter) {
    QWidget* widget = LiveWidget(hwnd);
    if (widget == nullptr) {
        return FALSE;
    }
    QWidget* center = LiveWidget(hwndCenter);
    if (widget->isWindow()) {
        const QMargins frame = CenterTopLevel(widget, center);
        if (CWindowHost* host = LiveHost(hwnd); host != nullptr && !widget->isVisible()) {
            host->CentredUnshown(hwndCenter, frame);
        }
        return TRUE;
    }
    QWidget* parent = widget->parentWidget();
    QRect area = parent->contentsRect();
    if (center != nullptr && center != parent) {
        area = QRect(parent->mapFromGlobal(center->mapToGlobal(QPoint(0, 0))), center->size());
    }
    widget->move((area.left() + area.right() + 1) / 2 - widget->width() / 2,
                 (area.top() + area.bottom() + 1) / 2 - widget->height() / 2);
    return TRUE;
}

RECT HostClientRect(HWND window) {
    QWidget* widget = LiveWidget(window);
    QSize size = widget->contentsRect().size();
    if (auto* frame = qobject_cast<QMainWindow*>(widget)) {
        // A frame's client area lies below its menu bar.
        if (QWidget* menu = frame->menuWidget()) {
            size.setHeight(std::max(0, size.height() - menu->sizeHint().height()));
        }
    }
    return RECT{0, 0, size.width(), size.height()};
}

}  // namespace lunvik::platform

using namespace lunvik::platform;

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL) {
    CWindowHost* host = nullptr;
    QWidget* widget = LiveWidget(hwnd, &host);
    if (widget == nullptr) {
        return FALSE;
    }
    QRect part = widget->rect();
    if (rect != nullptr) {
        const QPoint origin = ClientOrigin(widget);
        part = QRect(Saturate(0LL + rect->left + origin.x()), Saturate(0LL + rect->top + origin.y()),
                     Extent(rect->left, rect->right), Extent(rect->top, rect->bottom));
    }
    if (host == nullptr || !host->DeferPaint(part)) {
        widget->update(part);
    }
    return TRUE;
}

// A top-level window's place is its client area's here: the program moves
// only children.
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL) {
    return MoveWindowTo(hwnd, x, y, width, height);
}

namespace {
// As user32 does, a window to be shown or hidden hears of it first; false when
// what it heard destroyed it.
bool TellShowing(HWND hwnd, QWidget* widget, bool show) {
    if (widget->isHidden() == show) {
        ::SendMessageW(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    }
    return LiveWidget(hwnd) == widget;
}
}  // namespace

BOOL ShowWindow(HWND hwnd, int cmdShow) {
    QWidget* widget = LiveWidget(hwnd);
    if (widget == nullptr) {
        return FALSE;
    }
    const BOOL wasVisible = widget->isVisible() ? TRUE : FALSE;
    if (!TellShowing(hwnd, widget, cmdShow != SW_HIDE)) {
        return wasVisible;
    }
    switch (cmdShow) {
        case SW_HIDE:
            widget->hide();
            break;
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE:
            widget->showMinimized();
            break;
        case SW_SHOWMAXIMIZED:
            widget->showMaximized();
            break;
        case SW_SHOWNORMAL:
        case SW_RESTORE:
            widget->isWindow() ? widget->showNormal() : widget->show();
            break;
        default:
            widget->show();
            break;
    }
    // A top-level window shown, unless told otherwise, becomes the active one
    // with the keyboard focus; without a window manager no one else makes it so.
    if (widget->isWindow() && cmdShow != SW_HIDE && cmdShow != SW_SHOWNOACTIVATE &&
        cmdShow != SW_SHOWNA && cmdShow != SW_SHOWMINNOACTIVE) {
        widget->activateWindow();
    }
    return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) {
    QWidget* widget = LiveWidget(hwnd);
    return widget != nullptr && widget->isVisible() ? TRUE : FALSE;
}
