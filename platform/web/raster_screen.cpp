// The raster's screen on the page: a window's device has the page's device
// pixels per CSS pixel; bitmaps keep their pixels on the heap, from which
// the canvas takes copies.
#include "platform/raster/raster.h"
#include "platform/web/dom.h"
#include "platform/web/window_host.h"

namespace lunvik::platform {
namespace {

class CPageScreen : public raster::IScreen {
  public:
    double DeviceScale(HWND) const override { return lv_scale(); }
    std::uint32_t* LendPixels(HWND, LONG, LONG) override { return nullptr; }
    void TakeBack(std::uint32_t*, std::size_t) override {}
    void WaitUntilRead(const std::uint32_t*) override {}
};

constinit CPageScreen g_screen;

}  // namespace

raster::IScreen& RasterScreen() {
    return g_screen;
}

}  // namespace lunvik::platform
