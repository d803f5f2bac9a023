// GDI shapes, text and the message window on 8-bit surfaces with a palette.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "assets/bitmap.h"
#include "display/display.h"
#include "display/drawing.h"
#include "display/text.h"
#include "support/bmp_file.h"
#include "support/surface_test.h"

namespace {

constexpr uint8_t RED = 250, CYAN = 251, BLUE = 252, GREEN = 254;

class DrawingTest : public SurfaceTest {
protected:
    void SetUp() override {
        SurfaceTest::SetUp();
        for (int i = 0; i < 256; ++i) colours[i] = PALETTEENTRY{BYTE(i / 2), BYTE(i / 2), BYTE(i / 2), 0};
        colours[RED] = {255, 0, 0, 0};
        colours[CYAN] = {0, 255, 255, 0};
        colours[BLUE] = {0, 0, 255, 0};
        colours[253] = {255, 0, 255, 0};
        colours[GREEN] = {0, 255, 0, 0};
        colours[255] = {255, 255, 255, 0};
        palette = makePalette(colours);
        surface = makeSurface(200, 100);
        ASSERT_EQ(surface->SetPalette(palette), DD_OK);
        fill(surface, 100);
        gdiObjects = platform::liveGdiObjects();
    }
    // Every drawing call deletes what it made.
    void TearDown() override {
        EXPECT_EQ(platform::liveGdiObjects(), gdiObjects);
        SurfaceTest::TearDown();
    }
    // The bounding box of the pixels that are no longer `background`, or left > right when none.
    RECT changed(LPDIRECTDRAWSURFACE target, uint8_t background) {
        Locked l = lock(target);
        RECT box{l.width, l.height, -1, -1};
        for (int32_t y = 0; y < l.height; ++y) {
            for (int32_t x = 0; x < l.width; ++x) {
                if (l.bits[y * l.pitch + x] == background) continue;
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
            }
        }
        target->Unlock(nullptr);
        return box;
    }

    PALETTEENTRY colours[256];
    LPDIRECTDRAWPALETTE palette = nullptr;
    LPDIRECTDRAWSURFACE surface = nullptr;
    int gdiObjects = 0;
};

TEST_F(DrawingTest, TextFontHeightIsAtLeastTen) {
    TextFont small(5), ten(10), eleven(11);
    EXPECT_EQ(small.height, 10);
    EXPECT_EQ(ten.height, 10);
    EXPECT_EQ(eleven.height, 11);
    EXPECT_STREQ(eleven.faceName, "Fixedsys");
    EXPECT_NE(eleven.font, nullptr);
    HFONT first = eleven.font;
    eleven.recreate();
    EXPECT_NE(eleven.font, nullptr);
    EXPECT_EQ(platform::liveGdiObjects(), gdiObjects + 3);  // the old font went
    (void)first;
}

TEST_F(DrawingTest, TextShowsOnlyItsGlyphsAlsoWithoutTheFont) {
    {
        TextFont font(10);
        font.drawText("Hi 1", 5, 5, RGB(255, 0, 0), surface);
    }
    std::vector<uint8_t> p = pixels(surface);
    size_t red = std::count(p.begin(), p.end(), RED);
    EXPECT_GT(red, 10u);
    EXPECT_EQ(red + std::count(p.begin(), p.end(), 100), p.size());  // nothing but glyphs and picture
    RECT box = changed(surface, 100);
    EXPECT_GE(box.left, 5);
    EXPECT_GE(box.top, 5);

    fill(surface, 100);
    platform::failCall("CreateFontA", 1);
    TextFont fallback(10);
    EXPECT_EQ(fallback.font, nullptr);
    fallback.drawText("Hi", 5, 5, RGB(0, 0, 255), surface);
    p = pixels(surface);
    EXPECT_GT(std::count(p.begin(), p.end(), BLUE), 0);
}

TEST_F(DrawingTest, ACircleFillsItsBoundingRectangleInOneColour) {
    platform::setCallLogging(true);
    ASSERT_TRUE(fillCircle(surface, 10, 20, 3, RGB(0, 255, 255)));
    std::vector<std::string> calls;
    for (const platform::CallRecord& record : platform::callLog()) calls.push_back(record.name);
    EXPECT_EQ(calls, (std::vector<std::string>{"CreateSolidBrush", "CreatePen", "IDirectDrawSurface::GetDC",
                                               "SelectObject", "SelectObject", "Ellipse",
                                               "IDirectDrawSurface::ReleaseDC", "DeleteObject", "DeleteObject"}));
    RECT box = changed(surface, 100);
    // Inside (7, 17)-(13, 23), the 2-pixel pen's outer half allowed for.
    EXPECT_GE(box.right - box.left, 4);
    EXPECT_GE(box.bottom - box.top, 4);
    EXPECT_GE(box.left, 6);
    EXPECT_GE(box.top, 16);
    EXPECT_LE(box.right, 13);
    EXPECT_LE(box.bottom, 23);
    EXPECT_EQ(pixel(surface, 10, 20), CYAN);
    std::vector<uint8_t> p = pixels(surface);
    EXPECT_EQ(std::count(p.begin(), p.end(), CYAN) + std::count(p.begin(), p.end(), 100), 200 * 100);
}

TEST_F(DrawingTest, LinesOfWidthZeroAreOnePixelWide) {
    ASSERT_TRUE(drawLine(surface, 5, 50, 25, 50, 0, RGB(255, 0, 0)));
    RECT box = changed(surface, 100);
    EXPECT_EQ(box.top, 50);
    EXPECT_EQ(box.bottom, 50);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(pixel(surface, 15, 50), RED);

    fill(surface, 100);
    ASSERT_TRUE(drawLine(surface, 5, 50, 25, 50, 5, RGB(255, 0, 0)));
    box = changed(surface, 100);
    EXPECT_GE(box.bottom - box.top, 3);
}

TEST_F(DrawingTest, APolylineClosesOnlyWhenItsFirstPointIsRepeated) {
    POINT open[4] = {{10, 10}, {40, 10}, {40, 40}, {10, 40}};
    ASSERT_TRUE(drawPolyline(surface, open, 4, RGB(0, 255, 0)));
    EXPECT_EQ(pixel(surface, 25, 10), GREEN);
    EXPECT_EQ(pixel(surface, 10, 25), 100);
    POINT closed[5] = {{10, 10}, {40, 10}, {40, 40}, {10, 40}, {10, 10}};
    ASSERT_TRUE(drawPolyline(surface, closed, 5, RGB(0, 255, 0)));
    EXPECT_EQ(pixel(surface, 10, 25), GREEN);
    EXPECT_EQ(pixel(surface, 25, 25), 100);  // a line, not a filled shape
}

TEST_F(DrawingTest, APolygonIsFilledWithTheBrushInsideTheDefaultPen) {
    POINT square[4] = {{50, 10}, {90, 10}, {90, 50}, {50, 50}};
    ASSERT_TRUE(fillPolygon(surface, square, 4, RGB(0, 0, 255)));
    EXPECT_EQ(pixel(surface, 70, 30), BLUE);
    EXPECT_EQ(pixel(surface, 50, 30), 0);  // the default black pen
    EXPECT_EQ(pixel(surface, 95, 30), 100);
}

TEST_F(DrawingTest, AlphaBlendCopiesAtFullAlphaAndLeavesAtZero) {
    LPDIRECTDRAWSURFACE source = makeSurface(20, 10);
    ASSERT_EQ(source->SetPalette(palette), DD_OK);
    fill(source, RED);
    ASSERT_TRUE(alphaBlendSurface(surface, 30, 40, 20, 10, source, 0, 0, 20, 10, 255));
    EXPECT_EQ(changed(surface, 100).left, 30);
    EXPECT_EQ(changed(surface, 100).bottom, 49);
    EXPECT_EQ(pixel(surface, 49, 49), RED);
    fill(surface, 100);
    ASSERT_TRUE(alphaBlendSurface(surface, 30, 40, 20, 10, source, 0, 0, 20, 10, 0));
    EXPECT_EQ(pixels(surface), std::vector<uint8_t>(200 * 100, 100));
}

TEST_F(DrawingTest, WithoutADeviceContextNothingIsDrawnAndNothingLeaks) {
    platform::failCall("IDirectDrawSurface::GetDC", 1);
    EXPECT_TRUE(fillCircle(surface, 50, 50, 10, RGB(255, 0, 0)));
    platform::failCall("IDirectDrawSurface::GetDC", 1);
    EXPECT_TRUE(drawLine(surface, 0, 0, 50, 50, 3, RGB(255, 0, 0)));
    EXPECT_EQ(pixels(surface), std::vector<uint8_t>(200 * 100, 100));

    // A locked surface lends no context either, as the particles' lock meets it.
    Locked held = lock(surface);
    EXPECT_TRUE(drawLine(surface, 0, 0, 50, 50, 3, RGB(255, 0, 0)));
    EXPECT_EQ(held.bits[10 * held.pitch + 10], 100);
    surface->Unlock(nullptr);
    EXPECT_EQ(pixels(surface), std::vector<uint8_t>(200 * 100, 100));
}

// The quit prompt's window: the message picture blended in, the text centred on it.
class MessageWindowTest : public DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        testbmp::Picture picture;
        picture.width = 60;
        picture.height = 24;
        picture.pixels.assign(60 * 24, 200);
        ASSERT_TRUE(testbmp::writeFile(path, testbmp::encode(picture)));
        ASSERT_TRUE(messageImage.load(path.c_str()));
        ASSERT_TRUE(createOffscreenSurface(false, nullptr, device, messageSurface, 60, 24));
        ASSERT_EQ(messageSurface->SetPalette(palette), DD_OK);
        ASSERT_TRUE(messageImage.copyToSurface(messageSurface));
        gdiObjects = platform::liveGdiObjects();
    }
    void TearDown() override {
        std::remove(path.c_str());
        DrawingTest::TearDown();
    }
    SIZE extent(const char* text) {
        HDC dc = nullptr;
        surface->GetDC(&dc);
        SIZE size{0, 0};
        GetTextExtentPointA(dc, text, static_cast<int>(std::strlen(text)), &size);
        surface->ReleaseDC(dc);
        return size;
    }
    // The bounding box of the text pixels (the default colour, black: index 0).
    RECT textBox() {
        Locked l = lock(surface);
        RECT box{l.width, l.height, -1, -1};
        for (int32_t y = 0; y < l.height; ++y) {
            for (int32_t x = 0; x < l.width; ++x) {
                if (l.bits[y * l.pitch + x] != 0) continue;
                box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x),
                       std::max<LONG>(box.bottom, y)};
            }
        }
        surface->Unlock(nullptr);
        return box;
    }
    std::string path = testbmp::tempPath("MsgWnd.bmp");
};

TEST_F(MessageWindowTest, TheTextIsCentredOnTheWindow) {
    drawMessageWindow(surface, 70, 30, messageSurface, 60, 24, "OK", 255);
    EXPECT_EQ(pixel(surface, 70, 30), 200);
    EXPECT_EQ(pixel(surface, 129, 53), 200);
    EXPECT_EQ(pixel(surface, 69, 30), 100);
    EXPECT_EQ(pixel(surface, 130, 53), 100);
    SIZE size = extent("OK");
    RECT box = textBox();
    ASSERT_LE(box.left, box.right);
    EXPECT_GE(box.left, 70 + (60 - size.cx) / 2);
    EXPECT_LT(box.right, 70 + (60 - size.cx) / 2 + size.cx);
    EXPECT_GE(box.top, 30 + (24 - size.cy) / 2);
}

TEST_F(MessageWindowTest, TextWiderThanTheWindowStartsLeftOfIt) {
    const char* text = "A message far wider than the window";
    SIZE size = extent(text);
    ASSERT_GT(size.cx, 60);
    drawMessageWindow(surface, 70, 30, messageSurface, 60, 24, text, 125);
    RECT box = textBox();
    int32_t start = 70 + (60 - size.cx) / 2;  // negative offset, truncated toward zero
    EXPECT_LT(box.left, 70);
    EXPECT_GE(box.left, start);
    EXPECT_GT(box.right, 130);
    EXPECT_LT(box.right, start + size.cx);
}

// One picture of everything this file draws, to look at.
TEST_F(MessageWindowTest, APictureOfThePrimitives) {
    LPDIRECTDRAWSURFACE picture = makeSurface(320, 200);
    ASSERT_EQ(picture->SetPalette(palette), DD_OK);
    fill(picture, 60);
    POINT star[5] = {{40, 10}, {70, 90}, {5, 40}, {75, 40}, {10, 90}};
    fillPolygon(picture, star, 5, RGB(0, 0, 255));
    POINT outline[5] = {{100, 10}, {180, 10}, {180, 60}, {100, 60}, {100, 10}};
    drawPolyline(picture, outline, 5, RGB(0, 255, 0));
    for (int width = 0; width <= 7; ++width) drawLine(picture, 200, 10 + width * 10, 300, 20 + width * 10, width, RGB(255, 0, 0));
    for (int r = 1; r <= 6; ++r) fillCircle(picture, 20 + r * 25, 120, r * 2, RGB(0, 255, 255));
    TextFont font(10);
    font.drawText("Fixedsys 10: Vec 5", 10, 150, RGB(255, 255, 255), picture);
    drawMessageWindow(picture, 200, 150, messageSurface, 60, 24, "Quit?", 125);

    platform::RgbImage rgb;
    rgb.width = 320;
    rgb.height = 200;
    for (uint8_t index : pixels(picture)) {
        rgb.rgb.insert(rgb.rgb.end(), {colours[index].peRed, colours[index].peGreen, colours[index].peBlue});
    }
    std::string error;
    EXPECT_TRUE(platform::savePng(rgb, QM_RUNTIME_DIR "/display_primitives.png", &error)) << error;
    std::vector<uint8_t> p = pixels(picture);
    for (uint8_t colour : {RED, CYAN, BLUE, GREEN, uint8_t{255}, uint8_t{0}}) {
        EXPECT_GT(std::count(p.begin(), p.end(), colour), 0) << int(colour);
    }
}

}  // namespace
