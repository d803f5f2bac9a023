// The rasteriser's pixel store and its one-pixel lines and polygons, written as
// palette indices into 8-bit pixels, clipped to them. Pixel (x, y) is the unit
// square centred on the integer point (x, y), where lines through it run.
// Wide lines and ellipses have their own files (wide_line.h, ellipse.h).
#pragma once

#include <windows.h>

#include <cstdint>

namespace qmp::gdi {

// Like the 27-bit coordinate space of GDI: drawing calls refuse points beyond
// it, which keeps every product in the rasteriser within 64 (or 128) bits.
constexpr int64_t kCoordinateLimit = int64_t(1) << 27;
inline bool inCoordinateRange(int64_t v) { return v >= -kCoordinateLimit && v <= kCoordinateLimit; }

struct Raster {
    uint8_t* bits = nullptr;
    int pitch = 0;
    int width = 0;
    int height = 0;

    // Fills [x0, x1) of row y, clipped.
    void span(int64_t y, int64_t x0, int64_t x1, uint8_t index) const;
    void plot(int64_t x, int64_t y, uint8_t index) const { span(y, x, x + 1, index); }
};

// A one-pixel line from (x0, y0) to (x1, y1) without its last pixel.
void thinLine(const Raster& r, int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint8_t index);

// Even-odd fill of a closed polygon, sampled at pixel centres; centres on the
// top and left edges are inside, on the bottom and right edges outside.
void fillPolygon(const Raster& r, const POINT* points, int count, uint8_t index);

}  // namespace qmp::gdi
