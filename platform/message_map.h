// A window's message map: the one entry through which a window object sees
// its messages. An object answers TRUE when it handled the message (lResult
// then holds the result) and FALSE to leave it to default processing.
#pragma once

#include "platform/win_types.h"

class CMessageMap {
  public:
    virtual ~CMessageMap() = default;
    virtual BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                      LRESULT& lResult, DWORD dwMsgMapID = 0) = 0;
};
