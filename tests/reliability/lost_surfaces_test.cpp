// Lost surfaces: the user switches away from the full-screen program and back,
// over and over. Each switch loses the flip chain and the sprite frames; the
// next presentation finds the flip lost, restores them, reloads the frames
// and applies the palettes again.
//
// The check compares two headless runs of one script. One switches away and
// back 100 times; the other does not. Every switch lies between two frames
// (frames come every 10 ms, at multiples of 10 ms, and at every presentation,
// at multiples of 41 ms; the program is away from 3 ms to 6 ms past a multiple
// of 10 that no presentation falls into), so both runs draw the same frames at
// the same clock readings with the same random draws, and the wanderers, which
// move by elapsed time, stand at the same places. Only the loss differs; a
// capture taken after the last switch must therefore be the same picture in
// both. The switches fall about 70 ms apart, so they meet the 41 ms
// presentations at every phase: a loss just before a flip, just after one,
// and in between.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "backend/headless/contact_sheet.h"
#include "program_runs.h"

namespace {

constexpr int CYCLES = 100;
constexpr int FIRST_CYCLE_MS = 3500;  // after the opening fade-in (61 steps of 41 ms)
constexpr int PRESENT_MS = 41;
constexpr int CYCLE_SPACING_MS = 70;
constexpr int LAST_CYCLE_MS = FIRST_CYCLE_MS + (CYCLES - 1) * CYCLE_SPACING_MS;
constexpr int CAPTURE_MS = LAST_CYCLE_MS + 205;  // two presentations after the restoring one
constexpr int END_MS = CAPTURE_MS + 100;

// What both runs do: the centre animation (the screened strip) and the
// minimap on, a walk to the right, and a capture after the last cycle.
std::string commonScript() {
    return "100 press F3\n"
           "3600 down Right\n4300 up Right\n"
           "6000 press Space\n"
           "8000 down Up\n8400 up Up\n" +
           std::to_string(CAPTURE_MS) + " capture final.png\n" + std::to_string(END_MS) + " end\n";
}

// Where cycle k begins: a multiple of 10 ms. A presentation due while the
// program is away would run late, on its return, so such moments are passed by.
int cycleStart(int k) {
    int at = FIRST_CYCLE_MS + k * CYCLE_SPACING_MS;
    while ((at + 6) / PRESENT_MS != (at + 2) / PRESENT_MS) at += 10;
    return at;
}

// Just after the presentation that finds the last loss: it restores the
// surfaces without a flip, so the screen shows what the loss left of the
// picture until the next flip.
int afterTheLastRestore() { return ((cycleStart(CYCLES - 1) + 3) / PRESENT_MS + 1) * PRESENT_MS + 2; }

// `away` and `back` lines for every cycle; `back` empty for a loss without a focus change.
std::string cycles(const char* away, const char* back) {
    std::string lines;
    for (int k = 0; k < CYCLES; ++k) {
        const int at = cycleStart(k);
        lines += std::to_string(at + 3) + " " + away + "\n";
        if (*back != '\0') lines += std::to_string(at + 6) + " " + back + "\n";
    }
    return lines;
}

platform::RgbImage loadShot(const ProgramResult& result, const std::string& name) {
    platform::RgbImage image;
    std::string error;
    EXPECT_TRUE(qmp::loadPng((result.shots / name).string(), &image, &error)) << name << ": " << error;
    return image;
}

int differingPixels(const platform::RgbImage& a, const platform::RgbImage& b) {
    if (a.width != b.width || a.height != b.height) return -1;
    int count = 0;
    for (size_t i = 0; i + 2 < a.rgb.size(); i += 3)
        count += a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] || a.rgb[i + 2] != b.rgb[i + 2] ? 1 : 0;
    return count;
}

int distinctColours(const platform::RgbImage& image) {
    std::set<uint32_t> colours;
    for (size_t i = 0; i + 2 < image.rgb.size(); i += 3)
        colours.insert(image.rgb[i] << 16 | image.rgb[i + 1] << 8 | image.rgb[i + 2]);
    return static_cast<int>(colours.size());
}

class LostSurfaces : public ::testing::Test {
protected:
    // Runs the script with and without the cycles and compares the final captures.
    void compareWith(const std::string& cycleLines, const std::string& lostMoment) {
        ProgramRun plain;
        plain.script = commonScript();
        ProgramRun switching;
        // A capture while the last loss is still unrepaired shows that the loss happened.
        switching.script = commonScript() + cycleLines + lostMoment + " capture lost.png\n";
        ProgramResult reference = runProgram(plain);
        ProgramResult cycled = runProgram(switching);
        ASSERT_EQ(qmrel::runProblem(reference), "") << reference.describe();
        ASSERT_EQ(qmrel::runProblem(cycled), "") << cycled.describe();
        EXPECT_TRUE(cycled.report.boxes.empty());
        EXPECT_EQ(cycled.report.clock, static_cast<uint32_t>(END_MS));

        // Frames went on: about one presentation per 41 ms in both runs.
        EXPECT_GT(reference.report.presents, static_cast<uint64_t>(END_MS / PRESENT_MS - 10));
        EXPECT_GT(cycled.report.presents + 10, reference.report.presents);
        qmrel::note(std::to_string(CYCLES) + " loss cycles; presents " + std::to_string(cycled.report.presents) +
                    " with them, " + std::to_string(reference.report.presents) + " without");

        platform::RgbImage expected = loadShot(reference, "final.png");
        platform::RgbImage restored = loadShot(cycled, "final.png");
        platform::RgbImage lost = loadShot(cycled, "lost.png");
        ASSERT_EQ(expected.width, 640);
        EXPECT_GT(distinctColours(expected), 8) << "the reference shows the cave and its sprites";
        EXPECT_GT(differingPixels(lost, expected), 640 * 480 / 4) << "the loss discarded the visible picture";
        EXPECT_EQ(differingPixels(restored, expected), 0) << "after the last cycle the picture is whole again";
    }
};

TEST_F(LostSurfaces, SwitchingAwayAndBackAHundredTimesRestoresEverything) {
    compareWith(cycles("deactivate", "activate"), std::to_string(afterTheLastRestore()));
}

TEST_F(LostSurfaces, LosingTheSurfacesInPlaceAHundredTimesRestoresEverything) {
    // A loss without a focus change: frames keep coming while the surfaces are lost.
    compareWith(cycles("lose", ""), std::to_string(afterTheLastRestore()));
}

}  // namespace
