// The picture on its way to a screen: 8-bit pictures into 32-bit frames with
// what changed, the software scaler's two steps, and the overlay's lines.
#include <gtest/gtest.h>

#include "core/clock.h"
#include "core/frame.h"
#include "core/overlay.h"
#include "core/scaler.h"
#include "support/platform_test.h"

using namespace qmp;

namespace {

Picture patterned(int width, int height) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    for (int i = 0; i < width * height; ++i) picture.indices.push_back(uint8_t(i * 7 + i / width * 13));
    for (int i = 0; i < 256; ++i) picture.palette[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), 0};
    return picture;
}

// Every pixel of the frame is its index's colour.
bool showsPicture(const Frame& frame, const Picture& picture) {
    for (size_t i = 0; i < picture.indices.size(); ++i) {
        const PALETTEENTRY& c = picture.palette[picture.indices[i]];
        if (frame.pixels[i] != frame.format.pack(c.peRed, c.peGreen, c.peBlue)) return false;
    }
    return true;
}

// The whole output of a scaler for the frame.
std::vector<uint32_t> rendered(Scaler& scaler, const Frame& frame, int outW, int outH) {
    std::vector<uint32_t> out(size_t(outW) * size_t(outH), 0);
    scaler.draw(frame, {0, 0, outW, outH}, out.data(), outW);
    return out;
}

Frame greyFrame(int width, int height, uint8_t grey) {
    Frame frame;
    frame.width = width;
    frame.height = height;
    frame.pixels.assign(size_t(width) * size_t(height), frame.format.pack(grey, grey, grey));
    return frame;
}

}  // namespace

TEST(FrameConversion, OnlyThePixelsThatChangedAreConvertedAndMarked) {
    struct Case {
        std::vector<Point> touched;
        std::vector<Rect> marked;
    } cases[] = {
        {{{5, 7}}, {{5, 7, 1, 1}}},
        {{{5, 7}, {9, 8}}, {{5, 7, 5, 2}}},                      // rows one after the other: one band
        {{{5, 7}, {9, 9}}, {{5, 7, 1, 1}, {9, 9, 1, 1}}},        // a row between: two
        {{{0, 0}, {63, 0}, {63, 47}}, {{0, 0, 64, 1}, {63, 47, 1, 1}}},
        {{}, {}},
    };
    const PixelFormat format{0, 8, 16, 0xFF000000u};
    for (const Case& c : cases) {
        Picture picture = patterned(64, 48);
        FrameConverter converter;
        Frame frame;
        converter.convert(picture, format, frame);
        EXPECT_EQ(frame.changed, (std::vector<Rect>{{0, 0, 64, 48}})) << "the first picture: all of it";
        for (const Point& p : c.touched) picture.indices[size_t(p.y * 64 + p.x)] ^= 0x55;
        converter.convert(picture, format, frame);
        EXPECT_EQ(frame.changed, c.marked) << c.touched.size();
        EXPECT_TRUE(showsPicture(frame, picture));
    }
    Picture picture = patterned(64, 48);
    FrameConverter converter;
    Frame frame;
    converter.convert(picture, format, frame);
    picture.palette[200].peRed ^= 1;
    converter.convert(picture, format, frame);
    EXPECT_EQ(frame.changed, (std::vector<Rect>{{0, 0, 64, 48}})) << "a new palette changes every pixel";
    EXPECT_TRUE(showsPicture(frame, picture));
}

// For each mode and output: how much of the output each picture column (and
// row) covers, and how many output pixels mix it with a neighbour. Fit must
// give every pixel the same share, mixing only at its edges.
TEST(SoftwareScaling, EveryPictureColumnAndRowGetsTheSameShareWithSharpEdges) {
    struct Case {
        int outW, outH;
        ScaleMode mode;
        int mixedAtMost;  // per picture pixel
    } cases[] = {
        {1920, 1080, ScaleMode::Fit, 2},      {1024, 768, ScaleMode::Fit, 2},     {1366, 768, ScaleMode::Fit, 2},
        {1280, 800, ScaleMode::Fit, 2},       {1920, 1080, ScaleMode::Integer, 0}, {1920, 1080, ScaleMode::Stretch, 2},
        {640, 480, ScaleMode::Fit, 0},
    };
    constexpr int kW = 640, kH = 480;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.outW << "x" << c.outH << " " << scaleModeName(c.mode));
        const Placement placement = placePicture(c.outW, c.outH, kW, kH, c.mode);
        Scaler scaler;
        scaler.prepare(kW, kH, placement);
        const Rect& t = placement.target;
        for (int axis = 0; axis < 2; ++axis) {
            const int count = axis == 0 ? kW : kH;
            const double share = double(axis == 0 ? t.w : t.h) / count;
            const int length = axis == 0 ? t.w : t.h;
            // One output row (column) across the middle of the target.
            const Rect line = axis == 0 ? Rect{t.x, t.y + t.h / 2, t.w, 1} : Rect{t.x + t.w / 2, t.y, 1, t.h};
            std::vector<uint32_t> canvas(size_t(c.outW) * size_t(c.outH), 0);
            for (int i = 0; i < count; i += 7) {  // a lit column (row) on black
                Frame frame = greyFrame(kW, kH, 0);
                for (int j = 0; j < (axis == 0 ? kH : kW); ++j)
                    (axis == 0 ? frame.row(j)[i] : frame.row(i)[j]) = frame.format.pack(255, 255, 255);
                scaler.draw(frame, line, canvas.data(), c.outW);
                double covered = 0;
                int mixed = 0;
                for (int k = 0; k < length; ++k) {
                    const int x = axis == 0 ? t.x + k : line.x;
                    const int y = axis == 0 ? line.y : t.y + k;
                    const int red = frame.format.red(canvas[size_t(y) * size_t(c.outW) + size_t(x)]);
                    covered += red / 255.0;
                    mixed += red > 0 && red < 255;
                }
                ASSERT_NEAR(covered, share, 0.01) << (axis == 0 ? "column " : "row ") << i;
                ASSERT_LE(mixed, c.mixedAtMost) << (axis == 0 ? "column " : "row ") << i;
            }
        }
    }
}

TEST(SoftwareScaling, DrawingOnlyWhatAChangeReachesGivesTheWholeDrawing) {
    struct Case {
        int outW, outH;
        ScaleMode mode;
        Rect change;
    } cases[] = {
        {1920, 1080, ScaleMode::Fit, {100, 200, 3, 2}},  {1366, 768, ScaleMode::Fit, {0, 0, 1, 1}},
        {1366, 768, ScaleMode::Fit, {639, 479, 1, 1}},   {1920, 1080, ScaleMode::Stretch, {320, 0, 320, 1}},
        {1280, 960, ScaleMode::Integer, {10, 470, 630, 10}}, {320, 240, ScaleMode::Fit, {1, 1, 5, 5}},
        {640, 480, ScaleMode::Fit, {7, 9, 11, 13}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.outW << "x" << c.outH << " " << scaleModeName(c.mode));
        Scaler scaler;
        scaler.prepare(640, 480, placePicture(c.outW, c.outH, 640, 480, c.mode));
        Frame frame = greyFrame(640, 480, 0);
        for (size_t i = 0; i < frame.pixels.size(); ++i) frame.pixels[i] = uint32_t(i * 2654435761u) | 0xFF000000u;
        std::vector<uint32_t> out = rendered(scaler, frame, c.outW, c.outH);
        for (int y = c.change.y; y < c.change.y + c.change.h; ++y)
            for (int x = c.change.x; x < c.change.x + c.change.w; ++x) frame.row(y)[x] ^= 0x00FFFFFFu;
        const Rect reached = scaler.outputRect(c.change);
        scaler.draw(frame, reached, out.data(), c.outW);
        EXPECT_EQ(out, rendered(scaler, frame, c.outW, c.outH));
    }
}

using OverlayTest = PlatformTest;

TEST_F(OverlayTest, MessagesStayThreeSecondsFadingInTheLastAndTheNewestThreeAreKept) {
    clock::set(1000);
    overlay::say("Screenshot saved: Quillmere-0001.png");
    struct Step {
        uint32_t at;
        int opacity;  // -1: gone
        std::optional<uint32_t> nextChange;
    } steps[] = {
        {1000, 255, 3000}, {2999, 255, 3000}, {3000, 255, 3100}, {3100, 229, 3200},
        {3950, 25, 4000},  {4000, -1, std::nullopt},
    };
    for (const Step& step : steps) {
        clock::set(step.at);
        const std::vector<OverlayLine> lines = overlay::lines(step.at);
        EXPECT_EQ(lines.empty() ? -1 : lines[0].opacity, step.opacity) << step.at;
        EXPECT_EQ(overlay::nextChange(step.at), step.nextChange) << step.at;
    }
    for (const char* text : {"one", "two", "three", "four"}) overlay::say(text);
    const std::vector<OverlayLine> lines = overlay::lines(clock::now());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, U"two");
    EXPECT_EQ(lines[2].text, U"four");
}

TEST_F(OverlayTest, TheRateLineSitsTopRightAndMessagesBottomLeftInsideTheOutput) {
    overlay::setShowFps(true);
    overlay::say("first");
    overlay::say("a second, longer message");
    for (auto [w, h] : {std::pair{1920, 1080}, {640, 480}, {3840, 2160}, {100, 30}}) {
        const std::vector<OverlayLine> lines = overlay::lines(clock::now());
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_TRUE(lines[0].topRight);
        const std::vector<overlay::Stamp> stamps = overlay::layOut(lines, w, h);
        for (const overlay::Stamp& s : stamps) {
            EXPECT_TRUE(s.at.x >= 0 && s.at.y >= 0 && s.at.x + s.at.w <= w && s.at.y + s.at.h <= h) << w;
            EXPECT_EQ(s.pixels.size(), size_t(s.at.w) * size_t(s.at.h));
        }
        if (h < 100) continue;  // too low for all three: some are left out
        ASSERT_EQ(stamps.size(), 3u);
        EXPECT_EQ(stamps[0].at.x + stamps[0].at.w + stamps[0].at.y, w) << "top right, as far in as down";
        EXPECT_LT(stamps[1].at.y + stamps[1].at.h, stamps[2].at.y) << "older above newer, apart";
        EXPECT_EQ(stamps[2].at.x + stamps[2].at.y + stamps[2].at.h, h) << "bottom left";
    }
}
