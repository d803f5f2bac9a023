// The frame passes on a started demo: what each mode moves, what the picture
// holds, the read-out's texts and the minimap's placement.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "actors/actors.h"
#include "actors/particles.h"
#include "app/clock.h"
#include "app/globals.h"
#include "app/passes.h"
#include "app/readout.h"
#include "assets/fades.h"
#include "assets/palettes.h"
#include "display/translucency.h"
#include "display/display.h"
#include "support/demo_startup.h"
#include "support/platform_test.h"
#include "support/test_cave.h"
#include "world/cave.h"

namespace {

// The canvas's bytes, top-down, W x H.
std::vector<uint8_t> canvasPixels() {
    std::vector<uint8_t> pixels(static_cast<size_t>(screenWidth * screenHeight));
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(DDSURFACEDESC);
    if (canvas->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return {};
    for (int y = 0; y < screenHeight; ++y)
        std::memcpy(&pixels[y * screenWidth], static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch, screenWidth);
    canvas->Unlock(nullptr);
    return pixels;
}

int countCalls(const char* name) {
    const auto& log = platform::callLog();
    return static_cast<int>(
        std::count_if(log.begin(), log.end(), [&](const platform::CallRecord& call) { return call.name == name; }));
}

class PassesTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        const char* failed = qmtest::startDemoInProcess();
        ASSERT_EQ(failed, nullptr) << failed;
    }
    static uint8_t indexOf(COLORREF colour) {
        PALETTEENTRY entries[256];
        backPalette->GetEntries(0, 0, 256, entries);
        return nearestPaletteIndex(entries, GetRValue(colour), GetGValue(colour), GetBValue(colour));
    }
    // Pixels of `index` inside [x0, x1) x [y0, y1) of the canvas.
    static int countIndex(const std::vector<uint8_t>& pixels, uint8_t index, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += pixels[y * screenWidth + x] == index;
        return n;
    }
};

TEST_F(PassesTest, OutsideFireworksTheWanderersMoveAndTheParticlesRest) {
    int32_t wandererX = wanderers[0].x;
    int32_t wandererY = wanderers[0].y;
    int32_t particleX = particleBurst.particles[0].x;
    platform::advanceTime(100);
    updatePass();
    EXPECT_TRUE(wanderers[0].x != wandererX || wanderers[0].y != wandererY);
    EXPECT_EQ(particleBurst.particles[0].x, particleX);
}

TEST_F(PassesTest, InFireworksTheWanderersRestButADrivenPlayerMoves) {
    switches.fireworksMode = true;
    player.driveMode = true;
    int32_t wandererX = wanderers[0].x;
    int32_t playerX = player.x;
    int32_t particleX = particleBurst.particles[0].x;
    platform::advanceTime(100);
    updatePass();
    EXPECT_EQ(wanderers[0].x, wandererX);
    EXPECT_NE(player.x, playerX);
    EXPECT_EQ(Quillmere.viewX, player.x);
    EXPECT_NE(particleBurst.particles[0].x, particleX);
}

TEST_F(PassesTest, TheThrottleActsOncePerFrameWhileHeldInDriveMode) {
    player.driveMode = true;
    throttleDirection = -1;
    updatePass();
    updatePass();
    EXPECT_EQ(player.speed, 272);
    throttleDirection = 0;
    updatePass();
    EXPECT_EQ(player.speed, 272);
    player.driveMode = false;
    throttleDirection = 1;
    updatePass();
    EXPECT_EQ(player.speed, 272);
}

TEST_F(PassesTest, InWalkModeOnlyTheArrowsMoveThePlayer) {
    int32_t playerX = player.x;
    platform::advanceTime(1000);
    updatePass();
    EXPECT_EQ(player.x, playerX);
    EXPECT_EQ(player.x, Quillmere.viewX);
    arrowHeld[ARROW_RIGHT] = true;
    updatePass();
    EXPECT_EQ(player.x, Quillmere.viewX);
    EXPECT_NE(player.x, playerX);
}

TEST_F(PassesTest, ADrawPassEndsWithOneCopyToTheBackBuffer) {
    platform::setCallLogging(true);
    EXPECT_TRUE(drawPass());
    EXPECT_EQ(countCalls("IDirectDrawSurface::BltFast"), 1);
    switches.fireworksMode = true;
    platform::clearCallLog();
    EXPECT_TRUE(drawPass());
    EXPECT_EQ(countCalls("IDirectDrawSurface::BltFast"), 1);
    EXPECT_EQ(countCalls("LineTo"), particleBurst.count);  // every particle near the centre is on the screen
}

TEST_F(PassesTest, ACaveThatCannotBeDrawnIsReportedAndTheBackBufferKept) {
    Quillmere.lpBkgSurface[PIECE_FLOOR]->Release();
    Quillmere.lpBkgSurface[PIECE_FLOOR] = nullptr;
    platform::schedule({platform::now(), platform::EventKind::Answer, IDOK, ""});
    platform::schedule({platform::now(), platform::EventKind::Answer, IDOK, ""});
    platform::setCallLogging(true);
    EXPECT_FALSE(drawPass());
    EXPECT_EQ(countCalls("IDirectDrawSurface::BltFast"), 0);
    const auto& boxes = platform::messageBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().text, "Draw World Failed!");
    EXPECT_EQ(boxes.back().caption, "Quillmere.draw..()");
    EXPECT_EQ(boxes.back().type, static_cast<unsigned>(MB_OK));
}

TEST_F(PassesTest, TheReadoutPadsTheViewCentreToFiveColumns) {
    qmtest::buildTestCave({{0, 3}, {2, 5}, {1, 4}, {0, 6}, {3, 7}, {2, 9}, {5, 12}, {4, 10}, {2, 15}}, 20);
    Quillmere.viewX = 3200;
    Quillmere.viewY = 3200;
    hitPoint = {3197, 3203};
    debugId = 8;
    ReadoutText text = formatReadout();
    EXPECT_STREQ(text.lines[0], "R:8   C:10  ( 3200, 3200) - RN:9   CN:20 ");
    EXPECT_STREQ(text.lines[1], "curCol:  2 ~ 15 ");
    EXPECT_STREQ(text.lines[2], "Vec:5  ");
    EXPECT_STREQ(text.lines[3], "Hit: 3197, 3203,  View: 3200, 3200");
    EXPECT_STREQ(text.lines[4], "debugID:8  ");
}

TEST_F(PassesTest, TheReadoutShowsZerosForARowOutsideTheCave) {
    qmtest::buildTestCave({{0, 3}, {2, 5}}, 8);
    Quillmere.viewX = 100;
    Quillmere.viewY = 5000;  // row 12 of 2
    ReadoutText above = formatReadout();
    EXPECT_STREQ(above.lines[1], "curCol:  0 ~ 0  ");
    EXPECT_EQ(std::string(above.lines[0]).substr(0, 6), "R:12  ");
    Quillmere.viewY = -1;  // row -1
    ReadoutText below = formatReadout();
    EXPECT_STREQ(below.lines[1], "curCol:  0 ~ 0  ");
    EXPECT_EQ(std::string(below.lines[0]).substr(0, 6), "R:-1  ");
}

TEST_F(PassesTest, TheReadoutIsDrawnFromRowFifteenInCyanAndRed) {
    switches.hudVisible = true;
    fillSurface(canvas, 0);
    drawHud(canvas);
    std::vector<uint8_t> pixels = canvasPixels();
    uint8_t cyan = indexOf(0x00FFFF00);
    uint8_t red = indexOf(0x000000FF);
    EXPECT_GT(countIndex(pixels, cyan, 5, 15, 640, 35), 20);  // lines 1 and 2
    EXPECT_GT(countIndex(pixels, red, 5, 35, 640, 55), 20);   // lines 3 and 4
    EXPECT_GT(countIndex(pixels, cyan, 5, 55, 640, 70), 5);   // line 5
    EXPECT_EQ(countIndex(pixels, cyan, 0, 0, 640, 15), 0);
    EXPECT_EQ(countIndex(pixels, red, 0, 0, 640, 35), 0);
    EXPECT_EQ(countIndex(pixels, cyan, 0, 0, 5, 480), 0);
}

TEST_F(PassesTest, TheReadoutAndTheDotsFadeWithThePictureAndNeverTurnWhite) {
    switches.hudVisible = true;
    switches.minimapStyle = 0;  // the outline and the dots, all drawn by GDI
    auto readout = [] {
        fillSurface(canvas, 0);
        drawMinimapOverlay(canvas);
        drawHud(canvas);
        return canvasPixels();
    };
    const std::vector<uint8_t> full = readout();
    // Along the opening fade, and along a fade out (F8): the drawings pick the
    // same entries, none of them 255, at every level.
    for (int mode : {1, 2}) {
        for (int step = 1; step <= 60; ++step) {
            mode == 1 ? stepFadeIn(false) : stepFadeOut(false);
            const std::vector<uint8_t> pixels = readout();
            ASSERT_EQ(std::count(pixels.begin(), pixels.end(), 255), 0) << "fade " << mode << ", step " << step;
            ASSERT_EQ(pixels, full) << "fade " << mode << ", step " << step;
        }
    }
}

TEST_F(PassesTest, TheCursorAdvancesEveryTwoHundredMillisecondsOnlyWhileShown) {
    switches.cursorVisible = true;
    drawHud(canvas);  // the first showing starts the mark
    EXPECT_TRUE(cursorMarkSet);
    EXPECT_EQ(cursorFrame, 0);
    for (int step = 1; step <= 6; ++step) {
        platform::advanceTime(199);
        drawHud(canvas);
        EXPECT_EQ(cursorFrame, (step - 1) % 5);
        platform::advanceTime(1);
        drawHud(canvas);
        EXPECT_EQ(cursorFrame, step % 5);  // 1, 2, 3, 4, 0, 1
    }
    switches.cursorVisible = false;
    platform::advanceTime(1000);
    drawHud(canvas);
    EXPECT_EQ(cursorFrame, 1);
    switches.fireworksMode = true;
    switches.cursorVisible = true;
    drawHud(canvas);
    EXPECT_EQ(cursorFrame, 1);
}

TEST_F(PassesTest, TheCursorStylesDrawKeyedOrTranslucent) {
    switches.cursorVisible = true;
    platform::setCallLogging(true);
    drawHud(canvas);
    EXPECT_EQ(countCalls("IDirectDrawSurface::Blt"), 1);
    EXPECT_EQ(countCalls("IDirectDrawSurface::Lock"), 0);
    switches.cursorStyle = 1;
    platform::clearCallLog();
    drawHud(canvas);
    EXPECT_EQ(countCalls("IDirectDrawSurface::Blt"), 0);
    EXPECT_EQ(countCalls("IDirectDrawSurface::Lock"), 2);  // the frame and the canvas
    switches.cursorStyle = 2;
    platform::clearCallLog();
    drawHud(canvas);
    EXPECT_EQ(countCalls("IDirectDrawSurface::Blt"), 0);
    EXPECT_EQ(countCalls("IDirectDrawSurface::Lock"), 0);
}

TEST_F(PassesTest, ThePlayersMinimapDotIsCentredOnTheScreen) {
    fillSurface(canvas, 0);
    switches.minimapStyle = 0;
    drawMinimapOverlay(canvas);
    std::vector<uint8_t> pixels = canvasPixels();
    uint8_t red = indexOf(0x000000FF);
    EXPECT_EQ(pixels[240 * screenWidth + 320], red);
    int minX = 640, maxX = -1, minY = 480, maxY = -1;
    for (int y = 230; y < 250; ++y)
        for (int x = 310; x < 330; ++x)
            if (pixels[y * screenWidth + x] == red) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    EXPECT_GE(minX, 318);
    EXPECT_LE(maxX, 322);
    EXPECT_GE(minY, 238);
    EXPECT_LE(maxY, 242);
    // The outline's top-left sits where the view centre's minimap point lands on the centre.
    int32_t originX = 320 - Quillmere.worldToMinimapX(Quillmere.viewX);
    int32_t originY = 240 - Quillmere.worldToMinimapY(Quillmere.viewY);
    EXPECT_EQ(countIndex(pixels, indexOf(Quillmere.outlineColour), 0, 0, originX, 480), 0);
    EXPECT_EQ(countIndex(pixels, indexOf(Quillmere.outlineColour), 0, 0, 640, originY), 0);
    EXPECT_GT(countIndex(pixels, indexOf(Quillmere.outlineColour), originX, originY, originX + 213, originY + 213), 0);
}

TEST_F(PassesTest, AHiddenMinimapDrawsNeitherPictureNorDots) {
    Quillmere.minimapVisible = false;
    fillSurface(canvas, 0);
    std::vector<uint8_t> before = canvasPixels();
    drawMinimapOverlay(canvas);
    EXPECT_EQ(canvasPixels(), before);
}

TEST_F(PassesTest, AMinimapPartlyOffTheCanvasShowsThePartThatFits) {
    // A view far left of the world puts the minimap's left part at x = 575;
    // the rest lies beyond the right edge and must be clipped, not written.
    Quillmere.viewX = -8000;
    Quillmere.viewY = 3200;
    int32_t originX = 320 - Quillmere.worldToMinimapX(Quillmere.viewX);
    ASSERT_GT(originX, 640 - 213);
    ASSERT_LT(originX, 640);
    fillSurface(canvas, 0);
    std::vector<uint8_t> before = canvasPixels();
    drawMinimapOverlay(canvas);
    std::vector<uint8_t> after = canvasPixels();
    size_t changedInside = 0;
    size_t changedLeft = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (before[y * 640 + x] == after[y * 640 + x]) continue;
            (x >= originX ? changedInside : changedLeft)++;
        }
    }
    EXPECT_GT(changedInside, 0u);
    EXPECT_EQ(changedLeft, 0u);
}

TEST_F(PassesTest, FireworksShowThePaletteAsDotsAlongTheTopAndNoText) {
    switches.fireworksMode = true;
    switches.hudVisible = true;
    switches.cursorVisible = true;
    fillSurface(canvas, 0);
    drawHud(canvas);
    std::vector<uint8_t> pixels = canvasPixels();
    int top = 0;
    int below = 0;
    int lastX = -1;
    for (int y = 0; y < screenHeight; ++y)
        for (int x = 0; x < screenWidth; ++x)
            if (pixels[y * screenWidth + x] != 0) {
                (y <= 5 ? top : below)++;
                if (y <= 5) lastX = std::max(lastX, x);
            }
    EXPECT_GT(top, 500);
    EXPECT_EQ(below, 0);
    EXPECT_LE(lastX, 521);
    EXPECT_GE(lastX, 515);
    // Under the fireworks' own palette the last dot is the last entry, shown as generated.
    applyPalettes(true);
    fillSurface(canvas, 0);
    drawHud(canvas);
    EXPECT_EQ(canvasPixels()[2 * screenWidth + 519], 255);
    PALETTEENTRY shown[256];
    primaryPalette->GetEntries(0, 0, 256, shown);
    EXPECT_EQ(RGB(shown[255].peRed, shown[255].peGreen, shown[255].peBlue), RGB(200, 255, 200));
}

}  // namespace
