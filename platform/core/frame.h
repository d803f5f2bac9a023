// The picture as a host shows it: 32-bit pixels in the host's channel order.
// The 8-bit picture is turned into one through a 256-entry table of its
// palette's colours, rebuilt only when the palette changes, and only the rows
// that changed since the last picture are converted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/picture.h"

namespace qmp {

// Where each 8-bit channel sits in a 32-bit pixel, and the bits every pixel
// has set besides (an opaque alpha channel).
struct PixelFormat {
    int redShift = 16;
    int greenShift = 8;
    int blueShift = 0;
    uint32_t opaque = 0xFF000000u;

    uint32_t pack(uint8_t red, uint8_t green, uint8_t blue) const {
        return opaque | uint32_t(red) << redShift | uint32_t(green) << greenShift | uint32_t(blue) << blueShift;
    }
    uint8_t red(uint32_t pixel) const { return uint8_t(pixel >> redShift); }
    uint8_t green(uint32_t pixel) const { return uint8_t(pixel >> greenShift); }
    uint8_t blue(uint32_t pixel) const { return uint8_t(pixel >> blueShift); }
    bool operator==(const PixelFormat&) const = default;
};

// A line of the platform's own messages, over or beside the picture.
struct OverlayLine {
    std::u32string text;
    uint8_t opacity = 255;  // fades out before the line goes
};

struct Frame {
    int width = 0;
    int height = 0;
    PixelFormat format;
    std::vector<uint32_t> pixels;  // width x height, rows top-down, no padding
    // Rows [changedTop, changedBottom) differ from the frame presented before;
    // an empty range when only the overlay changed.
    int changedTop = 0;
    int changedBottom = 0;
    std::vector<OverlayLine> overlay;

    uint32_t* row(int y) { return pixels.data() + size_t(y) * size_t(width); }
    const uint32_t* row(int y) const { return pixels.data() + size_t(y) * size_t(width); }
    void markAllChanged() {
        changedTop = 0;
        changedBottom = height;
    }
};

// Keeps a frame equal to the pictures it is given.
class FrameConverter {
public:
    // Brings `frame` to `picture` in `format`; marks the rows that changed.
    void convert(const Picture& picture, const PixelFormat& format, Frame& frame);

private:
    PALETTEENTRY palette_[256] = {};
    uint32_t table_[256] = {};
    PixelFormat format_;
    bool tableValid_ = false;
    std::vector<uint8_t> indices_;  // the picture last converted
};

}  // namespace qmp
