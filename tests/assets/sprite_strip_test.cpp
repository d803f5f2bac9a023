// Strips cut from a sprite sheet: where the frames come from, their surfaces'
// lifetime, the screen-door level, and drawing them keyed or translucent.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/startup.h"
#include "assets/bitmap.h"
#include "assets/sprite_strip.h"
#include "display/display.h"
#include "display/translucency.h"
#include "support/bmp_file.h"
#include "support/surface_test.h"

namespace {

// Never 0 and never 253, so that every sheet pixel is visible and traceable.
uint8_t sheetValue(int32_t x, int32_t y) { return static_cast<uint8_t>((x * 7 + y * 3) % 250 + 1); }

class SpriteStripTest : public SurfaceTest {
protected:
    void SetUp() override {
        SurfaceTest::SetUp();
        loadSheet(455, 252);
    }
    void TearDown() override {
        std::remove(path.c_str());
        SurfaceTest::TearDown();
    }
    void loadSheet(int32_t width, int32_t height) {
        testbmp::Picture picture;
        picture.width = width;
        picture.height = height;
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) picture.pixels.push_back(sheetValue(x, y));
        }
        ASSERT_TRUE(testbmp::writeFile(path, testbmp::encode(picture)));
        ASSERT_TRUE(sheet.load(path.c_str()));
    }

    std::string path = testbmp::tempPath("Sprites.bmp");
    SheetBitmap sheet;
    SpriteStrip strip;
};

TEST_F(SpriteStripTest, FrameIComesFromSheetColumnXPlusIFrameWidthsAndOne) {
    ASSERT_TRUE(strip.create(&sheet, 1, 1, 5, 90, 100));
    ASSERT_EQ(strip.frameCount(), 5);
    int32_t columns[5] = {1, 92, 183, 274, 365};
    for (int32_t i = 0; i < 5; ++i) {
        LPDIRECTDRAWSURFACE frame = strip.frameSurface(i);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(pixel(frame, 0, 0), sheetValue(columns[i], 1)) << "frame " << i;
        EXPECT_EQ(pixel(frame, 89, 99), sheetValue(columns[i] + 89, 100)) << "frame " << i;
    }
    DDCOLORKEY key{};
    ASSERT_EQ(strip.frameSurface(0)->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    EXPECT_EQ(key.dwColorSpaceLowValue, 253u);
    EXPECT_EQ(key.dwColorSpaceHighValue, 253u);
}

TEST_F(SpriteStripTest, ASheetTooSmallForTheFramesIsRefusedAndTheOldFramesStay) {
    ASSERT_TRUE(strip.create(&sheet, 301, 203, 3, 49, 49));  // ends at column 450 and row 252
    int live = platform::liveDirectDrawObjects();
    EXPECT_FALSE(strip.create(&sheet, 1, 1, 5, 91, 100));
    EXPECT_FALSE(strip.create(&sheet, 1, 204, 3, 49, 49));
    EXPECT_FALSE(strip.create(&sheet, -1, 1, 3, 49, 49));
    EXPECT_FALSE(strip.create(&sheet, 1, 1, -1, 49, 49));
    EXPECT_FALSE(strip.create(&sheet, 1, 1, 3, 0, 49));
    EXPECT_FALSE(strip.create(nullptr, 1, 1, 3, 49, 49));
    EXPECT_EQ(platform::liveDirectDrawObjects(), live);
    EXPECT_EQ(strip.frameCount(), 3);
    EXPECT_EQ(pixel(strip.frameSurface(2), 0, 0), sheetValue(401, 203));

    loadSheet(454, 252);  // one column short for the 90-pixel frames
    SpriteStrip wide;
    EXPECT_FALSE(wide.create(&sheet, 1, 1, 5, 90, 100));
    EXPECT_EQ(wide.frameSurface(0), nullptr);
    loadSheet(455, 251);  // one row short for the lowest direction strips
    EXPECT_FALSE(wide.create(&sheet, 151, 203, 3, 49, 49));
}

TEST_F(SpriteStripTest, CreatingAgainReleasesTheOldSurfaces) {
    int live = platform::liveDirectDrawObjects();
    ASSERT_TRUE(strip.create(&sheet, 1, 1, 5, 90, 100));
    EXPECT_EQ(platform::liveDirectDrawObjects(), live + 5);
    ASSERT_TRUE(strip.create(&sheet, 1, 103, 3, 49, 49));
    EXPECT_EQ(platform::liveDirectDrawObjects(), live + 3);
    EXPECT_EQ(pixel(strip.frameSurface(1), 0, 0), sheetValue(51, 103));
}

TEST_F(SpriteStripTest, ReleaseTwiceIsHarmlessAndAReleasedStripDrawsNothing) {
    int live = platform::liveDirectDrawObjects();
    ASSERT_TRUE(strip.create(&sheet, 1, 1, 5, 90, 100));
    strip.release();
    EXPECT_EQ(platform::liveDirectDrawObjects(), live);
    EXPECT_EQ(strip.frameSurface(0), nullptr);
    strip.release();
    EXPECT_EQ(strip.frameCount(), 5);  // the layout is kept for the next create
    LPDIRECTDRAWSURFACE target = makeSurface(100, 100);
    EXPECT_TRUE(FAILED(strip.blitFrame(target, 0, 0, 0)));
    EXPECT_FALSE(strip.blendFrame(target, 0, 0, 0));
    EXPECT_FALSE(strip.reload());
}

TEST_F(SpriteStripTest, AFrameIndexOutsideTheStripDrawsNothing) {
    ASSERT_TRUE(strip.create(&sheet, 1, 1, 5, 90, 100));
    LPDIRECTDRAWSURFACE target = makeSurface(100, 100);
    EXPECT_TRUE(FAILED(strip.blitFrame(target, 0, 0, 5)));
    EXPECT_TRUE(FAILED(strip.blitFrame(target, 0, 0, -1)));
    EXPECT_FALSE(strip.blendFrame(target, 0, 0, 5));
    EXPECT_EQ(pixels(target), std::vector<uint8_t>(100 * 100, 0));
}

TEST_F(SpriteStripTest, SetLevelCopiesTheFramesAgainWithTheNewPattern) {
    ScreenedSpriteStrip screened(128);
    ASSERT_TRUE(screened.create(&sheet, 1, 1, 5, 90, 100));
    LPDIRECTDRAWSURFACE frame = screened.frameSurface(0);
    EXPECT_EQ(pixel(frame, 0, 0), 253);
    EXPECT_EQ(pixel(frame, 1, 0), sheetValue(2, 1));
    EXPECT_EQ(pixel(frame, 2, 0), 253);
    ASSERT_TRUE(screened.setLevel(200));  // every fourth byte
    EXPECT_EQ(screened.level, 200);
    EXPECT_EQ(pixel(frame, 0, 0), 253);
    EXPECT_EQ(pixel(frame, 2, 0), sheetValue(3, 1));
    EXPECT_EQ(pixel(frame, 4, 0), 253);
}

TEST_F(SpriteStripTest, AFailingRestoreEndsTheReload) {
    ASSERT_TRUE(strip.create(&sheet, 1, 1, 5, 90, 100));
    platform::failCall("IDirectDrawSurface::Restore", 2);
    EXPECT_FALSE(strip.reload());
    EXPECT_TRUE(strip.reload());
}

TEST_F(SpriteStripTest, BlitFrameSkipsTransparentPixelsAndIsClippedByTheCanvas) {
    // A frame of its own: a 253 hole at (1, 1) and the sheet elsewhere.
    sheet.pixels[(sheet.height() - 1 - 2) * sheet.width() + 2] = 253;  // picture pixel (2, 2)
    ASSERT_TRUE(strip.create(&sheet, 1, 1, 5, 90, 100));
    HWND window = createMainWindow("Quillmere Demo", nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);  // the clipper passes nothing for a hidden window
    LPDIRECTDRAWSURFACE target = nullptr;
    ASSERT_TRUE(createOffscreenSurface(true, window, device, target, 640, 480));
    fill(target, 9);

    EXPECT_EQ(strip.blitFrame(target, 10, 20, 0), DD_OK);
    EXPECT_EQ(pixel(target, 10, 20), sheetValue(1, 1));
    EXPECT_EQ(pixel(target, 11, 21), 9);  // under the hole
    EXPECT_EQ(pixel(target, 99, 119), sheetValue(90, 100));
    EXPECT_EQ(pixel(target, 100, 120), 9);

    // Partly off the top-left and the bottom-right corners: the inside part shows.
    fill(target, 9);
    EXPECT_EQ(strip.blitFrame(target, -30, -40, 0), DD_OK);
    EXPECT_EQ(pixel(target, 0, 0), sheetValue(31, 41));
    EXPECT_EQ(pixel(target, 59, 59), sheetValue(90, 100));
    EXPECT_EQ(pixel(target, 60, 60), 9);
    EXPECT_EQ(strip.blitFrame(target, 600, 450, 1), DD_OK);
    EXPECT_EQ(pixel(target, 600, 450), sheetValue(92, 1));
    EXPECT_EQ(pixel(target, 639, 479), sheetValue(92 + 39, 30));
}

TEST_F(SpriteStripTest, BlendFrameMixesThroughTheBlendTable) {
    ASSERT_TRUE(strip.create(&sheet, 1, 1, 5, 90, 100));
    for (int i = 0; i < 65536; ++i) BlendTable[i] = static_cast<uint8_t>(i * 31 + 7);
    LPDIRECTDRAWSURFACE target = makeSurface(200, 200);
    fill(target, 40);
    ASSERT_TRUE(strip.blendFrame(target, 5, 6, 0));
    uint8_t s = sheetValue(1, 1);
    EXPECT_EQ(pixel(target, 5, 6), BlendTable[s * 256 + 40]);
    EXPECT_EQ(pixel(target, 4, 6), 40);
    EXPECT_EQ(pixel(target, 95, 106), 40);
}

}  // namespace
