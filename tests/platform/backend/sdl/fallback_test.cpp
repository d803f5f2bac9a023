// A display that cannot be reached: the window backend declines and the
// program runs headless instead of failing.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "support/program_run.h"

namespace {

void runWithUnreachableDisplay();

}  // namespace

TEST(SdlFallback, AnUnreachableDisplaySendsTheProgramHeadless) {
    setenv("SDL_VIDEODRIVER", "x11", 1);  // not a console display the machine may have
    runWithUnreachableDisplay();
}

// Left to choose, SDL falls back to its offscreen driver, which shows nothing:
// that is no display either.
TEST(SdlFallback, ADriverThatShowsNothingIsNoDisplay) {
    unsetenv("SDL_VIDEODRIVER");
    runWithUnreachableDisplay();
}

namespace {

void runWithUnreachableDisplay() {
    ASSERT_EQ(setenv("DISPLAY", ":65000", 1), 0);  // no X server listens there
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QUILLMERE_HEADLESS");

    TempFolder folder;
    ASSERT_TRUE(folder.valid());
    const auto script = folder.path() / "quit.script";
    const auto report = folder.path() / "report.txt";
    {
        std::FILE* file = std::fopen(script.c_str(), "w");
        ASSERT_NE(file, nullptr);
        std::fputs("500 press Esc\n600 answer yes\n", file);
        std::fclose(file);
    }
    ProgramRun run;
    run.program = QM_RUNTIME_DIR "/window_check";
    run.platformOptions = false;
    run.args = {"--script", script.string(), "--report", report.string()};
    run.timeoutMs = 30000;
    const ProgramResult result = runProgram(run);

    ASSERT_TRUE(result.exited) << result.describe();
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_NE(result.err.find("running headless"), std::string::npos) << result.err;

    std::FILE* file = std::fopen(report.c_str(), "r");
    ASSERT_NE(file, nullptr) << "no report";
    std::string text;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, file) != nullptr) text += buffer;
    std::fclose(file);
    ProgramReport parsed;
    std::string error;
    ASSERT_TRUE(qmp::run::parseReport(text, &parsed, &error)) << error;
    ASSERT_EQ(parsed.boxes.size(), 1u);
    EXPECT_EQ(parsed.boxes[0].caption, "Keyboard");
    EXPECT_EQ(parsed.boxes[0].answer, IDYES);
    EXPECT_GT(parsed.presents, 0u) << "the test card was shown headless";
}

}  // namespace
