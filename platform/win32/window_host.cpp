// What one of our windows keeps: made with the window, freed with it.
#include "platform/win32/window_host.h"

#include "platform/raster/raster.h"

namespace lunvik::platform {

SWindowData::SWindowData(CWindowObject* object, EWindowKind kind)
    : m_object(object), m_kind(kind) {}

SWindowData::~SWindowData() = default;

}  // namespace lunvik::platform
