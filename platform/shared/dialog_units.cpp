#include "platform/shared/dialog_units.h"

#include "platform/window.h"

namespace lunvik::platform {

SBaseUnits::SBaseUnits(int lettersWidth, int height) : x((lettersWidth / 26 + 1) / 2), y(height) {}

int SBaseUnits::X(int units) const {
    return MulDiv(units, x, 4);
}

int SBaseUnits::Y(int units) const {
    return MulDiv(units, y, 8);
}

RECT SBaseUnits::ControlRect(const SDialogControl& c) const {
    const LONG left = X(c.x);
    const LONG top = Y(c.y);
    return RECT{left, top, left + X(c.cx), top + Y(c.cy)};
}

int DialogFontPixels(int pointSize) {
    return MulDiv(pointSize > 0 ? pointSize : 8, 96, 72);
}

SDialogControl ThreeDimensional(SDialogControl c) {
    if ((c.style & WS_BORDER) != 0) {
        c.style &= ~WS_BORDER;
        c.exStyle |= WS_EX_CLIENTEDGE;
    }
    return c;
}

int TabStepIndex(int count, int at, bool next, bool wrap) {
    if (count <= 0 || (!wrap && at == (next ? count - 1 : 0))) {
        return -1;
    }
    if (at < 0 || at >= count) {
        return next ? 0 : count - 1;
    }
    return (at + (next ? 1 : count - 1)) % count;
}

int DialogKeyCommand(WORD vk, int defaultCommand) {
    return vk == VK_RETURN ? defaultCommand : vk == VK_ESCAPE ? IDCANCEL : 0;
}

}  // namespace lunvik::platform
