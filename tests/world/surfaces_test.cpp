// The cave's ten surfaces: made on the display device with their sizes and
// keys, released together, restored and refilled from the sheet.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/clock.h"
#include "app/globals.h"
#include "display/display.h"
#include "support/surface_test.h"
#include "test_sheet.h"
#include "world/cave.h"

namespace {

class CaveSurfacesTest : public SurfaceTest {
protected:
    void SetUp() override {
        SurfaceTest::SetUp();
        makeSheet(sheet, 624, 704);
        cave.sheet = &sheet;
        cave.computeTileGeometry();
    }
    void TearDown() override {
        cave.releaseSurfaces();
        SurfaceTest::TearDown();
        directDraw = nullptr;  // the device went with the platform's reset
    }
    static DDSURFACEDESC describe(LPDIRECTDRAWSURFACE surface) {
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof(DDSURFACEDESC);
        EXPECT_EQ(surface->GetSurfaceDesc(&desc), DD_OK);
        return desc;
    }

    SheetBitmap sheet;
    CaveWorld cave;
};

TEST_F(CaveSurfacesTest, EachPieceGetsASurfaceOfItsSizeInSystemMemory) {
    ASSERT_TRUE(cave.createSurfaces());
    for (int i = 0; i < PIECE_COUNT; ++i) {
        ASSERT_NE(cave.lpBkgSurface[i], nullptr);
        DDSURFACEDESC desc = describe(cave.lpBkgSurface[i]);
        EXPECT_EQ(desc.dwWidth, static_cast<DWORD>(TileGeometry.pieceWidth[i]));
        EXPECT_EQ(desc.dwHeight, static_cast<DWORD>(TileGeometry.pieceHeight[i]));
        EXPECT_TRUE(desc.ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY);
    }
    DDSURFACEDESC mini = describe(cave.minimapSurface);
    EXPECT_EQ(mini.dwWidth, 213u);
    EXPECT_EQ(mini.dwHeight, 213u);
}

TEST_F(CaveSurfacesTest, CreationStopsAtTheFirstFailure) {
    platform::failCall("IDirectDraw::CreateSurface", 4);
    EXPECT_FALSE(cave.createSurfaces());
    for (int i = 0; i < 3; ++i) EXPECT_NE(cave.lpBkgSurface[i], nullptr);
    for (int i = 3; i < PIECE_COUNT; ++i) EXPECT_EQ(cave.lpBkgSurface[i], nullptr);
    EXPECT_EQ(cave.minimapSurface, nullptr);
}

TEST_F(CaveSurfacesTest, ReleaseLetsGoOfAllTenAndForgetsThem) {
    const int before = platform::liveDirectDrawObjects();
    ASSERT_TRUE(cave.createSurfaces());
    EXPECT_EQ(platform::liveDirectDrawObjects(), before + 11);  // and the minimap's palette
    cave.releaseSurfaces();
    EXPECT_EQ(platform::liveDirectDrawObjects(), before);
    EXPECT_EQ(cave.minimapSurface, nullptr);
    for (LPDIRECTDRAWSURFACE s : cave.lpBkgSurface) EXPECT_EQ(s, nullptr);
    cave.releaseSurfaces();  // a second time is harmless
}

TEST_F(CaveSurfacesTest, ReloadCopiesEveryPieceAndFillsTheMinimap) {
    ASSERT_TRUE(cave.createSurfaces());
    EXPECT_TRUE(cave.reloadSurfaces());
    for (int i = 0; i < PIECE_COUNT; ++i) {
        std::vector<uint8_t> all = pixels(cave.lpBkgSurface[i]);
        EXPECT_EQ(std::count(all.begin(), all.end(), pieceIndex(i)), static_cast<long>(all.size())) << "piece " << i;
    }
    // No outline yet: only the transparent fill.
    std::vector<uint8_t> mini = pixels(cave.minimapSurface);
    EXPECT_EQ(std::count(mini.begin(), mini.end(), TRANSPARENT_INDEX), 213 * 213);
}

TEST_F(CaveSurfacesTest, FailedRestoreEndsTheReloadAndLaterCopiesAreSkipped) {
    ASSERT_TRUE(cave.createSurfaces());
    for (int i = 0; i < PIECE_COUNT; ++i) fill(cave.lpBkgSurface[i], 0);
    // Restores: the minimap's, then piece 0's, piece 1's ...: piece 2's fails.
    platform::failCall("IDirectDrawSurface::Restore", 4);
    EXPECT_FALSE(cave.reloadSurfaces());
    EXPECT_EQ(pixel(cave.lpBkgSurface[1], 0, 0), pieceIndex(1));
    EXPECT_EQ(pixel(cave.lpBkgSurface[2], 0, 0), 0);
    EXPECT_EQ(pixel(cave.lpBkgSurface[3], 0, 0), 0);

    // A failed copy: the rest are skipped, but the restores go on.
    for (int i = 0; i < PIECE_COUNT; ++i) fill(cave.lpBkgSurface[i], 0);
    platform::failCall("IDirectDrawSurface::Lock", 3);  // the minimap's fill does not lock; piece 2's copy does
    EXPECT_FALSE(cave.reloadSurfaces());
    EXPECT_EQ(pixel(cave.lpBkgSurface[1], 0, 0), pieceIndex(1));
    for (int i = 2; i < PIECE_COUNT; ++i) EXPECT_EQ(pixel(cave.lpBkgSurface[i], 0, 0), 0) << "piece " << i;
}

TEST_F(CaveSurfacesTest, ReloadWithoutMinimapFails) {
    EXPECT_FALSE(cave.reloadSurfaces());
    EXPECT_FALSE(cave.redrawMinimap());
}

TEST_F(CaveSurfacesTest, GenerateReplacesTheSurfacesAndPaintsTheShape) {
    platform::setTime(99);
    gameRandom.reseed();
    ASSERT_TRUE(cave.generate(&sheet, 6400, 6400));
    const int live = platform::liveDirectDrawObjects();
    ASSERT_TRUE(cave.generate(&sheet, 6400, 6400));
    EXPECT_EQ(platform::liveDirectDrawObjects(), live);  // the old ten were released
    std::vector<uint8_t> mini = pixels(cave.minimapSurface);
    EXPECT_LT(std::count(mini.begin(), mini.end(), TRANSPARENT_INDEX), 213 * 213);
}

}  // namespace
