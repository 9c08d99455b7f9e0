// The end of windows: a window tree is destroyed parents first as far as
// messages go (WM_DESTROY), children first as far as objects go (each becomes
// windowless), and its widgets are deleted once control is back in the loop.
#include <QEventLoop>
#include <QPointer>

#include "platform/qt/window_host.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

// Pre-order: the root, then its descendants as they stand in the tree
// (owned top-level windows are Qt children too, and go with their owner).
QList<QPointer<QWidget>> WindowTree(QWidget* root) {
    QList<QPointer<QWidget>> tree;
    tree.append(root);
    for (QWidget* child : root->findChildren<QWidget*>()) {
        if (IsRegistered(child)) {
            tree.append(child);
        }
    }
    return tree;
}

void DetachWindow(QWidget* widget) {
    if (!IsRegistered(widget)) {
        return;
    }
    CWindowHost* host = HostOf(widget);
    UnregisterWindow(widget);
    if (CWindowObject* object = host != nullptr ? host->TakeObject() : nullptr) {
        object->DetachWindow(HandleFromWidget(widget));
    }
}

}  // namespace

void DestroyWindowTree(QWidget* root, bool rootIsBeingDeleted) {
    if (!IsRegistered(root) || (HostOf(root) != nullptr && HostOf(root)->Dying())) {
        return;
    }
    const QList<QPointer<QWidget>> tree = WindowTree(root);
    for (const QPointer<QWidget>& widget : tree) {
        if (CWindowHost* host = HostOf(widget)) {
            host->Stop();
        }
    }
    for (const QPointer<QWidget>& widget : tree) {
        if (CWindowHost* host = HostOf(widget)) {
            host->Send(WM_DESTROY, 0, 0);
        }
    }
    for (auto it = tree.rbegin(); it != tree.rend(); ++it) {
        DetachWindow(it->data());
    }
    if (rootIsBeingDeleted) {
        return;
    }
    if (!root->isHidden()) {
        root->hide();
    }
    // Deleted later: the window may be going away from inside one of its own
    // event handlers (a click, a key, a timer, a close).
    root->deleteLater();
}

void ForgetObject(CWindowObject* object, HWND hwnd) {
    CWindowHost* host = LiveHost(hwnd);
    if (host == nullptr || host->Object() != object) {
        return;
    }
    host->TakeObject();
    DestroyWindowTree(host->Widget());
}

}  // namespace lunvik::platform

using namespace lunvik::platform;

BOOL DestroyWindow(HWND hwnd) {
    QWidget* widget = LiveWidget(hwnd);
    CWindowHost* host = LiveHost(hwnd);
    if (widget == nullptr || (host != nullptr && host->Dying())) {
        return FALSE;
    }
    DestroyWindowTree(widget);
    return TRUE;
}
