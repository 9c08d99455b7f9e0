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
