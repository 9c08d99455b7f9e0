// The end of windows: a window tree is destroyed parents first as far as
// messages go (WM_DESTROY), children first as far as objects go (each
// becomes windowless); its elements leave the page at once.
#include "platform/web/dom.h"
#include "platform/web/window_host.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

// Pre-order: the root, then its descendants (owned windows among them).
void CollectTree(SWebWindow* root, std::vector<HWND>* tree) {
    tree->push_back(root->Handle());
    for (SWebWindow* child : root->children) {
        CollectTree(child, tree);
    }
}

void Detach(SWebWindow* w) {
    const HWND hwnd = w->Handle();
    CWindowObject* object = w->object;
    w->object = nullptr;
    if (w->element != 0) {
        lv_remove(w->element);
    }
    Unregister(w);
    if (object != nullptr) {
        object->DetachWindow(hwnd);
    }
}

}  // namespace

void DestroyWindowTree(SWebWindow* root) {
    if (root->dying) {
        return;
    }
    std::vector<HWND> tree;
    CollectTree(root, &tree);
    for (HWND hwnd : tree) {
        SWebWindow* w = Live(hwnd);
        w->dying = true;
        KillWindowTimers(w);
        if (w->modal != nullptr && w->modal->loop != nullptr) {
            w->modal->loop->Exit();
        }
        w->modal = nullptr;
    }
    for (HWND hwnd : tree) {
        if (SWebWindow* w = Live(hwnd); w != nullptr && !w->control) {
            SendMessageW(hwnd, WM_DESTROY, 0, 0);
        }
    }
    for (auto it = tree.rbegin(); it != tree.rend(); ++it) {
        if (SWebWindow* w = Live(*it)) {
            Detach(w);
        }
    }
}

void ForgetObject(CWindowObject* object, HWND hwnd) {
    SWebWindow* w = Live(hwnd);
    if (w == nullptr || w->object != object) {
        return;
    }
    w->object = nullptr;
    DestroyWindowTree(w);
}

}  // namespace lunvik::platform

BOOL DestroyWindow(HWND hwnd) {
    lunvik::platform::SWebWindow* w = lunvik::platform::Live(hwnd);
    if (w == nullptr || w->dying) {
        return FALSE;
    }
    lunvik::platform::DestroyWindowTree(w);
    return TRUE;
}
