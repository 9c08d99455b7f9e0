// Drawing objects and contexts: their making, selection and freeing, and the
// screen that lends bitmaps their pixels.
#include "platform/raster/raster.h"

#include <algorithm>
#include <cmath>
#include <new>

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

void FreeBits(std::uint32_t* bits, std::size_t pixels, IScreen* lender) {
    if (lender != nullptr) {
        lender->TakeBack(bits, pixels);
    } else {
        delete[] bits;
    }
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
    const LONG width = hdc->ToDevice(logicalWidth, true);
    const LONG height = hdc->ToDevice(logicalHeight, true);
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

}  // namespace lunvik::raster
