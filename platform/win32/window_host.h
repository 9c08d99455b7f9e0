// The Win32 side of a window, private to platform/win32/: what each of our
// windows keeps and the functions the files of this folder share, grouped by
// the file that defines them. These files are built with
// LUNVIK_WIN32_BACK_END, so win_types.h includes <windows.h> first and takes
// its types; where GDI and our raster share a name, the raster is spelled
// lunvik::raster::.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/win_types.h"
#include "platform/window_object.h"

namespace lunvik::raster {
struct HDC__;
class IScreen;
}  // namespace lunvik::raster

namespace lunvik::platform {

// What one of our windows keeps besides the object behind it; freed with the
// window (WM_NCDESTROY). window_host.cpp.
struct SWindowData {
    SWindowData(CWindowObject* object, EWindowKind kind);
    ~SWindowData();
    SWindowData(const SWindowData&) = delete;
    SWindowData& operator=(const SWindowData&) = delete;

    CWindowObject* m_object;
    EWindowKind m_kind;
    bool m_modal = false;                                   // a dialog run by RunModalDialog
    std::unique_ptr<lunvik::raster::HDC__> m_paintContext;  // BeginPaint's, kept for the next one
    HRGN m_tickPaint = nullptr;  // while it paints what a timer tick invalidated (window_timers.cpp)
    HWND m_tabs = nullptr;       // a tab view's tab control
    // A frame's control that had the focus when it was last deactivated; a
    // tab view's page's, when another page was last made active.
    HWND m_lastFocus = nullptr;
    int m_dpi = 0;                       // the DPI a top-level window or a dialog is laid out for
    int m_templateId = 0;                // a dialog's template
    std::vector<std::wstring> m_titles;  // a tab view's page titles, in tab order
};

// window_create.cpp. The data of one of our windows, null for any other handle.
SWindowData* DataOf(HWND hwnd);
// Sends msg through the object's map; true when the map handled it.
bool Route(HWND hwnd, SWindowData* data, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
// The window is gone: the object becomes windowless and the data is freed.
void Detach(HWND hwnd, SWindowData* data);
// A dialog made from a template hears of its handle at WM_INITDIALOG.
void AttachDialog(HWND hwnd, CWindowObject* object, bool modal);
HINSTANCE Instance();

// window_timers.cpp. The window's timers go.
void KillWindowTimers(HWND hwnd);

// window_messages.cpp. What a message no map handled does, by kind.
LRESULT DefaultProcessing(HWND hwnd, SWindowData* data, UINT msg, WPARAM wParam, LPARAM lParam);
// Erases the client area in the dialogs' face colour.
void FillWithFace(HWND hwnd, HDC dc);

// tab_view_host.cpp. The tab view's own handling; true when it handled msg.
bool TabViewProcessing(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
// Tab and Shift+Tab across a tab view's strip: from the strip into the
// active page, from the page's last (first) tab stop out to the strip; true
// when msg was such a key.
bool TabViewTabKey(const MSG* msg);
// The control to focus in hwnd, one of our windows: the one it last had, if
// still there and able to take the focus, or null.
HWND KeptFocus(HWND hwnd);

// dialog_host.cpp. The dialog whose keys IsDialogMessage should see for a
// message to hwnd: the nearest of our dialogs at or above it, or null.
HWND DialogOf(HWND hwnd);
// The keyboard handling of dialogs, as the message loop runs it before a
// message is dispatched: Tab across tab strips, then IsDialogMessage of
// the message's dialog; true when the message was consumed.
bool DialogKeys(MSG* msg);

// raster_screen.cpp. The screen the raster draws for, handed to it while the
// platform runs: bitmaps for a window's paint lend their pixels from DIB
// sections.
lunvik::raster::IScreen& RasterScreen();
// The memory context that holds the DIB section of bits; null when bits are
// not in one.
HDC SectionContext(const std::uint32_t* bits);
// A raster bitmap's layout as GDI describes it: 32 bits a pixel, rows top to
// bottom without padding.
BITMAPINFO RasterLayout(LONG width, LONG height);

// dpi_layout.cpp. A font of the dialogs' face at pointSize points for dpi
// dots per inch, as the dialog manager makes it; kept until
// DeleteLayoutFonts. The tab strips' is the one at 8 points.
HFONT LayoutFont(int dpi, int pointSize);
void DeleteLayoutFonts();
// The DPI hwnd is laid out for: its own, or its top-level window's.
int LayoutDpi(HWND hwnd);
// A dialog of ours was made: Windows' own rescaling is turned off for it,
// and it is laid out for its top-level window's DPI if that differs.
void StartDialogLayout(HWND dialog, int templateId);
// WM_DPICHANGED to a top-level window of ours: it takes the suggested
// rectangle, and everything in it is laid out for the new DPI.
void FollowDpi(HWND hwnd, int dpi, const RECT* suggested);

// platform_start.cpp. The dialogs' font face, registered for this process
// (null when it could not be).
const wchar_t* DialogFontFace();
// Destroys every top-level window of ours on this thread, with its children.
void DestroyOurWindows();

}  // namespace lunvik::platform
