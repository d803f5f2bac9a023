// COLORREF to palette index: exact matches, nearest entries, ties, the cache
// following palette changes, and GetPixel.
#include <windows.h>

#include "gdi/colour_map.h"
#include "platform/gdi/memory_target.h"

using namespace gdi_test;

namespace {

class GdiColours : public GdiTest {
protected:
    // The index a one-pixel dot of this colour lands on.
    uint8_t drawnIndex(MemoryTarget& t, COLORREF colour) {
        HPEN pen = CreatePen(PS_SOLID, 1, colour);
        HGDIOBJ old = SelectObject(t.dc(), pen);
        MoveToEx(t.dc(), 0, 0, nullptr);
        LineTo(t.dc(), 1, 0);
        SelectObject(t.dc(), old);
        DeleteObject(pen);
        return t.at(0, 0);
    }
};

TEST_F(GdiColours, ExactMatchesWinWithTheLowestIndex) {
    MemoryTarget t(4, 4);
    t.setColour(40, 10, 20, 30);
    t.setColour(20, 10, 20, 30);
    EXPECT_EQ(drawnIndex(t, RGB(10, 20, 30)), 20);
    EXPECT_EQ(drawnIndex(t, RGB(255, 0, 0)), RED);
    EXPECT_EQ(drawnIndex(t, RGB(0, 255, 255)), CYAN);
    EXPECT_EQ(drawnIndex(t, 0x00007D7D), OLIVE);
}

TEST_F(GdiColours, OtherwiseTheNearestEntryTiesToTheLowestIndex) {
    MemoryTarget t(4, 4);
    EXPECT_EQ(drawnIndex(t, RGB(250, 6, 3)), RED);
    EXPECT_EQ(drawnIndex(t, RGB(120, 130, 126)), GREY);
    t.setColour(60, 100, 100, 100);
    t.setColour(30, 102, 100, 100);
    EXPECT_EQ(drawnIndex(t, RGB(101, 100, 100)), 30);  // both one step away: the lower index
    t.setColour(30, 104, 100, 100);
    EXPECT_EQ(drawnIndex(t, RGB(101, 100, 100)), 60);
    // The top byte is not part of the colour, except for PALETTEINDEX.
    EXPECT_EQ(drawnIndex(t, 0x02FF0000), BLUE);
    EXPECT_EQ(drawnIndex(t, 0x01000000 | 77), 77);
}

TEST_F(GdiColours, TheCacheFollowsAPaletteChange) {
    MemoryTarget t(4, 4);
    EXPECT_EQ(drawnIndex(t, RGB(1, 2, 3)), BLACK);
    t.setColour(90, 1, 2, 3);
    EXPECT_EQ(drawnIndex(t, RGB(1, 2, 3)), 90);
    t.setColour(90, 200, 200, 200);
    EXPECT_EQ(drawnIndex(t, RGB(1, 2, 3)), BLACK);

    // Two targets with different colours at the same time keep their own mappings.
    MemoryTarget other(4, 4);
    other.setColour(0, 255, 255, 255);
    other.setColour(50, 3, 3, 3);
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(drawnIndex(t, RGB(1, 2, 3)), BLACK);
        EXPECT_EQ(drawnIndex(other, RGB(1, 2, 3)), 50);
    }
}

TEST_F(GdiColours, CachedAndUncachedSearchesAgree) {
    MemoryTarget t(4, 4);
    for (int i = 9; i < 256; i += 7) t.setColour(i, static_cast<uint8_t>(i * 37), static_cast<uint8_t>(i * 11), 90);
    for (uint32_t c = 0; c < 0x1000000; c += 0x0F0E0D) {
        ASSERT_EQ(qmp::gdi::nearestIndex(t, c), qmp::gdi::searchNearest(t.colours(), c)) << std::hex << c;
        ASSERT_EQ(qmp::gdi::nearestIndex(t, c), qmp::gdi::searchNearest(t.colours(), c)) << std::hex << c;
    }
}

TEST_F(GdiColours, GetPixelReadsThePaletteEntry) {
    MemoryTarget t(5, 3);
    t.set(4, 2, CYAN);
    EXPECT_EQ(GetPixel(t.dc(), 4, 2), RGB(0, 255, 255));
    EXPECT_EQ(GetPixel(t.dc(), 0, 0), RGB(200, 100, 55));  // the background filler entry
    EXPECT_EQ(GetPixel(t.dc(), 5, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(t.dc(), 0, 3), CLR_INVALID);
    EXPECT_EQ(GetPixel(t.dc(), -1, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(nullptr, 0, 0), CLR_INVALID);
}

}  // namespace
