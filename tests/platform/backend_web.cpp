// The window-layer tests' needs, on the page (in headless Chromium): the
// program's own loop pumped between checks, the page's own clicks and keys.
#include <chrono>

#include "platform/web/dom.h"
#include "platform/web/window_host.h"
#include "platform/window.h"
#include "tests/platform/backend_support.h"

namespace lunvik::test {

using platform::Live;
using platform::SWebWindow;

bool PumpUntil(const std::function<bool()>& done, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    const bool stop = false;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        platform::PumpOnce(stop);
        lv_wait(1);
    }
    return true;
}

// The page's events and the posted messages so far: one pass of the loop.
void DeliverPosted() {
    const bool stop = false;
    platform::PumpOnce(stop);
}

RECT ChildRect(HWND hwnd) {
    return Live(hwnd)->rect;
}

void ClickCentre(HWND control) {
    lv_test_click(Live(control)->element, 1);
    DeliverPosted();
}

void Focus(HWND control) {
    lv_focus(Live(control)->element);
    DeliverPosted();
}

HWND Focused() {
    return reinterpret_cast<HWND>(lv_focused());
}

void Activate(HWND window) {
    platform::ActivateWindow(Live(window));
    DeliverPosted();
}

void PressKey(WORD vk, bool shift) {
    lv_test_key(vk, shift ? 1 : 0);
    DeliverPosted();
}

bool DrawsGlyphs(HWND control, const wchar_t* text) {
    return lv_test_glyphs(Live(control)->element, text) != 0;
}

void PressButton(HWND button) {
    lv_test_click(Live(button)->element, 0);
    DeliverPosted();
}

int DestroyAndCountLeft() {
    for (SWebWindow* top : platform::TopLevelWindows()) {
        DestroyWindow(top->Handle());
    }
    platform::FreeUnregistered();
    const int left = static_cast<int>(platform::TopLevelWindows().size());
    for (SWebWindow* top : platform::TopLevelWindows()) {
        platform::DestroyWindowTree(top);  // so that one failure does not cascade
    }
    return left;
}

}  // namespace lunvik::test
