// Painting a window: BeginPaint and EndPaint around a window's WM_PAINT. The
// paint context's BitBlt draws a memory context's bitmap into the window.
#pragma once

#include "platform/raster/raster.h"
#include "platform/win_types.h"

namespace lunvik::platform {
// PAINTSTRUCT with a context of our raster (lunvik::raster, not GDI's).
struct SPaintStruct {
    raster::HDC hdc = nullptr;
    // Always FALSE: the window system has prepared the background already.
    BOOL fErase = FALSE;
    // The window's client area. The window system clips the painting to the
    // region being repainted, so drawing the whole client area is right and cheap.
    RECT rcPaint;
    BOOL fRestore = FALSE;
    BOOL fIncUpdate = FALSE;
    BYTE rgbReserved[32] = {};
};
}  // namespace lunvik::platform

#ifndef _WINDEF_  // <windows.h> has GDI's
using PAINTSTRUCT = lunvik::platform::SPaintStruct;
#endif

// Valid inside the window's WM_PAINT as sent by its paint event. Elsewhere the
// context it returns draws nothing. Null for a null window or paint record.
lunvik::raster::HDC BeginPaint(HWND hwnd, lunvik::platform::SPaintStruct* paint);
// Ends the painting that BeginPaint started and frees its context.
BOOL EndPaint(HWND hwnd, const lunvik::platform::SPaintStruct* paint);
