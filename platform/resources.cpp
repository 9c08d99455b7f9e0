#include "platform/resources.h"

namespace {

const SResourceTable* g_resources = nullptr;

template <class T>
const T* FindById(std::span<const T> items, int id) {
    for (const T& item : items) {
        if (item.id == id) {
            return &item;
        }
    }
    return nullptr;
}

}  // namespace

void SetResources(const SResourceTable* table) {
    g_resources = table;
}

const SResourceTable* GetResources() {
    return g_resources;
}

const SDialogTemplate* FindDialogTemplate(int id) {
    return g_resources ? FindById(g_resources->dialogs, id) : nullptr;
}

const SMenuResource* FindMenuResource(int id) {
    return g_resources ? FindById(g_resources->menus, id) : nullptr;
}

const SAccelResource* FindAccelResource(int id) {
    return g_resources ? FindById(g_resources->accelerators, id) : nullptr;
}

const SIconResource* FindIconResource(int id) {
    return g_resources ? FindById(g_resources->icons, id) : nullptr;
}

const SStringResource* FindStringResource(int id) {
    return g_resources ? FindById(g_resources->strings, id) : nullptr;
}
