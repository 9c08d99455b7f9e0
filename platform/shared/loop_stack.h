// The loops running on the user-interface thread, innermost last: the
// message loop's and those of modal dialogs. PostQuitMessage ends them all.
// Written once for every toolkit: a back end says how a loop runs and exits
// (CRunningLoop) and how a call waits behind the posted messages (QueueQuit).
#pragma once

#include "platform/win_types.h"

class CMessageLoop;

namespace lunvik::platform {

class CRunningLoop {
  public:
    // Handles events until Exit.
    virtual void Exec() = 0;
    virtual void Exit() = 0;

  protected:
    ~CRunningLoop() = default;
};

// A modal run in progress; lives on RunModalDialog's stack.
struct SModalState {
    CRunningLoop* loop = nullptr;
    bool ended = false;
    INT_PTR code = -1;
};

// Runs loop as the innermost one until it exits; returns at once when a quit
// is pending. messageLoop is the CMessageLoop it serves (nullptr: a modal loop).
void RunLoop(CRunningLoop& loop, CMessageLoop* messageLoop);
// The CMessageLoop whose loop is innermost now; nullptr inside a modal loop.
CMessageLoop* InnermostMessageLoop();
bool QuitPending();
// Takes the pending quit, if any, with its exit code.
bool TakeQuit(int* exitCode);
// The quit message taken from the queue: the innermost message loop ends,
// and every modal loop running inside it.
void QuitNow(int exitCode);

// The back end's: QuitNow(exitCode) queued behind the messages posted so
// far; false when there is no queue (the window system is not running).
bool QueueQuit(int exitCode);

}  // namespace lunvik::platform
