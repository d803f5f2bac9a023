#include "core/frame.h"

#include <cstring>

namespace qmp {
namespace {

// Kept apart from the row comparison so that the compiler sees a plain loop
// of table look-ups over restrict-free, non-aliasing types.
void convertRow(const uint8_t* in, uint32_t* out, int width, const uint32_t* table) {
    for (int x = 0; x < width; ++x) out[x] = table[in[x]];
}

}  // namespace

void FrameConverter::convert(const Picture& picture, const PixelFormat& format, Frame& frame) {
    const int width = picture.width;
    const int height = picture.height;
    const size_t count = size_t(width) * size_t(height);
    bool all = frame.width != width || frame.height != height || !(frame.format == format) ||
               indices_.size() != count || picture.indices.size() != count;
    if (!tableValid_ || !(format_ == format) || std::memcmp(palette_, picture.palette, sizeof palette_) != 0) {
        std::memcpy(palette_, picture.palette, sizeof palette_);
        for (int i = 0; i < 256; ++i) table_[i] = format.pack(palette_[i].peRed, palette_[i].peGreen, palette_[i].peBlue);
        format_ = format;
        tableValid_ = true;
        all = true;
    }
    if (all) {
        frame.width = width;
        frame.height = height;
        frame.format = format;
        frame.pixels.resize(count);
        indices_.assign(count, 0);
    }
    int top = height;
    int bottom = 0;
    if (picture.indices.size() == count) {
        for (int y = 0; y < height; ++y) {
            const uint8_t* in = picture.indices.data() + size_t(y) * size_t(width);
            uint8_t* seen = indices_.data() + size_t(y) * size_t(width);
            if (!all && std::memcmp(in, seen, size_t(width)) == 0) continue;
            std::memcpy(seen, in, size_t(width));
            convertRow(in, frame.row(y), width, table_);
            if (y < top) top = y;
            bottom = y + 1;
        }
    }
    frame.changedTop = top < bottom ? top : 0;
    frame.changedBottom = top < bottom ? bottom : 0;
}

}  // namespace qmp
