// Drawing into a context's bitmap: fills, one-pixel lines and copies, all in
// device pixels and clipped to the bitmap.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/raster/clipped_line.h"
#include "platform/raster/raster.h"

namespace lunvik::raster {
namespace {

// Drawing into a bitmap the screen may still be reading waits until it has.
void BeforeDrawing(const HBITMAP__& bitmap) {
    if (bitmap.m_beingRead) {
        bitmap.m_beingRead = false;
        bitmap.m_screen->WaitUntilRead(bitmap.m_bits);
    }
}

}  // namespace

LONG HDC__::ToDevice(std::int64_t v, bool up) const {
    if (m_scale == 1.0) {
        return static_cast<LONG>(std::clamp<std::int64_t>(v, std::numeric_limits<LONG>::min(),
                                                          std::numeric_limits<LONG>::max()));
    }
    const double scaled = up ? std::ceil(static_cast<double>(v) * m_scale)
                             : std::floor(static_cast<double>(v) * m_scale);
    return static_cast<LONG>(std::clamp<double>(scaled, std::numeric_limits<LONG>::min(),
                                                std::numeric_limits<LONG>::max()));
}

BOOL HDC__::BlitFrom(const HBITMAP__& source, LONG x, LONG y, LONG width, LONG height, LONG srcX,
                     LONG srcY) {
    CCopyRect copy{x, y, width, height, srcX, srcY};
    if (!ClipCopy(source.m_width, source.m_height, m_bitmap->m_width, m_bitmap->m_height, &copy)) {
        return TRUE;
    }
    BeforeDrawing(*m_bitmap);
    const std::size_t rowBytes = static_cast<std::size_t>(copy.m_width) * sizeof(std::uint32_t);
    // A copy within one bitmap may overlap: walk the rows away from the overlap.
    const bool upward = &source == m_bitmap && copy.m_y > copy.m_srcY;
    for (LONG i = 0; i < copy.m_height; ++i) {
        const LONG row = upward ? copy.m_height - 1 - i : i;
        std::uint32_t* to =
            m_bitmap->m_bits + std::int64_t{copy.m_y + row} * m_bitmap->m_width + copy.m_x;
        const std::uint32_t* from =
            source.m_bits + std::int64_t{copy.m_srcY + row} * source.m_width + copy.m_srcX;
        std::memmove(to, from, rowBytes);
    }
    return TRUE;
}

bool ClipCopy(LONG srcWidth, LONG srcHeight, LONG dstWidth, LONG dstHeight, CCopyRect* copy) {
    // 64-bit throughout: x + width may leave the 32-bit range.
    auto axis = [](std::int64_t& to, std::int64_t& from, std::int64_t& size, std::int64_t fromLimit,
                   std::int64_t toLimit) {
        const std::int64_t skip = std::max({std::int64_t{0}, -to, -from});
        to += skip;
        from += skip;
        size -= skip;
        size = std::min({size, toLimit - to, fromLimit - from});
        return size > 0;
    };
    std::int64_t x = copy->m_x, y = copy->m_y, w = copy->m_width, h = copy->m_height;
    std::int64_t sx = copy->m_srcX, sy = copy->m_srcY;
    if (!axis(x, sx, w, srcWidth, dstWidth) || !axis(y, sy, h, srcHeight, dstHeight)) {
        return false;
    }
    *copy = CCopyRect{static_cast<LONG>(x), static_cast<LONG>(y),  static_cast<LONG>(w),
                      static_cast<LONG>(h), static_cast<LONG>(sx), static_cast<LONG>(sy)};
    return true;
}

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
    if (hdc == nullptr || rop != PATCOPY) {
        return FALSE;
    }
    // A negative size extends the rectangle to the left or upwards.
    const std::int64_t logicalLeft = width < 0 ? std::int64_t{x} + width : x;
    const std::int64_t logicalTop = height < 0 ? std::int64_t{y} + height : y;
    std::int64_t left = hdc->ToDevice(logicalLeft);
    std::int64_t top = hdc->ToDevice(logicalTop);
    std::int64_t right = hdc->ToDevice(logicalLeft + std::abs(std::int64_t{width}), true);
    std::int64_t bottom = hdc->ToDevice(logicalTop + std::abs(std::int64_t{height}), true);
    const HBITMAP bitmap = hdc->m_bitmap;
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    right = std::min<std::int64_t>(right, bitmap->m_width);
    bottom = std::min<std::int64_t>(bottom, bitmap->m_height);
    if (left >= right || top >= bottom) {
        return TRUE;
    }
    BeforeDrawing(*bitmap);
    const std::uint32_t pixel = hdc->m_brush->m_pixel;
    for (std::int64_t row = top; row < bottom; ++row) {
        std::uint32_t* line = bitmap->m_bits + row * bitmap->m_width;
        std::fill(line + left, line + right, pixel);
    }
    return TRUE;
}

BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous) {
    if (hdc == nullptr) {
        return FALSE;
    }
    if (previous != nullptr) {
        *previous = hdc->m_current;
    }
    hdc->m_current = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    if (hdc == nullptr) {
        return FALSE;
    }
    const HBITMAP bitmap = hdc->m_bitmap;
    POINT from = hdc->m_current;
    POINT to{x, y};
    if (hdc->m_scale != 1.0) {  // unscaled, the common case, costs no mapping per line
        from = POINT{hdc->ToDevice(from.x), hdc->ToDevice(from.y)};
        to = POINT{hdc->ToDevice(x), hdc->ToDevice(y)};
    }
    const CClippedLine line(from.x, from.y, to.x, to.y, bitmap->m_width, bitmap->m_height);
    BeforeDrawing(*bitmap);
    line.Fill(bitmap->m_bits, bitmap->m_width, hdc->m_pen->m_pixel);
    hdc->m_current = POINT{x, y};
    return TRUE;
}

BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int srcX, int srcY,
            DWORD rop) {
    if (destination == nullptr || source == nullptr || rop != SRCCOPY) {
        return FALSE;
    }
    // In device pixels: the source's extent, placed where each context maps its corner.
    const LONG sx = source->ToDevice(srcX);
    const LONG sy = source->ToDevice(srcY);
    return destination->BlitFrom(*source->m_bitmap, destination->ToDevice(x),
                                 destination->ToDevice(y),
                                 source->ToDevice(std::int64_t{srcX} + width, true) - sx,
                                 source->ToDevice(std::int64_t{srcY} + height, true) - sy, sx, sy);
}

}  // namespace lunvik::raster
