// Painting on Win32: a drawing area's back buffer lives in a DIB section
// (raster_screen.cpp), so the paint is one GDI BitBlt of the changed rectangle
// from that section, with no copy of ours.
//
// A paint takes the update region, validates it and paints through the
// window's DC clipped to it, rather than through user32's BeginPaint and
// EndPaint: under Wine those make four round trips to the window server a
// paint (the caret hidden and shown, the update region, the visible region
// worked out anew), this two; a paint of what a timer tick invalidated
// (window_timers.cpp) none. Our windows have no caret, erase nothing (no
// background brush) and paint every pixel of what they are asked to.
#include "platform/paint.h"

#include <utility>

#include "platform/win32/window_host.h"

namespace lunvik::platform {

namespace raster = lunvik::raster;

// A window's paint context: GDI's paint DC between BeginPaint and EndPaint.
// One is kept with each window of ours and used again by its next paint.
class CPaintContext : public raster::HDC__ {
  public:
    CPaintContext() : HDC__(EType::Paint), m_region(::CreateRectRgn(0, 0, 0, 0)) {}
    ~CPaintContext() override {
        if (m_region != nullptr) {
            ::DeleteObject(m_region);
        }
    }
    CPaintContext(const CPaintContext&) = delete;
    CPaintContext& operator=(const CPaintContext&) = delete;

    // tickPaint: what a timer tick invalidated, when the tick's end paints it;
    // otherwise user32's update region (GetUpdateRgn: GetUpdateRect would ask
    // the server a second time whether anything is left), validated.
    void Begin(HWND hwnd, HRGN tickPaint) {
        m_hwnd = hwnd;
        if (m_region != nullptr &&
            (tickPaint != nullptr ? ::CombineRgn(m_region, tickPaint, nullptr, RGN_COPY)
                                  : ::GetUpdateRgn(hwnd, m_region, FALSE)) == ERROR) {
            ::SetRectRgn(m_region, 0, 0, 0, 0);
        }
        if (tickPaint == nullptr) {
            ::ValidateRect(hwnd, nullptr);
        }
        m_dc = ::GetDC(hwnd);
        // Only the region's pixels are copied, as in BeginPaint's context.
        if (m_dc != nullptr) {
            ::SelectClipRgn(m_dc, m_region);
        }
        m_busy = true;
    }
    void End() {
        if (m_dc != nullptr) {
            ::SelectClipRgn(m_dc, nullptr);
            ::ReleaseDC(m_hwnd, m_dc);
            m_dc = nullptr;
        }
        raster::SelectObject(this, raster::GetStockObject(BLACK_PEN));
        raster::SelectObject(this, raster::GetStockObject(WHITE_BRUSH));
        m_current = POINT{};
        m_busy = false;
    }

    BOOL BlitFrom(const raster::HBITMAP__& source, LONG x, LONG y, LONG width, LONG height,
                  LONG srcX, LONG srcY) override {
        if (m_dc == nullptr) {
            return FALSE;
        }
        raster::CCopyRect copy{x, y, width, height, srcX, srcY};
        RECT client;
        ::GetClientRect(m_hwnd, &client);
        if (!raster::ClipCopy(source.m_width, source.m_height, client.right, client.bottom,
                              &copy)) {
            return TRUE;
        }
        if (const HDC section = SectionContext(source.m_bits)) {
            source.m_beingRead = true;  // GDI may finish the blit later
            return ::BitBlt(m_dc, copy.m_x, copy.m_y, copy.m_width, copy.m_height, section,
                            copy.m_srcX, copy.m_srcY, SRCCOPY);
        }
        return BlitFromMemory(source, copy);
    }

    bool m_busy = false;

  private:
    // A bitmap of the raster's heap (not a window's back buffer).
    BOOL BlitFromMemory(const raster::HBITMAP__& source, const raster::CCopyRect& copy) {
        const BITMAPINFO info = RasterLayout(source.m_width, source.m_height);
        return StretchDIBits(m_dc, copy.m_x, copy.m_y, copy.m_width, copy.m_height, copy.m_srcX,
                             copy.m_srcY, copy.m_width, copy.m_height, source.m_bits, &info,
                             DIB_RGB_COLORS, SRCCOPY) != 0;
    }

    HWND m_hwnd = nullptr;
    HDC m_dc = nullptr;
    const HRGN m_region;  // what the paint covers, the DC's clipping; kept for every paint
};

}  // namespace lunvik::platform

using namespace lunvik::platform;

lunvik::raster::HDC BeginPaint(HWND hwnd, SPaintStruct* paint) {
    SWindowData* data = DataOf(hwnd);
    if (data == nullptr || paint == nullptr) {
        return nullptr;
    }
    if (data->m_paintContext == nullptr) {
        data->m_paintContext = std::make_unique<CPaintContext>();
    }
    auto* context = static_cast<CPaintContext*>(data->m_paintContext.get());
    if (context->m_busy) {
        return nullptr;  // one paint of a window at a time
    }
    context->Begin(hwnd, std::exchange(data->m_tickPaint, nullptr));
    *paint = SPaintStruct{};
    paint->hdc = context;
    ::GetClientRect(hwnd, &paint->rcPaint);
    return context;
}

BOOL EndPaint(HWND hwnd, const SPaintStruct* paint) {
    SWindowData* data = DataOf(hwnd);
    if (data == nullptr || paint == nullptr || data->m_paintContext == nullptr ||
        paint->hdc != data->m_paintContext.get()) {
        return FALSE;
    }
    auto* context = static_cast<CPaintContext*>(data->m_paintContext.get());
    if (!context->m_busy) {
        return FALSE;
    }
    context->End();
    return TRUE;
}
