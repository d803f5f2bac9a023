// AlphaBlend with constant alpha between 8-bit targets: mixing through both
// palettes, nearest-neighbour stretching, clipping and refused arguments.
#include <windows.h>

#include <climits>

#include "platform/gdi/memory_target.h"
#include "platform/control.h"
#include "support/host.h"

using namespace gdi_test;

namespace {

BLENDFUNCTION constantAlpha(int alpha) { return BLENDFUNCTION{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0}; }

class AlphaBlendTest : public GdiTest {};

// Entries 10 to 69 on a grid 16 apart, each the middle of its 5-bit step, so
// that a full-alpha blend maps every one of them to itself.
void gridColours(MemoryTarget& t) {
    for (int i = 10; i < 70; ++i) t.setColour(i, static_cast<uint8_t>(16 * (i % 16) + 4), static_cast<uint8_t>(16 * (i / 16) + 4), 4);
}

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

// Each channel mixes as s x a / 255 + d x (255 - a) / 255, rounded, and the
// mix lands on the nearest entry (a tie keeps the lower index).
TEST_F(AlphaBlendTest, HalfwayAlphaMixesEachChannelOntoTheNearestEntry) {
    if (!test_host::onThePlatform()) GTEST_SKIP() << "Wine takes the mix to 5 bits first (docs/wine-differences.md)";
    const struct {
        COLORREF source, destination;
        BYTE entryA[3], entryB[3];
        uint8_t want;  // 50 or 51
    } cases[] = {
        // red over blue: the exact mix (125, 0, 130) beats a neighbour
        {RGB(255, 0, 0), RGB(0, 0, 255), {125, 0, 130}, {124, 4, 132}, 50},
        // black over white: mix (130, 130, 130), as near to 131 as to 129
        {RGB(0, 0, 0), RGB(255, 255, 255), {131, 131, 131}, {129, 129, 129}, 50},
        {RGB(0, 0, 0), RGB(255, 255, 255), {133, 133, 133}, {129, 129, 129}, 51},
    };
    for (const auto& c : cases) {
        MemoryTarget source(4, 4), destination(4, 4);
        source.setColour(60, GetRValue(c.source), GetGValue(c.source), GetBValue(c.source));
        destination.setColour(61, GetRValue(c.destination), GetGValue(c.destination), GetBValue(c.destination));
        destination.setColour(50, c.entryA[0], c.entryA[1], c.entryA[2]);
        destination.setColour(51, c.entryB[0], c.entryB[1], c.entryB[2]);
        source.fill(60);
        destination.fill(61);
        EXPECT_TRUE(AlphaBlend(destination.dc(), 0, 0, 4, 4, source.dc(), 0, 0, 4, 4, constantAlpha(125)));
        EXPECT_EQ(destination.count(c.want), 16) << "source " << std::hex << c.source;
    }
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
    gridColours(stripes);
    gridColours(narrow);
    for (int x = 0; x < 8; ++x) stripes.set(x, 0, static_cast<uint8_t>(10 + x));
    EXPECT_TRUE(AlphaBlend(narrow.dc(), 0, 0, 4, 1, stripes.dc(), 0, 0, 8, 1, constantAlpha(255)));
    for (int x = 0; x < 4; ++x) EXPECT_EQ(narrow.at(x, 0), 11 + 2 * x);
}

TEST_F(AlphaBlendTest, ClipsToBothTargets) {
    MemoryTarget source(6, 6), destination(10, 8, 16);
    gridColours(source);
    gridColours(destination);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) source.set(x, y, static_cast<uint8_t>(20 + y * 6 + x));
    // Hanging off the destination's top-left corner: destination (0, 0) reads source (2, 3).
    EXPECT_TRUE(AlphaBlend(destination.dc(), -2, -3, 6, 6, source.dc(), 0, 0, 6, 6, constantAlpha(255)));
    EXPECT_EQ(destination.at(0, 0), 20 + 3 * 6 + 2);
    EXPECT_EQ(destination.at(3, 2), 20 + 5 * 6 + 5);
    EXPECT_EQ(destination.at(4, 0), BACKGROUND);
    // Hanging off the bottom-right.
    destination.fill(BACKGROUND);
    EXPECT_TRUE(AlphaBlend(destination.dc(), 7, 5, 6, 6, source.dc(), 0, 0, 6, 6, constantAlpha(255)));
    EXPECT_EQ(destination.at(7, 5), 20);
    EXPECT_EQ(destination.at(9, 7), 20 + 2 * 6 + 2);
    EXPECT_EQ(destination.count(BACKGROUND), 80 - 9);
    // A source rectangle reaching past its surface fails, as Windows documents, and draws nothing.
    destination.fill(BACKGROUND);
    EXPECT_FALSE(AlphaBlend(destination.dc(), 0, 0, 6, 6, source.dc(), 3, 3, 6, 6, constantAlpha(255)));
    EXPECT_FALSE(AlphaBlend(destination.dc(), 0, 0, 6, 6, source.dc(), -1, 0, 6, 6, constantAlpha(255)));
    EXPECT_EQ(destination.count(BACKGROUND), 80);
    EXPECT_TRUE(destination.guardsIntact());
    EXPECT_TRUE(source.guardsIntact());
}

// One surface may blend onto another part of itself, not onto an overlapping one (Windows documents the failure).
TEST_F(AlphaBlendTest, WithinOneTargetOnlyWithoutOverlap) {
    MemoryTarget t(12, 1);
    gridColours(t);
    for (int x = 0; x < 12; ++x) t.set(x, 0, static_cast<uint8_t>(30 + x));
    EXPECT_FALSE(AlphaBlend(t.dc(), 1, 0, 11, 1, t.dc(), 0, 0, 11, 1, constantAlpha(255)));
    for (int x = 0; x < 12; ++x) EXPECT_EQ(t.at(x, 0), 30 + x) << x;
    EXPECT_TRUE(AlphaBlend(t.dc(), 6, 0, 6, 1, t.dc(), 0, 0, 6, 1, constantAlpha(255)));
    for (int x = 0; x < 12; ++x) EXPECT_EQ(t.at(x, 0), 30 + x % 6) << x;
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
    EXPECT_TRUE(AlphaBlend(d, 0, 0, 0, 4, s, 0, 0, 4, 4, constantAlpha(255)));  // empty: nothing to do
    EXPECT_EQ(destination.count(BACKGROUND), 16);

    // Huge rectangles are clipped, not walked; a huge source lies off its surface.
    EXPECT_FALSE(AlphaBlend(d, INT_MIN, INT_MIN, INT_MAX, INT_MAX, s, INT_MIN, 0, INT_MAX, INT_MAX, constantAlpha(255)));
    EXPECT_TRUE(destination.guardsIntact());
    SKIP_UNLESS_ON_THE_PLATFORM("a stretch beyond the coordinate space, which Wine does not draw");
    EXPECT_TRUE(AlphaBlend(d, 0, 0, INT_MAX, INT_MAX, s, 0, 0, 1, 1, constantAlpha(255)));
    EXPECT_EQ(destination.count(RED), 16);
    EXPECT_TRUE(destination.guardsIntact());
}

// The documentation allows only AC_SRC_OVER and no flags; Wine draws anyway
// (docs/wine-differences.md), the platform refuses.
TEST_F(AlphaBlendTest, RefusesOtherOperationsAndFlags) {
    SKIP_UNLESS_ON_THE_PLATFORM("Wine accepts these, see docs/wine-differences.md");
    MemoryTarget source(4, 4), destination(4, 4);
    source.fill(RED);
    EXPECT_FALSE(AlphaBlend(destination.dc(), 0, 0, 4, 4, source.dc(), 0, 0, 4, 4, BLENDFUNCTION{1, 0, 255, 0}));
    EXPECT_FALSE(AlphaBlend(destination.dc(), 0, 0, 4, 4, source.dc(), 0, 0, 4, 4, BLENDFUNCTION{AC_SRC_OVER, 1, 255, 0}));
    EXPECT_EQ(destination.count(BACKGROUND), 16);
}

TEST_F(AlphaBlendTest, APlannedFailureDrawsNothing) {
    SKIP_UNLESS_ON_THE_PLATFORM("a fault plan");
    MemoryTarget source(4, 4), destination(4, 4);
    source.fill(RED);
    HDC d = destination.dc(), s = source.dc();
    platform::failCall("AlphaBlend", 1);
    destination.fill(BACKGROUND);
    EXPECT_FALSE(AlphaBlend(d, 0, 0, 4, 4, s, 0, 0, 4, 4, constantAlpha(255)));
    EXPECT_EQ(destination.count(BACKGROUND), 16);
}

}  // namespace
