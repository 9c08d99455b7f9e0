// The application module: the instance handle and the per-thread registry of
// message loops (under a lock). Also the start and stop of the window system.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "platform/message_loop.h"
#include "platform/win_types.h"

class CAppModule {
  public:
    HRESULT Init(void* objectMap, HINSTANCE instance);
    void Term();
    HINSTANCE GetModuleInstance() const { return m_instance; }
    HINSTANCE GetResourceInstance() const { return m_instance; }

    // One loop per thread: FALSE when this thread has one already.
    BOOL AddMessageLoop(CMessageLoop* loop);
    BOOL RemoveMessageLoop();
    CMessageLoop* GetMessageLoop() const;

  private:
    HINSTANCE m_instance = nullptr;
    mutable std::mutex m_lock;
    std::map<std::thread::id, CMessageLoop*> m_loops;
};

// Opens the window system with the program name as its only argument. When it
// cannot (no display to connect to, no usable platform), returns false with a
// one-line reason instead of aborting.
bool StartPlatform(const char* argv0, std::string* why);
// Destroys every window that is left and closes the window system, so that no
// toolkit object outlives it.
void StopPlatform();
