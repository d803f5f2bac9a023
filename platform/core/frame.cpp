#include "core/frame.h"

#include <algorithm>
#include <cstring>

namespace qmp {
namespace {

// A plain loop of table look-ups, which the compiler can unroll and vectorise.
void convertRun(const uint8_t* in, uint32_t* out, int count, const uint32_t* table) {
    for (int x = 0; x < count; ++x) out[x] = table[in[x]];
}

// Rows that changed one after the other make one rectangle, as wide as all of them.
void addChange(std::vector<Rect>& changed, bool& open, int y, int left, int right) {
    if (open) {
        Rect& band = changed.back();
        const int x0 = std::min(band.x, left);
        const int x1 = std::max(band.x + band.w, right);
        band = {x0, band.y, x1 - x0, y + 1 - band.y};
        return;
    }
    changed.push_back({left, y, right - left, 1});
    open = true;
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
    frame.changed.clear();
    if (picture.indices.size() != count) return;
    bool open = false;  // the last rectangle takes the next changed row
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = picture.indices.data() + size_t(y) * size_t(width);
        uint8_t* seen = indices_.data() + size_t(y) * size_t(width);
        int left = 0;
        int right = width;
        if (!all) {
            if (std::memcmp(in, seen, size_t(width)) == 0) {
                open = false;
                continue;
            }
            while (in[left] == seen[left]) ++left;  // the row differs somewhere: both stop
            while (in[right - 1] == seen[right - 1]) --right;
        }
        std::memcpy(seen + left, in + left, size_t(right - left));
        convertRun(in + left, frame.row(y) + left, right - left, table_);
        addChange(frame.changed, open, y, left, right);
    }
}

}  // namespace qmp
