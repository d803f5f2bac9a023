#include "gdi/colour_map.h"

#include <array>
#include <cstring>

#include "core/reset.h"

namespace qmp::gdi {
namespace {

constexpr size_t kPaletteBytes = 256 * sizeof(PALETTEENTRY);
constexpr size_t kSlots = 1024;                      // an open-addressed table per colour set
constexpr size_t kMaxColoursPerSet = kSlots * 3 / 4;  // a flood of distinct colours only restarts the cache

// The mappings of one set of 256 colours. `target` and `version` name where the
// set was last seen, so an unchanged target skips comparing the colours. A slot
// holds its colour plus one, so that zero marks it empty.
struct ColourSet {
    const PixelTarget* target = nullptr;
    uint64_t version = 0;
    uint64_t lastUse = 0;
    bool used = false;
    std::array<PALETTEENTRY, 256> colours{};
    size_t mapped = 0;
    std::array<uint32_t, kSlots> keys{};
    std::array<uint8_t, kSlots> indices{};

    void forget() {
        mapped = 0;
        keys.fill(0);
    }
};

struct Cache {
    std::array<ColourSet, 4> sets;  // the canvas, the flip chain, an off-screen picture or two
    ColourSet* last = nullptr;      // the set of the latest lookup, tried first
    uint64_t clock = 0;
};

constinit Cache colourCache;
Cache& cache() { return colourCache; }

const ResetHook resetCache([] { cache() = Cache{}; });

ColourSet& setFor(const PixelTarget& target) {
    Cache& c = cache();
    const uint64_t version = target.coloursVersion();
    if (c.last != nullptr && c.last->target == &target && c.last->version == version) return *c.last;
    for (ColourSet& set : c.sets)
        if (set.used && set.target == &target && set.version == version) return *(c.last = &set);

    const PALETTEENTRY* colours = target.colours();
    ColourSet* oldest = &c.sets[0];
    for (ColourSet& set : c.sets) {
        if (set.used && std::memcmp(set.colours.data(), colours, kPaletteBytes) == 0) {
            set.target = &target;
            set.version = version;
            return *(c.last = &set);
        }
        if (!set.used || (oldest->used && set.lastUse < oldest->lastUse)) oldest = &set;
    }
    ColourSet& fresh = *oldest;
    fresh.used = true;
    fresh.target = &target;
    fresh.version = version;
    std::memcpy(fresh.colours.data(), colours, kPaletteBytes);
    fresh.forget();
    return *(c.last = &fresh);
}

size_t slotOf(COLORREF colour) { return (colour * 2654435761u) >> 22; }  // the top 10 bits of a multiplicative hash

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
    const uint32_t key = colour + 1;
    size_t slot = slotOf(colour);
    for (; set.keys[slot] != 0; slot = (slot + 1) % kSlots)
        if (set.keys[slot] == key) return set.indices[slot];
    if (set.mapped >= kMaxColoursPerSet) {
        set.forget();
        slot = slotOf(colour);
    }
    const uint8_t index = searchNearest(set.colours.data(), colour);
    set.keys[slot] = key;
    set.indices[slot] = index;
    ++set.mapped;
    return index;
}

}  // namespace qmp::gdi
