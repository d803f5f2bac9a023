// Straightforward statements of the rasteriser's shapes, slow but plain, that
// the platform's row-by-row drawing is checked against.
#pragma once

#include <cstdint>
#include <set>
#include <utility>

#include "gdi/raster.h"

namespace gdi_test {

// The outline pixels of the ellipse in a width x height box (both >= 2), as
// (column, row) from the box's corner, found by walking the curve from its
// top: column by column while it is flatter than 45 degrees (each step keeps
// the row or moves one row, whichever lies nearer the curve, a tie inward),
// then row by row.
std::set<std::pair<int64_t, int64_t>> walkEllipseOutline(int64_t width, int64_t height);

// A wide line as its definition states it: the pen's dot (the filled walked
// ellipse of a width x width box, width / 2 up and left of the point) at both
// ends, and the band whose corners are the ends moved across the line by half
// the width (computed in floating point, rounded away from zero on the side
// that bounds rows on the right, to nearest on the other), filled as Polygon.
void referenceWideLine(const qmp::gdi::Raster& r, int64_t x0, int64_t y0, int64_t x1, int64_t y1, int64_t width,
                       uint8_t index);

}  // namespace gdi_test
