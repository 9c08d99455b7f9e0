// The application module: the instance handle and the per-thread registry of
// message loops (under a lock).
#pragma once

#include <map>
#include <mutex>
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
