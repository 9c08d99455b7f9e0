// The process's limits that Qt does not survive, checked before it starts:
// each raised where the hard limit allows, else refused with what to raise.
#pragma once

#include <string>

namespace lunvik::platform {

// The main thread's stack (ulimit -s).
bool EnoughStack(std::string* why);
// The address space (ulimit -v). Under a limit the threads share one malloc
// arena, so that the limit is spent on the program.
bool EnoughAddressSpace(std::string* why);
// How many helper threads can be started at once, up to what Qt would use,
// and whether that is enough (ulimit -u). Sets the helpers' stack size.
bool EnoughThreads(int* helpers, std::string* why);
// Once Qt runs: its pool of painting threads sized to what was left of
// helpers, all of them started now and kept. False when one would not start.
bool KeepPaintHelpers(int helpers);

}  // namespace lunvik::platform
