// The one palette shared by the three pictures: the colours the demo asks GDI
// for, the transparent key at 253, shading ramps for each material, and the
// rest chosen so that the demo's BlendTable finds a close colour for the mean
// of any two entries. The entries run from dark to bright in the order in
// which the demo's generated palettes brighten, so that the art under one of
// those reads as the same scene in other colours.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "bmp_writer.h"

namespace assetgen {

// Black and white at the two ends, where the generated palettes are darkest
// (entry 0 stays black) and brightest.
inline constexpr uint8_t kBlackIndex = 0;
inline constexpr uint8_t kWhiteIndex = 255;
inline constexpr uint8_t kKeyIndex = 253;
inline constexpr Rgb kKeyColour{255, 0, 255};

// A shading ramp: palette indices from darkest to lightest.
struct Ramp {
    std::vector<uint8_t> index;
    int size() const { return static_cast<int>(index.size()); }
    // Clamps the shade into the ramp, so callers may overshoot.
    uint8_t operator[](int shade) const {
        if (shade < 0) shade = 0;
        if (shade >= size()) shade = size() - 1;
        return index[static_cast<size_t>(shade)];
    }
};

struct Palette {
    ColourTable colours{};
    Ramp rock, earth, moss, skin, jacket, cloak, leather, khaki, metal, flame, crystal, parchment;
    uint8_t outline = kBlackIndex;
};

// Built once, deterministically.
const Palette& palette();

// How well the demo's BlendTable can mix this palette: for every ordered pair
// (a, b), the L1 distance between their channel-wise mean (rounded down) and
// the entry the table picks (nearest by L1, ties to the lowest index).
struct BlendStats {
    double meanDistance = 0;
    int worstDistance = 0;
    double meanDistanceWithoutKey = 0;  // pairs in which neither entry is the key
    int worstDistanceWithoutKey = 0;
    int pairsLandingOnKey = 0;  // pairs of two non-key entries whose mix is the key
};

uint8_t nearestIndex(const ColourTable& colours, int r, int g, int b, int* distance = nullptr);
BlendStats blendStats(const ColourTable& colours);

}  // namespace assetgen
