// Menu and toolbar state updating. This program shows no state in its menu,
// so the map only exists for frames to chain into.
#pragma once

#include "platform/win_types.h"

template <class T>
class CUpdateUI {
  public:
    BOOL ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD = 0) { return FALSE; }
    BOOL UIUpdateToolBar(BOOL = FALSE) { return TRUE; }
};
