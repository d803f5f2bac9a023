// The shared palette, judged the way the demo uses it: GDI's colour requests,
// the colour key, the BlendTable's nearest-colour mixing and the minimap's
// random outline colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>

#include "assets/palettes.h"
#include "generated_pictures.h"

using namespace tools_test;

namespace {

const std::array<Colour, 256>& colours() { return generatedPictures().background.palette; }

int distance(const Colour& a, int r, int g, int b) { return std::abs(a.r - r) + std::abs(a.g - g) + std::abs(a.b - b); }

// The demo's nearest-colour rule: L1 distance, first exact match, ties to the
// lowest index, nothing found beyond a distance of 255.
int nearest(int r, int g, int b, int* found) {
    int best = 256, index = -1;
    for (int i = 0; i < 256; ++i) {
        const int d = distance(colours()[static_cast<size_t>(i)], r, g, b);
        if (d == 0) {
            best = 0;
            index = i;
            break;
        }
        if (d < best) {
            best = d;
            index = i;
        }
    }
    *found = index;
    return best;
}

}  // namespace

TEST(Palette, HoldsEachGdiColourOnceWithBlackAndWhiteAtTheEnds) {
    // The ends where the generated palettes are darkest and brightest.
    EXPECT_EQ(colours()[0], (Colour{0, 0, 0}));
    EXPECT_EQ(colours()[255], (Colour{255, 255, 255}));
    const Colour wanted[] = {{0, 0, 0}, {0, 255, 255}, {255, 0, 0}, {0, 0, 255}, {125, 125, 0}, {255, 255, 255}};
    for (const Colour& c : wanted) {
        int count = 0, first = -1;
        for (int i = 0; i < 256; ++i)
            if (colours()[static_cast<size_t>(i)] == c) {
                ++count;
                if (first < 0) first = i;
            }
        EXPECT_EQ(count, 1) << c.r << "," << c.g << "," << c.b;
        int found;
        EXPECT_EQ(nearest(c.r, c.g, c.b, &found), 0);
        EXPECT_EQ(found, first);
    }
}

TEST(Palette, KeepsTheKeyColourForTransparencyAlone) {
    const Colour key = colours()[kKey];
    for (int i = 0; i < 256; ++i)
        if (i != kKey) {
            EXPECT_GE(distance(colours()[static_cast<size_t>(i)], key.r, key.g, key.b), 60) << "entry " << i;
        }
    // The translucent copies write what the BlendTable picks into the canvas,
    // which is shown without a key: no mix of two real colours may be the key.
    for (int a = 0; a < 256; ++a)
        for (int b = a; b < 256; ++b) {
            if (a == kKey || b == kKey) continue;
            const Colour& ca = colours()[static_cast<size_t>(a)];
            const Colour& cb = colours()[static_cast<size_t>(b)];
            int found;
            nearest((ca.r + cb.r) / 2, (ca.g + cb.g) / 2, (ca.b + cb.b) / 2, &found);
            ASSERT_NE(found, kKey) << "entries " << a << " and " << b << " mix to the key";
        }
}

TEST(Palette, HasNoRepeatedEntries) {
    // A repeat would make the BlendTable map an entry's mix with itself elsewhere.
    for (int a = 0; a < 256; ++a)
        for (int b = a + 1; b < 256; ++b)
            EXPECT_FALSE(colours()[static_cast<size_t>(a)] == colours()[static_cast<size_t>(b)]) << a << " and " << b;
}

TEST(Palette, MixesEveryPairClosely) {
    long long sum = 0;
    int worst = 0, unmatched = 0;
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) {
            const Colour& ca = colours()[static_cast<size_t>(a)];
            const Colour& cb = colours()[static_cast<size_t>(b)];
            int found;
            const int d = nearest((ca.r + cb.r) / 2, (ca.g + cb.g) / 2, (ca.b + cb.b) / 2, &found);
            if (found < 0) ++unmatched;
            sum += d;
            worst = std::max(worst, d);
        }
    const double mean = static_cast<double>(sum) / 65536.0;
    EXPECT_EQ(unmatched, 0);
    // Measured 22.6 and 72 (L1 over the three channels); the key's own mixes
    // are the worst, since nothing else may come near the key.
    EXPECT_LE(mean, 24.0);
    EXPECT_LE(worst, 80);
}

TEST(Palette, OffersVisibleOutlineColoursBelow201) {
    // The minimap outline takes a random entry 0..200 and is drawn over the
    // dark cave: apart from black itself each must stand out from it.
    for (int i = 1; i <= 200; ++i) {
        const Colour& c = colours()[static_cast<size_t>(i)];
        EXPECT_TRUE(luma(c) >= 40 || std::max({c.r, c.g, c.b}) >= 160) << "entry " << i << " is too dark";
    }
}

TEST(Palette, KeepsTheArtsBrightnessOrderUnderTheGeneratedPalettes) {
    // Keys 1 and 2 show the pictures' indices through a random palette that
    // brightens with the index: the brighter of two pixels must stay brighter.
    std::array<long long, 256> uses{};
    for (const Bmp* picture : {&generatedPictures().background, &generatedPictures().sprites})
        for (uint8_t index : picture->pixels) ++uses[index];
    uses[kKey] = 0;
    for (void (*generate)(PALETTEENTRY*) : {generateWarmPalette, generateCoolPalette}) {
        PALETTEENTRY shown[256] = {};
        generate(shown);
        auto shownLuma = [&](int i) { return luma(Colour{shown[i].peRed, shown[i].peGreen, shown[i].peBlue}); };
        double inOrder = 0, pairs = 0;
        for (int a = 0; a < 256; ++a)
            for (int b = a + 1; b < 256; ++b) {
                const int art = luma(colours()[static_cast<size_t>(a)]) - luma(colours()[static_cast<size_t>(b)]);
                if (art == 0 || uses[a] == 0 || uses[b] == 0) continue;
                const double weight = static_cast<double>(uses[a]) * static_cast<double>(uses[b]);
                const int seen = shownLuma(a) - shownLuma(b);
                pairs += weight;
                if (seen != 0 && (seen > 0) == (art > 0)) inOrder += weight;
            }
        // Measured 96.5% (warm) and 97.9% (cool); 5% and 18% before the layout.
        EXPECT_GT(inOrder / pairs, 0.95);
    }
}
