// Bounds checks shared by the picture copies and the sprite strips.
#pragma once

#include <cstdint>

#include "assets/bitmap.h"

// True when a picture is held and the w x h rectangle whose top-left corner is
// (x, y), counted from the picture's top-left, lies inside it.
inline bool rectInsidePicture(const PalettedBitmap& image, int64_t x, int64_t y, int64_t w, int64_t h) {
    if (!image.pixels) return false;
    return x >= 0 && y >= 0 && w >= 0 && h >= 0 && x + w <= image.width() && y + h <= image.height();
}
