// The screen as the raster sees it (raster.h's IScreen): a drawing area's
// back buffer lives in a DIB section, so that its paint is one GDI BitBlt
// from that section, with no copy of ours. Windows and buffers are in device
// pixels (the program is aware of each monitor's DPI), so the scale stays 1.
#include "platform/raster/raster.h"
#include "platform/win32/window_host.h"

#include <array>

namespace lunvik::platform {
namespace {

// A DIB section that holds a window's back buffer, selected into a memory
// context of its own for the blits. Few at a time: one per drawing area.
struct SSection {
    std::uint32_t* bits = nullptr;
    HBITMAP bitmap = nullptr;
    HDC dc = nullptr;
    HGDIOBJ before = nullptr;
};
std::array<SSection, 16> g_sections;

SSection* SectionOf(const std::uint32_t* bits) {
    for (SSection& s : g_sections) {
        if (s.bits == bits) {
            return &s;
        }
    }
    return nullptr;
}

class CWin32Screen final : public lunvik::raster::IScreen {
  public:
    double DeviceScale(HWND) const override { return 1.0; }

    std::uint32_t* LendPixels(HWND, LONG width, LONG height) override {
        SSection* slot = SectionOf(nullptr);
        if (slot == nullptr) {
            return nullptr;  // the raster's heap then: painted all the same, through a copy
        }
        const BITMAPINFO info = RasterLayout(width, height);
        void* bits = nullptr;
        const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HDC dc = bitmap != nullptr ? CreateCompatibleDC(nullptr) : nullptr;
        if (dc == nullptr) {
            DeleteObject(bitmap);
            return nullptr;
        }
        *slot = SSection{static_cast<std::uint32_t*>(bits), bitmap, dc, SelectObject(dc, bitmap)};
        return slot->bits;
    }

    void TakeBack(std::uint32_t* bits, std::size_t) override {
        if (SSection* s = SectionOf(bits)) {
            SelectObject(s->dc, s->before);
            DeleteDC(s->dc);
            DeleteObject(s->bitmap);
            *s = SSection{};
        }
    }

    // GDI may batch a blit: drawing into the section again waits until it is done.
    void WaitUntilRead(const std::uint32_t*) override { GdiFlush(); }
};

// Constant-initialised and trivially destroyed: it outlives every bitmap.
constinit CWin32Screen g_screen;

}  // namespace

lunvik::raster::IScreen& RasterScreen() {
    return g_screen;
}

HDC SectionContext(const std::uint32_t* bits) {
    const SSection* section = bits != nullptr ? SectionOf(bits) : nullptr;
    return section != nullptr ? section->dc : nullptr;
}

BITMAPINFO RasterLayout(LONG width, LONG height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace lunvik::platform
