// AlphaBlend with constant alpha between 8-bit targets: mixing through both
// palettes, nearest-neighbour stretching, clipping and refused arguments.
#include <windows.h>

#include <climits>

#include "platform/gdi/memory_target.h"
#include "platform/control.h"

using namespace gdi_test;

namespace {

BLENDFUNCTION constantAlpha(int alpha) { return BLENDFUNCTION{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0}; }

class AlphaBlendTest : public GdiTest {};

TEST_F(AlphaBlendTest, AlphaZeroLeavesTheDestinationAndFullAlphaCopiesTheSource) {
    MemoryTarget source(10, 10), destination(10, 10);
    source.fill(RED);
    destination.fill(BLUE);
    EXPECT_TRUE(AlphaBlend(destination.dc(), 0, 0, 10, 10, source.dc(), 0, 0, 10, 10, constantAlpha(0)));
    EXPECT_EQ(destination.count(BLUE), 100);
    EXPECT_TRUE(AlphaBlend(destination.dc(), 2, 3, 4, 5, source.dc(), 0, 0, 4, 5, constantAlpha(255)));
    EXPECT_EQ(destination.count(RED), 20);
    EXPECT_EQ(destination.at(2, 3), RED);
    EXPECT_EQ(destination.at(5, 7), RED);
    EXPECT_EQ(destination.at(6, 7), BLUE);
    EXPECT_EQ(destination.at(5, 8), BLUE);
}

TEST_F(AlphaBlendTest, HalfwayAlphaMixesEachChannel) {
    MemoryTarget source(4, 4), destination(4, 4);
    source.fill(RED);          // (255, 0, 0)
    destination.fill(BLUE);    // (0, 0, 255)
    destination.setColour(50, 125, 0, 130);  // 255 x 125 / 255 and 255 x 130 / 255
    destination.setColour(51, 126, 0, 129);  // one step off on two channels
    EXPECT_TRUE(AlphaBlend(destination.dc(), 0, 0, 4, 4, source.dc(), 0, 0, 4, 4, constantAlpha(125)));
    EXPECT_EQ(destination.count(50), 16);
    EXPECT_EQ(GetPixel(destination.dc(), 1, 1), RGB(125, 0, 130));

    // Without an exact entry the mix lands on the nearest one.
    MemoryTarget plain(4, 4);
    plain.fill(WHITE);
    source.fill(BLACK);
    plain.setColour(70, 131, 131, 131);
    plain.setColour(71, 129, 129, 129);
    EXPECT_TRUE(AlphaBlend(plain.dc(), 0, 0, 4, 4, source.dc(), 0, 0, 4, 4, constantAlpha(125)));
    EXPECT_EQ(plain.count(70), 16);  // (130, 130, 130): as near to 70 as to 71, so the lower index
    plain.setColour(70, 133, 133, 133);
    plain.fill(WHITE);
    EXPECT_TRUE(AlphaBlend(plain.dc(), 0, 0, 4, 4, source.dc(), 0, 0, 4, 4, constantAlpha(125)));
    EXPECT_EQ(plain.count(71), 16);
}

TEST_F(AlphaBlendTest, ColoursComeFromEachTargetsOwnPalette) {
    MemoryTarget source(3, 1), destination(3, 1);
    source.setColour(9, 0, 255, 0);  // in the source, index 9 is green
    source.fill(9);
    destination.fill(BACKGROUND);
    EXPECT_TRUE(AlphaBlend(destination.dc(), 0, 0, 3, 1, source.dc(), 0, 0, 3, 1, constantAlpha(255)));
    EXPECT_EQ(destination.count(GREEN), 3);
}

TEST_F(AlphaBlendTest, StretchingSamplesTheNearestSourcePixel) {
    MemoryTarget source(2, 2), destination(8, 8);
    source.set(0, 0, RED);
    source.set(1, 0, GREEN);
    source.set(0, 1, BLUE);
    source.set(1, 1, WHITE);
    EXPECT_TRUE(AlphaBlend(destination.dc(), 2, 2, 4, 4, source.dc(), 0, 0, 2, 2, constantAlpha(255)));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const uint8_t expected = y < 2 ? (x < 2 ? RED : GREEN) : (x < 2 ? BLUE : WHITE);
            EXPECT_EQ(destination.at(2 + x, 2 + y), expected) << x << "," << y;
        }
    EXPECT_EQ(destination.count(BACKGROUND), 64 - 16);

    // Shrinking by two reads the second pixel of each pair.
    MemoryTarget stripes(8, 1), narrow(4, 1);
    for (int x = 0; x < 8; ++x) stripes.set(x, 0, static_cast<uint8_t>(10 + x));
    EXPECT_TRUE(AlphaBlend(narrow.dc(), 0, 0, 4, 1, stripes.dc(), 0, 0, 8, 1, constantAlpha(255)));
    for (int x = 0; x < 4; ++x) EXPECT_EQ(narrow.at(x, 0), 11 + 2 * x);
}

TEST_F(AlphaBlendTest, ClipsToBothTargets) {
    MemoryTarget source(6, 6), destination(10, 8, 16);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) source.set(x, y, static_cast<uint8_t>(20 + y * 6 + x));
    // Hanging off the destination's top-left corner: destination (0, 0) reads source (2, 3).
    EXPECT_TRUE(AlphaBlend(destination.dc(), -2, -3, 6, 6, source.dc(), 0, 0, 6, 6, constantAlpha(255)));
    EXPECT_EQ(destination.at(0, 0), 20 + 3 * 6 + 2);
    EXPECT_EQ(destination.at(3, 2), 20 + 5 * 6 + 5);
    EXPECT_EQ(destination.at(4, 0), BACKGROUND);
    // Hanging off the bottom-right, and reading beyond the source: those pixels stay.
    destination.fill(BACKGROUND);
    EXPECT_TRUE(AlphaBlend(destination.dc(), 7, 5, 6, 6, source.dc(), 3, 3, 6, 6, constantAlpha(255)));
    EXPECT_EQ(destination.at(7, 5), 20 + 3 * 6 + 3);
    EXPECT_EQ(destination.at(9, 7), 20 + 5 * 6 + 5);
    EXPECT_EQ(destination.count(BACKGROUND), 80 - 9);
    EXPECT_TRUE(destination.guardsIntact());
    EXPECT_TRUE(source.guardsIntact());
}

TEST_F(AlphaBlendTest, BlendWithinOneTargetReadsTheSourceAsItWas) {
    MemoryTarget t(12, 1);
    for (int x = 0; x < 12; ++x) t.set(x, 0, static_cast<uint8_t>(30 + x));
    EXPECT_TRUE(AlphaBlend(t.dc(), 1, 0, 11, 1, t.dc(), 0, 0, 11, 1, constantAlpha(255)));
    EXPECT_EQ(t.at(0, 0), 30);
    for (int x = 1; x < 12; ++x) EXPECT_EQ(t.at(x, 0), 29 + x) << x;
}

TEST_F(AlphaBlendTest, RefusesWhatItCannotDo) {
    MemoryTarget source(4, 4), destination(4, 4);
    source.fill(RED);
    HDC d = destination.dc(), s = source.dc();
    EXPECT_FALSE(AlphaBlend(nullptr, 0, 0, 4, 4, s, 0, 0, 4, 4, constantAlpha(255)));
    EXPECT_FALSE(AlphaBlend(d, 0, 0, 4, 4, nullptr, 0, 0, 4, 4, constantAlpha(255)));
    EXPECT_FALSE(AlphaBlend(d, 0, 0, 4, 4, reinterpret_cast<HDC>(0x40), 0, 0, 4, 4, constantAlpha(255)));
    EXPECT_FALSE(AlphaBlend(d, 0, 0, -4, 4, s, 0, 0, 4, 4, constantAlpha(255)));
    EXPECT_FALSE(AlphaBlend(d, 0, 0, 4, 4, s, 0, 0, 4, -1, constantAlpha(255)));
    EXPECT_FALSE(AlphaBlend(d, 0, 0, 4, 4, s, 0, 0, 4, 4, BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}));
    EXPECT_FALSE(AlphaBlend(d, 0, 0, 4, 4, s, 0, 0, 4, 4, BLENDFUNCTION{1, 0, 255, 0}));
    EXPECT_FALSE(AlphaBlend(d, 0, 0, 4, 4, s, 0, 0, 4, 4, BLENDFUNCTION{AC_SRC_OVER, 1, 255, 0}));
    EXPECT_TRUE(AlphaBlend(d, 0, 0, 0, 4, s, 0, 0, 4, 4, constantAlpha(255)));  // empty: nothing to do
    EXPECT_EQ(destination.count(BACKGROUND), 16);

    // Huge rectangles are clipped, not walked.
    EXPECT_TRUE(AlphaBlend(d, INT_MIN, INT_MIN, INT_MAX, INT_MAX, s, INT_MIN, 0, INT_MAX, INT_MAX, constantAlpha(255)));
    EXPECT_TRUE(AlphaBlend(d, 0, 0, INT_MAX, INT_MAX, s, 0, 0, 1, 1, constantAlpha(255)));
    EXPECT_EQ(destination.count(RED), 16);
    EXPECT_TRUE(destination.guardsIntact());

    platform::failCall("AlphaBlend", 1);
    destination.fill(BACKGROUND);
    EXPECT_FALSE(AlphaBlend(d, 0, 0, 4, 4, s, 0, 0, 4, 4, constantAlpha(255)));
    EXPECT_EQ(destination.count(BACKGROUND), 16);
}

}  // namespace
