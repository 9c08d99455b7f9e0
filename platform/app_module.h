// The application module: it holds the program's message loop, through which
// a window reaches the loop it runs in (to add its filters and idle handlers).
// All windows live on one thread, so there is one loop.
#pragma once

#include "platform/message_loop.h"
#include "platform/win_types.h"

class CAppModule {
  public:
    HRESULT Init(void*, HINSTANCE) { return S_OK; }
    void Term() { m_loop = nullptr; }

    // FALSE when a loop is held already.
    BOOL AddMessageLoop(CMessageLoop* loop) {
        if (loop == nullptr || m_loop != nullptr) {
            return FALSE;
        }
        m_loop = loop;
        return TRUE;
    }
    BOOL RemoveMessageLoop() {
        const bool had = m_loop != nullptr;
        m_loop = nullptr;
        return had ? TRUE : FALSE;
    }
    CMessageLoop* GetMessageLoop() const { return m_loop; }

  private:
    CMessageLoop* m_loop = nullptr;
};
