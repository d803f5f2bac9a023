// Frame pacing as the call log shows it: one copy to the back buffer per frame,
// one flip per presentation, and no frames while the program is inactive.
#include <gtest/gtest.h>

#include <vector>

#include "demo_run.h"

namespace {

std::vector<uint32_t> timesOf(const ProgramReport& report, const std::string& name) {
    std::vector<uint32_t> times;
    for (const platform::CallRecord& call : report.calls)
        if (call.name == name) times.push_back(call.time);
    return times;
}

class TimingProgram : public ::testing::Test {
protected:
    void run(const std::string& script) {
        result = qmtest::runDemoScript(script, true);
        ASSERT_TRUE(result.exited) << result.describe();
        ASSERT_EQ(result.exitCode, 0);
        frames = timesOf(result.report, "IDirectDrawSurface::BltFast");
        flips = timesOf(result.report, "IDirectDrawSurface::Flip");
        ASSERT_GT(frames.size(), 10u);
        ASSERT_GT(flips.size(), 2u);
    }
    ProgramResult result;
    std::vector<uint32_t> frames;
    std::vector<uint32_t> flips;
};

TEST_F(TimingProgram, FramesComeEveryTenMillisecondsAndEveryFifthIsShown) {
    run("1000 end\n");
    for (size_t i = 1; i < frames.size(); ++i) EXPECT_EQ(frames[i] - frames[i - 1], 10u) << i;
    // The first presentation waits 41 ms or more: at the fifth frame after the first.
    EXPECT_GE(flips[0] - frames[0], 41u);
    EXPECT_EQ(flips[0], frames[5]);
    for (size_t i = 1; i < flips.size(); ++i) EXPECT_EQ(flips[i] - flips[i - 1], 50u) << i;
}

TEST_F(TimingProgram, NoFramesRunWhileInactiveAndTheyResumeAtOnce) {
    run("500 deactivate\n1500 activate\n2000 end\n");
    int during = 0;
    uint32_t firstAfter = 0;
    for (uint32_t time : frames) {
        if (time > 500 && time < 1500) ++during;
        if (time >= 1500 && firstAfter == 0) firstAfter = time;
    }
    EXPECT_EQ(during, 0);
    ASSERT_NE(firstAfter, 0u);
    EXPECT_LE(firstAfter - 1500, 10u);
    for (uint32_t time : flips) EXPECT_FALSE(time > 500 && time < 1500) << time;
}

}  // namespace
