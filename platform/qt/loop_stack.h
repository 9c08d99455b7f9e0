// The event loops running on the user-interface thread, innermost last: the
// message loop's and those of modal dialogs. PostQuitMessage ends them all.
#pragma once

class CMessageLoop;
class QEventLoop;

namespace lunvik::platform {

// Runs loop as the innermost one until it exits; returns at once when a quit
// is pending. messageLoop is the CMessageLoop it serves (nullptr: a modal loop).
void RunLoop(QEventLoop& loop, CMessageLoop* messageLoop);
// The CMessageLoop whose loop is innermost now; nullptr inside a modal loop.
CMessageLoop* InnermostMessageLoop();
bool QuitPending();
// Takes the pending quit, if any, with its exit code.
bool TakeQuit(int* exitCode);

}  // namespace lunvik::platform
