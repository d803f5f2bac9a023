// Ellipse(): the digital ellipse of the box filled with the brush, then its
// outline drawn with the pen: one pixel wide, or as a closed wide line through
// the outline's pixels for wider pens.
#pragma once

#include <cstdint>

#include "gdi/raster.h"

namespace qmp::gdi {

// The box is [left, right) x [top, bottom) (right and bottom outside), with
// left < right and top < bottom. `fillIndex` and `penIndex` are skipped when
// negative. A box one pixel wide or tall has no inside: its outline is the
// pen's line from its first pixel to its last.
void ellipse(const Raster& r, int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t penWidth,
             int fillIndex, int penIndex);

}  // namespace qmp::gdi
