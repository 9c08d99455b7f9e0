// The loops on the page: the page's events (clicks, keys, tabs, menus) taken
// from dom_library.js's queue, the posted messages, the ticks that are due,
// the paints, then a sleep until the next tick or event (the program yields
// to the browser there, through Asyncify).
#include <algorithm>

#include "platform/message_loop.h"
#include "platform/shared/message_rules.h"
#include "platform/web/dom.h"
#include "platform/web/window_host.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

// At most this long asleep without a timer: nothing is lost, it only wakes.
constexpr int kLongestSleep = 1000;

SWebWindow* FromHandle(int handle) {
    return Live(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(static_cast<unsigned>(handle))));
}

// The key's default processing: menus, the tab strip, then the dialog manager.
void DefaultKey(SWebWindow* focus, SWebWindow* top, WORD vk) {
    const SModifiers& m = KeyModifiers();
    const bool plain = !m.shift && !m.control && !m.alt;
    if (top != nullptr && top->kind == EWindowKind::Frame &&
        ((vk == VK_F10 && plain) || (m.alt && !m.control && vk >= 'A' && vk <= 'Z')) &&
        OpenMenu(top, vk == VK_F10 ? 0 : static_cast<wchar_t>(vk - 'A' + 'a'))) {
        return;
    }
    if (focus != nullptr && focus->parent != nullptr && focus->parent->strip == focus && plain &&
        TabStripKey(focus, vk)) {
        return;
    }
    if (focus != nullptr && !m.control && !m.alt) {
        DialogKey(focus, vk, m.shift);
    } else if (focus == nullptr && top != nullptr && vk == VK_TAB) {
        const std::vector<SWebWindow*> stops = TabStops(top);
        if (!stops.empty()) {
            lv_focus((m.shift ? stops.back() : stops.front())->element);
        }
    }
}

void HandleKey(const int* e) {
    SetKeyModifiers(
        SModifiers{(e[3] & kShiftBit) != 0, (e[3] & kControlBit) != 0, (e[3] & kAltBit) != 0});
    const auto vk = static_cast<WORD>(e[2]);
    SWebWindow* focus = FromHandle(e[1]);
    const HWND focusHandle = focus != nullptr ? focus->Handle() : nullptr;
    SWebWindow* top = focus != nullptr ? RootOf(focus) : ActiveTop();
    SWebWindow* window = focus;
    while (window != nullptr && window->control && !window->TopLevel()) {
        window = window->parent;
    }
    CMessageLoop* loop = InnermostMessageLoop();
    const HWND topHandle = top != nullptr ? top->Handle() : nullptr;
    if (loop != nullptr && OfferKeyPress(*loop, window != nullptr ? window->Handle() : topHandle,
                                         topHandle, SKeyPress{vk, e[4] != 0})) {
        return;
    }
    DefaultKey(Live(focusHandle), Live(topHandle), vk);
}

void HandleEvent(const int* e) {
    SWebWindow* w = FromHandle(e[1]);
    switch (e[0]) {
        case kEventClick:
            if (w != nullptr && w->parent != nullptr && w->enabled) {
                SendMessageW(w->parent->Handle(), WM_COMMAND,
                             MAKEWPARAM(static_cast<WORD>(w->id), BN_CLICKED),
                             reinterpret_cast<LPARAM>(w->Handle()));
            }
            break;
        case kEventKey:
            HandleKey(e);
            break;
        case kEventKeyUp:
            SetKeyModifiers(SModifiers{(e[3] & kShiftBit) != 0, (e[3] & kControlBit) != 0,
                                       (e[3] & kAltBit) != 0});
            break;
        case kEventTab:
            // From the view's strip.
            if (w != nullptr && w->parent != nullptr && w->parent->strip == w) {
                SelectTab(w->parent, e[2]);
            }
            break;
        case kEventFocus:
            if (w != nullptr) {
                RootOf(w)->lastFocus = w->Handle();
            }
            break;
        case kEventMenu:
            PostMessageW(w != nullptr ? w->Handle() : nullptr, WM_COMMAND,
                         MAKEWPARAM(static_cast<WORD>(e[2]), 0), 0);
            break;
        default:
            break;
    }
}

// The posted messages up to the quit; true when the quit came.
bool DeliverPosted() {
    MSG msg;
    while (TakePosted(&msg)) {
        if (msg.message == WM_QUIT) {
            QuitNow(static_cast<int>(msg.wParam));
            return true;
        }
        DispatchPosted(msg);
    }
    return false;
}

}  // namespace

int PumpOnce(const bool& stop) {
    int event[5];
    while (!stop && lv_next_event(event) != 0) {
        HandleEvent(event);
    }
    if (stop || DeliverPosted()) {
        return -1;
    }
    const int untilTick = RunDueTicks();
    PaintInvalid();
    FreeUnregistered();
    return stop ? -1 : std::min(untilTick, kLongestSleep);
}

void CWebLoop::Exec() {
    int idleCount = 0;
    while (!m_exit) {
        const int sleep = PumpOnce(m_exit);
        if (sleep < 0) {
            break;
        }
        if (m_messageLoop != nullptr && InnermostMessageLoop() == m_messageLoop) {
            m_messageLoop->OnIdle(idleCount++);
        }
        lv_wait(sleep);
    }
}

}  // namespace lunvik::platform

int CMessageLoop::Run() {
    using namespace lunvik::platform;
    int exitCode = 0;
    if (TakeQuit(&exitCode)) {
        return exitCode;
    }
    CWebLoop loop(this);
    RunLoop(loop, this);
    TakeQuit(&exitCode);
    return exitCode;
}
