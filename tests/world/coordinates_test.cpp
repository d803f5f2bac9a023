// The grid's geometry and mappings: the pieces cut from the sheet, rows and
// columns of world points, screen and minimap coordinates, open cells.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "app/clock.h"
#include "hand_made_cave.h"
#include "support/platform_test.h"
#include "test_sheet.h"
#include "world/cave.h"

namespace {

TEST(TileGeometry, SheetIsCutIntoThreeByThreePieces) {
    SheetBitmap sheet;
    makeSheet(sheet, 624, 704);
    CaveWorld cave;
    cave.sheet = &sheet;
    cave.computeTileGeometry();
    const TileGeometryTable& t = TileGeometry;
    EXPECT_EQ(cave.cellWidth(), 320);
    EXPECT_EQ(cave.cellHeight(), 400);
    // x, y, width, height of each piece.
    auto piece = [&](int i) { return std::vector<int32_t>{t.pieceX[i], t.pieceY[i], t.pieceWidth[i], t.pieceHeight[i]}; };
    EXPECT_EQ(piece(PIECE_FLOOR), (std::vector<int32_t>{152, 152, 320, 400}));
    EXPECT_EQ(piece(PIECE_LEFT), (std::vector<int32_t>{1, 152, 150, 400}));
    EXPECT_EQ(piece(PIECE_RIGHT), (std::vector<int32_t>{473, 152, 150, 400}));
    EXPECT_EQ(piece(PIECE_TOP), (std::vector<int32_t>{152, 1, 320, 150}));
    EXPECT_EQ(piece(PIECE_BOTTOM), (std::vector<int32_t>{152, 553, 320, 150}));
    EXPECT_EQ(piece(PIECE_TOP_RIGHT), (std::vector<int32_t>{473, 1, 150, 150}));
    EXPECT_EQ(piece(PIECE_TOP_LEFT), (std::vector<int32_t>{1, 1, 150, 150}));
    EXPECT_EQ(piece(PIECE_BOTTOM_LEFT), (std::vector<int32_t>{1, 553, 150, 150}));
    EXPECT_EQ(piece(PIECE_BOTTOM_RIGHT), (std::vector<int32_t>{473, 553, 150, 150}));
    // Every piece lies inside the picture and covers only its own pixels.
    for (int i = 0; i < PIECE_COUNT; ++i) {
        for (int32_t y : {t.pieceY[i], t.pieceY[i] + t.pieceHeight[i] - 1}) {
            for (int32_t x : {t.pieceX[i], t.pieceX[i] + t.pieceWidth[i] - 1}) {
                EXPECT_EQ(sheet.pixels[static_cast<size_t>(703 - y) * 624 + x], pieceIndex(i)) << "piece " << i;
            }
        }
    }
}

class CoordinatesTest : public ::testing::Test {
protected:
    void SetUp() override { shapeStairCave(cave); }
    CaveWorld cave;
};

TEST_F(CoordinatesTest, RowsAndColumnsCountDownwardBelowZero) {
    EXPECT_EQ(cave.rowOf(0), 0);
    EXPECT_EQ(cave.rowOf(399), 0);
    EXPECT_EQ(cave.rowOf(400), 1);
    EXPECT_EQ(cave.rowOf(-1), -1);
    EXPECT_EQ(cave.rowOf(-399), -1);
    EXPECT_EQ(cave.rowOf(-400), -2);  // the truncated quotient minus one
    EXPECT_EQ(cave.columnOf(319), 0);
    EXPECT_EQ(cave.columnOf(320), 1);
    EXPECT_EQ(cave.columnOf(-320), -2);
}

TEST_F(CoordinatesTest, FarAwayPointsDoNotWrapBackIntoTheCave) {
    // 65536 rows up: a 16-bit wrap would make this row 1, an open cell.
    const int32_t far = 65536 * 400 + 500;
    EXPECT_EQ(cave.rowOf(far), INT16_MAX);
    EXPECT_EQ(cave.rowOf(INT32_MIN), INT16_MIN);
    EXPECT_EQ(cave.columnOf(65536 * 320 + 500), INT16_MAX);
    int16_t row, column;
    EXPECT_FALSE(cave.isOpenCell(500, far, row, column));
    EXPECT_FALSE(cave.isOpenCell(65536 * 320 + 500, 500, row, column));
}

TEST_F(CoordinatesTest, CaveWithoutRowsAnswersZeroAndFalse) {
    CaveWorld empty;
    EXPECT_EQ(empty.rowOf(5000), 0);
    EXPECT_EQ(empty.columnOf(-5000), 0);
    int16_t row = 7, column = 7;
    EXPECT_FALSE(empty.isOpenCell(500, 500, row, column));
    EXPECT_EQ(row, -1);
    EXPECT_EQ(column, -1);
    int32_t x = 11, y = 12;
    empty.randomOpenPoint(x, y);
    EXPECT_EQ(x, 11);
    EXPECT_EQ(y, 12);
    EXPECT_EQ(empty.rowSpan(0).left, -1);
    EXPECT_EQ(empty.rowSpan(0).right, -1);
}

TEST_F(CoordinatesTest, OpenCellsAreTheColumnsOfEachRowsSpan) {
    int16_t row, column;
    EXPECT_TRUE(cave.isOpenCell(320, 0, row, column));  // row 0 spans 1..4
    EXPECT_FALSE(cave.isOpenCell(319, 0, row, column));
    EXPECT_EQ(row, 0);
    EXPECT_EQ(column, 0);
    EXPECT_TRUE(cave.isOpenCell(1599, 399, row, column));
    EXPECT_FALSE(cave.isOpenCell(1600, 399, row, column));
    // Just above the top row: false, and the row is reported as it was computed.
    EXPECT_FALSE(cave.isOpenCell(1500, 1600, row, column));
    EXPECT_EQ(row, 4);
    EXPECT_EQ(column, 4);
    EXPECT_FALSE(cave.isOpenCell(500, -1, row, column));
    EXPECT_EQ(row, -1);
    EXPECT_FALSE(cave.isOpenCell(-1, 500, row, column));
    EXPECT_EQ(column, -1);
    // Beyond the last column of the grid.
    shapeCave(cave, 320, 400, 4, {{0, 3}, {0, 3}, {0, 3}, {0, 5}});
    EXPECT_FALSE(cave.isOpenCell(4 * 320, 1300, row, column));
}

TEST_F(CoordinatesTest, RowSpanOutsideTheCaveHasNoOpenColumn) {
    EXPECT_EQ(cave.rowSpan(2).left, 2);
    EXPECT_EQ(cave.rowSpan(2).right, 5);
    for (int row : {-1, 4, INT16_MIN, INT16_MAX}) {
        EXPECT_EQ(cave.rowSpan(static_cast<int16_t>(row)).left, -1) << row;
        EXPECT_EQ(cave.rowSpan(static_cast<int16_t>(row)).right, -1) << row;
    }
}

TEST_F(CoordinatesTest, SetViewTakesOnlyOpenPoints) {
    cave.viewX = 700;
    cave.viewY = 700;
    cave.setView(100, 100);  // row 0 starts at column 1
    EXPECT_EQ(cave.viewX, 700);
    EXPECT_EQ(cave.viewY, 700);
    cave.setView(1000, 1000);
    EXPECT_EQ(cave.viewX, 1000);
    EXPECT_EQ(cave.viewY, 1000);
}

TEST_F(CoordinatesTest, ScreenMappingsPutTheViewAtTheScreenCentre) {
    cave.viewX = 1000;
    cave.viewY = 2000;
    EXPECT_EQ(cave.worldToScreenX(1000), 320);
    EXPECT_EQ(cave.worldToScreenY(2000), 240);
    EXPECT_EQ(cave.worldToScreenX(1010), 330);
    EXPECT_EQ(cave.worldToScreenY(2010), 230);  // world y grows upward
    EXPECT_EQ(cave.screenToWorldX(0), 680);
    EXPECT_EQ(cave.worldToScreenY(0), 2240);  // the same formula turns a screen y back
}

TEST_F(CoordinatesTest, ScreenMappingsOfFarAwayPointsSaturateInsteadOfWrapping) {
    cave.viewX = INT32_MIN;
    cave.viewY = INT32_MAX;
    EXPECT_EQ(cave.worldToScreenX(INT32_MAX), INT32_MAX);
    EXPECT_EQ(cave.worldToScreenY(INT32_MIN), INT32_MAX);
    EXPECT_EQ(cave.screenToWorldX(0), INT32_MIN);
    cave.viewX = INT32_MAX;
    EXPECT_EQ(cave.worldToScreenX(INT32_MIN), INT32_MIN);
}

TEST_F(CoordinatesTest, MinimapMappingsScaleAndKeepTheMargin) {
    cave.minimapScale = 207.0 / 6400.0;
    EXPECT_EQ(cave.worldToMinimapX(0), 3);
    EXPECT_EQ(cave.worldToMinimapX(6400), 209);  // 6400 x (207 / 6400) is 206.99999999999997
    EXPECT_EQ(cave.worldToMinimapX(3200), 106);  // 103.5 + 3 truncated
    EXPECT_EQ(cave.worldToMinimapY(0), 210);
    EXPECT_EQ(cave.worldToMinimapY(6400), 3);
    EXPECT_EQ(cave.worldToMinimapY(3200), 106);  // 213 - 103.5 - 3 truncated
}

class RandomPointTest : public PlatformTest {};

TEST_F(RandomPointTest, PointsLieInOpenCellsTenUnitsFromTheEdgesAndEveryRowComesUp) {
    CaveWorld cave;
    shapeCave(cave, 320, 400, 20, {{1, 4}, {0, 19}, {2, 4}, {3, 8}});
    platform::setTime(4242);
    gameRandom.reseed();
    std::set<int16_t> rowsSeen;
    for (int i = 0; i < 400; ++i) {
        int32_t x = 0, y = 0;
        cave.randomOpenPoint(x, y);
        int16_t row, column;
        ASSERT_TRUE(cave.isOpenCell(x, y, row, column)) << x << "," << y;
        rowsSeen.insert(row);
        EXPECT_GE(x % 320, 10);
        EXPECT_LE(x % 320, 310);
        EXPECT_GE(y % 400, 10);
        EXPECT_LE(y % 400, 390);
    }
    EXPECT_EQ(rowsSeen.size(), 4u);  // every row, narrow or wide
}

}  // namespace
