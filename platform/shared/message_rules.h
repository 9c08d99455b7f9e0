// Messages by Win32's rules, whatever the toolkit: how a posted message and
// a key press reach the running loop's filters, the keys' modifier state,
// and what default processing does for a dialog's close and a main frame's end.
#pragma once

#include "platform/win_types.h"
#include "platform/window_object.h"

class CMessageLoop;

namespace lunvik::platform {

// A posted message taken from the queue: the running loop's filters see it
// before it is sent.
void DispatchPosted(MSG msg);

struct SKeyPress {
    WORD vk;
    bool repeat;
};
// A key press as a key message (WM_SYSKEYDOWN with Alt held and for F10) to
// loop's filters, for window, the nearest of ours to the focus; Alt+F4 closes
// top, as the system's default handling does. True when it was consumed.
bool OfferKeyPress(CMessageLoop& loop, HWND window, HWND top, const SKeyPress& key);

// Modifier state as of the last key message, for GetKeyState.
struct SModifiers {
    bool shift = false;
    bool control = false;
    bool alt = false;
};
void SetKeyModifiers(const SModifiers& modifiers);
const SModifiers& KeyModifiers();

// A dialog's close box is its Cancel.
void CloseDialog(HWND dialog);
// The application's main frame (neither child nor pop-up) ends the program
// when it is destroyed.
bool EndsProgram(EWindowKind kind, DWORD style);

}  // namespace lunvik::platform
