// What the program tells an X11 window manager about a window beyond what Qt
// says. Qt's Motif hints always allow resizing a dialog. Win32 gives a frame
// without a sizing border neither the resize function nor the border in
// them (Wine's X11 driver writes just that), so that a window manager going
// by the hints alone offers no resizing either.
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/qt/window_host.h"

namespace lunvik::platform {
namespace {

// _MOTIF_WM_HINTS: flags, functions, decorations, input mode, status. With
// the "all" bit set the others list what is left out, so those are left alone.
constexpr std::uint32_t kHasFunctions = 1u << 0;
constexpr std::uint32_t kHasDecorations = 1u << 1;
constexpr std::uint32_t kAll = 1u << 0;
constexpr std::uint32_t kResizeFunction = 1u << 1;
constexpr std::uint32_t kResizeBorder = 1u << 2;

xcb_atom_t MotifHintsAtom(xcb_connection_t* connection) {
    static const char kName[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

}  // namespace

void LeaveSizingOutOfMotifHints(QWidget* window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) {
        return;  // no X11, or Qt's offscreen platform, which has no connection
    }
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t atom = MotifHintsAtom(connection);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, id, atom, atom, 0, 5), nullptr);
    std::uint32_t hints[5];
    if (reply != nullptr && reply->format == 32 &&
        xcb_get_property_value_length(reply) == sizeof hints) {
        std::memcpy(hints, xcb_get_property_value(reply), sizeof hints);
        if ((hints[0] & kHasFunctions) != 0 && (hints[1] & kAll) == 0) {
            hints[1] &= ~kResizeFunction;
        }
        if ((hints[0] & kHasDecorations) != 0 && (hints[2] & kAll) == 0) {
            hints[2] &= ~kResizeBorder;
        }
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atom, atom, 32, 5, hints);
    }
    std::free(reply);
}

}  // namespace lunvik::platform
