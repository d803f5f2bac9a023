// The cave drawn into a 640 x 480 canvas with a clipper: which piece covers
// which pixel around chosen views, rows off the screen, the missing-floor box,
// and the minimap in both styles at the overlay's position.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "app/clock.h"
#include "app/globals.h"
#include "display/display.h"
#include "display/translucency.h"
#include "support/surface_test.h"
#include "test_sheet.h"
#include "world/cave.h"

namespace {

constexpr uint8_t CLEARED = 0;
constexpr uint8_t CYAN_INDEX = 50;

HWND makeWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "CaveDrawTest";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "CaveDrawTest", "CaveDrawTest", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr, nullptr,
                           nullptr);
}

class CaveDrawTest : public SurfaceTest {
protected:
    void SetUp() override {
        SurfaceTest::SetUp();
        window = makeWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(createOffscreenSurface(true, window, device, screen, 640, 480));
        makeSheet(sheet, 624, 704);  // 320 x 400 cells; piece i has index 10 + i
        platform::setTime(31337);
        gameRandom.reseed();
        ASSERT_TRUE(cave.generate(&sheet, 6400, 6400));
        fill(screen, CLEARED);
    }
    void TearDown() override {
        cave.releaseSurfaces();
        SurfaceTest::TearDown();
        directDraw = nullptr;  // the device went with the platform's reset
    }

    // Rows bottom up, replacing the generated ones; the surfaces stay.
    void setRows(std::initializer_list<RowSpan> spans, int repeatLastUpTo = 16) {
        std::vector<RowSpan> all(spans);
        while (static_cast<int>(all.size()) < repeatLastUpTo) all.push_back(all.back());
        cave.rowCount_ = static_cast<uint16_t>(all.size());
        cave.rows = std::make_unique<RowSpan[]>(all.size());
        std::copy(all.begin(), all.end(), cave.rows.get());
    }

    // Draws around the view and reads the pixel under a world point.
    bool drawAt(int32_t viewX, int32_t viewY) {
        cave.viewX = viewX;
        cave.viewY = viewY;
        return cave.draw(screen);
    }
    uint8_t at(int32_t worldX, int32_t worldY) {
        const int32_t sx = cave.worldToScreenX(worldX), sy = cave.worldToScreenY(worldY);
        EXPECT_TRUE(sx >= 0 && sx < 640 && sy >= 0 && sy < 480) << "off the screen: " << worldX << ", " << worldY;
        return pixel(screen, sx, sy);
    }
    void expectEverywhere(uint8_t value) {
        std::vector<uint8_t> all = pixels(screen);
        EXPECT_EQ(std::count(all.begin(), all.end(), value), 640 * 480);
    }

    HWND window = nullptr;
    LPDIRECTDRAWSURFACE screen = nullptr;
    SheetBitmap sheet;
    CaveWorld cave;
};

const uint8_t FLOOR = pieceIndex(PIECE_FLOOR);
const uint8_t LEFT = pieceIndex(PIECE_LEFT);
const uint8_t RIGHT = pieceIndex(PIECE_RIGHT);
const uint8_t TOP = pieceIndex(PIECE_TOP);
const uint8_t BOTTOM = pieceIndex(PIECE_BOTTOM);
const uint8_t TOP_RIGHT = pieceIndex(PIECE_TOP_RIGHT);
const uint8_t BOTTOM_LEFT = pieceIndex(PIECE_BOTTOM_LEFT);
const uint8_t BOTTOM_RIGHT = pieceIndex(PIECE_BOTTOM_RIGHT);

TEST_F(CaveDrawTest, PiecesAreCutFromTheSheetWithTheirColourKey) {
    for (int i = 0; i < PIECE_COUNT; ++i) {
        ASSERT_NE(cave.lpBkgSurface[i], nullptr);
        std::vector<uint8_t> all = pixels(cave.lpBkgSurface[i]);
        EXPECT_EQ(all.size(), static_cast<size_t>(TileGeometry.pieceWidth[i]) * TileGeometry.pieceHeight[i]);
        EXPECT_EQ(std::count(all.begin(), all.end(), pieceIndex(i)), static_cast<long>(all.size())) << "piece " << i;
        DDCOLORKEY key{};
        EXPECT_EQ(cave.lpBkgSurface[i]->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
        EXPECT_EQ(key.dwColorSpaceLowValue, 253u);
        EXPECT_EQ(key.dwColorSpaceHighValue, 253u);
    }
    DDCOLORKEY key{};
    EXPECT_NE(cave.minimapSurface->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);  // the minimap has none
}

TEST_F(CaveDrawTest, BottomRowWithTheAreaBelowOnTheScreen) {
    setRows({{2, 4}, {3, 5}});
    // World x 480..1119 and y -140..340 are on the screen: row 0 only.
    ASSERT_TRUE(drawAt(800, 100));
    EXPECT_EQ(at(900, 200), FLOOR);
    EXPECT_EQ(at(1100, 10), FLOOR);
    EXPECT_EQ(at(900, -50), BOTTOM);  // every open cell of row 0 has its bottom band
    EXPECT_EQ(at(1100, -130), BOTTOM);
    EXPECT_EQ(at(560, 200), LEFT);  // the band left of column 2 (x 640)
    EXPECT_EQ(at(560, -50), BOTTOM_LEFT);
    EXPECT_EQ(at(485, 200), CLEARED);  // left of the 150-pixel band
    EXPECT_EQ(at(485, -50), CLEARED);
}

TEST_F(CaveDrawTest, ScreenInsideOneSpanShowsOnlyFloor) {
    setRows({{0, 19}});
    ASSERT_TRUE(drawAt(3200, 1000));
    expectEverywhere(FLOOR);
    // Row 0 and the top row copy their outer bands all the same; the clipper trims them.
    fill(screen, CLEARED);
    ASSERT_TRUE(drawAt(3200, 260));
    expectEverywhere(FLOOR);
    fill(screen, CLEARED);
    ASSERT_TRUE(drawAt(3200, 16 * 400 - 260));
    expectEverywhere(FLOOR);
}

TEST_F(CaveDrawTest, LowerCornersOnlyWhereTheRowStartsFurtherOutThanTheRowBelow) {
    setRows({{2, 4}, {3, 5}, {1, 5}});
    // World x 680..1319 and y 360..839: rows 0 to 2.
    ASSERT_TRUE(drawAt(1000, 600));
    EXPECT_EQ(at(700, 500), TOP);  // row 0's top band over column 2, rock in row 1
    EXPECT_EQ(at(900, 500), LEFT);  // row 1's left band lies over it: drawn later
    EXPECT_EQ(at(900, 380), FLOOR);  // row 1 starts right of row 0: no lower corner
    EXPECT_EQ(at(700, 700), BOTTOM);  // row 2's bottom band over column 2
    EXPECT_EQ(at(900, 700), BOTTOM);  // ... over row 1's left band: the upper row comes later
    EXPECT_EQ(at(1100, 700), FLOOR);
}

TEST_F(CaveDrawTest, RightEndsWithTheirCorners) {
    setRows({{2, 4}, {3, 5}, {3, 5}});
    // World x 1380..2019 and y 210..690: rows 0 and 1.
    ASSERT_TRUE(drawAt(1700, 450));
    EXPECT_EQ(at(1650, 230), RIGHT);  // row 0's band right of column 4
    EXPECT_EQ(at(1650, 300), BOTTOM);  // row 1's bottom band over column 5 lies over it
    EXPECT_EQ(at(1900, 300), BOTTOM);
    EXPECT_EQ(at(2000, 600), RIGHT);  // row 1's band right of column 5
    EXPECT_EQ(at(2000, 300), BOTTOM_RIGHT);  // row 1 reaches further right than row 0
    EXPECT_EQ(at(1500, 600), FLOOR);
    // World y 510..990: rows 1 and 2; row 2 ends where row 1 does, so no corner below it.
    fill(screen, CLEARED);
    ASSERT_TRUE(drawAt(1700, 750));
    EXPECT_EQ(at(2000, 700), RIGHT);
    EXPECT_EQ(at(2000, 850), RIGHT);
}

TEST_F(CaveDrawTest, TopRowAlwaysHasItsTopBandAndUpperCorners) {
    setRows({{1, 5}});
    // World y 6060..6540: the top row (15) and the rock above it.
    ASSERT_TRUE(drawAt(1900, 6300));
    EXPECT_EQ(at(1800, 6450), TOP);
    EXPECT_EQ(at(2000, 6200), RIGHT);
    EXPECT_EQ(at(2000, 6450), TOP_RIGHT);
    EXPECT_EQ(at(1800, 6200), FLOOR);
}

TEST_F(CaveDrawTest, BandsOfRowsOffTheScreenAreNotDrawn) {
    setRows({{2, 4}, {3, 5}, {4, 5}});
    ASSERT_TRUE(drawAt(1000, 1000));  // world y 760..1240: row 1 on the screen
    EXPECT_EQ(at(1000, 900), TOP);     // row 1's top band over column 3, rock in row 2
    fill(screen, CLEARED);
    ASSERT_TRUE(drawAt(1000, 1060));  // world y 820..1300: row 1 below the screen
    EXPECT_EQ(at(1000, 900), CLEARED);
    EXPECT_EQ(at(1200, 900), LEFT);  // row 2's own left band
}

TEST_F(CaveDrawTest, ViewWhoseRowsAreAllOutsideTheCaveDrawsNothing) {
    fill(screen, 77);
    for (auto [x, y] : {std::pair{1000, -5000}, std::pair{1000, 6400 + 5000}, std::pair{-5000, 3000},
                        std::pair{INT32_MIN, INT32_MAX}, std::pair{INT32_MAX, INT32_MIN}}) {
        EXPECT_TRUE(drawAt(x, y)) << x << ", " << y;
        expectEverywhere(77);
    }
}

TEST_F(CaveDrawTest, MissingFloorSurfaceShowsItsBoxAndFails) {
    CaveWorld bare;
    EXPECT_FALSE(bare.draw(screen));
    ASSERT_EQ(platform::messageBoxes().size(), 1u);
    EXPECT_EQ(platform::messageBoxes()[0].text, "Failed!");
    EXPECT_EQ(platform::messageBoxes()[0].caption, "lpBkgSurface=NULL");
    EXPECT_EQ(platform::messageBoxes()[0].type, static_cast<unsigned>(MB_OK));
    expectEverywhere(CLEARED);
}

TEST_F(CaveDrawTest, NoDestinationDrawsNothing) {
    EXPECT_FALSE(cave.draw(nullptr));
    EXPECT_FALSE(cave.drawOutline(nullptr, 0, 0, true));
    EXPECT_FALSE(cave.drawMinimap(nullptr, 0, 0));
    EXPECT_TRUE(platform::messageBoxes().empty());
}

TEST_F(CaveDrawTest, PieceSurfacesThatWereNeverCreatedAreSkipped) {
    setRows({{2, 4}, {3, 5}});
    cave.lpBkgSurface[PIECE_LEFT]->Release();
    cave.lpBkgSurface[PIECE_LEFT] = nullptr;
    ASSERT_TRUE(drawAt(800, 100));
    EXPECT_EQ(at(560, 200), CLEARED);
    EXPECT_EQ(at(560, -50), BOTTOM_LEFT);
}

// --- The minimap ------------------------------------------------------------------

class MinimapDrawTest : public CaveDrawTest {
protected:
    void SetUp() override {
        CaveDrawTest::SetUp();
        PALETTEENTRY entries[256] = {};
        for (int i = 1; i < 256; ++i) entries[i] = PALETTEENTRY{uint8_t(i), uint8_t(i / 2), 0, 0};
        entries[CYAN_INDEX] = PALETTEENTRY{0, 255, 255, 0};
        entries[TRANSPARENT_INDEX] = PALETTEENTRY{255, 0, 255, 0};
        palette = makePalette(entries);
        screen->SetPalette(palette);
        cave.minimapSurface->SetPalette(palette);
        ASSERT_TRUE(cave.redrawMinimap());
        // Any minimap pixel over any canvas pixel mixes to 200.
        std::fill(std::begin(BlendTable), std::end(BlendTable), uint8_t{200});
        // The view at the centre of an open cell; the overlay puts its minimap point mid-screen.
        const RowSpan span = cave.rows[5];
        cave.viewX = span.left * 320 + 160;
        cave.viewY = 5 * 400 + 200;
        ox = 320 - cave.worldToMinimapX(cave.viewX);
        oy = 240 - cave.worldToMinimapY(cave.viewY);
    }

    LPDIRECTDRAWPALETTE palette = nullptr;
    int32_t ox = 0, oy = 0;
};

TEST_F(MinimapDrawTest, PictureHoldsTheFilledOutlineOnTransparentGround) {
    std::vector<uint8_t> mini = pixels(cave.minimapSurface);
    ASSERT_EQ(mini.size(), 213u * 213u);
    EXPECT_EQ(mini[0], TRANSPARENT_INDEX);  // the margin
    // The minimap point of the view lies inside the shape.
    const int32_t mx = cave.worldToMinimapX(cave.viewX), my = cave.worldToMinimapY(cave.viewY);
    EXPECT_EQ(mini[static_cast<size_t>(my) * 213 + mx], CYAN_INDEX);
}

TEST_F(MinimapDrawTest, TranslucentStyleMixesExactlyTheShapeAtTheOverlayPosition) {
    ASSERT_GE(ox, 111);  // the placement keeps the picture inside the canvas
    ASSERT_LE(ox, 317);
    ASSERT_TRUE(cave.drawMinimap(screen, ox, oy));
    const std::vector<uint8_t> mini = pixels(cave.minimapSurface);
    const std::vector<uint8_t> all = pixels(screen);
    for (int32_t y = 0; y < 480; ++y) {
        for (int32_t x = 0; x < 640; ++x) {
            const bool inside = x >= ox && x < ox + 213 && y >= oy && y < oy + 213;
            uint8_t expected = CLEARED;
            if (inside && mini[static_cast<size_t>(y - oy) * 213 + (x - ox)] != TRANSPARENT_INDEX) expected = 200;
            ASSERT_EQ(all[static_cast<size_t>(y) * 640 + x], expected) << x << ", " << y;
        }
    }
    EXPECT_EQ(all[240 * 640 + 320], 200);  // the view's own point at the screen centre
}

TEST_F(MinimapDrawTest, OutlineStyleFillsTheSameShapeInTheOutlineColour) {
    ASSERT_TRUE(cave.drawOutline(screen, ox, oy, true));
    const std::vector<uint8_t> mini = pixels(cave.minimapSurface);
    const std::vector<uint8_t> all = pixels(screen);
    for (int32_t y = 0; y < 213; ++y) {
        for (int32_t x = 0; x < 213; ++x) {
            const uint8_t m = mini[static_cast<size_t>(y) * 213 + x];
            ASSERT_EQ(all[static_cast<size_t>(y + oy) * 640 + (x + ox)], m == TRANSPARENT_INDEX ? CLEARED : m)
                << x << ", " << y;
        }
    }
    EXPECT_EQ(all[240 * 640 + 320], CYAN_INDEX);
}

TEST_F(MinimapDrawTest, OutlineUnfilledIsAClosedLine) {
    ASSERT_TRUE(cave.drawOutline(screen, ox, oy, false));
    EXPECT_EQ(pixel(screen, 320, 240), CLEARED);  // nothing inside
    const POINT* p = cave.outline.get();
    const int n = 4 * cave.rowCount();
    // Up the left edge of row 0, and back along the closing segment at the bottom.
    EXPECT_EQ(pixel(screen, p[0].x + ox, (p[0].y + p[1].y) / 2 + oy), CYAN_INDEX);
    EXPECT_EQ(pixel(screen, (p[n - 1].x + p[0].x) / 2 + ox, p[0].y + oy), CYAN_INDEX);
}

TEST_F(MinimapDrawTest, PictureReachingBeyondTheCanvasIsClipped) {
    for (auto [x, y] : {std::pair{-10000, 10000}, std::pair{600, 400}, std::pair{-100, -100},
                        std::pair{-1000000, 1000000}}) {
        fill(screen, CLEARED);
        EXPECT_TRUE(cave.drawMinimap(screen, x, y));
        EXPECT_TRUE(cave.drawOutline(screen, x, y, true));
    }
    // Partly on the canvas: the part inside is drawn.
    fill(screen, CLEARED);
    const int32_t mx = cave.worldToMinimapX(cave.viewX), my = cave.worldToMinimapY(cave.viewY);
    ASSERT_TRUE(cave.drawMinimap(screen, 639 - mx, 479 - my));
    EXPECT_EQ(pixel(screen, 639, 479), 200);
}

}  // namespace
