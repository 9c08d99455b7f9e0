// Qt events turned into messages for our windows: close, resize, Enter and
// Escape in a dialog, paint, and the messages PostMessageW queued.
#include <QKeyEvent>
#include <QPushButton>

#include "platform/message_loop.h"
#include "platform/qt/loop_stack.h"
#include "platform/qt/window_host.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

// Enter clicks a dialog's focused push button, which is its default one then;
// otherwise, in a top-level dialog, Enter clicks the default button and
// Escape Cancel.
bool DialogKey(CWindowHost& host, const QKeyEvent* key) {
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    auto* focused = qobject_cast<QPushButton*>(host.m_widget->window()->focusWidget());
    if (enter && focused != nullptr && focused->parentWidget() == host.m_widget) {
        focused->click();
        return true;
    }
    if (!host.IsTopLevelDialog()) {
        return false;
    }
    int command = 0;
    if (enter) {
        command = host.m_defaultCommand;
    } else if (key->key() == Qt::Key_Escape) {
        command = IDCANCEL;
    }
    if (command == 0) {
        return false;
    }
    HWND control = GetDlgItem(host.Handle(), command);
    host.Send(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), BN_CLICKED),
              reinterpret_cast<LPARAM>(control));
    return true;
}

// A posted message: the running loop's filters see it before it is sent.
void DeliverPosted(const CPostedMessageEvent* event) {
    MSG msg = event->m_msg;
    CMessageLoop* loop = InnermostMessageLoop();
    if (loop == nullptr || !loop->PreTranslateMessage(&msg)) {
        SendMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    }
}

}  // namespace

bool CWindowHost::HandleEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::Close:
            event->ignore();
            Send(WM_CLOSE, 0, 0);
            return true;
        case QEvent::Move:
        case QEvent::Show:
        case QEvent::WindowActivate:
            FitOuterGeometry(this);
            RecentreDecorated(this);
            return false;
        case QEvent::Resize: {
            FitOuterGeometry(this);
            const QRect client = m_widget->contentsRect();
            Send(WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(static_cast<WORD>(client.width()), static_cast<WORD>(client.height())));
            return false;
        }
        case QEvent::KeyPress:
            return m_kind == EWindowKind::Dialog &&
                   DialogKey(*this, static_cast<QKeyEvent*>(event));
        default:
            break;
    }
    if (event->type() == CPostedMessageEvent::EventType()) {
        DeliverPosted(static_cast<CPostedMessageEvent*>(event));
        return true;
    }
    return false;
}

void CWindowHost::Paint() {
    Send(WM_PAINT, 0, 0);
}

}  // namespace lunvik::platform
