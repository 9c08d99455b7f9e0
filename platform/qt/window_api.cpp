// The Win32-named operations on handles. Every handle is looked up in the
// registry first: a null, foreign or destroyed handle does nothing.
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <limits>

#include "platform/qt/window_host.h"
#include "platform/resources.h"
#include "platform/window.h"

using namespace lunvik::platform;

namespace {

// Win32 keeps timers within these bounds; a zero period would spin.
constexpr UINT kTimerMinimum = 10;
constexpr UINT kTimerMaximum = 0x7FFFFFFF;

}  // namespace

HWND GetDlgItem(HWND hDlg, int id) {
    QWidget* dialog = LiveWidget(hDlg);
    if (dialog == nullptr) {
        return nullptr;
    }
    for (QObject* object : dialog->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child != nullptr && LiveWidget(HandleFromWidget(child)) != nullptr &&
            WindowId(child) == id) {
            return HandleFromWidget(child);
        }
    }
    return nullptr;
}

BOOL SetWindowTextW(HWND hwnd, const wchar_t* text) {
    if (LiveWidget(hwnd) == nullptr) {
        return FALSE;
    }
    return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
}

int GetWindowTextW(HWND hwnd, wchar_t* buffer, int size) {
    if (buffer != nullptr && size > 0) {
        buffer[0] = L'\0';
    }
    if (LiveWidget(hwnd) == nullptr) {
        return 0;
    }
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(size),
                                         reinterpret_cast<LPARAM>(buffer)));
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
    QWidget* widget = LiveWidget(hwnd);
    if (widget == nullptr || rect == nullptr) {
        return FALSE;
    }
    QSize size = widget->contentsRect().size();
    if (auto* frame = qobject_cast<QMainWindow*>(widget)) {
        // A frame's client area lies below its menu bar.
        if (QWidget* menu = frame->menuWidget()) {
            size.setHeight(std::max(0, size.height() - menu->sizeHint().height()));
        }
    }
    *rect = RECT{0, 0, size.width(), size.height()};
    return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL) {
    QWidget* widget = LiveWidget(hwnd);
    if (widget == nullptr) {
        return FALSE;
    }
    if (rect == nullptr) {
        widget->update();
    } else {
        const QPoint origin = ClientOrigin(widget);
        widget->update(QRect(Saturate(0LL + rect->left + origin.x()),
                             Saturate(0LL + rect->top + origin.y()),
                             Extent(rect->left, rect->right), Extent(rect->top, rect->bottom)));
    }
    return TRUE;
}

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    QWidget* widget = LiveWidget(hwnd);
    if (widget == nullptr) {
        return 0;
    }
    CWindowHost* host = LiveHost(hwnd);
    if (host != nullptr && host->m_object != nullptr) {
        LRESULT result = 0;
        if (host->m_object->RouteMessage(hwnd, msg, wParam, lParam, result)) {
            return result;
        }
        // The map may have destroyed the window; WM_DESTROY still gets its
        // default processing while the window is being taken down.
        widget = LiveWidget(hwnd);
        if (widget == nullptr) {
            return 0;
        }
        host = LiveHost(hwnd);
    }
    return DefaultProcessing(widget, host, msg, wParam, lParam);
}

BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    QWidget* widget = LiveWidget(hwnd);
    if (widget == nullptr) {
        return FALSE;
    }
    // Posted to the window's host, so that Qt drops it if the window goes first.
    QWidget* receiver = widget;
    while (receiver != nullptr && LiveHost(HandleFromWidget(receiver)) == nullptr) {
        receiver = receiver->parentWidget();
    }
    if (receiver == nullptr) {
        return FALSE;
    }
    QCoreApplication::postEvent(receiver, new CPostedMessageEvent(MSG{hwnd, msg, wParam, lParam}));
    return TRUE;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms, void*) {
    CWindowHost* host = LiveHost(hwnd);
    if (host == nullptr || host->m_dying) {
        return 0;
    }
    QTimer*& timer = host->m_timers[id];
    if (timer == nullptr) {
        timer = new QTimer(host->m_widget);
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer, &QTimer::timeout, host->m_widget,
                         [hwnd, id] { SendMessageW(hwnd, WM_TIMER, id, 0); });
    }
    timer->start(static_cast<int>(std::clamp(ms, kTimerMinimum, kTimerMaximum)));
    return id != 0 ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    CWindowHost* host = LiveHost(hwnd);
    if (host == nullptr) {
        return FALSE;
    }
    auto it = host->m_timers.find(id);
    if (it == host->m_timers.end() || !it->second->isActive()) {
        return FALSE;
    }
    it->second->stop();
    return TRUE;
}

BOOL ShowWindow(HWND hwnd, int cmdShow) {
    QWidget* widget = LiveWidget(hwnd);
    if (widget == nullptr) {
        return FALSE;
    }
    const BOOL wasVisible = widget->isVisible() ? TRUE : FALSE;
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
    return wasVisible;
}

BOOL IsWindow(HWND hwnd) {
    return LiveWidget(hwnd) != nullptr ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
    QWidget* widget = LiveWidget(hwnd);
    return widget != nullptr && widget->isVisible() ? TRUE : FALSE;
}

BOOL DestroyWindow(HWND hwnd) {
    QWidget* widget = LiveWidget(hwnd);
    CWindowHost* host = LiveHost(hwnd);
    if (widget == nullptr || (host != nullptr && host->m_dying)) {
        return FALSE;
    }
    DestroyWindowTree(widget);
    return TRUE;
}

HWND GetParent(HWND hwnd) {
    QWidget* widget = LiveWidget(hwnd);
    if (widget == nullptr) {
        return nullptr;
    }
    QWidget* parent = NearestWindow(widget->parentWidget());
    return parent != nullptr ? HandleFromWidget(parent) : nullptr;
}

HWND GetActiveWindow() {
    if (!HaveApplication()) {
        return nullptr;
    }
    QWidget* active = QApplication::activeWindow();
    return active != nullptr && LiveWidget(HandleFromWidget(active)) != nullptr
               ? HandleFromWidget(active)
               : nullptr;
}

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXICON:
        case SM_CYICON:
            return 32;
        case SM_CXSMICON:
        case SM_CYSMICON:
            return 16;
        default:
            return 0;
    }
}

HICON LoadImageW(HINSTANCE, int resourceId, UINT type, int cx, int cy, UINT flags) {
    const SIconResource* icon = type == IMAGE_ICON ? FindIconResource(resourceId) : nullptr;
    if (icon == nullptr || icon->images.empty()) {
        return nullptr;
    }
    if (cx == 0 && (flags & LR_DEFAULTSIZE) != 0) {
        cx = GetSystemMetrics(SM_CXICON);
    }
    const int wanted = std::max(cx, cy);
    const SIconImage* best = &icon->images.front();
    if (wanted > 0) {
        for (const SIconImage& image : icon->images) {
            if (std::abs(image.size - wanted) < std::abs(best->size - wanted)) {
                best = &image;
            }
        }
    }
    return reinterpret_cast<HICON>(const_cast<SIconImage*>(best));
}

int MulDiv(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    const long long product = static_cast<long long>(a) * b;
    long long quotient = product / c;
    const long long remainder = product % c;
    if (2 * std::llabs(remainder) >= std::llabs(static_cast<long long>(c))) {
        quotient += (product < 0) != (c < 0) ? -1 : 1;
    }
    if (quotient > std::numeric_limits<int>::max() || quotient < std::numeric_limits<int>::min()) {
        return -1;
    }
    return static_cast<int>(quotient);
}

namespace lunvik::platform {

BOOL CenterWindow(HWND hwnd, HWND hwndCenter) {
    QWidget* widget = LiveWidget(hwnd);
    if (widget == nullptr) {
        return FALSE;
    }
    QWidget* center = LiveWidget(hwndCenter);
    if (!widget->isWindow()) {
        QWidget* parent = widget->parentWidget();
        QRect area = parent->contentsRect();
        if (center != nullptr && center != parent) {
            area = QRect(parent->mapFromGlobal(center->mapToGlobal(QPoint(0, 0))), center->size());
        }
        widget->move((area.left() + area.right() + 1) / 2 - widget->width() / 2,
                     (area.top() + area.bottom() + 1) / 2 - widget->height() / 2);
        return TRUE;
    }
    if (center == nullptr) {
        center = widget->parentWidget() != nullptr ? widget->parentWidget()->window() : nullptr;
    }
    if (center == nullptr && HaveApplication() && QApplication::activeWindow() != widget) {
        center = QApplication::activeWindow();
    }
    QScreen* screen = center != nullptr ? center->screen() : widget->screen();
    const QRect work = screen != nullptr ? screen->availableGeometry() : QRect();
    const QRect reference = center != nullptr ? center->window()->frameGeometry() : work;
    const QRect outer = widget->frameGeometry();
    int x = (reference.left() + reference.right() + 1) / 2 - outer.width() / 2;
    int y = (reference.top() + reference.bottom() + 1) / 2 - outer.height() / 2;
    if (!work.isEmpty()) {
        // Keep it on the screen, as the native call does.
        x = std::max(work.left(), std::min(x, work.right() + 1 - outer.width()));
        y = std::max(work.top(), std::min(y, work.bottom() + 1 - outer.height()));
    }
    widget->move(x, y);
    return TRUE;
}

}  // namespace lunvik::platform

void SetWindowIcons(HWND hwnd, int iconId) {
    const HICON big = LoadImageW(nullptr, iconId, IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                 GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR);
    SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    const HICON small = LoadImageW(nullptr, iconId, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR);
    SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}
