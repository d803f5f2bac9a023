// What a drawing call needs from its HDC: the open context and its target's pixels.
#pragma once

#include <windows.h>

#include "core/dc.h"
#include "gdi/raster.h"

namespace qmp::gdi {

struct Drawing {
    DeviceContext* dc = nullptr;
    Raster raster;
};

// False for a handle that is not an open context, or whose target has no
// usable pixels (no memory, no size, a pitch shorter than a row).
bool beginDrawing(HDC hdc, Drawing& out);

}  // namespace qmp::gdi
