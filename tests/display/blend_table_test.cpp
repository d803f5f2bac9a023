// The nearest-colour search and the BlendTable built on it: the worked
// examples, ties, and the fast build against the plain search.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "assets/bitmap.h"
#include "display/blend_table.h"
#include "display/translucency.h"
#include "support/surface_test.h"

namespace {

using Palette = std::vector<PALETTEENTRY>;

Palette filled(PALETTEENTRY colour) { return Palette(256, colour); }

// The plain search, written out: the smallest sum of channel differences, the
// lowest index among equals, the first exact match at once.
uint8_t plainNearest(const Palette& palette, int red, int green, int blue) {
    int best = 256;
    int found = -1;
    int fallbackDistance = 1 << 30;
    int fallback = 0;
    for (int i = 0; i < 256; ++i) {
        int d = std::abs(palette[i].peRed - red) + std::abs(palette[i].peGreen - green) +
                std::abs(palette[i].peBlue - blue);
        if (d == 0) return static_cast<uint8_t>(i);
        if (d < best) {
            best = d;
            found = i;
        }
        if (d < fallbackDistance) {
            fallbackDistance = d;
            fallback = i;
        }
    }
    return static_cast<uint8_t>(found >= 0 ? found : fallback);
}

std::vector<uint8_t> plainTable(const Palette& palette) {
    std::vector<uint8_t> table(65536);
    for (int j = 0; j < 256; ++j) {
        for (int i = 0; i < 256; ++i) {
            table[i * 256 + j] = plainNearest(palette, (palette[i].peRed + palette[j].peRed) / 2,
                                              (palette[i].peGreen + palette[j].peGreen) / 2,
                                              (palette[i].peBlue + palette[j].peBlue) / 2);
        }
    }
    return table;
}

std::vector<uint8_t> fastTable(const Palette& palette) {
    std::vector<uint8_t> table(65536);
    fillBlendTable(palette.data(), table.data());
    return table;
}

// Random colours, optionally from a few levels per channel so that exact
// matches, duplicates and ties are common.
Palette randomPalette(uint32_t seed, int levels) {
    std::mt19937 random(seed);
    Palette palette(256);
    for (PALETTEENTRY& entry : palette) {
        auto channel = [&] { return static_cast<BYTE>(levels ? (random() % levels) * (255 / (levels - 1)) : random() & 0xFF); };
        entry = PALETTEENTRY{channel(), channel(), channel(), 0};
    }
    return palette;
}

TEST(NearestPaletteIndex, FirstExactMatchAndLowestIndexOnTies) {
    Palette palette = filled({200, 200, 200, 0});
    palette[9] = {1, 2, 3, 0};
    palette[5] = {1, 2, 3, 0};
    EXPECT_EQ(nearestPaletteIndex(palette.data(), 1, 2, 3), 5);
    palette[20] = {0, 0, 100, 0};
    palette[30] = {0, 0, 110, 0};
    EXPECT_EQ(nearestPaletteIndex(palette.data(), 0, 0, 105), 20);
    palette[40] = {0, 0, 106, 0};
    EXPECT_EQ(nearestPaletteIndex(palette.data(), 0, 0, 105), 40);
}

TEST(NearestPaletteIndex, WithNothingWithin255TheNearestEntryIsTaken) {
    Palette palette = filled({255, 255, 255, 0});
    palette[7] = {0, 0, 0, 0};    // distance 300 from (100, 100, 100)
    palette[9] = {0, 0, 0, 0};
    EXPECT_EQ(nearestPaletteIndex(palette.data(), 100, 100, 100), 7);
    palette[3] = {255, 255, 0, 0};  // distance 410 from (100, 100, 100)
    EXPECT_EQ(nearestPaletteIndex(palette.data(), 100, 100, 100), 7);
    EXPECT_EQ(nearestPaletteIndex(palette.data(), 200, 200, 60), 3);
}

TEST(NearestPaletteIndex, AgreesWithThePlainSearchOnRandomColours) {
    std::mt19937 random(99);
    for (int levels : {0, 3}) {
        Palette palette = randomPalette(5 + levels, levels);
        for (int n = 0; n < 5000; ++n) {
            int r = random() & 0xFF, g = random() & 0xFF, b = random() & 0xFF;
            ASSERT_EQ(nearestPaletteIndex(palette.data(), r, g, b), plainNearest(palette, r, g, b)) << r << "," << g << "," << b;
        }
    }
}

TEST(BlendTable, WorkedExamples) {
    Palette palette = filled({0, 0, 0, 0});
    palette[1] = {255, 255, 255, 0};
    palette[2] = {127, 127, 127, 0};
    std::vector<uint8_t> table = fastTable(palette);
    EXPECT_EQ(table[0 * 256 + 1], 2);
    EXPECT_EQ(table[1 * 256 + 0], 2);
    EXPECT_EQ(table[1 * 256 + 1], 1);
    EXPECT_EQ(table[3 * 256 + 3], 0);  // every other entry is black like entry 0

    // Equal colours at 5 and 9: the diagonal of 9 is 5.
    palette = filled({200, 0, 200, 0});
    palette[9] = {10, 20, 30, 0};
    palette[5] = {10, 20, 30, 0};
    table = fastTable(palette);
    EXPECT_EQ(table[9 * 256 + 9], 5);
    EXPECT_EQ(table[5 * 256 + 5], 5);

    // The mean of 8 and 9 lies as near 2 as 3: the lower index.
    palette[8] = {0, 0, 100, 0};
    palette[9] = {0, 0, 110, 0};
    palette[2] = {0, 0, 104, 0};
    palette[3] = {0, 0, 106, 0};
    table = fastTable(palette);
    EXPECT_EQ(table[8 * 256 + 9], 2);
    EXPECT_EQ(table[9 * 256 + 8], 2);
}

TEST(BlendTable, TheFastBuildEqualsThePlainSearch) {
    struct Case {
        uint32_t seed;
        int levels;
    };
    for (Case c : {Case{1, 0}, Case{2, 0}, Case{3, 0}, Case{4, 2}, Case{5, 3}, Case{6, 5}}) {
        Palette palette = randomPalette(c.seed, c.levels);
        ASSERT_EQ(fastTable(palette), plainTable(palette)) << "seed " << c.seed << " levels " << c.levels;
    }
    Palette blackAndWhite = filled({0, 0, 0, 0});  // means far from every entry
    for (int i = 128; i < 256; ++i) blackAndWhite[i] = {255, 255, 255, 0};
    EXPECT_EQ(fastTable(blackAndWhite), plainTable(blackAndWhite));
    Palette grey(256);
    for (int i = 0; i < 256; ++i) grey[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
    EXPECT_EQ(fastTable(grey), plainTable(grey));
}

class BlendTableBuild : public SurfaceTest {};

TEST_F(BlendTableBuild, TheRealPaletteGivesThePlainSearchsTable) {
    SheetBitmap background;
    ASSERT_TRUE(background.load(QM_RUNTIME_DIR "/bckgnd.bmp"));
    PALETTEENTRY black[256] = {};
    LPDIRECTDRAWPALETTE palette = makePalette(black);
    ASSERT_TRUE(background.applyPaletteTo(palette));
    ASSERT_TRUE(buildBlendTable(palette));
    Palette entries(256);
    palette->GetEntries(0, 0, 256, entries.data());
    EXPECT_EQ(std::vector<uint8_t>(BlendTable, BlendTable + 65536), plainTable(entries));
}

TEST_F(BlendTableBuild, ANullPaletteFailsAndLeavesTheTable) {
    for (int i = 0; i < 65536; ++i) BlendTable[i] = static_cast<uint8_t>(i);
    EXPECT_FALSE(buildBlendTable(nullptr));
    for (int i = 0; i < 65536; ++i) ASSERT_EQ(BlendTable[i], static_cast<uint8_t>(i));
}

}  // namespace
