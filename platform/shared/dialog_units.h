// Dialogs by Win32's rules, whatever the toolkit: dialog units to pixels, a
// template's controls as the dialog manager makes them, the Tab order and
// the keys a dialog takes.
#pragma once

#include "platform/resources.h"
#include "platform/win_types.h"

namespace lunvik::platform {

// What a font's base units are measured on: its mean width over these
// letters, and its height.
inline constexpr const char* kBaseUnitLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// Dialog units to pixels through the base units of the font the dialog uses,
// worked out as the original platform does: the mean width of "A".."Z" and
// "a".."z", rounded, and the font's height. The dialog font gives 6 and 13.
struct SBaseUnits {
    // lettersWidth: the advance of kBaseUnitLetters; height: the font's.
    SBaseUnits(int lettersWidth, int height);
    int X(int units) const;
    int Y(int units) const;
    // A control's rectangle in the dialog's client area, in pixels.
    RECT ControlRect(const SDialogControl& c) const;
    int x;
    int y;
};

// A template's font size in points as pixels at 96 dots per inch, the size
// the dialog units were laid out for (8 points: 11 pixels).
int DialogFontPixels(int pointSize);

// A control's plain border becomes a sunken client edge, as Win32's dialog
// manager makes it for every program since Windows 95.
SDialogControl ThreeDimensional(SDialogControl c);

// Tab (next) or Shift+Tab among count tab stops from the one at (-1: none
// has the focus): the stop to go to, or -1 when there is none, or when at
// is the last one that way and wrap is false.
int TabStepIndex(int count, int at, bool next, bool wrap);

// The command a key sends in a top-level dialog: Enter its default push
// button's, Escape IDCANCEL; 0 for any other key.
int DialogKeyCommand(WORD vk, int defaultCommand);

}  // namespace lunvik::platform
