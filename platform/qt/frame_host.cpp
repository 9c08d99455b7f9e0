// Frames: the menu bar built from a menu resource, the client window kept in
// the client area, and accelerator tables.
#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "platform/qt/window_host.h"
#include "platform/resources.h"
#include "platform/window.h"

namespace lunvik::platform {
void AttachMenu(CFrameHost* frame, HMENU handle) {
    const SMenuResource* menu = KnownMenu(handle);
    if (menu == nullptr) {
        return;
    }
    auto* bar = new QMenuBar(frame);
    const HWND frameHandle = frame->Host().Handle();
    std::vector<QMenu*> open;  // pop-ups being filled, innermost last
    for (const SMenuItem& item : menu->items) {
        switch (item.kind) {
            case SMenuItem::Popup:
                open.push_back(open.empty() ? bar->addMenu(ToQString(item.text))
                                            : open.back()->addMenu(ToQString(item.text)));
                break;
            case SMenuItem::EndPopup:
                if (!open.empty()) {
                    open.pop_back();
                }
                break;
            case SMenuItem::Item: {
                if (item.text == nullptr) {
                    if (!open.empty()) {
                        open.back()->addSeparator();
                    }
                    break;
                }
                QAction* action = open.empty() ? bar->addAction(ToQString(item.text))
                                               : open.back()->addAction(ToQString(item.text));
                const WORD command = static_cast<WORD>(item.command);
                // Posted, as a menu's command is: it arrives once the menu has closed.
                QObject::connect(action, &QAction::triggered, bar, [frameHandle, command] {
                    PostMessageW(frameHandle, WM_COMMAND, MAKEWPARAM(command, 0), 0);
                });
                break;
            }
        }
    }
    frame->setMenuBar(bar);
}

bool OpenMenuBar(QWidget* window) {
    auto* frame = qobject_cast<QMainWindow*>(window);
    auto* bar = frame != nullptr ? qobject_cast<QMenuBar*>(frame->menuWidget()) : nullptr;
    if (bar == nullptr || bar->actions().isEmpty()) {
        return false;
    }
    bar->setActiveAction(bar->actions().constFirst());
    return true;
}

void UpdateFrameLayout(CWindowHost* frame) {
    auto* window = qobject_cast<QMainWindow*>(frame->Widget());
    if (window == nullptr || frame->Object() == nullptr) {
        return;
    }
    QWidget* client = LiveWidget(frame->Object()->ClientWindow());
    if (client == nullptr || client == window->centralWidget() ||
        client->parentWidget() != window) {
        return;
    }
    // The main window's layout keeps its central widget sized to the client
    // area from now on. The previous client, if any, stays a plain child.
    if (window->centralWidget() != nullptr) {
        window->takeCentralWidget();
    }
    window->setCentralWidget(client);
}

}  // namespace lunvik::platform
