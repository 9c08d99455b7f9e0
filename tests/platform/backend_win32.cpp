// The window-layer tests' needs, on Win32.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <cwchar>
#include <string>

#include "platform/win32/window_host.h"
// After <windows.h>, which it builds on.
#include <gdiplus.h>
#include "tests/platform/backend_support.h"

namespace lunvik::test {

using lunvik::platform::DataOf;

bool PumpUntil(const std::function<bool()>& done, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        DeliverPosted();
    }
    return true;
}

void DeliverPosted() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // As the program's loop does: a dialog's keys are the dialog's.
        if (!lunvik::platform::DialogKeys(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

// In a dialog through the dialog manager, as Tab or a click moves it: a push
// button that takes the focus becomes the default one.
void Focus(HWND control) {
    SetForegroundWindow(GetAncestor(control, GA_ROOT));
    const HWND dialog = lunvik::platform::DialogOf(::GetParent(control));
    if (dialog != nullptr) {
        ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    } else {
        ::SetFocus(control);
    }
    DeliverPosted();
}

HWND Focused() {
    return ::GetFocus();
}

// Under Wine the X server's focus follows a moment later; its events are
// handled here too.
void Activate(HWND window) {
    SetForegroundWindow(window);
    PumpUntil([&] { return GetActiveWindow() == window; }, 1000);
    PumpUntil([] { return false; }, 100);
}

// Posted to the focus, as the input queue would deliver it, with the thread's
// key state saying whether Shift is down: the dialog manager reads it.
void PressKey(WORD vk, bool shift) {
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE shiftBefore = keys[VK_SHIFT];
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    const HWND focus = ::GetFocus();
    ::PostMessageW(focus, WM_KEYDOWN, vk, 1);
    ::PostMessageW(focus, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001));
    DeliverPosted();
    keys[VK_SHIFT] = shiftBefore;
    SetKeyboardState(keys);
}

RECT ChildRect(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ClickCentre(HWND control) {
    ::SendMessageW(control, BM_CLICK, 0, 0);
}

bool DrawsGlyphs(HWND control, const wchar_t* text) {
    const HDC dc = ::GetDC(control);
    const HGDIOBJ before =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    const int n = static_cast<int>(wcslen(text));
    WORD glyphs[64] = {};
    const bool all =
        n < 64 && GetGlyphIndicesW(dc, text, n, glyphs, GGI_MARK_NONEXISTING_GLYPHS) == DWORD(n) &&
        std::find(glyphs, glyphs + n, 0xFFFF) == glyphs + n;
    SelectObject(dc, before);
    ::ReleaseDC(control, dc);
    return all;
}

namespace {
BOOL CALLBACK CountOurs(HWND hwnd, LPARAM count) {
    *reinterpret_cast<int*>(count) += DataOf(hwnd) != nullptr ? 1 : 0;
    EnumChildWindows(hwnd, &CountOurs, count);
    return TRUE;
}
}  // namespace

void PressButton(HWND button) {
    ::SendMessageW(button, BM_CLICK, 0, 0);
}

SPicture WindowPicture(HWND hwnd) {
    const HWND top = GetAncestor(hwnd, GA_ROOT);
    ::ShowWindow(top, SW_SHOW);
    SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    // Under Wine the X server maps the window a moment later; until then
    // there is nothing on the screen to read.
    PumpUntil([] { return false; }, 300);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    DeliverPosted();
    GdiFlush();
    RECT client;
    ::GetClientRect(hwnd, &client);
    SPicture picture{int(client.right), int(client.bottom), {}};
    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof(info.bmiHeader), picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC screen = ::GetDC(hwnd);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ before = ::SelectObject(memory, dib);
    ::BitBlt(memory, 0, 0, picture.width, picture.height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < picture.width * picture.height; ++i) {
        picture.pixels.push_back(pixels[i] | 0xFF000000u);
    }
    ::SelectObject(memory, before);
    ::DeleteObject(dib);
    ::DeleteDC(memory);
    ::ReleaseDC(hwnd, screen);
    return picture;
}

namespace {

// GDI+ reads and writes the PNG files; started once for the test run.
bool StartGdiplus() {
    static const bool started = [] {
        ULONG_PTR token = 0;
        const Gdiplus::GdiplusStartupInput input;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    return started;
}

std::wstring Wide(const char* path) {
    std::wstring wide(static_cast<std::size_t>(std::strlen(path)) + 1, L'\0');
    const int n = MultiByteToWideChar(CP_UTF8, 0, path, -1, wide.data(), int(wide.size()));
    wide.resize(n > 0 ? static_cast<std::size_t>(n - 1) : 0);
    return wide;
}

}  // namespace

bool LoadPicture(const char* path, SPicture* picture) {
    using namespace Gdiplus;
    using namespace Gdiplus::DllExports;
    GpBitmap* bitmap = nullptr;
    if (!StartGdiplus() || GdipCreateBitmapFromFile(Wide(path).c_str(), &bitmap) != Ok) {
        return false;
    }
    UINT width = 0;
    UINT height = 0;
    GdipGetImageWidth(bitmap, &width);
    GdipGetImageHeight(bitmap, &height);
    const GpRect all(0, 0, INT(width), INT(height));
    BitmapData data{};
    const bool read =
        GdipBitmapLockBits(bitmap, &all, ImageLockModeRead, PixelFormat32bppRGB, &data) == Ok;
    if (read) {
        *picture = SPicture{int(width), int(height), {}};
        for (UINT y = 0; y < height; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(
                static_cast<const BYTE*>(data.Scan0) + std::ptrdiff_t{y} * data.Stride);
            for (UINT x = 0; x < width; ++x) {
                picture->pixels.push_back(row[x] | 0xFF000000u);
            }
        }
        GdipBitmapUnlockBits(bitmap, &data);
    }
    GdipDisposeImage(bitmap);
    return read;
}

int DestroyAndCountLeft() {
    lunvik::platform::DestroyOurWindows();
    DeliverPosted();
    int left = 0;
    EnumThreadWindows(GetCurrentThreadId(), &CountOurs, reinterpret_cast<LPARAM>(&left));
    return left;
}

}  // namespace lunvik::test
