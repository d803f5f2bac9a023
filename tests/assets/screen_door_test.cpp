// The screen-door pattern over plain memory laid out like a locked surface.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "assets/bitmap.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;

struct Memory {
    int pitch;
    int width;
    int rows;
    std::vector<uint8_t> bytes;

    Memory(int pitch, int width, int rows) : pitch(pitch), width(width), rows(rows), bytes(pitch * rows + 16, 7) {}

    // The (x, y) of every transparent byte inside the area; fails the test if
    // one lies in the padding or after the last row.
    Pixels transparent() const {
        Pixels found;
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] != 253) continue;
            int x = static_cast<int>(i) % pitch;
            int y = static_cast<int>(i) / pitch;
            EXPECT_TRUE(x < width && y < rows) << "byte " << i << " outside the area";
            found.insert({x, y});
        }
        return found;
    }
};

Pixels screen(Memory& memory, int level) {
    applyScreenDoor(memory.bytes.data(), memory.pitch, memory.width, memory.rows, level);
    return memory.transparent();
}

TEST(ScreenDoor, PatternMovesToTheNextRowPastTheAreasRightEdge) {
    Memory half(8, 6, 4);
    EXPECT_EQ(screen(half, 128), (Pixels{{0, 0}, {2, 0}, {4, 0}, {0, 1}, {2, 1}, {4, 1},
                                         {0, 2}, {2, 2}, {4, 2}, {0, 3}, {2, 3}, {4, 3}}));
    Memory quarter(8, 6, 4);
    EXPECT_EQ(screen(quarter, 200), (Pixels{{0, 0}, {4, 0}, {0, 1}, {4, 1}, {0, 2}, {4, 2}, {0, 3}, {4, 3}}));
    Memory third(16, 10, 3);
    EXPECT_EQ(screen(third, 170), (Pixels{{0, 0}, {3, 0}, {6, 0}, {9, 0}, {2, 1}, {5, 1}, {8, 1}, {1, 2}, {4, 2}, {7, 2}}));
}

TEST(ScreenDoor, WithoutPaddingThePositionsRepeatEvery255Bytes) {
    Memory row(640, 640, 1);
    Pixels expected;
    for (int run = 0; run < 640; run += 255) {
        for (int k = 0; k < 127 && run + 2 * k < 640; ++k) expected.insert({run + 2 * k, 0});
    }
    EXPECT_EQ(screen(row, 128), expected);
    EXPECT_TRUE(expected.count({255, 0}) && expected.count({638, 0}) && !expected.count({254, 0}));
}

TEST(ScreenDoor, LevelsZeroAnd255CoverTheAreaAnd254OnePositionPerRun) {
    for (int level : {0, 255, 0x100, -1}) {  // only the low byte counts
        Memory memory(8, 6, 4);
        EXPECT_EQ(screen(memory, level).size(), 24u) << "level " << level;
    }
    Memory single(640, 640, 1);
    EXPECT_EQ(screen(single, 254), (Pixels{{0, 0}, {255, 0}, {510, 0}}));
    Memory solid(640, 640, 1);
    Pixels runs = screen(solid, 64);  // 191 transparent, then 64 untouched
    EXPECT_TRUE(runs.count({190, 0}) && !runs.count({191, 0}) && !runs.count({254, 0}) && runs.count({255, 0}));
}

TEST(ScreenDoor, AnEmptyAreaIsLeftAlone) {
    Memory memory(8, 6, 4);
    applyScreenDoor(memory.bytes.data(), 8, 0, 4, 0);
    applyScreenDoor(memory.bytes.data(), 8, 6, 0, 0);
    EXPECT_TRUE(memory.transparent().empty());
}

}  // namespace
