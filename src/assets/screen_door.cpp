// bitmap.h's screen-door pattern: every few bytes of an area become
// transparent, so that a keyed copy of the surface lets the background show through.
#include "assets/bitmap.h"

#include "display/display.h"

// The area is one stretch of pitch x rows bytes cut into runs of 255 positions;
// in each run n positions `step` apart become transparent. A position that falls
// between the area's right edge and the next row moves the pattern on to the
// next row's start, for the rest of the run and every later run.
void applyScreenDoor(uint8_t* base, int32_t pitch, int32_t areaWidth, int32_t rows, int32_t level) {
    if (pitch <= 0 || areaWidth <= 0 || rows <= 0) return;
    int32_t low = level & 0xFF;
    int32_t n = 255 - low % 255;  // 1..255: levels 0 and 255 both cover everything
    int32_t step = 255 / n;
    int64_t total = static_cast<int64_t>(pitch) * rows;
    int64_t gap = pitch - areaWidth;
    for (int64_t run = 0; run < total; run += 255) {
        for (int32_t k = 0; k < n; ++k) {
            int64_t pos = run + static_cast<int64_t>(k) * step;
            if (pos % pitch >= areaWidth) {
                run += gap;
                pos = run + static_cast<int64_t>(k) * step;
            }
            if (pos < total) base[pos] = TRANSPARENT_INDEX;
        }
    }
}
