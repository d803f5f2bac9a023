// A new cave from the random walk: counts and clamps, row invariants over many
// seeds, the minimap outline and scale, the random start, and the sheets refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "app/clock.h"
#include "display/display.h"
#include "support/platform_test.h"
#include "test_sheet.h"
#include "world/cave.h"

namespace {

class GenerationTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        directDraw = nullptr;  // no display: the cave's surfaces are not made
        makeSheet(sheet, 624, 704);  // cells of 320 x 400
    }
    // Each seed a different clock reading, so a different cave.
    void seed(uint32_t n) {
        platform::setTime(1000 + n * 7919);
        gameRandom.reseed();
    }
    void expectRowInvariants(const CaveWorld& cave) {
        for (int r = 0; r < cave.rowCount(); ++r) {
            const RowSpan s = cave.rows[r];
            ASSERT_GE(s.left, 0) << "row " << r;
            ASSERT_GE(s.right, s.left + 2) << "row " << r;  // three columns at least
            ASSERT_LE(s.right, cave.columnCount() - 1) << "row " << r;
            if (r > 0) {
                const RowSpan below = cave.rows[r - 1];
                ASSERT_LE(std::max(s.left, below.left), std::min(s.right, below.right)) << "rows " << r - 1 << ", " << r;
            }
        }
    }

    SheetBitmap sheet;
    CaveWorld cave;
};

TEST_F(GenerationTest, RowsAreWideAndOverlapForManySeeds) {
    for (uint32_t n = 0; n < 300; ++n) {
        seed(n);
        ASSERT_TRUE(cave.generate(&sheet, 6400, 6400));
        ASSERT_EQ(cave.columnCount(), 20);  // 6400 / 320
        ASSERT_EQ(cave.rowCount(), 16);     // 6400 / 400
        expectRowInvariants(cave);
        if (HasFatalFailure()) return;
    }
}

TEST_F(GenerationTest, DrawsOnePivotThreePerRowAndFourForTheStart) {
    seed(11);
    ASSERT_TRUE(cave.generate(&sheet, 6400, 6400));
    EXPECT_EQ(gameRandom.drawCount, 1 + 3 * 16 + 4);
    // The same clock reading gives the same cave and the same start.
    std::vector<std::pair<int, int>> first;
    for (int r = 0; r < 16; ++r) first.emplace_back(cave.rows[r].left, cave.rows[r].right);
    const int32_t viewX = cave.viewX, viewY = cave.viewY;
    seed(11);
    ASSERT_TRUE(cave.generate(&sheet, 6400, 6400));
    for (int r = 0; r < 16; ++r) {
        EXPECT_EQ(cave.rows[r].left, first[r].first) << "row " << r;
        EXPECT_EQ(cave.rows[r].right, first[r].second) << "row " << r;
    }
    EXPECT_EQ(cave.viewX, viewX);
    EXPECT_EQ(cave.viewY, viewY);
}

TEST_F(GenerationTest, TheViewStartsInsideAnOpenCell) {
    for (uint32_t n = 0; n < 100; ++n) {
        seed(n);
        cave.viewX = cave.viewY = -1;
        ASSERT_TRUE(cave.generate(&sheet, 6400, 6400));
        int16_t row, column;
        ASSERT_TRUE(cave.isOpenCell(cave.viewX, cave.viewY, row, column)) << cave.viewX << ", " << cave.viewY;
        EXPECT_GE(cave.viewX % 320, 10);
        EXPECT_GE(cave.viewY % 400, 10);
    }
}

TEST_F(GenerationTest, OutlineRunsUpTheLeftEdgesAndDownTheRightEdges) {
    seed(7);
    ASSERT_TRUE(cave.generate(&sheet, 6400, 6400));
    EXPECT_DOUBLE_EQ(cave.minimapScale, 207.0 / 6400.0);
    EXPECT_EQ(cave.outlineColour, 0x00FFFF00u);
    const double cw = 320 * cave.minimapScale;
    const int n = 4 * cave.rowCount();
    const POINT* p = cave.outline.get();
    EXPECT_EQ(p[0].x, static_cast<int32_t>(cave.rows[0].left * cw) + 3);
    EXPECT_EQ(p[0].y, 210);
    EXPECT_EQ(p[n].x, p[0].x);  // closed: 4 x rowCount + 1 points
    EXPECT_EQ(p[n].y, p[0].y);
    // The top of row 15 and the bottom of row 0 sit at the minimap's margins.
    EXPECT_EQ(p[2 * cave.rowCount() - 1].y, 3);
    for (int r = 0; r < cave.rowCount(); ++r) {
        const POINT& lower = p[2 * r];
        const POINT& upper = p[2 * r + 1];
        EXPECT_EQ(lower.x, upper.x);
        EXPECT_EQ(lower.y - upper.y, static_cast<int32_t>(400 * cave.minimapScale));
        EXPECT_NEAR(lower.x, cave.worldToMinimapX(cave.rows[r].left * 320), 1) << "row " << r;
        // The right side runs from the top row down.
        const POINT& rightUpper = p[2 * cave.rowCount() + 2 * (cave.rowCount() - 1 - r)];
        EXPECT_NEAR(rightUpper.x, cave.worldToMinimapX((cave.rows[r].right + 1) * 320), 1) << "row " << r;
        EXPECT_NEAR(rightUpper.y, cave.worldToMinimapY((r + 1) * 400), 1) << "row " << r;
    }
}

TEST_F(GenerationTest, RequestsAreClampedBetweenOneAndAThousandScreens) {
    seed(1);
    ASSERT_TRUE(cave.generate(&sheet, 100, -5));
    EXPECT_EQ(cave.columnCount(), 4);  // 640 / 320 = 2, raised to 4
    EXPECT_EQ(cave.rowCount(), 4);     // 480 / 400 = 1, raised to 4
    EXPECT_DOUBLE_EQ(cave.minimapScale, 207.0 / 640.0);  // from the clamped width, the larger
    expectRowInvariants(cave);

    ASSERT_TRUE(cave.generate(&sheet, INT32_MAX, 2000000000));
    EXPECT_EQ(cave.columnCount(), 2000);  // 640000 / 320
    EXPECT_EQ(cave.rowCount(), 1200);     // 480000 / 400
    EXPECT_DOUBLE_EQ(cave.minimapScale, 207.0 / 640000.0);
    expectRowInvariants(cave);

    ASSERT_TRUE(cave.generate(&sheet, 6400, 9600));
    EXPECT_DOUBLE_EQ(cave.minimapScale, 207.0 / 9600.0);  // height the larger
}

TEST_F(GenerationTest, FourColumnsStillGiveThreeWideOverlappingRows) {
    SheetBitmap big;
    makeSheet(big, 304 + 3000, 304 + 3000);  // 3000-unit cells: 6400 / 3000 = 2
    for (uint32_t n = 0; n < 100; ++n) {
        seed(n);
        ASSERT_TRUE(cave.generate(&big, 6400, 6400));
        ASSERT_EQ(cave.columnCount(), 4);
        ASSERT_EQ(cave.rowCount(), 4);
        expectRowInvariants(cave);
        if (HasFatalFailure()) return;
    }
}

TEST_F(GenerationTest, CaveNarrowerThanTheRequestStillScalesByTheRequest) {
    SheetBitmap odd;
    makeSheet(odd, 304 + 333, 304 + 333);
    seed(3);
    ASSERT_TRUE(cave.generate(&odd, 6400, 6400));
    EXPECT_EQ(cave.columnCount(), 19);  // 6400 / 333, truncated
    EXPECT_DOUBLE_EQ(cave.minimapScale, 207.0 / 6400.0);
}

TEST_F(GenerationTest, SheetsThatCannotBeCutAreRefusedAndChangeNothing) {
    seed(5);
    ASSERT_TRUE(cave.generate(&sheet, 6400, 6400));
    const RowSpan* rowsBefore = cave.rows.get();
    const POINT* outlineBefore = cave.outline.get();
    const int32_t viewX = cave.viewX, viewY = cave.viewY;
    cave.outlineColour = 0x123456;
    const TileGeometryTable geometry = TileGeometry;

    SheetBitmap narrow, low, empty;
    makeSheet(narrow, 323, 704);
    makeSheet(low, 624, 323);
    empty.infoHeader.biWidth = 624;
    empty.infoHeader.biHeight = 704;  // the size, but no pixels
    for (const SheetBitmap* bad : {&narrow, &low, &empty, static_cast<SheetBitmap*>(nullptr)}) {
        EXPECT_FALSE(cave.generate(bad, 6400, 6400));
        EXPECT_EQ(cave.sheet, &sheet);
        EXPECT_EQ(cave.rows.get(), rowsBefore);
        EXPECT_EQ(cave.outline.get(), outlineBefore);
        EXPECT_EQ(cave.rowCount(), 16);
        EXPECT_EQ(cave.columnCount(), 20);
        EXPECT_EQ(cave.viewX, viewX);
        EXPECT_EQ(cave.viewY, viewY);
        EXPECT_EQ(cave.outlineColour, 0x123456u);
        EXPECT_EQ(TileGeometry.pieceWidth[PIECE_FLOOR], geometry.pieceWidth[PIECE_FLOOR]);
        EXPECT_EQ(TileGeometry.pieceHeight[PIECE_FLOOR], geometry.pieceHeight[PIECE_FLOOR]);
    }

    // 324 pixels is enough: 20-unit cells.
    SheetBitmap smallest;
    makeSheet(smallest, 324, 324);
    EXPECT_TRUE(cave.generate(&smallest, 6400, 6400));
    EXPECT_EQ(cave.columnCount(), 320);
    int16_t row, column;
    EXPECT_TRUE(cave.isOpenCell(cave.viewX, cave.viewY, row, column));
}

}  // namespace
