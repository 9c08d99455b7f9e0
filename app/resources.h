// The program's resources: dialogs 100, 130 and 131, string, menu,
// accelerators and icon 128, as one table for the platform layer.
#pragma once

#include "platform/resources.h"

const SResourceTable& LunvikResources();
