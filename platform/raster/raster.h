// Our own raster: pixel buffers, drawing contexts, pens and the stock brushes,
// with the handful of Win32 drawing operations the program calls. Pure C++.
//
// Pixels are 32 bits, 0xFFRRGGBB, rows top to bottom without padding, so that
// a QImage of Format_RGB32 can wrap a bitmap's memory as it stands. Colours
// come in as COLORREF (0x00BBGGRR) and are converted once, when a pen or brush
// is made.
//
// Every operation takes empty (null) handles and unsupported arguments
// quietly: it does nothing and reports failure (FALSE or a null handle).
//
// Everything lives in lunvik::raster and is brought to the global namespace
// under its Win32 name, except where <windows.h> came first (the Win32 back
// end): there GDI keeps those names and the raster is spelled out.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/win_types.h"

namespace lunvik::raster {

// A bitmap's pixel: 0xFFRRGGBB, as the desktop's screens take it. In the
// browser the 2D canvas's bytes R, G, B, A (0xFFBBGGRR on its little-endian
// heap), so that the page puts a bitmap's pixels as they are.
constexpr std::uint32_t PixelFromColor(COLORREF color) {
#ifdef __EMSCRIPTEN__
    return 0xFF000000u | (std::uint32_t{GetBValue(color)} << 16) |
           (std::uint32_t{GetGValue(color)} << 8) | std::uint32_t{GetRValue(color)};
#else
    return 0xFF000000u | (std::uint32_t{GetRValue(color)} << 16) |
           (std::uint32_t{GetGValue(color)} << 8) | std::uint32_t{GetBValue(color)};
#endif
}

// The screen under the window layer, as the raster sees it. The back end
// hands its own to SetScreen when the platform starts and takes it back
// (SetScreen(nullptr)) when it stops. With none, as when the raster is used
// without a platform, every device has scale 1 and every bitmap's pixels are
// plain heap memory.
//
// A screen may lend a bitmap its pixels, and then reads them straight from
// that memory, with no copy of ours, while the program goes on: this happens
// only to bitmaps that CreateCompatibleBitmap makes on a window's screen
// context (GetDC), and only those have m_screen set. The back end's paint (a
// BitBlt into a paint context) marks such a bitmap m_beingRead when it hands
// the pixels to the screen. The next drawing into a marked bitmap (PatBlt,
// LineTo, a BitBlt into it) first calls m_screen->WaitUntilRead, once, and
// clears the mark, so that the screen never shows a picture half drawn;
// drawing into a bitmap that is not marked costs nothing more.
class IScreen {
  public:
    // Device pixels per logical unit of the window's device; GetDC takes it.
    virtual double DeviceScale(HWND window) const = 0;
    // width x height pixels, rows top to bottom without padding, in memory the
    // screen reads from, for a bitmap that window is to paint; null when the
    // screen lends none (the pixels are then on the heap).
    virtual std::uint32_t* LendPixels(HWND window, LONG width, LONG height) = 0;
    // Takes back pixels it lent, when their bitmap is deleted. A screen
    // outlives the bitmaps it lent to: this comes after SetScreen(nullptr) too.
    virtual void TakeBack(std::uint32_t* bits, std::size_t pixels) = 0;
    // Returns once the screen has read the pixels handed to it last.
    virtual void WaitUntilRead(const std::uint32_t* bits) = 0;

  protected:
    ~IScreen() = default;
};

// The screen that windows are on from now on; null for none.
void SetScreen(IScreen* screen);

// Drawing objects. Their memory is the raster's: make them with the Create*
// operations and free them with DeleteObject. An object selected into a
// context cannot be deleted (DeleteObject fails), so a context never holds a
// freed object. Stock objects are never freed.
struct HGDIOBJ__ {
    enum class EType : std::uint8_t { Bitmap, Pen, Brush };
    EType m_type;
    bool m_stock;
    int m_selections = 0;  // contexts holding this object
};

struct HBITMAP__ : HGDIOBJ__ {
    LONG m_width = 0;
    LONG m_height = 0;
    std::uint32_t* m_bits = nullptr;   // m_width * m_height pixels (PixelFromColor)
    IScreen* m_screen = nullptr;       // the screen that lent m_bits and may read them, or null
    mutable bool m_beingRead = false;  // handed to m_screen since the last drawing
};

struct HPEN__ : HGDIOBJ__ {
    std::uint32_t m_pixel = 0;
};

struct HBRUSH__ : HGDIOBJ__ {
    std::uint32_t m_pixel = 0;
};

using HGDIOBJ = HGDIOBJ__*;
using HBITMAP = HBITMAP__*;
using HPEN = HPEN__*;
using HBRUSH = HBRUSH__*;

// A drawing context: a selected bitmap, pen and brush and a current point.
// Coordinates are logical units; m_scale device pixels make one unit (as with
// a mapping mode), so that on a scaled screen a context draws at the device's
// resolution: a line stays one device pixel wide and the picture keeps its
// proportions. Screen contexts take the scale of their window's device
// (IScreen::DeviceScale), compatible contexts the scale of the context they
// are made from.
// A memory context starts with an empty bitmap (nothing is drawn until a real
// one is selected), the black pen and the white brush. The screen context of
// GetDC only serves to make compatible contexts and bitmaps and takes no
// selections. A paint context (BeginPaint) overrides BlitFrom to draw into its
// window.
struct HDC__ {
    enum class EType : std::uint8_t { Screen, Memory, Paint };

    explicit HDC__(EType type);
    virtual ~HDC__();
    HDC__(const HDC__&) = delete;
    HDC__& operator=(const HDC__&) = delete;

    // Copies width x height pixels of source from (srcX, srcY) to (x, y) of
    // this context. The default copies into the selected bitmap, clipped to
    // both bitmaps.
    virtual BOOL BlitFrom(const HBITMAP__& source, LONG x, LONG y, LONG width, LONG height,
                          LONG srcX, LONG srcY);

    // A logical coordinate in device pixels: the pixel it falls in (round
    // down), or with up = true the first pixel boundary at or after it (round
    // up), held to the 32-bit range.
    LONG ToDevice(std::int64_t v, bool up = false) const;

    const EType m_type;
    double m_scale = 1.0;
    HWND m_window = nullptr;  // the window whose device a screen context describes
    HBITMAP m_bitmap;
    HPEN m_pen;
    HBRUSH m_brush;
    POINT m_current;
};

using HDC = HDC__*;

// A rectangle copy between two pixel grids.
struct CCopyRect {
    LONG m_x = 0;  // destination
    LONG m_y = 0;
    LONG m_width = 0;
    LONG m_height = 0;
    LONG m_srcX = 0;
    LONG m_srcY = 0;
};

// Narrows a copy to the part that lies inside both a source of srcWidth x
// srcHeight and a destination of dstWidth x dstHeight. False when nothing is
// left.
bool ClipCopy(LONG srcWidth, LONG srcHeight, LONG dstWidth, LONG dstHeight, CCopyRect* copy);

HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC hdc);
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);

// Width and height in the context's logical units; the bitmap has as many
// device pixels as cover them.
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
HPEN CreatePen(int style, int width, COLORREF color);
HGDIOBJ GetStockObject(int index);
// Makes the object the context's current one of its type and returns the
// previous one, or null when the object cannot be selected.
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop);
BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous);
// A one-pixel line in the current pen from the current point up to, but not
// including, (x, y), clipped to the bitmap; (x, y) becomes the current point.
BOOL LineTo(HDC hdc, int x, int y);
BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int srcX, int srcY,
            DWORD rop);

}  // namespace lunvik::raster

#ifndef _WINDEF_
// Stock objects.
inline constexpr int WHITE_BRUSH = 0;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int BLACK_PEN = 7;

// Pen styles.
inline constexpr int PS_SOLID = 0;

// Raster operations.
inline constexpr DWORD PATCOPY = 0x00F00021;
inline constexpr DWORD SRCCOPY = 0x00CC0020;

using lunvik::raster::HBITMAP;
using lunvik::raster::HBITMAP__;
using lunvik::raster::HBRUSH;
using lunvik::raster::HBRUSH__;
using lunvik::raster::HDC;
using lunvik::raster::HDC__;
using lunvik::raster::HGDIOBJ;
using lunvik::raster::HGDIOBJ__;
using lunvik::raster::HPEN;
using lunvik::raster::HPEN__;

using lunvik::raster::CCopyRect;
using lunvik::raster::ClipCopy;
using lunvik::raster::PixelFromColor;

using lunvik::raster::BitBlt;
using lunvik::raster::CreateCompatibleBitmap;
using lunvik::raster::CreateCompatibleDC;
using lunvik::raster::CreatePen;
using lunvik::raster::DeleteDC;
using lunvik::raster::DeleteObject;
using lunvik::raster::GetDC;
using lunvik::raster::GetStockObject;
using lunvik::raster::LineTo;
using lunvik::raster::MoveToEx;
using lunvik::raster::PatBlt;
using lunvik::raster::ReleaseDC;
using lunvik::raster::SelectObject;
#endif
