// "Sprites.bmp" as the demo cuts it: five 90 x 100 frames, nine strips of
// three 49 x 49 frames, and nothing but the key colour elsewhere.
#include <gtest/gtest.h>

#include <vector>

#include "generated_pictures.h"

using namespace tools_test;

namespace {

struct Frame {
    int x, y, w, h;
};

std::vector<Frame> bearerFrames() {
    std::vector<Frame> f;
    for (int i = 0; i < 5; ++i) f.push_back({1 + i * 91, 1, 90, 100});
    return f;
}

// Strip origins in the demo's direction order 0..8.
const int kStrips[9][2] = {{301, 203}, {1, 103}, {151, 103}, {301, 103}, {1, 153},
                           {151, 153}, {301, 153}, {1, 203}, {151, 203}};

std::vector<Frame> strip(int direction) {
    std::vector<Frame> f;
    for (int i = 0; i < 3; ++i) f.push_back({kStrips[direction][0] + i * 50, kStrips[direction][1], 49, 49});
    return f;
}

std::vector<Frame> allFrames() {
    std::vector<Frame> f = bearerFrames();
    for (int d = 0; d < 9; ++d)
        for (const Frame& s : strip(d)) f.push_back(s);
    return f;
}

const Bmp& sheet() { return generatedPictures().sprites; }

int opaqueIn(const Frame& f) {
    int n = 0;
    for (int y = f.y; y < f.y + f.h; ++y)
        for (int x = f.x; x < f.x + f.w; ++x) n += sheet().at(x, y) != kKey;
    return n;
}

std::vector<uint8_t> pixelsOf(const Frame& f) {
    std::vector<uint8_t> out;
    for (int y = f.y; y < f.y + f.h; ++y)
        for (int x = f.x; x < f.x + f.w; ++x) out.push_back(sheet().at(x, y));
    return out;
}

}  // namespace

TEST(SpriteSheet, IsTransparentOutsideTheFrames) {
    std::vector<bool> inFrame(static_cast<size_t>(sheet().width) * sheet().height, false);
    for (const Frame& f : allFrames())
        for (int y = f.y; y < f.y + f.h; ++y)
            for (int x = f.x; x < f.x + f.w; ++x) inFrame[static_cast<size_t>(y) * sheet().width + x] = true;
    int stray = 0;
    for (int y = 0; y < sheet().height; ++y)
        for (int x = 0; x < sheet().width; ++x)
            if (!inFrame[static_cast<size_t>(y) * sheet().width + x] && sheet().at(x, y) != kKey) ++stray;
    EXPECT_EQ(stray, 0);
}

TEST(SpriteSheet, FiguresKeepOffTheirFrameEdges) {
    // A one-pixel ring of key colour inside every frame keeps neighbours apart.
    for (const Frame& f : allFrames()) {
        int touching = 0;
        for (int x = f.x; x < f.x + f.w; ++x) touching += (sheet().at(x, f.y) != kKey) + (sheet().at(x, f.y + f.h - 1) != kKey);
        for (int y = f.y; y < f.y + f.h; ++y) touching += (sheet().at(f.x, y) != kKey) + (sheet().at(f.x + f.w - 1, y) != kKey);
        EXPECT_EQ(touching, 0) << "frame at (" << f.x << "," << f.y << ")";
    }
}

TEST(SpriteSheet, EveryFrameStandsOnItsBottomCentre) {
    // The demo puts a frame's bottom-centre on the actor's point: the figure
    // must be there, not floating or off to a side.
    for (const Frame& f : allFrames()) {
        SCOPED_TRACE("frame at (" + std::to_string(f.x) + "," + std::to_string(f.y) + ")");
        EXPECT_GT(opaqueIn(f), f.w * f.h / 8);
        int lowest = -1;
        long sumX = 0, count = 0;
        for (int y = f.y; y < f.y + f.h; ++y)
            for (int x = f.x; x < f.x + f.w; ++x)
                if (sheet().at(x, y) != kKey) lowest = y - f.y;
        for (int y = f.y + lowest - 5; y <= f.y + lowest; ++y)
            for (int x = f.x; x < f.x + f.w; ++x)
                if (sheet().at(x, y) != kKey) {
                    sumX += x - f.x;
                    ++count;
                }
        EXPECT_GE(lowest, f.h - 8);
        ASSERT_GT(count, 0);
        EXPECT_NEAR(static_cast<double>(sumX) / count, f.w / 2.0, f.w / 8.0);
    }
}

TEST(SpriteSheet, StripsAnimate) {
    // Each loop changes from frame to frame, the walks on all three frames.
    auto frames = bearerFrames();
    for (size_t i = 0; i < frames.size(); ++i)
        EXPECT_NE(pixelsOf(frames[i]), pixelsOf(frames[(i + 1) % frames.size()])) << "torch-bearer frame " << i;
    for (int d = 0; d < 9; ++d) {
        const auto s = strip(d);
        EXPECT_NE(pixelsOf(s[0]), pixelsOf(s[1])) << "direction " << d;
        EXPECT_NE(pixelsOf(s[1]), pixelsOf(s[2])) << "direction " << d;
        if (d != 0) {
            EXPECT_NE(pixelsOf(s[0]), pixelsOf(s[2])) << "direction " << d;
        }
    }
}

TEST(SpriteSheet, EachDirectionHasItsOwnPicture) {
    for (int a = 1; a < 9; ++a)
        for (int b = a + 1; b < 9; ++b) EXPECT_NE(pixelsOf(strip(a)[1]), pixelsOf(strip(b)[1])) << a << " and " << b;
}
