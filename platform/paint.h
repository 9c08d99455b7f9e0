// Painting a window: BeginPaint and EndPaint around a window's WM_PAINT. The
// paint context's BitBlt draws a memory context's bitmap into the window.
#pragma once

#include "platform/raster/raster.h"
#include "platform/win_types.h"

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    // Always FALSE: the toolkit has prepared the background already.
    BOOL fErase = FALSE;
    // The window's client area. The toolkit clips the painting to the region
    // being repainted, so drawing the whole client area is right and cheap.
    RECT rcPaint;
    BOOL fRestore = FALSE;
    BOOL fIncUpdate = FALSE;
    BYTE rgbReserved[32] = {};
};

// Valid inside the window's WM_PAINT as sent by its paint event. Elsewhere the
// context it returns draws nothing. Null for a null window or paint record.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
// Ends the painting that BeginPaint started and frees its context.
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
