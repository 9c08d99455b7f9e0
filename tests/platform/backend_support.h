// What a window-layer test needs of the window system under it, written once
// for each back end (backend_qt.cpp, backend_win32.cpp), so that the same
// tests run on Qt and on Win32.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/win_types.h"

namespace lunvik::test {

// Handles the window system's events until done() holds or ms milliseconds
// have passed; false on the time-out.
bool PumpUntil(const std::function<bool()>& done, int ms = 5000);
// Delivers the messages posted so far.
void DeliverPosted();
// A window's rectangle in its parent's client area.
RECT ChildRect(HWND hwnd);
// A click of the mouse's left button in the middle of the control, delivered
// to whatever window is shown there.
void ClickCentre(HWND control);
// Gives the control the keyboard focus, its top-level window made active.
void Focus(HWND control);
// The window with the keyboard focus.
HWND Focused();
// Makes the top-level window active, as a click on it would, and handles
// the events that brings.
void Activate(HWND window);
// A press and release of a key (VK_TAB, VK_RETURN or VK_RIGHT), Shift held down with
// it when shift, to the window with the focus, handled as the program's own
// message loop handles it, dialog keys included.
void PressKey(WORD vk, bool shift = false);
// Every character of text has a glyph in the font the control draws with.
bool DrawsGlyphs(HWND control, const wchar_t* text);
// A push button pressed, as a click on it does, whether shown or not.
void PressButton(HWND button);

// A picture: width x height pixels 0xFFRRGGBB, rows top to bottom.
struct SPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    bool operator==(const SPicture&) const = default;
};
// What the window shows of its client area once it has painted, as the
// screen has it (the window and its top-level window shown for it).
SPicture WindowPicture(HWND hwnd);
// A PNG file read into picture, or written from it; false when it cannot be.
// The references are written by the Qt build only.
bool LoadPicture(const char* path, SPicture* picture);
#ifndef _WIN32
bool SavePicture(const char* path, const SPicture& picture);
#endif

// Destroys every top-level window left and returns how many windows of ours
// were still alive after that: 0 unless something leaked.
int DestroyAndCountLeft();

}  // namespace lunvik::test
