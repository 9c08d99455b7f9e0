// Creation of plain windows, frames and tab views on one window class of
// ours, and the window procedure that routes every message to the object's
// map, then to default processing. (Dialogs are made from their templates in
// dialog_host.cpp.)
#include <climits>
#include <unordered_map>

#include "platform/win32/window_host.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

constexpr wchar_t kClassName[] = L"LunvikWindow";

// The data of each of our windows, by handle. A window property would be
// found by a call to the window server each time (under Wine a round trip),
// and every message and most calls look the data up.
std::unordered_map<HWND, SWindowData*> g_windows;

// The object whose window CreateHostWindow is making: it hears of its handle
// with the window's first message, before WM_CREATE. One thread, one at a time.
struct SPending {
    CWindowObject* object = nullptr;
    EWindowKind kind = EWindowKind::Window;
};
SPending g_pending;

SWindowData* AttachPending(HWND hwnd) {
    if (g_pending.object == nullptr) {
        return nullptr;
    }
    auto* data = new SWindowData(g_pending.object, g_pending.kind);
    g_pending = {};
    g_windows[hwnd] = data;
    data->m_object->AttachWindow(hwnd);
    return data;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    SWindowData* data = DataOf(hwnd);
    if (data == nullptr) {
        data = AttachPending(hwnd);
    }
    if (data == nullptr) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        const LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
        Detach(hwnd, data);
        return result;
    }
    LRESULT result = 0;
    if (Route(hwnd, data, msg, wParam, lParam, &result)) {
        return result;
    }
    return DefaultProcessing(hwnd, data, msg, wParam, lParam);
}

// A width or height from two edges: 0 for a reversed pair, and never an
// overflow, whatever the edges.
int Extent(LONG from, LONG to) {
    const long long extent = static_cast<long long>(to) - from;
    return extent <= 0 ? 0 : extent >= INT_MAX ? INT_MAX : static_cast<int>(extent);
}

ATOM WindowClass() {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &WindowProc;
        wc.hInstance = Instance();
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        // No background brush: a drawing area paints all of itself, and the
        // frame and the tab view erase theirs in default processing.
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc);
    }();
    return atom;
}

}  // namespace

HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}

// A handle leaves the table with its window's last message, so a handle used
// again for some other window is not taken for ours.
SWindowData* DataOf(HWND hwnd) {
    const auto found = g_windows.find(hwnd);
    return found != g_windows.end() ? found->second : nullptr;
}

bool Route(HWND hwnd, SWindowData* data, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    LRESULT answer = 0;
    if (data->m_object == nullptr ||
        !data->m_object->RouteMessage(hwnd, msg, wParam, lParam, answer)) {
        return false;
    }
    *result = answer;
    return true;
}

void Detach(HWND hwnd, SWindowData* data) {
    KillWindowTimers(hwnd);
    g_windows.erase(hwnd);
    CWindowObject* object = data->m_object;
    delete data;
    if (object != nullptr) {
        object->DetachWindow(hwnd);
    }
}

void AttachDialog(HWND hwnd, CWindowObject* object, bool modal) {
    auto* data = new SWindowData(object, EWindowKind::Dialog);
    data->m_modal = modal;
    g_windows[hwnd] = data;
    object->AttachWindow(hwnd);
}

HWND CreateHostWindow(CWindowObject* object, const SCreateParams& p) {
    if (object == nullptr || WindowClass() == 0 || (p.parent != nullptr && !::IsWindow(p.parent))) {
        return nullptr;
    }
    const bool child = (p.style & WS_CHILD) != 0 && p.kind != EWindowKind::Frame;
    const bool byDefault = p.rect.left == CW_USEDEFAULT;
    // A top-level window's size is given for 96 dots per inch; the program
    // is aware of the screen's DPI, so it scales it, as its dialogs scale
    // with their font. Its place stays where it was asked to be.
    const int dpi = child ? 96 : static_cast<int>(GetDpiForSystem());
    g_pending = {object, p.kind};
    HWND hwnd = CreateWindowExW(
        p.exStyle, kClassName, p.name, p.style, p.rect.left, byDefault ? 0 : p.rect.top,
        byDefault ? CW_USEDEFAULT : ::MulDiv(Extent(p.rect.left, p.rect.right), dpi, 96),
        byDefault ? 0 : ::MulDiv(Extent(p.rect.top, p.rect.bottom), dpi, 96), p.parent,
        child ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(p.id)) : p.menu, Instance(), p.param);
    g_pending = {};
    return hwnd;
}

void ForgetObject(CWindowObject* object, HWND hwnd) {
    SWindowData* data = DataOf(hwnd);
    if (data != nullptr && data->m_object == object) {
        data->m_object = nullptr;
        ::DestroyWindow(hwnd);
    }
}

}  // namespace lunvik::platform
