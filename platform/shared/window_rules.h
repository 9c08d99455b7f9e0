// What the back ends of toolkits share besides messages and dialogs: the
// resources behind menu, accelerator and icon handles, and arithmetic that
// keeps any rectangle from overflowing.
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

}  // namespace lunvik::platform
