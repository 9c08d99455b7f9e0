// The frame's menu bar and accelerator table, made from our resource tables.
#include <vector>

#include "platform/resources.h"
#include "platform/win32/window_host.h"
#include "platform/window.h"

using namespace lunvik::platform;

HMENU LoadMenuW(HINSTANCE, int id) {
    const SMenuResource* resource = FindMenuResource(id);
    if (resource == nullptr) {
        return nullptr;
    }
    HMENU bar = CreateMenu();
    HMENU popup = nullptr;
    const wchar_t* popupText = nullptr;
    for (const SMenuItem& item : resource->items) {
        switch (item.kind) {
            case SMenuItem::Popup:
                popup = CreatePopupMenu();
                popupText = item.text;
                break;
            case SMenuItem::Item:
                AppendMenuW(popup != nullptr ? popup : bar, MF_STRING,
                            static_cast<UINT_PTR>(item.command), item.text);
                break;
            case SMenuItem::EndPopup:
                if (popup != nullptr) {
                    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), popupText);
                    popup = nullptr;
                }
                break;
        }
    }
    return bar;
}

HACCEL LoadAcceleratorsW(HINSTANCE, int id) {
    const SAccelResource* resource = FindAccelResource(id);
    if (resource == nullptr || resource->entries.empty()) {
        return nullptr;
    }
    std::vector<ACCEL> table;
    for (const SAccelEntry& entry : resource->entries) {
        table.push_back(ACCEL{entry.fVirt, entry.key, entry.cmd});
    }
    return CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}
