#include "platform/raster/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "platform/raster/clipped_line.h"

namespace lunvik::raster {
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

constinit IScreen* g_screen = nullptr;

// Drawing into a bitmap the screen may still be reading waits until it has.
void BeforeDrawing(const HBITMAP__& bitmap) {
    if (bitmap.m_beingRead) {
        bitmap.m_beingRead = false;
        bitmap.m_screen->WaitUntilRead(bitmap.m_bits);
    }
}

void FreeBits(std::uint32_t* bits, std::size_t pixels, IScreen* lender) {
    if (lender != nullptr) {
        lender->TakeBack(bits, pixels);
    } else {
        delete[] bits;
    }
}

// A logical coordinate in device pixels: the pixel it falls in (round down),
// or with up = true the first pixel boundary at or after it (round up), held
// to the 32-bit range.
LONG ToDevice(const HDC__& dc, std::int64_t v, bool up = false) {
    if (dc.m_scale == 1.0) {
        return static_cast<LONG>(std::clamp<std::int64_t>(v, std::numeric_limits<LONG>::min(),
                                                          std::numeric_limits<LONG>::max()));
    }
    const double scaled = up ? std::ceil(static_cast<double>(v) * dc.m_scale)
                             : std::floor(static_cast<double>(v) * dc.m_scale);
    return static_cast<LONG>(std::clamp<double>(scaled, std::numeric_limits<LONG>::min(),
                                                std::numeric_limits<LONG>::max()));
}

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

void SetScreen(IScreen* screen) {
    g_screen = screen;
}

HDC GetDC(HWND hwnd) {
    // One screen context, which describes the device of the window asked for last.
    static HDC__ screen(HDC__::EType::Screen);
    const double scale = g_screen != nullptr && hwnd != nullptr ? g_screen->DeviceScale(hwnd) : 1.0;
    screen.m_scale = std::isfinite(scale) && scale > 0.0 ? scale : 1.0;
    screen.m_window = hwnd;
    return &screen;
}

int ReleaseDC(HWND, HDC hdc) {
    return hdc != nullptr && hdc->m_type == HDC__::EType::Screen ? 1 : 0;
}

HDC CreateCompatibleDC(HDC hdc) {
    if (hdc == nullptr) {
        return nullptr;
    }
    auto* memory = new (std::nothrow) HDC__(HDC__::EType::Memory);
    if (memory != nullptr) {
        memory->m_scale = hdc->m_scale;
    }
    return memory;
}

BOOL DeleteDC(HDC hdc) {
    if (hdc == nullptr || hdc->m_type != HDC__::EType::Memory) {
        return FALSE;
    }
    delete hdc;
    return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int logicalWidth, int logicalHeight) {
    if (hdc == nullptr || logicalWidth <= 0 || logicalHeight <= 0) {
        return nullptr;
    }
    const LONG width = ToDevice(*hdc, logicalWidth, true);
    const LONG height = ToDevice(*hdc, logicalHeight, true);
    if (std::int64_t{width} * height > kMaxBitmapPixels) {
        return nullptr;
    }
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::uint32_t* bits = nullptr;
    IScreen* lender = nullptr;
    if (hdc->m_type == HDC__::EType::Screen && hdc->m_window != nullptr && g_screen != nullptr) {
        bits = g_screen->LendPixels(hdc->m_window, width, height);
        lender = bits != nullptr ? g_screen : nullptr;
    }
    if (lender == nullptr) {
        bits = new (std::nothrow) std::uint32_t[count];
    }
    if (bits == nullptr) {
        return nullptr;
    }
    auto* bitmap =
        new (std::nothrow) HBITMAP__{{EObj::Bitmap, false, 0}, width, height, bits, lender};
    if (bitmap == nullptr) {
        FreeBits(bits, count, lender);
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
            FreeBits(bitmap->m_bits,
                     static_cast<std::size_t>(bitmap->m_width) *
                         static_cast<std::size_t>(bitmap->m_height),
                     bitmap->m_screen);
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
    const std::int64_t logicalLeft = width < 0 ? std::int64_t{x} + width : x;
    const std::int64_t logicalTop = height < 0 ? std::int64_t{y} + height : y;
    std::int64_t left = ToDevice(*hdc, logicalLeft);
    std::int64_t top = ToDevice(*hdc, logicalTop);
    std::int64_t right = ToDevice(*hdc, logicalLeft + std::abs(std::int64_t{width}), true);
    std::int64_t bottom = ToDevice(*hdc, logicalTop + std::abs(std::int64_t{height}), true);
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
        from = POINT{ToDevice(*hdc, from.x), ToDevice(*hdc, from.y)};
        to = POINT{ToDevice(*hdc, x), ToDevice(*hdc, y)};
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
    const LONG sx = ToDevice(*source, srcX);
    const LONG sy = ToDevice(*source, srcY);
    return destination->BlitFrom(*source->m_bitmap, ToDevice(*destination, x),
                                 ToDevice(*destination, y),
                                 ToDevice(*source, std::int64_t{srcX} + width, true) - sx,
                                 ToDevice(*source, std::int64_t{srcY} + height, true) - sy, sx, sy);
}

}  // namespace lunvik::raster
