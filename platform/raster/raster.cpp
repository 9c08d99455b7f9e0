#include "platform/raster/raster.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/raster/clipped_line.h"

namespace {

using EObj = HGDIOBJ__::EType;

// Stock objects: shared, never freed, not counted when selected. Trivially
// destructible, so that contexts destroyed at program exit can still look at
// them.
constinit HBITMAP__ g_emptyBitmap{{EObj::Bitmap, true, 0}, 0, 0, nullptr};
constinit HPEN__ g_blackPen{{EObj::Pen, true, 0}, PixelFromColor(RGB(0, 0, 0))};
constinit HBRUSH__ g_blackBrush{{EObj::Brush, true, 0}, PixelFromColor(RGB(0, 0, 0))};
constinit HBRUSH__ g_whiteBrush{{EObj::Brush, true, 0}, PixelFromColor(RGB(255, 255, 255))};

// A bitmap larger than this (1 GiB) is refused rather than attempted.
constexpr std::int64_t kMaxBitmapPixels = std::int64_t{1} << 28;

void Hold(HGDIOBJ object) {
    if (!object->m_stock) {
        ++object->m_selections;
    }
}

void Drop(HGDIOBJ object) {
    if (!object->m_stock) {
        --object->m_selections;
    }
}

template <class T>
HGDIOBJ Swap(T*& slot, HGDIOBJ object) {
    T* previous = slot;
    if (previous != object) {
        Hold(object);
        Drop(previous);
        slot = static_cast<T*>(object);
    }
    return previous;
}

}  // namespace

HDC__::HDC__(EType type)
    : m_type(type), m_bitmap(&g_emptyBitmap), m_pen(&g_blackPen), m_brush(&g_whiteBrush) {}

HDC__::~HDC__() {
    Drop(m_bitmap);
    Drop(m_pen);
    Drop(m_brush);
}

BOOL HDC__::BlitFrom(const HBITMAP__& source, LONG x, LONG y, LONG width, LONG height, LONG srcX,
                     LONG srcY) {
    CCopyRect copy{x, y, width, height, srcX, srcY};
    if (!ClipCopy(source.m_width, source.m_height, m_bitmap->m_width, m_bitmap->m_height, &copy)) {
        return TRUE;
    }
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

HDC GetDC(HWND) {
    static HDC__ screen(HDC__::EType::Screen);
    return &screen;
}

int ReleaseDC(HWND, HDC hdc) {
    return hdc != nullptr && hdc->m_type == HDC__::EType::Screen ? 1 : 0;
}

HDC CreateCompatibleDC(HDC hdc) {
    if (hdc == nullptr) {
        return nullptr;
    }
    return new (std::nothrow) HDC__(HDC__::EType::Memory);
}

BOOL DeleteDC(HDC hdc) {
    if (hdc == nullptr || hdc->m_type != HDC__::EType::Memory) {
        return FALSE;
    }
    delete hdc;
    return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
    if (hdc == nullptr || width <= 0 || height <= 0 ||
        std::int64_t{width} * height > kMaxBitmapPixels) {
        return nullptr;
    }
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    auto* bits = new (std::nothrow) std::uint32_t[count];
    if (bits == nullptr) {
        return nullptr;
    }
    auto* bitmap = new (std::nothrow) HBITMAP__{{EObj::Bitmap, false, 0}, width, height, bits};
    if (bitmap == nullptr) {
        delete[] bits;
        return nullptr;
    }
    std::fill(bits, bits + count, PixelFromColor(RGB(0, 0, 0)));
    return bitmap;
}

HPEN CreatePen(int style, int width, COLORREF color) {
    // Only what the program draws with: solid, one pixel (0 means one pixel too).
    if (style != PS_SOLID || width < 0 || width > 1) {
        return nullptr;
    }
    return new (std::nothrow) HPEN__{{EObj::Pen, false, 0}, PixelFromColor(color)};
}

HGDIOBJ GetStockObject(int index) {
    switch (index) {
        case BLACK_BRUSH:
            return &g_blackBrush;
        case WHITE_BRUSH:
            return &g_whiteBrush;
        case BLACK_PEN:
            return &g_blackPen;
        default:
            return nullptr;
    }
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
    if (hdc == nullptr || object == nullptr || hdc->m_type == HDC__::EType::Screen) {
        return nullptr;
    }
    switch (object->m_type) {
        case EObj::Bitmap:
            // A bitmap lives in one memory context at a time.
            if (hdc->m_type != HDC__::EType::Memory ||
                (object != hdc->m_bitmap && object->m_selections > 0)) {
                return nullptr;
            }
            return Swap(hdc->m_bitmap, object);
        case EObj::Pen:
            return Swap(hdc->m_pen, object);
        case EObj::Brush:
            return Swap(hdc->m_brush, object);
    }
    return nullptr;
}

BOOL DeleteObject(HGDIOBJ object) {
    if (object == nullptr || object->m_selections > 0) {
        return FALSE;
    }
    if (object->m_stock) {
        return TRUE;
    }
    switch (object->m_type) {
        case EObj::Bitmap: {
            auto* bitmap = static_cast<HBITMAP>(object);
            delete[] bitmap->m_bits;
            delete bitmap;
            break;
        }
        case EObj::Pen:
            delete static_cast<HPEN>(object);
            break;
        case EObj::Brush:
            delete static_cast<HBRUSH>(object);
            break;
    }
    return TRUE;
}

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
    if (hdc == nullptr || rop != PATCOPY) {
        return FALSE;
    }
    // A negative size extends the rectangle to the left or upwards.
    std::int64_t left = width < 0 ? std::int64_t{x} + width : x;
    std::int64_t top = height < 0 ? std::int64_t{y} + height : y;
    std::int64_t right = left + (width < 0 ? -std::int64_t{width} : width);
    std::int64_t bottom = top + (height < 0 ? -std::int64_t{height} : height);
    const HBITMAP bitmap = hdc->m_bitmap;
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    right = std::min<std::int64_t>(right, bitmap->m_width);
    bottom = std::min<std::int64_t>(bottom, bitmap->m_height);
    if (left >= right || top >= bottom) {
        return TRUE;
    }
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
    const CClippedLine line(hdc->m_current.x, hdc->m_current.y, x, y, bitmap->m_width,
                            bitmap->m_height);
    std::uint32_t* const bits = bitmap->m_bits;
    const std::int64_t stride = bitmap->m_width;
    const std::uint32_t pixel = hdc->m_pen->m_pixel;
    line.ForEach([=](LONG px, LONG py) { bits[py * stride + px] = pixel; });
    hdc->m_current = POINT{x, y};
    return TRUE;
}

BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int srcX, int srcY,
            DWORD rop) {
    if (destination == nullptr || source == nullptr || rop != SRCCOPY) {
        return FALSE;
    }
    return destination->BlitFrom(*source->m_bitmap, x, y, width, height, srcX, srcY);
}
