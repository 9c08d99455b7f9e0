// The registry of live windows: every handle is looked up here before it is
// followed, so a null, foreign or destroyed handle never reaches a widget.
#include <QApplication>
#include <QPointer>
#include <unordered_map>

#include "platform/qt/window_host.h"
#include "platform/shared/window_rules.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

struct SWindowEntry {
    QPointer<QWidget> widget;
    CWindowHost* host = nullptr;
    int id = 0;
};

std::unordered_map<QWidget*, SWindowEntry>& Registry() {
    // Never destroyed: window objects of static storage may ask it about
    // their handle while the program exits.
    static auto& registry = *new std::unordered_map<QWidget*, SWindowEntry>();
    return registry;
}

SWindowEntry* FindEntry(QWidget* widget) {
    auto& registry = Registry();
    auto it = registry.find(widget);
    if (it == registry.end()) {
        return nullptr;
    }
    if (it->second.widget.isNull()) {
        registry.erase(it);
        return nullptr;
    }
    return &it->second;
}

}  // namespace

void RegisterWindow(QWidget* widget, CWindowHost* host, int id) {
    Registry()[widget] = SWindowEntry{QPointer<QWidget>(widget), host, id};
}

void RegisterHost(CWindowHost* host, CWindowObject* object, int id) {
    RegisterWindow(host->Widget(), host, id);
    host->SetObject(object);
    object->AttachWindow(host->Handle());
}

void UnregisterWindow(QWidget* widget) {
    Registry().erase(widget);
}

bool IsRegistered(QWidget* widget) {
    return FindEntry(widget) != nullptr;
}

CWindowHost* HostOf(QWidget* widget) {
    SWindowEntry* entry = FindEntry(widget);
    return entry != nullptr ? entry->host : nullptr;
}

QWidget* LiveWidget(HWND hwnd, CWindowHost** host) {
    SWindowEntry* entry = hwnd != nullptr ? FindEntry(WidgetFromHandle(hwnd)) : nullptr;
    *host = entry != nullptr ? entry->host : nullptr;
    return entry != nullptr ? entry->widget.data() : nullptr;
}

QWidget* LiveWidget(HWND hwnd) {
    CWindowHost* host = nullptr;
    return LiveWidget(hwnd, &host);
}

CWindowHost* LiveHost(HWND hwnd) {
    CWindowHost* host = nullptr;
    LiveWidget(hwnd, &host);
    return host;
}

QWidget* NearestWindow(QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (IsRegistered(widget)) {
            return widget;
        }
    }
    return nullptr;
}

int WindowId(QWidget* widget) {
    SWindowEntry* entry = FindEntry(widget);
    return entry != nullptr ? entry->id : 0;
}

QList<QWidget*> LiveTopLevelWindows() {
    QList<QWidget*> result;
    for (auto& [widget, entry] : Registry()) {
        if (!entry.widget.isNull() && NearestWindow(widget->parentWidget()) == nullptr) {
            result.append(widget);
        }
    }
    return result;
}

bool HostWindowAlive(HWND hwnd) {
    return LiveWidget(hwnd) != nullptr;
}

HWND HostParent(HWND window) {
    QWidget* parent = NearestWindow(LiveWidget(window)->parentWidget());
    return parent != nullptr ? HandleFromWidget(parent) : nullptr;
}

HWND HostChild(HWND dialog, int id) {
    for (QObject* object : LiveWidget(dialog)->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child != nullptr && IsRegistered(child) && WindowId(child) == id) {
            return HandleFromWidget(child);
        }
    }
    return nullptr;
}

}  // namespace lunvik::platform

using namespace lunvik::platform;

HWND GetActiveWindow() {
    if (!HaveApplication()) {
        return nullptr;
    }
    QWidget* active = QApplication::activeWindow();
    return active != nullptr && LiveWidget(HandleFromWidget(active)) != nullptr
               ? HandleFromWidget(active)
               : nullptr;
}
