// Icons: icon images from the resources (picture files), WM_SETICON and
// the window icon Qt shows, and the icon sizes of the system.
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <algorithm>
#include <cstdlib>

#include "platform/qt/window_host.h"
#include "platform/resources.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

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

// The picture of an icon image; a file that is missing or unreadable gives a
// null image, which leaves the window without that icon.
QImage IconPicture(const SIconImage& image) {
    return image.file != nullptr ? QImage(QString::fromUtf8(image.file)) : QImage();
}

}  // namespace

LRESULT SetIcon(CWindowHost* host, WPARAM which, LPARAM lParam) {
    const int slot = which == ICON_BIG ? 1 : 0;
    const HICON icon = reinterpret_cast<HICON>(lParam);
    if (icon != nullptr && KnownIcon(icon) == nullptr) {
        return 0;
    }
    const HICON previous = host->SetIconSlot(slot, icon);
    if (host->Widget()->isWindow()) {
        QIcon qicon;
        for (HICON h : host->Icons()) {
            if (const SIconImage* image = KnownIcon(h)) {
                qicon.addPixmap(QPixmap::fromImage(IconPicture(*image)));
            }
        }
        host->Widget()->setWindowIcon(qicon);
    }
    return reinterpret_cast<LRESULT>(previous);
}

}  // namespace lunvik::platform

using namespace lunvik::platform;

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
