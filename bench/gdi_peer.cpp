// A plain GDI program with the demo's kind of drawing load, to compare the
// Windows build's CPU with (scripts/measure --wine): every 25 ms it clears a
// 540 x 520 bitmap, draws 140 one-pixel segments into it with LineTo and blits
// it to its window, as a Win32 program written the ordinary way does.
//
//   gdi_peer.exe [SECONDS]    (runs until closed, or for SECONDS)
#include <windows.h>

#include <cmath>
#include <cwchar>

namespace {

constexpr int kWidth = 540;
constexpr int kHeight = 520;
constexpr int kSegments = 140;
constexpr UINT kTickMilliseconds = 25;

HDC g_memory = nullptr;
HBITMAP g_bitmap = nullptr;
HPEN g_pen = nullptr;
unsigned g_frame = 0;
UINT_PTR g_endTimer = 0;

// One frame: a ring of segments that turns a little each tick.
void DrawFrame() {
    PatBlt(g_memory, 0, 0, kWidth, kHeight, BLACKNESS);
    const HGDIOBJ before = SelectObject(g_memory, g_pen);
    const double turn = g_frame * 0.02;
    for (int i = 0; i < kSegments; ++i) {
        const double a = turn + i * 6.283185307179586 / kSegments;
        const double inner = 60.0 + 40.0 * std::sin(turn * 3 + i);
        MoveToEx(g_memory, static_cast<int>(kWidth / 2 + inner * std::cos(a)),
                 static_cast<int>(kHeight / 2 + inner * std::sin(a)), nullptr);
        LineTo(g_memory, static_cast<int>(kWidth / 2 + 240.0 * std::cos(a + 0.4)),
               static_cast<int>(kHeight / 2 + 240.0 * std::sin(a + 0.4)));
    }
    SelectObject(g_memory, before);
    ++g_frame;
}

void Paint(HWND hwnd) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd, &paint);
    BitBlt(dc, 0, 0, kWidth, kHeight, g_memory, 0, 0, SRCCOPY);
    EndPaint(hwnd, &paint);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_TIMER:
            if (wParam == g_endTimer && g_endTimer != 0) {
                DestroyWindow(hwnd);
                return 0;
            }
            DrawFrame();
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

HWND CreatePeerWindow(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.lpszClassName = L"LunvikGdiPeer";
    RegisterClassW(&wc);
    RECT outer{0, 0, kWidth, kHeight};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    return CreateWindowW(wc.lpszClassName, L"GDI peer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                         outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                         instance, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    const HWND hwnd = CreatePeerWindow(instance);
    if (hwnd == nullptr) {
        return 2;
    }
    const HDC screen = GetDC(hwnd);
    g_memory = CreateCompatibleDC(screen);
    g_bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
    ReleaseDC(hwnd, screen);
    const HGDIOBJ oldBitmap = SelectObject(g_memory, g_bitmap);
    g_pen = CreatePen(PS_SOLID, 1, RGB(0, 255, 255));
    SetTimer(hwnd, 1, kTickMilliseconds, nullptr);
    const long seconds = std::wcstol(commandLine, nullptr, 10);
    if (seconds > 0) {
        g_endTimer = SetTimer(hwnd, 2, static_cast<UINT>(seconds * 1000), nullptr);
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageW(&msg);
    }
    SelectObject(g_memory, oldBitmap);
    DeleteObject(g_bitmap);
    DeleteObject(g_pen);
    DeleteDC(g_memory);
    return 0;
}
