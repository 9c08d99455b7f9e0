// The registry of live windows: every handle is looked up here before it is
// followed, so a null, foreign or destroyed handle never reaches a window.
#include <algorithm>
#include <unordered_map>

#include "platform/shared/window_rules.h"
#include "platform/web/dom.h"
#include "platform/web/window_host.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

// Never destroyed: window objects of static storage may ask it about their
// handle while the program exits.
std::unordered_map<HWND, std::unique_ptr<SWebWindow>>& Registry() {
    static auto& registry = *new std::unordered_map<HWND, std::unique_ptr<SWebWindow>>();
    return registry;
}

// Windows destroyed, kept until no handler on the stack can still hold them.
std::vector<std::unique_ptr<SWebWindow>> g_gone;

}  // namespace

SWebWindow* NewWindow(SWebWindow* parent) {
    auto window = std::make_unique<SWebWindow>();
    SWebWindow* w = window.get();
    w->parent = parent;
    if (parent != nullptr) {
        parent->children.push_back(w);
    }
    Registry().emplace(w->Handle(), std::move(window));
    return w;
}

SWebWindow* Live(HWND hwnd) {
    auto it = hwnd != nullptr ? Registry().find(hwnd) : Registry().end();
    return it != Registry().end() ? it->second.get() : nullptr;
}

void Unregister(SWebWindow* window) {
    auto it = Registry().find(window->Handle());
    if (it == Registry().end()) {
        return;
    }
    if (SWebWindow* parent = Live(window->parent != nullptr ? window->parent->Handle() : nullptr)) {
        std::erase(parent->children, window);
    }
    g_gone.push_back(std::move(it->second));
    Registry().erase(it);
}

void FreeUnregistered() {
    g_gone.clear();
}

std::vector<SWebWindow*> TopLevelWindows() {
    std::vector<SWebWindow*> result;
    for (auto& [handle, window] : Registry()) {
        if (window->TopLevel()) {
            result.push_back(window.get());
        }
    }
    return result;
}

SWebWindow* ActiveTop() {
    SWebWindow* frame = nullptr;
    for (SWebWindow* top : TopLevelWindows()) {
        if (top->modal != nullptr) {
            return top;
        }
        frame = top->kind == EWindowKind::Frame && top->visible ? top : frame;
    }
    return frame;
}

SWebWindow* RootOf(SWebWindow* window) {
    while (!window->TopLevel() && window->parent != nullptr) {
        window = window->parent;
    }
    return window;
}

bool Showing(const SWebWindow* window) {
    for (; window != nullptr; window = window->TopLevel() ? nullptr : window->parent) {
        if (!window->visible) {
            return false;
        }
    }
    return true;
}

bool HostWindowAlive(HWND hwnd) {
    return Live(hwnd) != nullptr;
}

HWND HostParent(HWND window) {
    SWebWindow* parent = Live(window)->parent;
    return parent != nullptr ? parent->Handle() : nullptr;
}

HWND HostChild(HWND dialog, int id) {
    for (SWebWindow* child : Live(dialog)->children) {
        if (!child->TopLevel() && child->id == id) {
            return child->Handle();
        }
    }
    return nullptr;
}

}  // namespace lunvik::platform

using namespace lunvik::platform;

HWND GetActiveWindow() {
    SWebWindow* focus = Live(reinterpret_cast<HWND>(lv_focused()));
    return focus != nullptr ? RootOf(focus)->Handle() : nullptr;
}
