// Esc's quit prompt: answered no the demo goes on; answered yes it ends.
#include <gtest/gtest.h>

#include "demo_run.h"

namespace {

TEST(QuitProgram, NoKeepsTheDemoRunning) {
    ProgramResult result = qmtest::runDemoScript(
        "3500 press Esc\n3600 capture prompt.png\n3700 answer no\n3900 capture after.png\n4500 end\n");
    ASSERT_TRUE(result.exited) << result.describe();
    EXPECT_EQ(result.exitCode, 0);
    ASSERT_EQ(result.report.boxes.size(), 1u);
    const platform::MessageBoxRecord& box = result.report.boxes[0];
    EXPECT_EQ(box.caption, "Keyboard");
    EXPECT_EQ(box.text, "ESC 鍵按下了！確定退出？");
    EXPECT_EQ(box.type, static_cast<unsigned>(MB_YESNO));
    EXPECT_EQ(box.answer, IDNO);
    EXPECT_EQ(result.report.clock, 4500u) << "ran on to the end of the script";

    // The prompt window lay over (213, 160); the next presentation covered it.
    Picture prompt = qmtest::shot(result, "prompt.png");
    Picture after = qmtest::shot(result, "after.png");
    ASSERT_TRUE(prompt.valid());
    ASSERT_TRUE(after.valid());
    Region window{213, 160, 213 + 200, 160 + 40};
    EXPECT_GT(prompt.differences(after, window), 1000);
}

TEST(QuitProgram, YesEndsTheDemoWithExitCodeZero) {
    ProgramResult result = qmtest::runDemoScript("3500 press Esc\n3700 answer yes\n9000 end\n");
    ASSERT_TRUE(result.exited) << result.describe();
    EXPECT_EQ(result.exitCode, 0);
    ASSERT_EQ(result.report.boxes.size(), 1u);
    EXPECT_EQ(result.report.boxes[0].answer, IDYES);
    EXPECT_LT(result.report.clock, 4000u) << "ended at the answer, not at the script's end";
}

}  // namespace
