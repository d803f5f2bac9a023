// The platform's command-line options.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/launch.h"

namespace {

qmp::LaunchOptions parse(const std::vector<std::string>& args) {
    qmp::LaunchOptions options;
    std::string error;
    EXPECT_TRUE(qmp::parseLaunchOptions(args, &options, &error)) << error;
    return options;
}

std::string failure(const std::vector<std::string>& args) {
    qmp::LaunchOptions options;
    std::string error;
    EXPECT_FALSE(qmp::parseLaunchOptions(args, &options, &error));
    return error;
}

}  // namespace

TEST(LaunchOptions, EveryOptionLandsInItsField) {
    qmp::LaunchOptions options = parse({"--headless", "--window", "--call-log", "--script", "a.script", "--shots",
                                        "out", "--report", "r.txt", "--clock-start", "4294967295"});
    EXPECT_TRUE(options.headless);
    EXPECT_TRUE(options.windowed);
    EXPECT_TRUE(options.callLog);
    EXPECT_FALSE(options.tour);
    EXPECT_EQ(options.scriptPath, "a.script");
    EXPECT_EQ(options.shotsDir, "out");
    EXPECT_EQ(options.reportPath, "r.txt");
    EXPECT_EQ(options.clockStart, 4294967295u);
    EXPECT_TRUE(parse({"--tour"}).tour);
}

TEST(LaunchOptions, FaultPlansTakeAnOccurrenceAndAnError) {
    qmp::LaunchOptions options =
        parse({"--fail", "CreateFileA", "--fail", "CreateFileA:3", "--fail", "IDirectDraw::CreateSurface:2:0x887601C2"});
    ASSERT_EQ(options.faults.size(), 3u);
    EXPECT_EQ(options.faults[0].name, "CreateFileA");
    EXPECT_EQ(options.faults[0].occurrence, 1);
    EXPECT_EQ(options.faults[1].occurrence, 3);
    EXPECT_EQ(options.faults[2].name, "IDirectDraw::CreateSurface") << "the method's :: is not a separator";
    EXPECT_EQ(options.faults[2].occurrence, 2);
    EXPECT_EQ(static_cast<uint32_t>(options.faults[2].error), 0x887601C2u);
}

TEST(LaunchOptions, ArgumentsAfterTheSeparatorPassThrough) {
    qmp::LaunchOptions options = parse({"--headless", "--", "--tour", "x"});
    EXPECT_FALSE(options.tour);
    EXPECT_EQ(options.passThrough, (std::vector<std::string>{"--tour", "x"}));
}

TEST(LaunchOptions, BadOptionsAreNamed) {
    EXPECT_EQ(failure({"--fast"}), "unknown option: --fast");
    EXPECT_EQ(failure({"--script"}), "--script needs a value");
    EXPECT_EQ(failure({"--clock-start", "-1"}), "--clock-start must be a number from 0 to 4294967295");
    EXPECT_EQ(failure({"--clock-start", "4294967296"}), "--clock-start must be a number from 0 to 4294967295");
    EXPECT_EQ(failure({"--fail", ":2"}), "--fail needs a call name");
    EXPECT_EQ(failure({"--fail", "ReadFile:0"}), "--fail occurrence must be a positive number: ReadFile:0");
    EXPECT_EQ(failure({"--fail", "ReadFile:1:x"}), "--fail error must be a number: ReadFile:1:x");
}

TEST(LaunchOptions, HeadlessCanBeForcedFromTheEnvironment) {
    setenv("QUILLMERE_HEADLESS", "1", 1);
    EXPECT_TRUE(parse({}).headless);
    unsetenv("QUILLMERE_HEADLESS");
}
