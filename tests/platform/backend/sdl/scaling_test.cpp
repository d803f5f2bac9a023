// Where the 640 x 480 picture lands on screens and windows of every shape.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/placement.h"

using qmp::fitPicture;
using qmp::outputToPicture;
using qmp::Point;
using qmp::Rect;

TEST(SdlScaling, CommonScreensGetTheLargestWholeFactor) {
    struct Case {
        int w, h;
        Rect expected;
    } cases[] = {
        {640, 480, {0, 0, 640, 480}},        {800, 600, {80, 60, 640, 480}},
        {1024, 768, {192, 144, 640, 480}},   {1280, 960, {0, 0, 1280, 960}},
        {1280, 1024, {0, 32, 1280, 960}},    {1366, 768, {363, 144, 640, 480}},
        {1920, 1080, {320, 60, 1280, 960}},  {1920, 1200, {320, 120, 1280, 960}},
        {2560, 1440, {320, 0, 1920, 1440}},  {3840, 2160, {640, 120, 2560, 1920}},
        {1279, 959, {319, 239, 640, 480}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fitPicture(c.w, c.h, 640, 480), c.expected) << c.w << "x" << c.h;
}

TEST(SdlScaling, ASmallerWindowShrinksThePictureWithItsShape) {
    EXPECT_EQ(fitPicture(320, 240, 640, 480), (Rect{0, 0, 320, 240}));
    EXPECT_EQ(fitPicture(400, 480, 640, 480), (Rect{0, 90, 400, 300})) << "too narrow: bars above and below";
    EXPECT_EQ(fitPicture(640, 200, 640, 480), (Rect{187, 0, 266, 200})) << "too low: bars left and right";
    EXPECT_EQ(fitPicture(639, 480, 640, 480), (Rect{0, 0, 639, 479}));
    EXPECT_EQ(fitPicture(1, 1, 640, 480), (Rect{0, 0, 1, 1})) << "never smaller than a pixel";
}

TEST(SdlScaling, NothingToPlaceOnAnEmptyOutputOrPicture) {
    EXPECT_EQ(fitPicture(0, 768, 640, 480), Rect{});
    EXPECT_EQ(fitPicture(1024, -1, 640, 480), Rect{});
    EXPECT_EQ(fitPicture(1024, 768, 0, 480), Rect{});
    EXPECT_EQ(fitPicture(1024, 768, 640, 0), Rect{});
}

TEST(SdlScaling, EverySizeGetsACentredPictureOfTheRightShapeInsideTheOutput) {
    for (int w = 1; w <= 3000; w += 37) {
        for (int h = 1; h <= 2200; h += 29) {
            const Rect r = fitPicture(w, h, 640, 480);
            SCOPED_TRACE(testing::Message() << w << "x" << h);
            ASSERT_GT(r.w, 0);
            ASSERT_GT(r.h, 0);
            ASSERT_GE(r.x, 0);
            ASSERT_GE(r.y, 0);
            ASSERT_LE(r.x + r.w, w);
            ASSERT_LE(r.y + r.h, h);
            // Centred: the bars on either side differ by at most one pixel.
            ASSERT_LE(std::abs((w - r.x - r.w) - r.x), 1);
            ASSERT_LE(std::abs((h - r.y - r.h) - r.y), 1);
            // 4:3 within the rounding of one pixel.
            ASSERT_LE(std::abs(r.w * 3 - r.h * 4), 4);
            // It touches the output on one axis at least, or is a whole multiple.
            const bool whole = r.w % 640 == 0 && r.h == r.w / 640 * 480;
            ASSERT_TRUE(whole || r.w == w || r.h == h);
            if (w >= 640 && h >= 480) {
                ASSERT_TRUE(whole);
                ASSERT_TRUE(r.w + 640 > w || r.h + 480 > h) << "the next factor would fit";
            }
        }
    }
}

TEST(SdlScaling, HugeOutputsDoNotOverflow) {
    const Rect r = fitPicture(2000000000, 2000000000, 640, 480);
    EXPECT_EQ(r.w % 640, 0);
    EXPECT_EQ(r.w / 640 * 480, r.h);
    EXPECT_GE(r.x, 0);
    EXPECT_LE(int64_t(r.y) + r.h, 2000000000);
}

TEST(SdlScaling, OutputPointsMapBackToPicturePixels) {
    const Rect placed = fitPicture(1920, 1080, 640, 480);  // factor 2 at (320, 60)
    EXPECT_EQ(outputToPicture({320, 60}, placed, 640, 480), (Point{0, 0}));
    EXPECT_EQ(outputToPicture({321, 61}, placed, 640, 480), (Point{0, 0}));
    EXPECT_EQ(outputToPicture({322, 61}, placed, 640, 480), (Point{1, 0}));
    EXPECT_EQ(outputToPicture({1599, 1019}, placed, 640, 480), (Point{639, 479}));
    EXPECT_EQ(outputToPicture({319, 500}, placed, 640, 480), std::nullopt) << "left bar";
    EXPECT_EQ(outputToPicture({1600, 500}, placed, 640, 480), std::nullopt) << "right bar";
    EXPECT_EQ(outputToPicture({800, 59}, placed, 640, 480), std::nullopt) << "top bar";
    EXPECT_EQ(outputToPicture({800, 1020}, placed, 640, 480), std::nullopt) << "bottom bar";

    const Rect shrunk = fitPicture(320, 240, 640, 480);
    EXPECT_EQ(outputToPicture({319, 239}, shrunk, 640, 480), (Point{638, 478}));
    EXPECT_EQ(outputToPicture({5, 5}, Rect{}, 640, 480), std::nullopt) << "no picture placed yet";
}
