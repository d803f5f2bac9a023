// The keyboard: every key of the table, on the switches and values it drives.
#include <gtest/gtest.h>

#include <cstring>

#include "actors/actors.h"
#include "app/globals.h"
#include "app/keyboard.h"
#include "assets/bitmap.h"
#include "assets/fades.h"
#include "assets/palettes.h"
#include "assets/sprite_strip.h"
#include "support/platform_test.h"
#include "support/test_cave.h"

namespace {

class KeyboardTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        applyDefaults();
        qmtest::buildTestCave({{0, 3}, {2, 5}}, 8);
        Quillmere.viewX = 600;
        Quillmere.viewY = 200;
    }
    static void press(WPARAM key, int times = 1) {
        for (int i = 0; i < times; ++i) EXPECT_FALSE(onKeyDown(key));
    }
};

TEST_F(KeyboardTest, ShiftRaisesVecByTwoUpToFourHundred) {
    press(VK_SHIFT);
    EXPECT_EQ(vec, 7);
    vec = 397;
    press(VK_SHIFT);
    EXPECT_EQ(vec, 399);
    press(VK_SHIFT);
    EXPECT_EQ(vec, 400);
    press(VK_SHIFT);
    EXPECT_EQ(vec, 400);
    EXPECT_EQ(screenedStrip.level, 400 % 256);  // the level is vec's low byte
    EXPECT_EQ(throttleDirection, 0);
}

TEST_F(KeyboardTest, CtrlLowersVecByTwoDownToTwo) {
    press(VK_CONTROL);
    EXPECT_EQ(vec, 3);
    press(VK_CONTROL);
    EXPECT_EQ(vec, 2);
    press(VK_CONTROL);
    EXPECT_EQ(vec, 2);
    EXPECT_EQ(screenedStrip.level, 2);
    vec = 400;
    press(VK_CONTROL);
    EXPECT_EQ(vec, 398);
}

TEST_F(KeyboardTest, VecOutsideItsLimitsNeverOverflows) {
    vec = INT32_MAX;
    press(VK_SHIFT);
    EXPECT_EQ(vec, 400);
    vec = INT32_MIN;
    press(VK_CONTROL);
    EXPECT_EQ(vec, 2);
}

TEST_F(KeyboardTest, InDriveModeShiftAndCtrlWorkTheThrottleAndAnyReleaseStopsIt) {
    player.driveMode = true;
    press(VK_SHIFT);
    EXPECT_EQ(throttleDirection, 1);
    EXPECT_EQ(vec, 5);
    EXPECT_EQ(screenedStrip.level, 5);  // the level is set from vec in drive mode too
    onKeyUp(VK_CONTROL);
    EXPECT_EQ(throttleDirection, 0);
    press(VK_CONTROL);
    EXPECT_EQ(throttleDirection, -1);
    onKeyUp(VK_SHIFT);
    EXPECT_EQ(throttleDirection, 0);
}

TEST_F(KeyboardTest, ArrowsAreHeldUntilReleased) {
    press(VK_LEFT);
    press(VK_UP);
    EXPECT_TRUE(arrowHeld[ARROW_LEFT]);
    EXPECT_TRUE(arrowHeld[ARROW_UP]);
    EXPECT_FALSE(arrowHeld[ARROW_RIGHT]);
    EXPECT_FALSE(arrowHeld[ARROW_DOWN]);
    press(VK_RIGHT);
    press(VK_DOWN);
    onKeyUp(VK_LEFT);
    onKeyUp(VK_UP);
    EXPECT_FALSE(arrowHeld[ARROW_LEFT]);
    EXPECT_FALSE(arrowHeld[ARROW_UP]);
    EXPECT_TRUE(arrowHeld[ARROW_RIGHT]);
    EXPECT_TRUE(arrowHeld[ARROW_DOWN]);
    onKeyUp(VK_RIGHT);
    onKeyUp(VK_DOWN);
    EXPECT_FALSE(arrowHeld[ARROW_RIGHT]);
    EXPECT_FALSE(arrowHeld[ARROW_DOWN]);
    onKeyUp(VK_DOWN);  // a second release is harmless
    EXPECT_FALSE(arrowHeld[ARROW_DOWN]);
}

TEST_F(KeyboardTest, HeldArrowsStepTheViewByVecWithYUp) {
    press(VK_UP);
    updateDirection();
    EXPECT_EQ(Quillmere.viewX, 600);
    EXPECT_EQ(Quillmere.viewY, 205);
    EXPECT_EQ(player.direction, 3);
    EXPECT_EQ(player.y, 205);
    press(VK_LEFT);
    updateDirection();
    EXPECT_EQ(Quillmere.viewX, 595);
    EXPECT_EQ(Quillmere.viewY, 210);
    EXPECT_EQ(player.direction, 6);
}

TEST_F(KeyboardTest, OpposingArrowsCancel) {
    press(VK_LEFT);
    press(VK_RIGHT);
    press(VK_UP);
    press(VK_DOWN);
    updateDirection();
    EXPECT_EQ(Quillmere.viewX, 600);
    EXPECT_EQ(Quillmere.viewY, 200);
    EXPECT_EQ(player.direction, 0);
    onKeyUp(VK_LEFT);
    updateDirection();
    EXPECT_EQ(Quillmere.viewX, 605);
    EXPECT_EQ(player.direction, 2);
}

TEST_F(KeyboardTest, InDriveModeArrowsAreRecordedButMoveNothing) {
    player.driveMode = true;
    player.x = 123;
    press(VK_RIGHT);
    updateDirection();
    EXPECT_TRUE(arrowHeld[ARROW_RIGHT]);
    EXPECT_EQ(Quillmere.viewX, 600);
    EXPECT_EQ(player.x, 123);
}

TEST_F(KeyboardTest, TogglesFlipTheirSwitchAndBack) {
    press(VK_F2);
    EXPECT_FALSE(Quillmere.minimapVisible);
    press(VK_F2);
    EXPECT_TRUE(Quillmere.minimapVisible);
    press(VK_F3);
    EXPECT_TRUE(switches.cursorVisible);
    press(VK_F3);
    EXPECT_FALSE(switches.cursorVisible);
    press(VK_F4);
    EXPECT_EQ(switches.minimapStyle, 0);
    press(VK_F4);
    EXPECT_EQ(switches.minimapStyle, 1);
    switches.minimapStyle = 7;  // any non-zero value toggles to 0
    press(VK_F4);
    EXPECT_EQ(switches.minimapStyle, 0);
    press(VK_F6);
    EXPECT_TRUE(player.driveMode);
    press(VK_F6);
    EXPECT_FALSE(player.driveMode);
}

TEST_F(KeyboardTest, F1TogglesTheReadoutAndPicksAnOutlineColourEachTime) {
    for (int i = 0; i < 256; ++i) backgroundImage.palette[i] = {static_cast<BYTE>(i), 0, 0, 0};  // blue = index
    Quillmere.outlineColour = 0x00FFFF00;
    press(VK_F1);
    EXPECT_TRUE(switches.hudVisible);
    COLORREF first = Quillmere.outlineColour;
    EXPECT_EQ(first & 0xFFFF, 0u);
    EXPECT_LE(first >> 16, 200u);
    press(VK_F1);
    EXPECT_FALSE(switches.hudVisible);
    EXPECT_LE(Quillmere.outlineColour >> 16, 200u);
    EXPECT_EQ(Quillmere.outlineColour & 0xFFFF, 0u);
}

TEST_F(KeyboardTest, F7AndF8StartFadesEvenDuringTheOther) {
    switches.fadeMode = 2;
    press(VK_F7);
    EXPECT_EQ(switches.fadeMode, 1);
    press(VK_F8);
    EXPECT_EQ(switches.fadeMode, 2);
    EXPECT_EQ(fadeInLevel, 0.0f);  // the levels are left to the fade steps
    EXPECT_EQ(fadeOutLevel, 1.0f);
}

TEST_F(KeyboardTest, SpaceTogglesTheCursorStyleAndMovesOnlyThePlayer) {
    press(VK_SPACE);
    EXPECT_EQ(switches.cursorStyle, 1);
    int16_t row = 0;
    int16_t column = 0;
    EXPECT_TRUE(Quillmere.isOpenCell(player.x, player.y, row, column));
    EXPECT_EQ(Quillmere.viewX, 600);
    EXPECT_EQ(Quillmere.viewY, 200);
    press(VK_SPACE);
    EXPECT_EQ(switches.cursorStyle, 0);
    switches.cursorStyle = 5;
    press(VK_SPACE);
    EXPECT_EQ(switches.cursorStyle, 0);
}

TEST_F(KeyboardTest, SpaceWithoutACaveLeavesThePlayerWhereItIs) {
    Quillmere.rows.reset();
    Quillmere.rowCount_ = 0;
    player.x = 77;
    player.y = 88;
    press(VK_SPACE);
    EXPECT_EQ(player.x, 77);
    EXPECT_EQ(player.y, 88);
}

TEST_F(KeyboardTest, KeysOutsideTheTableChangeNothing) {
    GameSwitches before = switches;
    for (WPARAM key : {WPARAM{'A'}, WPARAM{'3'}, WPARAM{VK_F10}, WPARAM{VK_RETURN}, WPARAM{0}, WPARAM{0xFFFF}}) {
        press(key);
        onKeyUp(key);
    }
    EXPECT_EQ(std::memcmp(&before, &switches, sizeof switches), 0);
    EXPECT_EQ(vec, 5);
    EXPECT_EQ(throttleDirection, 0);
    for (bool held : arrowHeld) EXPECT_FALSE(held);
    EXPECT_EQ(Quillmere.viewX, 600);
}

TEST_F(KeyboardTest, KeysThatNeedTheDisplayAreSafeWithoutOne) {
    // Before the display exists there is no surface to draw the prompt on and
    // no palette to show; the box is still asked and the palette still made.
    platform::schedule({platform::now(), platform::EventKind::Answer, IDNO, ""});
    EXPECT_FALSE(onKeyDown(VK_ESCAPE));
    ASSERT_EQ(platform::messageBoxes().size(), 1u);
    EXPECT_EQ(platform::messageBoxes()[0].caption, "Keyboard");
    press('2');
    EXPECT_EQ(workingPalette[255].peRed, 250);
    press('1');
    EXPECT_EQ(workingPalette[255].peRed, 200);
}

TEST(QuitTexts, AreTheBig5BytesOfThePrompt) {
    EXPECT_EQ(std::strlen(QUIT_BOX_TEXT), 24u);
    EXPECT_EQ(std::strlen(QUIT_DRAWN_TEXT), 27u);
    EXPECT_EQ(std::strncmp(QUIT_DRAWN_TEXT, QUIT_BOX_TEXT, 24), 0);
    EXPECT_STREQ(QUIT_DRAWN_TEXT + 24, "Y/N");
    EXPECT_EQ(static_cast<unsigned char>(QUIT_BOX_TEXT[4]), 0xC1u);
    EXPECT_EQ(static_cast<unsigned char>(QUIT_BOX_TEXT[23]), 0x48u);
}

}  // namespace
