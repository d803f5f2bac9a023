// Keys that act on the display, the cave and the scene, with the demo started
// in-process: palettes, a new cave, fireworks, and the quit prompt.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "actors/actors.h"
#include "actors/particles.h"
#include "app/clock.h"
#include "app/globals.h"
#include "app/keyboard.h"
#include "assets/fades.h"
#include "assets/palettes.h"
#include "assets/bitmap.h"
#include "display/display.h"
#include "support/demo_startup.h"
#include "support/platform_test.h"
#include "world/cave.h"

namespace {

class StartedKeyboardTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        const char* failed = qmtest::startDemoInProcess();
        ASSERT_EQ(failed, nullptr) << failed;
    }
    static void readPalette(LPDIRECTDRAWPALETTE palette, PALETTEENTRY* entries) {
        ASSERT_EQ(palette->GetEntries(0, 0, 256, entries), DD_OK);
    }
    // Non-black pixels on the screen inside and outside the quit window's rectangle.
    static void countLitPixels(int& inside, int& outside) {
        platform::RgbImage picture = platform::visiblePicture();
        inside = outside = 0;
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x) {
                const uint8_t* p = &picture.rgb[(y * picture.width + x) * 3];
                if (p[0] == 0 && p[1] == 0 && p[2] == 0) continue;
                bool in = x >= 213 && x < 213 + messageImage.width() && y >= 160 && y < 160 + messageImage.height();
                (in ? inside : outside)++;
            }
    }
};

TEST_F(StartedKeyboardTest, OneAndTwoShowANewWorkingPaletteOnThePrimaryOnly) {
    PALETTEENTRY backBefore[256];
    readPalette(backPalette, backBefore);
    EXPECT_FALSE(onKeyDown('2'));
    PALETTEENTRY shown[256];
    readPalette(primaryPalette, shown);
    // All 256 entries, the last one (250, 250, 255) too.
    EXPECT_EQ(std::memcmp(shown, workingPalette, sizeof shown), 0);
    EXPECT_EQ(shown[254].peBlue, 254);  // the cool palette's entry 254 is (rnd, 254 - rnd, 254)
    PALETTEENTRY backAfter[256];
    readPalette(backPalette, backAfter);
    EXPECT_EQ(std::memcmp(backBefore, backAfter, sizeof backAfter), 0);

    EXPECT_FALSE(onKeyDown('1'));
    readPalette(primaryPalette, shown);
    EXPECT_EQ(shown[254].peRed, 254);  // the warm palette's entry 254 is (254, 244, 50..80)
    EXPECT_EQ(shown[254].peGreen, 244);
}

TEST_F(StartedKeyboardTest, F9SwitchesFireworksAndTheirPaletteOnAndOff) {
    EXPECT_FALSE(onKeyDown(VK_F9));
    EXPECT_TRUE(switches.fireworksMode);
    PALETTEENTRY shown[256];
    readPalette(backPalette, shown);
    EXPECT_EQ(std::memcmp(shown, workingPalette, sizeof shown), 0);
    EXPECT_FALSE(onKeyDown(VK_F9));
    EXPECT_FALSE(switches.fireworksMode);
    readPalette(primaryPalette, shown);
    EXPECT_EQ(shown[1].peRed, backgroundImage.palette[1].rgbRed);
    EXPECT_EQ(shown[1].peBlue, backgroundImage.palette[1].rgbBlue);
}

TEST_F(StartedKeyboardTest, F5MakesANewCaveAndPopulatesIt) {
    debugId = 17;
    player.driveMode = true;
    int32_t oldPlayerX = player.x;
    RowSpan oldFirstRow = Quillmere.rowSpan(0);
    RowSpan oldSecondRow = Quillmere.rowSpan(1);
    EXPECT_FALSE(onKeyDown(VK_F5));
    EXPECT_EQ(debugId, 0);
    EXPECT_TRUE(player.driveMode);
    EXPECT_EQ(Quillmere.viewX, player.x);
    EXPECT_EQ(Quillmere.viewY, player.y);
    int16_t row = 0;
    int16_t column = 0;
    EXPECT_TRUE(Quillmere.isOpenCell(player.x, player.y, row, column));
    EXPECT_EQ(particleBurst.centreX, player.x);
    bool changed = player.x != oldPlayerX || Quillmere.rowSpan(0).left != oldFirstRow.left ||
                   Quillmere.rowSpan(0).right != oldFirstRow.right || Quillmere.rowSpan(1).left != oldSecondRow.left;
    EXPECT_TRUE(changed);
}

TEST_F(StartedKeyboardTest, F5PaintsTheMinimapInTheSheetsIndicesWhateverTheScreenShows) {
    // The same cave each time: the random source reseeded at the same time.
    auto minimapAfterF5 = [] {
        platform::setTime(5000);
        gameRandom.reseed();
        onKeyDown(VK_F5);
        std::vector<uint8_t> bytes(213 * 213);
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof desc;
        EXPECT_EQ(Quillmere.minimapSurface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
        for (int y = 0; y < 213; ++y)
            std::memcpy(&bytes[y * 213], static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch, 213);
        Quillmere.minimapSurface->Unlock(nullptr);
        return bytes;
    };
    // Before each F5: steps of the opening fade (one per 41 ms), or a key.
    const struct {
        const char* when;
        int fadeSteps;
        WPARAM key;
    } moments[] = {{"300 ms into the fade", 7, 0}, {"1500 ms into it", 29, 0}, {"after it", 25, 0},
                   {"after 1", 0, '1'}, {"in fireworks", 0, VK_F9}};
    std::vector<std::vector<uint8_t>> minimaps;
    for (const auto& moment : moments) {
        for (int i = 0; i < moment.fadeSteps; ++i) stepFadeIn(switches.fireworksMode);
        if (moment.key != 0) onKeyDown(moment.key);
        minimaps.push_back(minimapAfterF5());
    }
    // The outline's cyan is an entry of the sheet's palette.
    int cyan = 0;
    while (cyan < 255 && backgroundImage.paletteColor(cyan) != Quillmere.outlineColour) ++cyan;
    EXPECT_GT(std::count(minimaps[2].begin(), minimaps[2].end(), cyan), 5000);
    for (size_t i = 0; i < minimaps.size(); ++i) EXPECT_EQ(minimaps[i], minimaps[2]) << moments[i].when;
}

TEST_F(StartedKeyboardTest, EscAnsweredNoKeepsRunningWithThePromptOnTheScreen) {
    int insideBefore = 0;
    int outsideBefore = 0;
    countLitPixels(insideBefore, outsideBefore);
    platform::schedule({platform::now(), platform::EventKind::Answer, IDNO, ""});
    EXPECT_FALSE(onKeyDown(VK_ESCAPE));
    ASSERT_EQ(platform::messageBoxes().size(), 1u);
    const platform::MessageBoxRecord& box = platform::messageBoxes()[0];
    EXPECT_EQ(box.caption, "Keyboard");
    EXPECT_EQ(box.text, "ESC 鍵按下了！確定退出？");
    EXPECT_EQ(box.type, static_cast<unsigned>(MB_YESNO));
    EXPECT_EQ(box.answer, IDNO);

    // The prompt was drawn straight onto the visible surface, at (213, 160).
    int inside = 0;
    int outside = 0;
    countLitPixels(inside, outside);
    EXPECT_GT(inside, insideBefore);
    EXPECT_EQ(outside, outsideBefore);
}

TEST_F(StartedKeyboardTest, EscAnsweredYesAsksToQuit) {
    platform::schedule({platform::now(), platform::EventKind::Answer, IDYES, ""});
    EXPECT_TRUE(onKeyDown(VK_ESCAPE));
    ASSERT_EQ(platform::messageBoxes().size(), 1u);
    EXPECT_EQ(platform::messageBoxes()[0].answer, IDYES);
}

}  // namespace
