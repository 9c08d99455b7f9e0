// The shared loop stack's quit, queued on Qt's event queue behind the
// messages posted before it.
#include <QCoreApplication>

#include "platform/qt/loop_stack.h"

namespace lunvik::platform {

bool QueueQuit(int exitCode) {
    if (QCoreApplication::instance() == nullptr) {
        return false;
    }
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [exitCode] { QuitNow(exitCode); }, Qt::QueuedConnection);
    return true;
}

}  // namespace lunvik::platform
