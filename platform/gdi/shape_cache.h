// Small shapes come back again and again: a fireworks frame draws two
// thousand short wide lines of a few hundred shapes, and the palette strip and
// the minimap draw hundreds of discs of two sizes. Moving a shape by whole
// pixels moves all its pixels alike, so each is worked out once, kept as runs
// of rows, and only placed and clipped when drawn again.
#pragma once

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "gdi/raster.h"

namespace qmp::gdi {

// Pixels [first, last] of `row`, in one of a shape's layers (1: fill, 2: pen).
struct ShapeRun {
    int32_t row, first, last;
    uint8_t layer;
};

class ShapeCache {
public:
    // The shape of `key`, made the first time by `draw`: it paints the layers
    // as indices 1 and 2 into an empty width x height pixel store, and the runs
    // are positions in that store.
    // A template, so that a shape already kept costs a lookup and no
    // std::function (whose captures would be copied to the heap every time).
    template <typename Draw>
    const std::vector<ShapeRun>& find(uint64_t key, int width, int height, Draw&& draw) {
        const auto found = shapes_.find(key);
        if (found != shapes_.end()) return found->second;
        return make(key, width, height, draw);
    }

private:
    const std::vector<ShapeRun>& make(uint64_t key, int width, int height,
                                      const std::function<void(const Raster&)>& draw);

    // The fireworks alone draw lines of up to 20 pixels each way at six widths,
    // some ten thousand shapes; past this many the cache starts afresh, so
    // memory stays bounded (a few megabytes).
    static constexpr size_t kMostShapes = 16384;
    std::unordered_map<uint64_t, std::vector<ShapeRun>> shapes_;
    std::vector<uint8_t> scratch_;
};

// Draws a kept shape with its store's top-left corner at (x, y), layer L in
// index[L] (skipped when negative), clipped to the target.
void stamp(const Raster& r, const std::vector<ShapeRun>& runs, int64_t x, int64_t y, const int (&index)[3]);

}  // namespace qmp::gdi
