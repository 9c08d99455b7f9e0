// What the back ends of toolkits share besides messages and dialogs: the
// resources behind menu, accelerator and icon handles, arithmetic that keeps
// any rectangle from overflowing, and the handle checks of Win32's queries.
#pragma once

#include "platform/resources.h"
#include "platform/win_types.h"

namespace lunvik::platform {

// The resource behind a handle, checked against the table; null for none.
const SMenuResource* KnownMenu(HMENU menu);
const SAccelResource* KnownAccel(HACCEL accel);
const SIconImage* KnownIcon(HICON icon);

// value clamped to int.
int Saturate(long long value);
// Width or height from two edges, 0 for a reversed pair, never overflowing.
int Extent(LONG from, LONG to);

struct SCreateParams;
// The CREATESTRUCTW that WM_CREATE carries for a window made from params.
CREATESTRUCTW CreateStructOf(const SCreateParams& params);

// What a toolkit back end answers about one of its live windows. A null,
// foreign or destroyed handle is refused once, in the shared IsWindow,
// GetParent, GetDlgItem and GetClientRect, before any of these is asked.
bool HostWindowAlive(HWND hwnd);
HWND HostParent(HWND window);         // its parent, or its owner; nullptr for none
HWND HostChild(HWND dialog, int id);  // nullptr when no child has that id
RECT HostClientRect(HWND window);

}  // namespace lunvik::platform
