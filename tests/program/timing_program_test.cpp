// Frame pacing as the call log shows it: one copy to the back buffer per frame,
// one flip per presentation, every 41 ms, and no frames while the program is inactive.
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

TEST_F(TimingProgram, FramesComeEveryTenMillisecondsAndPicturesEvery41) {
    run("10000 end\n");
    // 10 s at one picture every 41 ms.
    EXPECT_NEAR(static_cast<double>(result.report.presents), 243.0, 2.0);
    EXPECT_EQ(flips[0] - frames[0], 41u);
    for (size_t i = 1; i < flips.size(); ++i) EXPECT_EQ(flips[i] - flips[i - 1], 41u) << i;
    // Every frame is either on the 10 ms grid of the first or one that a
    // presentation brought in between.
    size_t flip = 0;
    for (uint32_t time : frames) {
        while (flip < flips.size() && flips[flip] < time) ++flip;
        const bool presented = flip < flips.size() && flips[flip] == time;
        EXPECT_TRUE((time - frames[0]) % 10 == 0 || presented) << time;
    }
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
