#include "gdi/shape_cache.h"

#include <algorithm>

namespace qmp::gdi {

const std::vector<ShapeRun>& ShapeCache::make(uint64_t key, int width, int height,
                                             const std::function<void(const Raster&)>& draw) {
    if (shapes_.size() >= kMostShapes) shapes_.clear();
    scratch_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    draw(Raster{scratch_.data(), width, width, height});
    std::vector<ShapeRun> runs;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = scratch_.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = 0; x < width;) {
            const uint8_t layer = row[x];
            int end = x + 1;
            while (end < width && row[end] == layer) ++end;
            if (layer != 0) runs.push_back(ShapeRun{y, x, end - 1, layer});
            x = end;
        }
    }
    return shapes_.emplace(key, std::move(runs)).first->second;
}

void stamp(const Raster& r, const std::vector<ShapeRun>& runs, int64_t x, int64_t y, const int (&index)[3]) {
    for (const ShapeRun& run : runs) {
        const int i = index[run.layer];
        if (i >= 0) r.span(y + run.row, x + run.first, x + run.last + 1, static_cast<uint8_t>(i));
    }
}

}  // namespace qmp::gdi
