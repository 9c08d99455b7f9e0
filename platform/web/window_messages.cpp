// Messages: SendMessageW runs the window object's map and then the default
// processing; PostMessageW queues a message for the loop, which drops it if
// its window has gone by then.
#include <deque>
#include <utility>

#include "platform/shared/message_rules.h"
#include "platform/web/dom.h"
#include "platform/web/window_host.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

std::deque<MSG> g_posted;

LRESULT SetText(SWebWindow* w, const wchar_t* text) {
    const wchar_t* shown = text != nullptr ? text : L"";
    // The text it already holds changes nothing on the page.
    if (w->text != shown) {
        w->text = shown;
        lv_set_text(w->element, shown);
        if (w->kind == EWindowKind::Frame) {
            lv_set_title(shown);
        }
    }
    return TRUE;
}

LRESULT CopyText(const SWebWindow* w, wchar_t* buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    const int n = std::min(static_cast<int>(w->text.size()), size - 1);
    std::copy_n(w->text.data(), n, buffer);
    buffer[n] = L'\0';
    return n;
}

}  // namespace

LRESULT DefaultProcessing(SWebWindow* w, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SETTEXT:
            return SetText(w, reinterpret_cast<const wchar_t*>(lParam));
        case WM_GETTEXT:
            return CopyText(w, reinterpret_cast<wchar_t*>(lParam), static_cast<int>(wParam));
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(w->text.size());
        case WM_CLOSE:
            if (w->kind == EWindowKind::Dialog) {
                CloseDialog(w->Handle());
            } else {
                DestroyWindowTree(w);
            }
            return 0;
        case WM_DESTROY:
            if (EndsProgram(w->kind, w->style)) {
                PostQuitMessage(1);
            }
            return 0;
        default:
            return 0;
    }
}

bool TakePosted(MSG* msg) {
    if (g_posted.empty()) {
        return false;
    }
    *msg = g_posted.front();
    g_posted.pop_front();
    return true;
}

// Queued behind the messages posted before it.
bool QueueQuit(int exitCode) {
    g_posted.push_back(MSG{nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0, 0, {}});
    return true;
}

}  // namespace lunvik::platform

using namespace lunvik::platform;

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    SWebWindow* w = Live(hwnd);
    if (w == nullptr) {
        return 0;
    }
    if (w->object != nullptr) {
        LRESULT result = 0;
        if (w->object->RouteMessage(hwnd, msg, wParam, lParam, result)) {
            return result;
        }
        // The map may have destroyed the window.
        if ((w = Live(hwnd)) == nullptr) {
            return 0;
        }
    }
    return DefaultProcessing(w, msg, wParam, lParam);
}

BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (Live(hwnd) == nullptr) {
        return FALSE;
    }
    g_posted.push_back(MSG{hwnd, msg, wParam, lParam, 0, {}});
    return TRUE;
}
