// The application's message loop, with the filters that see each message
// before it is dispatched and the handlers that run when the queue is empty.
#pragma once

#include <vector>

#include "platform/win_types.h"

class CMessageFilter {
  public:
    // TRUE consumes the message: it is not dispatched.
    virtual BOOL PreTranslateMessage(MSG* msg) = 0;

  protected:
    ~CMessageFilter() = default;
};

class CIdleHandler {
  public:
    virtual BOOL OnIdle() = 0;

  protected:
    ~CIdleHandler() = default;
};

class CMessageLoop {
  public:
    virtual ~CMessageLoop() = default;

    BOOL AddMessageFilter(CMessageFilter* filter);
    BOOL RemoveMessageFilter(CMessageFilter* filter);
    BOOL AddIdleHandler(CIdleHandler* handler);
    BOOL RemoveIdleHandler(CIdleHandler* handler);

    // Runs until the quit message; returns its exit code. Key presses (as
    // WM_KEYDOWN / WM_SYSKEYDOWN) and posted messages pass the filters first,
    // unless a modal dialog's loop runs inside this one.
    int Run();

    // The filters, last added first; TRUE when one consumed the message.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // The idle handlers, in the order they were added.
    virtual BOOL OnIdle(int idleCount);

  private:
    std::vector<CMessageFilter*> m_filters;
    std::vector<CIdleHandler*> m_idleHandlers;
};
