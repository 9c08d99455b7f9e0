// Messages: SendMessageW runs the window object's message map and then the
// default processing; PostMessageW queues a message as a Qt event for the
// window's host (delivered in window_host.cpp).
#include <QCoreApplication>

#include "platform/qt/window_host.h"
#include "platform/shared/message_rules.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

QEvent::Type g_postedType = QEvent::None;

}  // namespace

CPostedMessageEvent::CPostedMessageEvent(const MSG& msg) : QEvent(EventType()), m_msg(msg) {}

QEvent::Type CPostedMessageEvent::EventType() {
    if (g_postedType == QEvent::None) {
        g_postedType = static_cast<QEvent::Type>(QEvent::registerEventType());
    }
    return g_postedType;
}

LRESULT DefaultProcessing(QWidget* widget, CWindowHost* host, UINT msg, WPARAM wParam,
                          LPARAM lParam) {
    switch (msg) {
        case WM_SETTEXT:
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH:
            return DefaultTextProcessing(widget, host, msg, wParam, lParam);
        case WM_SETICON:
            return host != nullptr ? SetIcon(host, wParam, lParam) : 0;
        case WM_CLOSE:
            if (host != nullptr && host->Kind() == EWindowKind::Dialog) {
                CloseDialog(host->Handle());
            } else {
                DestroyWindowTree(widget);
            }
            return 0;
        case WM_SIZE:
            if (host != nullptr && host->Kind() == EWindowKind::Frame) {
                UpdateFrameLayout(host);
            }
            return 0;
        case WM_DESTROY:
            if (host != nullptr && EndsProgram(host->Kind(), host->Style())) {
                PostQuitMessage(1);
            }
            return 0;
        default:
            return 0;
    }
}

}  // namespace lunvik::platform

using namespace lunvik::platform;

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CWindowHost* host = nullptr;
    QWidget* widget = LiveWidget(hwnd, &host);
    if (widget == nullptr) {
        return 0;
    }
    if (host != nullptr && host->Object() != nullptr) {
        LRESULT result = 0;
        if (host->Object()->RouteMessage(hwnd, msg, wParam, lParam, result)) {
            return result;
        }
        // The map may have destroyed the window; WM_DESTROY still gets its
        // default processing while the window is being taken down.
        widget = LiveWidget(hwnd, &host);
        if (widget == nullptr) {
            return 0;
        }
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
    QCoreApplication::postEvent(receiver,
                                new CPostedMessageEvent(MSG{hwnd, msg, wParam, lParam, 0, {}}));
    return TRUE;
}
