// "MsgWnd.bmp": the demo blends the whole picture over the screen and writes
// the quit prompt centred on it in the default black text.
#include <gtest/gtest.h>

#include "generated_pictures.h"

using namespace tools_test;

TEST(MessagePicture, IsOpaque) {
    const Bmp& m = generatedPictures().message;
    int keyed = 0;
    for (uint8_t p : m.pixels) keyed += p == kKey;
    EXPECT_EQ(keyed, 0) << "AlphaBlend has no colour key: a key pixel would show magenta";
}

TEST(MessagePicture, IsLightWhereTheTextGoes) {
    // The text is about 216 x 16 pixels: keep a light field of 232 x 24 around the centre.
    const Bmp& m = generatedPictures().message;
    const int cx = m.width / 2, cy = m.height / 2;
    for (int y = cy - 12; y < cy + 12; ++y)
        for (int x = cx - 116; x < cx + 116; ++x)
            ASSERT_GE(luma(m.palette[m.at(x, y)]), 150) << "at (" << x << "," << y << ")";
}

TEST(MessagePicture, HasAFrameAroundTheLightField) {
    const Bmp& m = generatedPictures().message;
    long edge = 0, centre = 0;
    for (int x = 0; x < m.width; ++x) edge += luma(m.palette[m.at(x, 0)]) + luma(m.palette[m.at(x, m.height - 1)]);
    for (int x = 0; x < m.width; ++x) centre += luma(m.palette[m.at(x, m.height / 2)]);
    EXPECT_LT(edge / (2 * m.width), centre / m.width - 60);
}
