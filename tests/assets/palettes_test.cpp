// The random palettes, the mode's palette and the fades of the displayed palette.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/clock.h"
#include "assets/bitmap.h"
#include "assets/fades.h"
#include "assets/palettes.h"
#include "display/display.h"
#include "support/bmp_file.h"
#include "support/surface_test.h"

namespace {

bool sameColour(const PALETTEENTRY& entry, int red, int green, int blue) {
    return entry.peRed == red && entry.peGreen == green && entry.peBlue == blue;
}

class PaletteGeneratorTest : public PlatformTest {
protected:
    // Entry 0 and every flags byte must survive the generators.
    void SetUp() override {
        PlatformTest::SetUp();
        for (PALETTEENTRY& entry : palette) entry = PALETTEENTRY{1, 2, 3, 0x5A};
    }
    PALETTEENTRY palette[256];
};

TEST_F(PaletteGeneratorTest, WarmEntriesFollowTheirRowsOfTheTable) {
    for (int run = 0; run < 20; ++run) {
        generateWarmPalette(palette);
        EXPECT_TRUE(sameColour(palette[0], 1, 2, 3));
        EXPECT_EQ(palette[34].peRed, 69);
        EXPECT_EQ(palette[100].peRed, 125);
        EXPECT_EQ(palette[100].peGreen, 70);
        EXPECT_GE(palette[100].peBlue, 10);
        EXPECT_LE(palette[100].peBlue, 20);
        EXPECT_EQ(palette[254].peRed, 254);
        EXPECT_EQ(palette[254].peGreen, 244);
        EXPECT_GE(palette[254].peBlue, 50);
        EXPECT_LE(palette[254].peBlue, 80);
        EXPECT_TRUE(sameColour(palette[255], 200, 255, 200));
        for (int i = 35; i <= 54; ++i) {
            EXPECT_GE(palette[i].peBlue, 30) << i;
            EXPECT_LE(palette[i].peBlue, 51) << i;
        }
        for (const PALETTEENTRY& entry : palette) EXPECT_EQ(entry.peFlags, 0x5A);
    }
}

TEST_F(PaletteGeneratorTest, CoolEntriesFollowTheirRowsOfTheTable) {
    for (int run = 0; run < 20; ++run) {
        generateCoolPalette(palette);
        EXPECT_TRUE(sameColour(palette[0], 1, 2, 3));
        EXPECT_TRUE(sameColour(palette[60], 40, 45, 110));
        EXPECT_TRUE(sameColour(palette[255], 250, 250, 255));
        EXPECT_GE(palette[150].peRed, 80);
        EXPECT_LE(palette[150].peRed, 100);
        EXPECT_GE(palette[200].peRed, 150);
        EXPECT_LE(palette[200].peRed, 200);
        EXPECT_GE(palette[200].peGreen, 180);
        EXPECT_LE(palette[200].peGreen, 199);
        for (const PALETTEENTRY& entry : palette) EXPECT_EQ(entry.peFlags, 0x5A);
    }
}

TEST_F(PaletteGeneratorTest, DrawsGoRedGreenBlueEntryByEntry) {
    platform::setTime(4321);
    gameRandom.reseed();
    generateWarmPalette(palette);
    gameRandom.reseed();  // the same seed again: replay the draws
    for (int i = 1; i <= 34; ++i) {
        EXPECT_EQ(palette[i].peGreen, gameRandom.range(15, 25)) << i;
        EXPECT_EQ(palette[i].peBlue, gameRandom.range(5, 10)) << i;
    }
    for (int i = 35; i <= 54; ++i) {
        EXPECT_EQ(palette[i].peRed, i + gameRandom.range(30, 55)) << i;
        EXPECT_EQ(palette[i].peGreen, i + gameRandom.range(10, 20)) << i;
        EXPECT_EQ(palette[i].peBlue, gameRandom.range(30, 7)) << i;
    }
}

// The display palettes, with "bckgnd.bmp"'s colours in backgroundImage.
class FadeTest : public SurfaceTest {
protected:
    void SetUp() override {
        SurfaceTest::SetUp();
        testbmp::Picture picture = testbmp::pattern(2, 2);
        picture.palette[1] = {255, 128, 1};
        picture.palette[254] = {255, 255, 255};  // 255 is the display's own white
        ASSERT_TRUE(testbmp::writeFile(path, testbmp::encode(picture)));
        ASSERT_TRUE(backgroundImage.load(path.c_str()));
        PALETTEENTRY black[256] = {};
        primaryPalette = makePalette(black);
        backPalette = makePalette(black);
        ASSERT_TRUE(applyPalettes(false));
        fadeInLevel = 0.0f;
        fadeOutLevel = 1.0f;
    }
    void TearDown() override {
        std::remove(path.c_str());
        SurfaceTest::TearDown();
    }
    static PALETTEENTRY shown(int index) {
        PALETTEENTRY entries[256] = {};
        primaryPalette->GetEntries(0, 0, 256, entries);
        return entries[index];
    }

    std::string path = testbmp::tempPath("bckgnd.bmp");
};

TEST_F(FadeTest, AFadeInShowsSixtyScaledPalettesThenTheFullOne) {
    for (int step = 1; step <= 60; ++step) {
        ASSERT_FALSE(stepFadeIn(false)) << "step " << step;
        EXPECT_EQ(shown(254).peRed, static_cast<BYTE>(255 * fadeInLevel)) << "step " << step;
        EXPECT_EQ(shown(1).peGreen, static_cast<BYTE>(128 * fadeInLevel)) << "step " << step;
    }
    EXPECT_EQ(shown(254).peRed, 254);  // level 0.9999997
    EXPECT_TRUE(stepFadeIn(false));  // the last step ends the fade
    EXPECT_EQ(fadeInLevel, 0.0f);
    EXPECT_TRUE(sameColour(shown(254), 255, 255, 255));
    EXPECT_TRUE(sameColour(shown(1), 255, 128, 1));
}

TEST_F(FadeTest, AFadeOutEndsBlackThenBringsThePictureBack) {
    EXPECT_FALSE(stepFadeOut(false));
    EXPECT_EQ(shown(254).peRed, static_cast<BYTE>(255 * (59.0f / 60.0f)));
    for (int step = 2; step <= 60; ++step) ASSERT_FALSE(stepFadeOut(false)) << "step " << step;
    EXPECT_TRUE(sameColour(shown(254), 0, 0, 0));
    EXPECT_TRUE(stepFadeOut(false));
    EXPECT_EQ(fadeOutLevel, 1.0f);
    EXPECT_TRUE(sameColour(shown(254), 255, 255, 255));
}

TEST_F(FadeTest, ColoursScaleByTruncation) {
    fadeInLevel = 0.5f - fadeInStep;  // the step brings it to 0.5 exactly
    stepFadeIn(false);
    ASSERT_EQ(fadeInLevel, 0.5f);
    EXPECT_TRUE(sameColour(shown(1), 127, 64, 0));
}

TEST_F(FadeTest, SwitchingToAFadeOutMidwayStartsFromTheFadeOutLevel) {
    for (int step = 0; step < 10; ++step) stepFadeIn(false);
    float reached = fadeInLevel;
    stepFadeOut(false);  // F8
    EXPECT_FLOAT_EQ(fadeOutLevel, 59.0f / 60.0f);
    EXPECT_EQ(shown(254).peRed, static_cast<BYTE>(255 * fadeOutLevel));
    EXPECT_EQ(fadeInLevel, reached);  // kept for the next fade in
}

TEST_F(FadeTest, TheModesPaletteGoesIntoBothDisplayPalettes) {
    workingPalette[7] = PALETTEENTRY{9, 8, 7, 0};
    ASSERT_TRUE(applyPalettes(true));
    PALETTEENTRY back[256] = {};
    backPalette->GetEntries(0, 0, 256, back);
    EXPECT_TRUE(sameColour(shown(7), 9, 8, 7));
    EXPECT_TRUE(sameColour(back[7], 9, 8, 7));

    ASSERT_TRUE(applyPalettes(false));
    EXPECT_TRUE(sameColour(shown(7), 7, 7, 7));
    backPalette = nullptr;
    EXPECT_FALSE(applyPalettes(false));
}

}  // namespace
