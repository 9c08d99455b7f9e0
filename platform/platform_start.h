// Start and stop of the window system, around everything else the program does.
#pragma once

#include <string>

// Opens the window system with the program name as its only argument, and
// hands the raster the screen it draws for (raster.h's IScreen). When it
// cannot (no display to connect to, no usable platform), returns false with a
// one-line reason instead of aborting.
bool StartPlatform(const char* argv0, std::string* why);
// Destroys every window that is left and closes the window system, so that no
// toolkit object outlives it; the raster draws for no screen from then on.
void StopPlatform();
// Tells the desktop who the program is: the name of its desktop entry (without
// ".desktop"), so that its windows group under that entry, and its version.
void SetProgramIdentity(const char* desktopFileName, const char* version);
// Tells the user why the program could not start: line on stderr and, on
// Windows, where a program with windows has no console to show it, also in a
// message box titled title (and on the console of whoever started it, if
// there is one).
void ReportStartFailure(const wchar_t* title, const std::string& line);
