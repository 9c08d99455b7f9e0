// Resources by Win32's rules: menus, accelerator tables, icons and strings
// looked up in the program's tables, whose addresses are their handles.
#include "platform/shared/window_rules.h"

#include <algorithm>
#include <cstdlib>

#include "platform/resources.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

// Menu and accelerator handles are the addresses of their resources; they are
// checked against the table before use.
template <class T>
const T* KnownResource(std::span<const T> items, const void* handle) {
    for (const T& item : items) {
        if (&item == handle) {
            return &item;
        }
    }
    return nullptr;
}

}  // namespace

const SMenuResource* KnownMenu(HMENU menu) {
    const SResourceTable* table = GetResources();
    return table != nullptr ? KnownResource(table->menus, menu) : nullptr;
}

const SAccelResource* KnownAccel(HACCEL accel) {
    const SResourceTable* table = GetResources();
    return table != nullptr ? KnownResource(table->accelerators, accel) : nullptr;
}

// An icon handle is the address of an image of the icon resources.
const SIconImage* KnownIcon(HICON icon) {
    const SResourceTable* table = GetResources();
    if (icon == nullptr || table == nullptr) {
        return nullptr;
    }
    for (const SIconResource& resource : table->icons) {
        for (const SIconImage& image : resource.images) {
            if (reinterpret_cast<HICON>(const_cast<SIconImage*>(&image)) == icon) {
                return &image;
            }
        }
    }
    return nullptr;
}

}  // namespace lunvik::platform

using namespace lunvik::platform;

HMENU LoadMenuW(HINSTANCE, int id) {
    return reinterpret_cast<HMENU>(const_cast<SMenuResource*>(FindMenuResource(id)));
}

HACCEL LoadAcceleratorsW(HINSTANCE, int id) {
    return reinterpret_cast<HACCEL>(const_cast<SAccelResource*>(FindAccelResource(id)));
}

int TranslateAcceleratorW(HWND hwnd, HACCEL accel, MSG* msg) {
    const SAccelResource* table = KnownAccel(accel);
    if (table == nullptr || msg == nullptr || !IsWindow(hwnd) ||
        (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) {
        return 0;
    }
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0;
    for (const SAccelEntry& entry : table->entries) {
        // Virtual-key entries match the key and exactly its modifiers.
        if ((entry.fVirt & FVIRTKEY) == 0 || entry.key != msg->wParam ||
            ((entry.fVirt & FSHIFT) != 0) != shift || ((entry.fVirt & FCONTROL) != 0) != control ||
            ((entry.fVirt & FALT) != 0) != alt) {
            continue;
        }
        SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
        return 1;
    }
    return 0;
}

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXICON:
        case SM_CYICON:
            return 32;
        case SM_CXSMICON:
        case SM_CYSMICON:
            return 16;
        default:
            return 0;
    }
}

HICON LoadImageW(HINSTANCE, int resourceId, UINT type, int cx, int cy, UINT flags) {
    const SIconResource* icon = type == IMAGE_ICON ? FindIconResource(resourceId) : nullptr;
    if (icon == nullptr || icon->images.empty()) {
        return nullptr;
    }
    if (cx == 0 && (flags & LR_DEFAULTSIZE) != 0) {
        cx = GetSystemMetrics(SM_CXICON);
    }
    const int wanted = std::max(cx, cy);
    const SIconImage* best = &icon->images.front();
    if (wanted > 0) {
        for (const SIconImage& image : icon->images) {
            if (std::abs(image.size - wanted) < std::abs(best->size - wanted)) {
                best = &image;
            }
        }
    }
    return reinterpret_cast<HICON>(const_cast<SIconImage*>(best));
}

void SetWindowIcons(HWND hwnd, int iconId) {
    const HICON big = LoadImageW(nullptr, iconId, IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                 GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR);
    SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    const HICON small = LoadImageW(nullptr, iconId, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR);
    SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

int LoadStringW(HINSTANCE, UINT id, wchar_t* buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    buffer[0] = L'\0';
    const SStringResource* s = FindStringResource(static_cast<int>(id));
    if (s == nullptr || s->text == nullptr) {
        return 0;
    }
    int n = 0;
    while (n < size - 1 && s->text[n] != L'\0') {
        buffer[n] = s->text[n];
        ++n;
    }
    buffer[n] = L'\0';
    return n;
}
