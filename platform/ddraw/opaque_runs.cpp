#include "ddraw/opaque_runs.h"

#include <algorithm>
#include <cstring>

namespace qmp::ddraw {

bool OpaqueRuns::ready(const uint8_t* pixels, int pitch, int width, int height, pixels::KeyRange key) {
    if (built_ && key_.low == key.low && key_.span == key.span) return true;
    if (++copiesSinceChange_ < 2) return false;
    build(pixels, pitch, width, height, key);
    return true;
}

void OpaqueRuns::build(const uint8_t* pixels, int pitch, int width, int height, pixels::KeyRange key) {
    rowStart_.assign(1, 0);
    rowStart_.reserve(static_cast<size_t>(height) + 1);
    runs_.clear();
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(pitch);
        int x = 0;
        while (x < width) {
            while (x < width && !pixels::opaque(row[x], key)) ++x;
            if (x == width) break;
            const int begin = x;
            while (x < width && pixels::opaque(row[x], key)) ++x;
            runs_.push_back({begin, x});
        }
        rowStart_.push_back(static_cast<uint32_t>(runs_.size()));
    }
    key_ = key;
    built_ = true;
}

void copyRowRuns(const OpaqueRuns& runs, int y, const uint8_t* sourceRow, int first, int width, uint8_t* dest) {
    const int last = first + width;
    for (const OpaqueRuns::Run* run = runs.begin(y); run != runs.end(y); ++run) {
        if (run->end <= first) continue;
        if (run->begin >= last) break;
        const int begin = std::max(run->begin, first);
        const int end = std::min(run->end, last);
        std::memcpy(dest + (begin - first), sourceRow + begin, static_cast<size_t>(end - begin));
    }
}

}  // namespace qmp::ddraw
