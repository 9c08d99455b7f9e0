// What is checked before Qt starts, so that a start that cannot work ends
// with one line of ours: the standard descriptors, the limit of open files,
// the display. And what the libraries write straight to descriptor 2 while
// Qt starts, held back until it is known whether the start failed.
#pragma once

#include <string>

namespace lunvik::platform {

std::string Env(const char* name);

// Descriptors 0, 1 and 2 open, on /dev/null where they were closed.
void KeepStandardDescriptors();
// Raises the limit of open files as far as allowed; false, with what to do,
// when the program could still run out of descriptors on the way up.
bool EnoughFiles(std::string* why);

// The user's choice of Qt platforms (QT_QPA_PLATFORM), or the one to use.
std::string ChoosePlatform();
// Whether one of the ';'-separated platforms can reach its display; if not,
// why and what to do. An X connection made here stays open until
// CloseDisplayProbe: an X server with no client left resets, and refuses
// connections while it does.
bool CanOpenDisplay(const std::string& platforms, std::string* why);
void CloseDisplayProbe();

// Descriptor 2 goes to memory until ReleaseStderr, which puts it back and
// returns what was written meanwhile. Nothing happens when already held.
void HoldStderr();
std::string ReleaseStderr();

}  // namespace lunvik::platform
