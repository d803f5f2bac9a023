// Reading 8-bit BMP files: row padding, bottom-up order, sizes and broken files.
#include <gtest/gtest.h>

#include <cstdio>

#include "assets/bitmap.h"
#include "support/bmp_file.h"
#include "support/platform_test.h"

namespace {

class BitmapLoadTest : public PlatformTest {
protected:
    void TearDown() override {
        std::remove(path.c_str());
        PlatformTest::TearDown();
    }
    bool load(const testbmp::Picture& picture) { return loadBytes(testbmp::encode(picture)); }
    bool loadBytes(const std::vector<uint8_t>& bytes) {
        EXPECT_TRUE(testbmp::writeFile(path, bytes));
        return image.load(path.c_str());
    }
    // Picture pixel (x, y), counted from the top, in the bottom-up buffer.
    uint8_t at(int32_t x, int32_t y) const { return image.pixels[(image.height() - 1 - y) * image.width() + x]; }

    std::string path = testbmp::tempPath("picture.bmp");
    PalettedBitmap image;
};

TEST_F(BitmapLoadTest, RowPaddingIsDroppedAndRowsStayBottomUp) {
    for (int32_t width : {3, 4, 5, 7}) {
        testbmp::Picture picture = testbmp::pattern(width, 3);
        ASSERT_TRUE(load(picture)) << "width " << width;
        ASSERT_EQ(image.width(), width);
        ASSERT_EQ(image.height(), 3);
        // Buffer row 0 is the picture's bottom row.
        EXPECT_EQ(image.pixels[0], picture.pixels[2 * width]);
        for (int32_t y = 0; y < 3; ++y) {
            for (int32_t x = 0; x < width; ++x) EXPECT_EQ(at(x, y), picture.pixels[y * width + x]) << x << "," << y;
        }
    }
}

TEST_F(BitmapLoadTest, HeadersAndColourTableAreKeptAsRead) {
    testbmp::Picture picture = testbmp::pattern(4, 2);
    picture.palette[9] = {30, 20, 10};
    ASSERT_TRUE(load(picture));
    EXPECT_EQ(image.fileHeader.bfType, 0x4D42);
    EXPECT_EQ(image.infoHeader.biBitCount, 8);
    EXPECT_EQ(image.palette[9].rgbRed, 30);
    EXPECT_EQ(image.palette[9].rgbGreen, 20);
    EXPECT_EQ(image.palette[9].rgbBlue, 10);
}

TEST_F(BitmapLoadTest, ZeroWidthOrHeightLoadsAnEmptyPicture) {
    ASSERT_TRUE(load(testbmp::pattern(0, 5)));
    EXPECT_EQ(image.width(), 0);
    EXPECT_NE(image.pixels, nullptr);
    ASSERT_TRUE(load(testbmp::pattern(5, 0)));
    EXPECT_EQ(image.height(), 0);
    EXPECT_NE(image.pixels, nullptr);
}

TEST_F(BitmapLoadTest, NegativeAndOversizedSidesAreRefused) {
    struct Size {
        int32_t width, height;
    };
    // 65536 x 65536 would wrap a 32-bit width x height to 0.
    for (Size size : {Size{-4, 4}, Size{4, -4}, Size{16385, 1}, Size{1, 16385}, Size{65536, 65536}}) {
        testbmp::Picture picture;
        picture.width = size.width;
        picture.height = size.height;
        EXPECT_FALSE(load(picture)) << size.width << " x " << size.height;
        EXPECT_EQ(image.pixels, nullptr);
    }
    ASSERT_TRUE(load(testbmp::pattern(16384, 1)));  // the largest side still loads
    EXPECT_EQ(image.width(), 16384);
}

TEST_F(BitmapLoadTest, OnlyEightBitPicturesLoad) {
    for (uint16_t bits : {1, 4, 24, 32}) {
        testbmp::Picture picture = testbmp::pattern(4, 4);
        picture.bitCount = bits;
        EXPECT_FALSE(load(picture)) << bits << " bits";
        EXPECT_EQ(image.pixels, nullptr);
    }
}

TEST_F(BitmapLoadTest, AMissingFileFailsAndLeavesThePictureAsItWas) {
    ASSERT_TRUE(load(testbmp::pattern(4, 2)));
    EXPECT_FALSE(image.load(testbmp::tempPath("no-such-file.bmp").c_str()));
    EXPECT_EQ(image.width(), 4);
    EXPECT_NE(image.pixels, nullptr);
}

TEST_F(BitmapLoadTest, AFileThatEndsEarlyFailsAndLeavesNoPixels) {
    std::vector<uint8_t> whole = testbmp::encode(testbmp::pattern(5, 3));  // rows of 8 bytes from 1078
    struct Cut {
        size_t length;
        const char* where;
    };
    for (Cut cut : {Cut{0, "empty"}, Cut{10, "file header"}, Cut{30, "info header"}, Cut{54 + 500, "colour table"},
                    Cut{1078, "before the rows"}, Cut{1078 + 8 + 3, "inside a row"},
                    Cut{whole.size() - 1, "the last row's padding"}}) {
        ASSERT_TRUE(load(testbmp::pattern(4, 2)));  // an earlier picture
        EXPECT_FALSE(loadBytes(std::vector<uint8_t>(whole.begin(), whole.begin() + cut.length))) << cut.where;
        EXPECT_EQ(image.pixels, nullptr) << cut.where;
    }
    EXPECT_TRUE(loadBytes(whole));
}

TEST_F(BitmapLoadTest, PaletteColorIsAColorrefOfTheEntryAndBlackOutsideTheTable) {
    testbmp::Picture picture = testbmp::pattern(1, 1);
    picture.palette[0] = {0x12, 0x34, 0x56};
    picture.palette[255] = {1, 2, 3};
    ASSERT_TRUE(load(picture));
    EXPECT_EQ(image.paletteColor(0), 0x563412u);
    EXPECT_EQ(image.paletteColor(255), 0x030201u);
    EXPECT_EQ(image.paletteColor(256), 0u);
    EXPECT_EQ(image.paletteColor(-1), 0u);
}

}  // namespace
