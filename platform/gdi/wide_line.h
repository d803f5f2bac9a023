// Lines drawn with a pen wider than one pixel: a round end at each end point
// (the pen's own dot, the ellipse of a width x width box) joined by a band
// whose corners are the end points moved by half the width across the line,
// each offset rounded to whole pixels as Windows does.
#pragma once

#include <cstdint>

#include "gdi/raster.h"

namespace qmp::gdi {

void wideLine(const Raster& r, int64_t x0, int64_t y0, int64_t x1, int64_t y1, int64_t width, uint8_t index);

}  // namespace qmp::gdi
