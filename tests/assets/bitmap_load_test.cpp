// Reading BMP files: row padding, row order, the depths and compressions read,
// those refused, sizes, and broken files and streams.
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

// The pattern with indices that fit `bits`, and a colour table of that size.
testbmp::Picture patternAt(int32_t width, int32_t height, int bits) {
    testbmp::Picture picture = testbmp::pattern(width, height);
    for (uint8_t& index : picture.pixels) index = static_cast<uint8_t>(index % (1u << bits));
    picture.palette.resize(size_t{1} << bits);
    picture.bitCount = static_cast<uint16_t>(bits);
    return picture;
}

TEST_F(BitmapLoadTest, EveryDepthCompressionAndRowOrderGivesTheSamePicture) {
    struct Variant {
        const char* name;
        int bits;
        uint32_t compression;
        bool topDown;
        uint32_t infoSize;
    };
    const Variant variants[] = {{"8-bit", 8, 0, false, 40},       {"8-bit top-down", 8, 0, true, 40},
                                {"8-bit, V5 header", 8, 0, false, 124}, {"8-bit, V4 header", 8, 0, false, 108},
                                {"4-bit", 4, 0, false, 40},       {"4-bit top-down", 4, 0, true, 40},
                                {"1-bit", 1, 0, false, 40},       {"RLE8", 8, 1, false, 40},
                                {"RLE4", 4, 2, false, 124}};
    for (const Variant& v : variants) {
        for (int32_t width : {1, 3, 5, 8, 9, 33, 300}) {
            testbmp::Picture picture = patternAt(width, 7, v.bits);
            picture.topDown = v.topDown;
            picture.infoSize = v.infoSize;
            picture.palette[1] = {30, 20, 10};
            if (v.compression != 0) {
                picture.compression = v.compression;
                picture.data = testbmp::runLengthEncode(picture, v.bits);
            }
            ASSERT_TRUE(load(picture)) << v.name << ", width " << width;
            ASSERT_EQ(image.width(), width);
            ASSERT_EQ(image.height(), 7) << v.name;
            for (int32_t y = 0; y < 7; ++y)
                for (int32_t x = 0; x < width; ++x)
                    ASSERT_EQ(at(x, y), picture.pixels[y * width + x]) << v.name << " width " << width << " at " << x << "," << y;
            EXPECT_EQ(image.palette[1].rgbRed, 30) << v.name;
            EXPECT_EQ(image.palette[1].rgbBlue, 10) << v.name;
            if (v.bits < 8) {
                const testbmp::Colour last = picture.palette.back();
                EXPECT_EQ(image.paletteColor((1 << v.bits) - 1), RGB(last.red, last.green, last.blue)) << v.name;
                EXPECT_EQ(image.paletteColor(200), 0u) << v.name << ": entries the file does not give are black";
            }
        }
    }
}

TEST_F(BitmapLoadTest, OtherDepthsCompressionsAndHeadersAreRefused) {
    struct Refused {
        const char* name;
        int bits;
        uint32_t compression;
        bool topDown;
        uint32_t infoSize;
        int64_t clrUsed;
    };
    const Refused cases[] = {
        {"16-bit", 16, 0, false, 40, 0},          {"24-bit", 24, 0, false, 40, 0},
        {"32-bit", 32, 0, false, 40, 0},          {"2-bit", 2, 0, false, 40, 0},
        {"bit fields", 8, 3, false, 40, -1},      {"JPEG inside", 8, 4, false, 40, -1},
        {"PNG inside", 8, 5, false, 40, -1},      {"RLE8 on 4 bits", 4, 1, false, 40, -1},
        {"RLE4 on 8 bits", 8, 2, false, 40, -1},  {"top-down RLE8", 8, 1, true, 40, -1},
        {"OS/2 header (12)", 8, 0, false, 12, -1}, {"OS/2 2.x header (64)", 8, 0, false, 64, -1},
        {"header of 41", 8, 0, false, 41, -1},    {"17 colours on 4 bits", 4, 0, false, 40, 17},
        {"257 colours", 8, 0, false, 40, 257},
    };
    for (const Refused& c : cases) {
        testbmp::Picture picture = patternAt(4, 4, c.bits <= 8 ? c.bits : 8);
        picture.bitCount = static_cast<uint16_t>(c.bits);
        picture.compression = c.compression;
        picture.topDown = c.topDown;
        picture.infoSize = c.infoSize;
        picture.clrUsed = c.clrUsed;
        if (c.compression == 1 || c.compression == 2) picture.data = testbmp::runLengthEncode(picture, 8);
        else if (c.compression != 0) picture.data.assign(64, 0);
        EXPECT_FALSE(load(picture)) << c.name;
        EXPECT_EQ(image.pixels, nullptr) << c.name;
    }
}

TEST_F(BitmapLoadTest, ThePixelOffsetIsFollowedAndMayNotPointIntoTheHeaders) {
    std::vector<uint8_t> bytes = testbmp::encode(testbmp::pattern(4, 2));
    auto withOffset = [&](uint32_t offset, size_t gap) {
        std::vector<uint8_t> moved = bytes;
        for (int i = 0; i < 4; ++i) moved[10 + i] = static_cast<uint8_t>(offset >> (8 * i));
        moved.insert(moved.begin() + 1078, gap, 0x77);
        return moved;
    };
    EXPECT_TRUE(loadBytes(withOffset(1078 + 6, 6))) << "a gap before the rows";
    EXPECT_EQ(at(0, 0), 0);
    EXPECT_EQ(at(3, 1), 16 + 3);
    EXPECT_TRUE(loadBytes(withOffset(0, 0))) << "no offset: the rows follow the colour table";
    EXPECT_FALSE(loadBytes(withOffset(1077, 0))) << "an offset inside the colour table";
    EXPECT_FALSE(loadBytes(withOffset(0xFFFFFFF0, 0))) << "an offset past the end";
}

TEST_F(BitmapLoadTest, BrokenRunLengthStreamsAreRefusedAndSkippedPixelsAreZero) {
    using Bytes = std::vector<uint8_t>;
    struct Stream {
        const char* name;
        int bits;
        Bytes data;
        bool loads;
    };
    // A 4 x 2 picture: the first pair of bytes writes into the bottom row.
    const Stream streams[] = {
        {"a run to the row's end", 8, {4, 9, 0, 0, 4, 9, 0, 1}, true},
        {"the end mark early", 8, {2, 9, 0, 1}, true},
        {"a jump over pixels", 8, {1, 9, 0, 2, 2, 1, 1, 9, 0, 1}, true},
        {"a run past the row's end", 8, {5, 9, 0, 1}, false},
        {"a literal past the row's end", 8, {0, 5, 1, 2, 3, 4, 5, 0, 0, 1}, false},
        {"a line past the last row", 8, {0, 0, 0, 0, 0, 0, 0, 1}, false},
        {"a run on the row past the last", 8, {0, 0, 0, 0, 1, 9, 0, 1}, false},
        {"a jump out of the picture", 8, {0, 2, 5, 0, 0, 1}, false},
        {"a jump past the last row", 8, {0, 2, 0, 2, 0, 1}, false},
        {"no end mark", 8, {4, 9, 0, 0, 4, 9, 0, 0}, false},
        {"ends inside a jump", 8, {0, 2, 1}, false},
        {"ends inside a literal", 8, {0, 3, 1, 2}, false},
        {"a literal without its padding byte", 8, {0, 3, 1, 2, 3}, false},
        {"empty", 8, {}, false},
        {"RLE4: a run of 4 nibbles", 4, {4, 0x12, 0, 1}, true},
        {"RLE4: a literal past the row", 4, {0, 5, 0x12, 0x34, 0x50, 0, 0, 1}, false},
        {"RLE4: ends inside a literal", 4, {0, 4, 0x12}, false},
    };
    for (const Stream& s : streams) {
        testbmp::Picture picture = patternAt(4, 2, s.bits);
        picture.compression = s.bits == 8 ? 1 : 2;
        picture.data = s.data;
        EXPECT_EQ(load(picture), s.loads) << s.name;
    }
    testbmp::Picture picture = patternAt(4, 2, 8);
    picture.compression = 1;
    picture.data = streams[2].data;  // 9 at (0, bottom), a jump 2 right and 1 up, 9 at (3, top)
    ASSERT_TRUE(load(picture));
    EXPECT_EQ(at(0, 1), 9);
    EXPECT_EQ(at(1, 1), 0);
    EXPECT_EQ(at(3, 0), 9);
    EXPECT_EQ(at(2, 0), 0);
    picture = patternAt(4, 2, 4);
    picture.compression = 2;
    picture.data = streams[14].data;
    ASSERT_TRUE(load(picture));
    EXPECT_EQ(at(0, 1), 1);
    EXPECT_EQ(at(1, 1), 2);
    EXPECT_EQ(at(3, 1), 2);
}

TEST_F(BitmapLoadTest, ACompressedFileCutAnywhereFailsToLoad) {
    testbmp::Picture picture = testbmp::pattern(9, 5);
    picture.compression = 1;
    picture.data = testbmp::runLengthEncode(picture, 8);
    picture.data.resize(picture.data.size() + 3, 0);  // bytes after the end mark are not read
    std::vector<uint8_t> whole = testbmp::encode(picture);
    for (size_t length = 0; length < whole.size() - 3; ++length)
        EXPECT_FALSE(loadBytes(std::vector<uint8_t>(whole.begin(), whole.begin() + length))) << "cut at " << length;
    EXPECT_TRUE(loadBytes(whole));
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
