// The translucent copy through the BlendTable and the in-place smoothing filter.
#include <gtest/gtest.h>

#include <random>

#include "app/startup.h"
#include "display/smoothing.h"
#include "display/translucency.h"
#include "support/surface_test.h"

namespace {

class TranslucentCopyTest : public SurfaceTest {
protected:
    void SetUp() override {
        SurfaceTest::SetUp();
        // A table whose every entry tells its row and column apart.
        for (int i = 0; i < 65536; ++i) BlendTable[i] = static_cast<uint8_t>((i >> 8) * 3 + (i & 0xFF) * 5 + 1);
        source = makeSurface(5, 4);
        target = makeSurface(10, 7);  // pitch 12: two padding bytes per row
        std::vector<uint8_t> values(20);
        for (int i = 0; i < 20; ++i) values[i] = static_cast<uint8_t>(40 + i);
        values[7] = 253;
        setPixels(source, values);
        fill(target, 0);
        std::vector<uint8_t> background(70);
        for (int i = 0; i < 70; ++i) background[i] = static_cast<uint8_t>(100 + i);
        setPixels(target, background);
    }

    // What the copy must leave: source pixel (k, r) over target (x + k, y + r)
    // wherever both lie inside their surfaces and the source is not 253; the
    // padding bytes keep their value.
    std::vector<uint8_t> expected(int32_t x, int32_t y, int32_t width, int32_t height) {
        int32_t pitch = 0;
        std::vector<uint8_t> result = memory(target, &pitch);
        std::vector<uint8_t> s = pixels(source);
        for (int32_t r = 0; r < height && r < 4; ++r) {
            for (int32_t k = 0; k < width && k < 5; ++k) {
                int64_t tx = int64_t{x} + k, ty = int64_t{y} + r;
                if (tx < 0 || ty < 0 || tx >= 10 || ty >= 7) continue;
                uint8_t value = s[r * 5 + k];
                if (value == 253) continue;
                uint8_t& t = result[ty * pitch + tx];
                t = BlendTable[value * 256 + t];
            }
        }
        return result;
    }

    LPDIRECTDRAWSURFACE source = nullptr;
    LPDIRECTDRAWSURFACE target = nullptr;
};

TEST_F(TranslucentCopyTest, EachSourcePixelPicksTheRowAndTheTargetPixelTheColumn) {
    ASSERT_TRUE(translucentCopy(target, 2, 1, source, 5, 4));
    EXPECT_EQ(pixel(target, 2, 1), BlendTable[40 * 256 + 112]);
    EXPECT_EQ(pixel(target, 4, 2), 114 + 10);  // under the 253 at source (2, 1)
    EXPECT_EQ(pixel(target, 6, 4), BlendTable[59 * 256 + 146]);
    EXPECT_EQ(pixel(target, 7, 4), 147);
}

TEST_F(TranslucentCopyTest, AnAllTransparentSourceLeavesTheTarget) {
    fill(source, 253);
    std::vector<uint8_t> before = memory(target);
    ASSERT_TRUE(translucentCopy(target, 0, 0, source, 5, 4));
    EXPECT_EQ(memory(target), before);
}

TEST_F(TranslucentCopyTest, RectanglesAreClippedAtEveryEdgeOfBothSurfaces) {
    struct Place {
        int32_t x, y, width, height;
    };
    for (Place p : {Place{-2, 1, 5, 4}, Place{1, -3, 5, 4}, Place{7, 2, 5, 4}, Place{3, 5, 5, 4}, Place{-4, -3, 5, 4},
                    Place{8, 6, 5, 4}, Place{10, 0, 5, 4}, Place{0, 7, 5, 4}, Place{-5, 0, 5, 4}, Place{2, 2, 9, 9},
                    Place{0, 0, 3, 2}, Place{INT32_MIN, 0, 5, 4}, Place{INT32_MAX, INT32_MAX, 5, 4}}) {
        SetUp();
        std::vector<uint8_t> want = expected(p.x, p.y, p.width, p.height);
        ASSERT_TRUE(translucentCopy(target, p.x, p.y, source, p.width, p.height)) << p.x << "," << p.y;
        EXPECT_EQ(memory(target), want) << p.x << "," << p.y << " " << p.width << "x" << p.height;
    }
}

// Rows long enough for the copy's sixteen-pixel blocks and their tails, dense,
// sparse and random, against the copy written out pixel by pixel.
TEST_F(TranslucentCopyTest, WideRowsMatchThePixelByPixelCopy) {
    LPDIRECTDRAWSURFACE wide = makeSurface(45, 6), under = makeSurface(50, 9);
    for (int seeInTen : {0, 9, 5}) {
        std::mt19937 random(static_cast<uint32_t>(seeInTen));
        std::vector<uint8_t> s(45 * 6), t(50 * 9);
        for (uint8_t& v : s) v = static_cast<int>(random() % 10) < seeInTen ? 253 : static_cast<uint8_t>(random());
        for (uint8_t& v : t) v = static_cast<uint8_t>(random());
        for (int32_t x : {3, -7, 20}) {
            setPixels(wide, s);
            setPixels(under, t);
            std::vector<uint8_t> want = t;
            for (int r = 0; r < 6; ++r) {
                for (int k = std::max(0, -x); k < 45 && x + k < 50; ++k) {
                    if (s[r * 45 + k] != 253) want[(2 + r) * 50 + x + k] = BlendTable[s[r * 45 + k] * 256 + t[(2 + r) * 50 + x + k]];
                }
            }
            ASSERT_TRUE(translucentCopy(under, x, 2, wide, 45, 6));
            EXPECT_EQ(pixels(under), want) << seeInTen << " at " << x;
        }
    }
}

TEST_F(TranslucentCopyTest, EmptyRectanglesCopyNothingAndSucceed) {
    std::vector<uint8_t> before = memory(target);
    EXPECT_TRUE(translucentCopy(target, 1, 1, source, 0, 4));
    EXPECT_TRUE(translucentCopy(target, 1, 1, source, 5, -1));
    EXPECT_EQ(memory(target), before);
}

TEST_F(TranslucentCopyTest, AFailingLockWritesNothingAndLeavesNoLockHeld) {
    std::vector<uint8_t> before = memory(target);
    platform::failCall("IDirectDrawSurface::Lock", 1);
    EXPECT_FALSE(translucentCopy(target, 0, 0, source, 5, 4));
    platform::failCall("IDirectDrawSurface::Lock", 2);  // the target's
    EXPECT_FALSE(translucentCopy(target, 0, 0, source, 5, 4));
    EXPECT_EQ(memory(target), before);
    EXPECT_EQ(memory(source).size(), 8u * 4);  // the source can be locked again
}

class SmoothCanvasTest : public SurfaceTest {
protected:
    void SetUp() override {
        SurfaceTest::SetUp();
        fillSmoothingTable();
        canvas = makeSurface(640, 480);
    }
    // The filter written out over a copy: in place, top to bottom, left to right.
    static std::vector<uint8_t> reference(std::vector<uint8_t> p) {
        for (int y = 1; y < 479; ++y) {
            for (int x = 1; x < 639; ++x) {
                if (p[y * 640 + x] == 0) continue;
                int sum = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        if (dx || dy) sum += p[(y + dy) * 640 + x + dx];
                    }
                }
                p[y * 640 + x] = static_cast<uint8_t>(sum / 8);
            }
        }
        return p;
    }
    LPDIRECTDRAWSURFACE canvas = nullptr;
};

TEST_F(SmoothCanvasTest, ZeroStaysZeroALonePixelVanishesAndAnEvenAreaKeepsItsValue) {
    EXPECT_EQ(smoothCanvas(canvas), DD_OK);
    EXPECT_EQ(pixels(canvas), std::vector<uint8_t>(640 * 480, 0));

    std::vector<uint8_t> lone(640 * 480, 0);
    lone[100 * 640 + 100] = 255;
    setPixels(canvas, lone);
    smoothCanvas(canvas);
    EXPECT_EQ(pixel(canvas, 100, 100), 0);

    fill(canvas, 200);
    smoothCanvas(canvas);
    EXPECT_EQ(pixels(canvas), std::vector<uint8_t>(640 * 480, 200));
}

TEST_F(SmoothCanvasTest, NeighboursAlreadySmoothedInThisPassCount) {
    std::vector<uint8_t> p(640 * 480, 0);
    p[1 * 640 + 1] = 8;
    p[1 * 640 + 2] = 8;
    setPixels(canvas, p);
    smoothCanvas(canvas);
    EXPECT_EQ(pixel(canvas, 1, 1), 1);  // 8 / 8 from its right neighbour
    EXPECT_EQ(pixel(canvas, 2, 1), 0);  // its left neighbour is already 1
}

TEST_F(SmoothCanvasTest, RandomPicturesMatchTheFilterWrittenOutAndTheBordersStay) {
    // Dense pictures, and sparse ones like the fireworks canvas, whose long
    // black runs end at every offset and reach the rows' last pixels.
    for (int zeroInTen : {3, 9}) {
        SCOPED_TRACE(zeroInTen);
        std::mt19937 random(3 + zeroInTen);
        std::vector<uint8_t> p(640 * 480);
        for (uint8_t& v : p) v = (static_cast<int>(random() % 10) < zeroInTen) ? 0 : static_cast<uint8_t>(random());
        setPixels(canvas, p);
        ASSERT_EQ(smoothCanvas(canvas), DD_OK);
        std::vector<uint8_t> after = pixels(canvas);
        EXPECT_EQ(after, reference(p));
        for (int x = 0; x < 640; ++x) {
            EXPECT_EQ(after[x], p[x]);
            EXPECT_EQ(after[479 * 640 + x], p[479 * 640 + x]);
        }
        for (int y = 0; y < 480; ++y) {
            EXPECT_EQ(after[y * 640], p[y * 640]);
            EXPECT_EQ(after[y * 640 + 639], p[y * 640 + 639]);
        }
    }
}

// The fast filter against the plain one: dense, sparse and random pictures, and
// runs with black between them; the fireworks' size and smaller ones whose rows
// end inside their pitch or at the very end of the memory, widths below the
// fast filter's least, and a table that does not hold eighths.
TEST_F(SmoothCanvasTest, TheFastFilterMatchesThePlainOneOnEveryKindOfPicture) {
    struct Case {
        int width, height, pitch, zeroInTen;
        bool runs = false, oddTable = false;
    };
    for (Case c : {Case{640, 480, 640, 0}, Case{640, 480, 640, 3}, Case{640, 480, 640, 9}, Case{640, 480, 640, 6, true},
                   Case{100, 37, 104, 5}, Case{64, 9, 64, 2, true}, Case{65, 8, 68, 7}, Case{63, 20, 64, 1},
                   Case{18, 4, 20, 0}, Case{640, 20, 640, 4, false, true}}) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " pitch " << c.pitch << " zeros "
                                        << c.zeroInTen << (c.runs ? " runs" : "") << (c.oddTable ? " odd table" : ""));
        for (int i = 0; i < 2048; ++i) SmoothingTable[i] = static_cast<uint8_t>(c.oddTable ? i * 7 : i >> 3);
        std::mt19937 random(static_cast<uint32_t>(c.width * 31 + c.height + c.zeroInTen));
        std::vector<uint8_t> picture(static_cast<size_t>(c.pitch) * c.height);
        for (size_t i = 0; i < picture.size(); ++i) {
            const bool black = c.runs ? (i / 7 + i / 3000) % 10 < static_cast<size_t>(c.zeroInTen)
                                      : static_cast<int>(random() % 10) < c.zeroInTen;
            picture[i] = black ? 0 : static_cast<uint8_t>(random());
        }
        std::vector<uint8_t> fast = picture, plain = picture;
        smoothPixels(fast.data(), c.pitch, c.width, c.height);
        smoothPixelsPlain(plain.data(), c.pitch, c.width, c.height);
        EXPECT_EQ(fast, plain);
    }
}

TEST_F(SmoothCanvasTest, AFailingLockIsReportedAndWritesNothing) {
    fill(canvas, 9);
    platform::failCall("IDirectDrawSurface::Lock", 1, DDERR_SURFACELOST);
    EXPECT_EQ(smoothCanvas(canvas), DDERR_SURFACELOST);
    EXPECT_EQ(pixel(canvas, 5, 5), 9);
}

TEST_F(SmoothCanvasTest, ASurfaceSmallerThanTheScreenIsSmoothedInsideItself) {
    LPDIRECTDRAWSURFACE small = makeSurface(30, 20);  // pitch 32
    fill(small, 77);
    ASSERT_EQ(smoothCanvas(small), DD_OK);
    int32_t pitch = 0;
    std::vector<uint8_t> bytes = memory(small, &pitch);
    EXPECT_EQ(bytes, std::vector<uint8_t>(static_cast<size_t>(pitch) * 20, 77));
}

}  // namespace
