// What a person sees: captures of scripted headless runs, checked by colour
// and place. Each run repeats exactly, so the pictures are the same every time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>

#include "demo_run.h"

namespace {

using qmtest::CYAN;
using qmtest::RED;
using qmtest::shot;

// The minimap in outline style is filled with the outline colour, cyan after a new cave.
Box minimapBox(const Picture& picture) { return picture.boundsOf(CYAN, {100, 20, 540, 460}); }

class PictureProgram : public ::testing::Test {
protected:
    void run(const std::string& script) {
        result = qmtest::runDemoScript(script);
        ASSERT_TRUE(result.exited) << result.describe();
        ASSERT_EQ(result.exitCode, 0) << result.describe();
    }
    Picture capture(const std::string& name) {
        Picture picture = shot(result, name);
        EXPECT_TRUE(picture.valid()) << name;
        return picture;
    }
    ProgramResult result;
};

TEST_F(PictureProgram, TheRunFadesInToThePaletteOfTheBackground) {
    run("100 capture dark.png\n1500 capture half.png\n3500 capture full.png\n3600 end\n");
    Picture dark = capture("dark.png");
    Picture half = capture("half.png");
    Picture full = capture("full.png");
    EXPECT_LT(dark.meanBrightness(), 0.1 * full.meanBrightness());
    EXPECT_GT(half.meanBrightness(), dark.meanBrightness());
    EXPECT_LT(half.meanBrightness(), full.meanBrightness());
    std::vector<uint32_t> palette = bmpPalette(std::string(QM_RUNTIME_DIR) + "/bckgnd.bmp");
    ASSERT_EQ(palette.size(), 256u);
    std::set<uint32_t> allowed(palette.begin(), palette.end());
    for (uint32_t colour : full.colours()) EXPECT_TRUE(allowed.count(colour)) << std::hex << colour;
}

TEST_F(PictureProgram, ArrowsMoveTheViewAndAWallStopsIt) {
    std::string script = "3400 press F4\n3500 capture start.png\n";
    script += "3600 down Right\n3900 capture right.png\n3900 up Right\n";
    script += "4000 down Up\n4300 capture up.png\n4300 up Up\n";
    script += qmtest::presses(4400, "Shift", 200);  // "Vec" 400
    script += "4500 down Right\n6500 capture wall1.png\n6900 capture wall2.png\n7000 up Right\n7100 end\n";
    run(script);
    Box start = minimapBox(capture("start.png"));
    Box right = minimapBox(capture("right.png"));
    Box up = minimapBox(capture("up.png"));
    ASSERT_FALSE(start.empty());
    // The minimap is placed so that the view centre lies on the screen centre:
    // it moves left when the view goes right and down when the view goes up.
    EXPECT_LT(right.left, start.left);
    EXPECT_EQ(right.top, start.top);
    EXPECT_GT(up.top, right.top);
    EXPECT_EQ(up.left, right.left);
    // Held against the wall, the view stands still.
    Box wall1 = minimapBox(capture("wall1.png"));
    Box wall2 = minimapBox(capture("wall2.png"));
    EXPECT_LT(wall1.left, up.left);
    EXPECT_EQ(wall1.left, wall2.left);
    EXPECT_EQ(wall1.top, wall2.top);
    EXPECT_EQ(wall1.right, wall2.right);
    // The player stays on the screen centre, its minimap dot on it.
    EXPECT_EQ(capture("wall2.png").at(320, 240), RED);
}

TEST_F(PictureProgram, F1ShowsTheReadoutInTheTopLeftCorner) {
    run("3400 press F2\n3500 capture plain.png\n3600 press F1\n3700 capture readout.png\n"
        "3800 press F1\n3900 capture hidden.png\n4000 end\n");
    Region corner{0, 10, 200, 70};
    Picture plain = capture("plain.png");
    Picture readout = capture("readout.png");
    EXPECT_EQ(plain.count(CYAN, corner), 0);
    EXPECT_GT(readout.count(CYAN, corner), 50);
    EXPECT_GT(readout.count(RED, corner), 20);
    EXPECT_EQ(readout.count(CYAN, {0, 0, 640, 14}), 0) << "the first line starts at y = 15";
    EXPECT_EQ(capture("hidden.png").count(CYAN, corner), 0);
}

TEST_F(PictureProgram, F2HidesAndShowsTheMinimap) {
    run("3400 press F4\n3500 capture shown.png\n3600 press F2\n3700 capture hidden.png\n"
        "3800 press F2\n3900 capture again.png\n4000 end\n");
    EXPECT_GT(capture("shown.png").count(CYAN), 2000);
    EXPECT_EQ(capture("hidden.png").count(CYAN), 0);
    EXPECT_EQ(capture("hidden.png").count(RED), 0) << "no actor dots either";
    EXPECT_GT(capture("again.png").count(CYAN), 2000);
}

TEST_F(PictureProgram, F4SwitchesBetweenTheTranslucentPictureAndTheOutline) {
    run("3500 capture translucent.png\n3600 press F4\n3700 capture outline.png\n3800 press F4\n"
        "3900 capture back.png\n4000 end\n");
    Picture translucent = capture("translucent.png");
    Picture outline = capture("outline.png");
    // Mixed with the floor, the translucent picture shows no pure cyan.
    EXPECT_LT(translucent.count(CYAN), 200);
    EXPECT_GT(outline.count(CYAN), 2000);
    EXPECT_LT(capture("back.png").count(CYAN), 200);
    EXPECT_GT(translucent.differences(outline, {100, 20, 540, 460}), 2000);
}

TEST_F(PictureProgram, F3AndSpaceShowTheCentreAnimationInBothStyles) {
    // The pictures without the animation are taken close to the key presses, so
    // that the wanderers have moved little in between.
    run("3400 press F2\n3590 capture none.png\n3600 press F3\n3700 capture keyed.png\n"
        "3800 press Space\n3900 capture translucent.png\n4000 press Space\n4100 press F3\n"
        "4150 capture off.png\n4300 end\n");
    Region animation{275, 140, 365, 240};
    Picture none = capture("none.png");
    Picture keyed = capture("keyed.png");
    Picture translucent = capture("translucent.png");
    EXPECT_GT(keyed.differences(none, animation), 1000);
    EXPECT_GT(translucent.differences(keyed, animation), 1000);
    EXPECT_LT(capture("off.png").differences(none, animation), keyed.differences(none, animation) / 2);
    // Nothing of it is drawn outside its 90 x 100 frame.
    Region left{0, 140, 270, 240};
    EXPECT_LT(keyed.differences(none, left), 5000);
}

TEST_F(PictureProgram, F5MakesANewCave) {
    run("3400 press F4\n3500 capture before.png\n3600 press F5\n3700 capture after.png\n3800 end\n");
    Picture before = capture("before.png");
    Picture after = capture("after.png");
    EXPECT_GT(after.count(CYAN), 2000);
    EXPECT_GT(before.differences(after, {100, 20, 540, 460}), 2000);
}

TEST_F(PictureProgram, F6DrivesThePlayerAndShiftAndCtrlWorkTheThrottle) {
    std::string script = "3400 press F4\n3500 capture walk1.png\n3800 capture walk2.png\n";
    script += "3900 press F6\n";
    script += "3900 down Shift\n7000 up Shift\n7000 capture fast1.png\n7200 capture fast2.png\n";
    script += "7200 down Ctrl\n10500 up Ctrl\n10500 capture slow1.png\n10700 capture slow2.png\n";
    script += "10800 press F6\n10900 capture walkAgain1.png\n11200 capture walkAgain2.png\n11300 end\n";
    run(script);
    auto moved = [&](const char* a, const char* b) {
        Box first = minimapBox(capture(a));
        Box second = minimapBox(capture(b));
        EXPECT_FALSE(first.empty());
        return std::abs(first.left - second.left) + std::abs(first.top - second.top);
    };
    EXPECT_EQ(moved("walk1.png", "walk2.png"), 0) << "walking without arrows stands still";
    EXPECT_GE(moved("fast1.png", "fast2.png"), 5) << "at 1500 units per second the view races";
    EXPECT_LE(moved("slow1.png", "slow2.png"), 2) << "at 50 units per second it creeps";
    EXPECT_EQ(moved("walkAgain1.png", "walkAgain2.png"), 0);
}

TEST_F(PictureProgram, F9ShowsFireworksWithThePaletteDots) {
    run("3400 press F1\n3500 press F9\n4500 capture fireworks.png\n4600 press F9\n4700 capture cave.png\n4800 end\n");
    Picture fireworks = capture("fireworks.png");
    // Overlapping dots from x = 6 to 520 make a solid strip; particles alone leave gaps.
    EXPECT_GT(fireworks.lit({8, 1, 518, 4}), 510 * 3 * 95 / 100) << "the palette dots along the top";
    EXPECT_LT(fireworks.lit({530, 1, 640, 4}), 110 * 3 / 3);
    EXPECT_GT(fireworks.lit({220, 140, 420, 340}), 1000) << "particles around the centre";
    EXPECT_LT(fireworks.lit(), 640 * 480 * 4 / 10) << "no cave: mostly black";
    EXPECT_EQ(fireworks.count(CYAN, {0, 10, 400, 70}), 0) << "no read-out text";
    Picture cave = capture("cave.png");
    EXPECT_GT(cave.lit(), 640 * 480 * 9 / 10);
    EXPECT_GT(cave.count(CYAN, {0, 10, 200, 70}), 50) << "the read-out is back";
}

TEST_F(PictureProgram, OneAndTwoRecolourTheCaveWarmAndCool) {
    run("3400 press 2\n3500 capture cool.png\n3600 press 1\n3700 capture warm.png\n3800 end\n");
    double r = 0, g = 0, b = 0;
    capture("cool.png").meanChannels(r, g, b);
    EXPECT_GT(b, r);
    capture("warm.png").meanChannels(r, g, b);
    EXPECT_GT(r, b);
}

TEST_F(PictureProgram, F8FadesOutAndBackAndF7FadesIn) {
    run("3500 capture full.png\n3600 press F8\n4900 capture fading.png\n6800 capture restored.png\n"
        "6900 press F7\n7500 capture dim.png\n10300 capture bright.png\n10400 end\n");
    double full = capture("full.png").meanBrightness();
    double fading = capture("fading.png").meanBrightness();
    EXPECT_LT(fading, 0.75 * full);
    EXPECT_GT(fading, 0.25 * full);
    EXPECT_NEAR(capture("restored.png").meanBrightness(), full, 0.2 * full);
    EXPECT_LT(capture("dim.png").meanBrightness(), 0.4 * full);
    EXPECT_NEAR(capture("bright.png").meanBrightness(), full, 0.2 * full);
}

}  // namespace
