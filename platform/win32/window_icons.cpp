// Icons from the program's icon group resources (compiled in by windres).
#include "platform/win32/window_host.h"
#include "platform/window.h"

using namespace lunvik::platform;

HICON LoadImageW(HINSTANCE, int resourceId, UINT type, int cx, int cy, UINT flags) {
    return static_cast<HICON>(
        ::LoadImageW(Instance(), MAKEINTRESOURCEW(resourceId), type, cx, cy, flags | LR_SHARED));
}

void SetWindowIcons(HWND hwnd, int iconId) {
    for (const bool big : {true, false}) {
        const int cx = GetSystemMetrics(big ? SM_CXICON : SM_CXSMICON);
        const int cy = GetSystemMetrics(big ? SM_CYICON : SM_CYSMICON);
        const HICON icon = LoadImageW(nullptr, iconId, IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR);
        if (icon != nullptr) {
            ::SendMessageW(hwnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                           reinterpret_cast<LPARAM>(icon));
        }
    }
}
