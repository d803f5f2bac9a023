// Picture rectangles copied into locked surfaces, plain and screen-door, and
// the colours written into DirectDraw palettes.
#include <gtest/gtest.h>

#include <cstdio>

#include "assets/bitmap.h"
#include "support/bmp_file.h"
#include "support/surface_test.h"

namespace {

class BitmapCopyTest : public SurfaceTest {
protected:
    void SetUp() override {
        SurfaceTest::SetUp();
        picture = testbmp::pattern(10, 6);
        ASSERT_TRUE(testbmp::writeFile(path, testbmp::encode(picture)));
        ASSERT_TRUE(image.load(path.c_str()));
    }
    void TearDown() override {
        std::remove(path.c_str());
        SurfaceTest::TearDown();
    }
    uint8_t source(int32_t x, int32_t y) const { return picture.pixels[y * picture.width + x]; }

    std::string path = testbmp::tempPath("sheet.bmp");
    testbmp::Picture picture;
    SheetBitmap image;
};

TEST_F(BitmapCopyTest, ARectangleAtTheOriginIsThePicturesTopLeftCorner) {
    LPDIRECTDRAWSURFACE surface = makeSurface(4, 3);
    ASSERT_TRUE(image.copyRectToSurface(surface, 4, 3, 0, 0));
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(pixel(surface, x, y), source(x, y)) << x << "," << y;
    }
    ASSERT_TRUE(image.copyRectToSurface(surface, 4, 3, 6, 3));  // the bottom-right corner
    EXPECT_EQ(pixel(surface, 0, 0), source(6, 3));
    EXPECT_EQ(pixel(surface, 3, 2), source(9, 5));
}

TEST_F(BitmapCopyTest, TheWholePictureLandsTopRowFirstAndLeavesThePaddingAlone) {
    LPDIRECTDRAWSURFACE surface = makeSurface(10, 6);  // pitch 12
    fill(surface, 0x77);
    ASSERT_TRUE(image.copyToSurface(surface));
    EXPECT_EQ(pixels(surface), picture.pixels);
    int32_t pitch = 0;
    std::vector<uint8_t> bytes = memory(surface, &pitch);
    ASSERT_GT(pitch, 10);
    for (int32_t y = 0; y < 6; ++y) EXPECT_EQ(bytes[y * pitch + 10], 0x77);
}

TEST_F(BitmapCopyTest, RectanglesOutsideThePictureOrTooBigForTheSurfaceAreRefused) {
    LPDIRECTDRAWSURFACE surface = makeSurface(4, 3);
    fill(surface, 0x77);
    std::vector<uint8_t> before = memory(surface);
    struct Rect {
        int32_t width, height, x, y;
    };
    for (Rect r : {Rect{4, 3, 7, 0}, Rect{4, 3, 0, 4}, Rect{4, 3, -1, 0}, Rect{4, 3, 0, -1}, Rect{-1, 3, 0, 0},
                   Rect{4, -1, 0, 0}, Rect{5, 3, 0, 0}, Rect{4, 4, 0, 0}, Rect{4, 3, INT32_MAX, 0}}) {
        EXPECT_FALSE(image.copyRectToSurface(surface, r.width, r.height, r.x, r.y))
            << r.width << "x" << r.height << " at " << r.x << "," << r.y;
        EXPECT_FALSE(image.copyScreenedRectToSurface(surface, r.width, r.height, r.x, r.y, 128));
    }
    EXPECT_FALSE(image.copyToSurface(surface));  // 10 x 6 into 4 x 3
    EXPECT_FALSE(image.copyScreenedRectToSurface(surface, 10, 6, 0, 0, 0));
    EXPECT_EQ(memory(surface), before);
    // The surface is not left locked.
    EXPECT_TRUE(image.copyRectToSurface(surface, 4, 3, 6, 3));
}

TEST_F(BitmapCopyTest, APictureThatFailedToLoadCopiesNothing) {
    LPDIRECTDRAWSURFACE surface = makeSurface(4, 3);
    SheetBitmap empty;
    EXPECT_FALSE(empty.copyRectToSurface(surface, 1, 1, 0, 0));
    ASSERT_TRUE(testbmp::writeFile(path, {'B', 'M'}));
    EXPECT_FALSE(image.load(path.c_str()));
    EXPECT_FALSE(image.copyRectToSurface(surface, 1, 1, 0, 0));
}

TEST_F(BitmapCopyTest, AFailingLockWritesNothing) {
    LPDIRECTDRAWSURFACE surface = makeSurface(4, 3);
    platform::failCall("IDirectDrawSurface::Lock", 1);
    EXPECT_FALSE(image.copyRectToSurface(surface, 4, 3, 0, 0));
    EXPECT_EQ(pixels(surface), std::vector<uint8_t>(12, 0));
}

TEST_F(BitmapCopyTest, ScreenedCopiesLayThePatternOverTheCopiedArea) {
    LPDIRECTDRAWSURFACE surface = makeSurface(6, 4);  // pitch 8: the pattern skips the padding
    ASSERT_TRUE(image.copyScreenedRectToSurface(surface, 6, 4, 2, 1, 128));
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            uint8_t expected = (x % 2 == 0) ? 253 : source(x + 2, y + 1);
            EXPECT_EQ(pixel(surface, x, y), expected) << x << "," << y;
        }
    }
    LPDIRECTDRAWSURFACE whole = makeSurface(10, 6);
    ASSERT_TRUE(image.copyScreenedRectToSurface(whole, 10, 6, 0, 0, 255));
    EXPECT_EQ(pixels(whole), std::vector<uint8_t>(60, 253));
}

TEST_F(BitmapCopyTest, ThePaletteGoesToDirectDrawAsRedGreenBlue) {
    image.palette[3] = RGBQUAD{10, 20, 30, 99};  // blue, green, red as in the file
    PALETTEENTRY grey[256] = {};
    LPDIRECTDRAWPALETTE palette = makePalette(grey);
    ASSERT_TRUE(image.applyPaletteTo(palette));
    PALETTEENTRY entries[256] = {};
    ASSERT_EQ(palette->GetEntries(0, 0, 256, entries), DD_OK);
    EXPECT_EQ(entries[3].peRed, 30);
    EXPECT_EQ(entries[3].peGreen, 20);
    EXPECT_EQ(entries[3].peBlue, 10);
    EXPECT_EQ(entries[3].peFlags, 0);
    EXPECT_EQ(entries[200].peRed, 200);
    EXPECT_FALSE(image.applyPaletteTo(nullptr));
}

}  // namespace
