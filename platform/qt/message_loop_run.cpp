// CMessageLoop::Run on the Qt event loop: key presses become WM_KEYDOWN for
// the message filters, idle handlers run when the loop is about to wait.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>

#include "platform/message_loop.h"
#include "platform/qt/loop_stack.h"
#include "platform/qt/window_host.h"
#include "platform/shared/message_rules.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

// Qt keys whose virtual-key codes are not their own codes.
constexpr struct {
    int key;
    WORD vk;
} kVirtualKeys[] = {
    {Qt::Key_Tab, VK_TAB},         {Qt::Key_Backtab, VK_TAB},  // Shift+Tab arrives as its own key
    {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN},  {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Backspace, VK_BACK},  {Qt::Key_Space, VK_SPACE},   {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},      {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},   {Qt::Key_End, VK_END},       {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},       {Qt::Key_Up, VK_UP},         {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},       {Qt::Key_Insert, VK_INSERT}, {Qt::Key_Delete, VK_DELETE},
};

WORD VirtualKey(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return static_cast<WORD>(key);  // same codes as the virtual keys
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return static_cast<WORD>(VK_F1 + (key - Qt::Key_F1));
    }
    for (const auto& entry : kVirtualKeys) {
        if (entry.key == key) {
            return entry.vk;
        }
    }
    return 0;
}

void RecordModifiers(const QKeyEvent* key) {
    Qt::KeyboardModifiers modifiers = key->modifiers();
    // A modifier's own press or release is not yet in the event's state on
    // every platform.
    const bool down = key->type() == QEvent::KeyPress;
    const Qt::KeyboardModifier own = key->key() == Qt::Key_Control ? Qt::ControlModifier
                                     : key->key() == Qt::Key_Shift ? Qt::ShiftModifier
                                     : key->key() == Qt::Key_Alt   ? Qt::AltModifier
                                                                   : Qt::NoModifier;
    if (own != Qt::NoModifier) {
        modifiers.setFlag(own, down);
    }
    SetKeyModifiers(SModifiers{modifiers.testFlag(Qt::ShiftModifier),
                               modifiers.testFlag(Qt::ControlModifier),
                               modifiers.testFlag(Qt::AltModifier)});
}

// Offers every key press to the loop's filters, once, before any widget sees it.
class CKeyFilter : public QObject {
  public:
    explicit CKeyFilter(CMessageLoop* loop) : m_loop(loop) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if ((event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) ||
            !watched->isWidgetType()) {
            return false;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::KeyRelease) {
            RecordModifiers(key);
            return false;
        }
        if (IsPressSeenBefore(key, widget)) {
            return false;
        }
        RecordModifiers(key);
        const WORD vk = VirtualKey(key->key());
        if (vk == 0 || InnermostMessageLoop() != m_loop || !Offer(key, widget, vk)) {
            return false;
        }
        key->accept();
        return true;
    }

  private:
    // A key press that a widget ignores travels on to its parent: that is
    // the same press, not a new one.
    bool IsPressSeenBefore(const QKeyEvent* key, QWidget* widget) {
        const bool seen = key == m_lastKey && !m_lastReceiver.isNull() &&
                          m_lastReceiver->parentWidget() == widget;
        m_lastKey = key;
        m_lastReceiver = widget;
        return seen;
    }

    // The press as a key message to the filters; true when it was consumed.
    bool Offer(const QKeyEvent* key, QWidget* widget, WORD vk) {
        QWidget* window = NearestWindow(widget);
        if (OfferKeyPress(*m_loop, window != nullptr ? HandleFromWidget(window) : nullptr,
                          HandleFromWidget(widget->window()), SKeyPress{vk, key->isAutoRepeat()})) {
            return true;
        }
        // F10 alone opens the menu bar, as Alt alone does.
        const SModifiers& m = KeyModifiers();
        return vk == VK_F10 && !m.shift && !m.control && !m.alt && OpenMenuBar(widget->window());
    }

    CMessageLoop* m_loop;
    const QKeyEvent* m_lastKey = nullptr;
    QPointer<QWidget> m_lastReceiver;
};

}  // namespace
}  // namespace lunvik::platform

using namespace lunvik::platform;

int CMessageLoop::Run() {
    int exitCode = 0;
    if (!HaveApplication() || TakeQuit(&exitCode)) {
        return exitCode;
    }
    CKeyFilter keys(this);
    qApp->installEventFilter(&keys);
    CQtLoop loop(false);
    int idleCount = 0;
    bool inIdle = false;
    const QMetaObject::Connection idle =
        QObject::connect(QAbstractEventDispatcher::instance(),
                         &QAbstractEventDispatcher::aboutToBlock, &loop.Loop(), [&] {
                             if (!inIdle && InnermostMessageLoop() == this) {
                                 inIdle = true;
                                 OnIdle(idleCount++);
                                 inIdle = false;
                             }
                         });
    RunLoop(loop, this);
    QObject::disconnect(idle);
    qApp->removeEventFilter(&keys);
    // Windows destroyed during the run are deleted now, while the toolkit is up.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    TakeQuit(&exitCode);
    return exitCode;
}
