#include "gdi/colour_map.h"

#include <array>
#include <cstring>
#include <unordered_map>

#include "core/reset.h"

namespace qmp::gdi {
namespace {

constexpr size_t kPaletteBytes = 256 * sizeof(PALETTEENTRY);
constexpr size_t kMaxColoursPerSet = 4096;  // a flood of distinct colours only restarts the cache

// The mappings of one set of 256 colours. `target` and `version` name where the
// set was last seen, so an unchanged target skips comparing the colours.
struct ColourSet {
    const PixelTarget* target = nullptr;
    uint64_t version = 0;
    uint64_t lastUse = 0;
    bool used = false;
    std::array<PALETTEENTRY, 256> colours{};
    std::unordered_map<COLORREF, uint8_t> indices;
};

struct Cache {
    std::array<ColourSet, 4> sets;  // the canvas, the flip chain, an off-screen picture or two
    uint64_t clock = 0;
};

Cache& cache() {
    static Cache c;
    return c;
}

const ResetHook resetCache([] { cache() = Cache{}; });

ColourSet& setFor(const PixelTarget& target) {
    Cache& c = cache();
    const uint64_t version = target.coloursVersion();
    for (ColourSet& set : c.sets)
        if (set.used && set.target == &target && set.version == version) return set;

    const PALETTEENTRY* colours = target.colours();
    ColourSet* oldest = &c.sets[0];
    for (ColourSet& set : c.sets) {
        if (set.used && std::memcmp(set.colours.data(), colours, kPaletteBytes) == 0) {
            set.target = &target;
            set.version = version;
            return set;
        }
        if (!set.used || (oldest->used && set.lastUse < oldest->lastUse)) oldest = &set;
    }
    ColourSet& fresh = *oldest;
    fresh.used = true;
    fresh.target = &target;
    fresh.version = version;
    std::memcpy(fresh.colours.data(), colours, kPaletteBytes);
    fresh.indices.clear();
    return fresh;
}

}  // namespace

uint8_t searchNearest(const PALETTEENTRY* colours, COLORREF colour) {
    const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    int best = 0;
    int bestDistance = INT32_MAX;
    for (int i = 0; i < 256; ++i) {
        const int dr = colours[i].peRed - r, dg = colours[i].peGreen - g, db = colours[i].peBlue - b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
            if (distance == 0) break;
        }
    }
    return static_cast<uint8_t>(best);
}

uint8_t nearestIndex(const PixelTarget& target, COLORREF colour) {
    if ((colour >> 24) == 0x01) return static_cast<uint8_t>(colour & 0xFF);  // PALETTEINDEX(i)
    colour &= 0x00FFFFFF;
    ColourSet& set = setFor(target);
    set.lastUse = ++cache().clock;
    auto found = set.indices.find(colour);
    if (found != set.indices.end()) return found->second;
    if (set.indices.size() >= kMaxColoursPerSet) set.indices.clear();
    const uint8_t index = searchNearest(set.colours.data(), colour);
    set.indices.emplace(colour, index);
    return index;
}

}  // namespace qmp::gdi
