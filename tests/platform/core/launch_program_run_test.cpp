// The run report (written and read back by platform/core/run.h) and the
// harness that runs programs: exit status, output, time limit, the program's
// own option handling.
#include <gmock/gmock.h>

#include <windows.h>

#include "core/run.h"
#include "core/script.h"
#include "support/platform_test.h"
#include "support/program_run.h"

using ::testing::HasSubstr;

TEST(ReportParsing, ReadsEveryRecordAndUndoesEscapes) {
    ProgramReport report;
    std::string error;
    ASSERT_TRUE(qmp::run::parseReport("exit\t0\nclock\t16800\npresents\t310\n"
                            "box\t16600\t4\t6\tKeyboard\tline one\\nline\\ttwo \\\\ end\n"
                            "capture\t500\tshots/a b.png\ncall\t0\tCreateWindowExA\n",
                            &report, &error))
        << error;
    EXPECT_EQ(report.exitCode, 0);
    EXPECT_EQ(report.clock, 16800u);
    EXPECT_EQ(report.presents, 310u);
    ASSERT_EQ(report.boxes.size(), 1u);
    EXPECT_EQ(report.boxes[0].time, 16600u);
    EXPECT_EQ(report.boxes[0].type, 4u);
    EXPECT_EQ(report.boxes[0].answer, 6);
    EXPECT_EQ(report.boxes[0].caption, "Keyboard");
    EXPECT_EQ(report.boxes[0].text, "line one\nline\ttwo \\ end");
    ASSERT_EQ(report.captures.size(), 1u);
    EXPECT_EQ(report.captures[0].path, "shots/a b.png");
    ASSERT_EQ(report.calls.size(), 1u);
    EXPECT_EQ(report.calls[0].name, "CreateWindowExA");
}

TEST(ReportParsing, MalformedLinesAreNamed) {
    ProgramReport report;
    std::string error;
    EXPECT_FALSE(qmp::run::parseReport("exit\t0\nbox\t1\t2\n", &report, &error));
    EXPECT_EQ(error, "line 2: box needs 5 fields");
    EXPECT_FALSE(qmp::run::parseReport("exit\tzero\n", &report, &error));
    EXPECT_EQ(error, "line 1: bad exit code");
    EXPECT_FALSE(qmp::run::parseReport("capture\t1\ta\\qb\n", &report, &error));
    EXPECT_THAT(error, HasSubstr("bad escape"));
    EXPECT_FALSE(qmp::run::parseReport("frames\t3\n", &report, &error));
    EXPECT_EQ(error, "line 1: unknown record 'frames'");
}

using ReportWriting = PlatformTest;

TEST_F(ReportWriting, WhatThePlatformWritesTheHarnessReadsBack) {
    platform::setTime(250);
    MessageBoxA(nullptr, "tab\there, new\nline, back\\slash", "\xC1\xE4", MB_OKCANCEL);  // Big5 caption
    platform::setCallLogging(true);
    PtInRect(nullptr, POINT{});
    platform::setCallLogging(false);

    ProgramReport report;
    std::string error;
    ASSERT_TRUE(qmp::run::parseReport(qmp::run::formatReport(5, true), &report, &error)) << error;
    EXPECT_EQ(report.exitCode, 5);
    EXPECT_EQ(report.clock, 250u);
    ASSERT_EQ(report.boxes.size(), 1u);
    EXPECT_EQ(report.boxes[0].text, "tab\there, new\nline, back\\slash");
    EXPECT_EQ(report.boxes[0].caption, "鍵");
    EXPECT_EQ(report.boxes[0].answer, IDCANCEL);
    ASSERT_EQ(report.calls.size(), 1u);
    EXPECT_EQ(report.calls[0].name, "PtInRect");

    ASSERT_TRUE(qmp::run::parseReport(qmp::run::formatReport(0, false), &report, &error));
    EXPECT_TRUE(report.calls.empty()) << "calls only with the call log";
}

TEST(ProgramHarness, CollectsExitCodeAndBothOutputs) {
    ProgramRun run;
    run.program = "/bin/sh";
    run.platformOptions = false;
    run.args = {"-c", "pwd; echo oops >&2; exit 7"};
    run.workingDir = "/";
    ProgramResult result = runProgram(run);
    ASSERT_TRUE(result.started);
    EXPECT_TRUE(result.exited);
    EXPECT_EQ(result.exitCode, 7);
    EXPECT_EQ(result.out, "/\n") << "it ran in the folder asked for";
    EXPECT_EQ(result.err, "oops\n");
    EXPECT_FALSE(result.hasReport);
}

TEST(ProgramHarness, StopsAProgramThatOutlivesItsTime) {
    ProgramRun run;
    run.program = "/bin/sh";
    run.platformOptions = false;
    run.args = {"-c", "sleep 30"};
    run.timeoutMs = 200;
    ProgramResult result = runProgram(run);
    EXPECT_TRUE(result.timedOut);
    EXPECT_FALSE(result.exited);
    EXPECT_EQ(result.signal, SIGKILL);
}

TEST(ProgramHarness, TheTemporaryFolderGoesWithTheResult) {
    std::filesystem::path folder;
    {
        ProgramRun run;
        run.program = "/bin/true";
        run.platformOptions = false;
        ProgramResult result = runProgram(run);
        folder = result.folder;
        EXPECT_TRUE(std::filesystem::exists(folder));
    }
    if (std::getenv("QM_KEEP_RUNS") == nullptr) {
        EXPECT_FALSE(std::filesystem::exists(folder));
    }
}

TEST(ProgramHarness, RunsInAFolderOfCopiedPictures) {
    TempFolder folder;
    ASSERT_TRUE(folder.valid());
    if (!std::filesystem::exists(std::filesystem::path(QM_RUNTIME_DIR) / "Sprites.bmp"))
        GTEST_SKIP() << "the picture files are not built";
    ASSERT_TRUE(folder.copyPictures({"bckgnd.bmp", "MsgWnd.bmp"}));
    EXPECT_FALSE(folder.copyPictures({"no-such.bmp"}));
    ProgramRun run;
    run.program = "/bin/sh";
    run.args = {"-c", "LC_ALL=C ls"};
    run.platformOptions = false;
    run.workingDir = folder.path().string();
    ProgramResult result = runProgram(run);
    EXPECT_EQ(result.out, "MsgWnd.bmp\nbckgnd.bmp\n") << result.describe();
}

// The program's entry point handles its own options before the demo starts.
TEST(ProgramEntry, HelpPrintsTheOptions) {
    ProgramRun run;
    run.platformOptions = false;
    run.args = {"--help"};
    ProgramResult result = runProgram(run);
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_THAT(result.out, HasSubstr("--script FILE"));
}

TEST(ProgramEntry, BadOptionsExitWithCode2) {
    ProgramRun run;
    run.platformOptions = false;
    run.args = {"--frobnicate"};
    ProgramResult result = runProgram(run);
    EXPECT_EQ(result.exitCode, 2) << result.describe();
    EXPECT_THAT(result.err, HasSubstr("unknown option: --frobnicate"));
    EXPECT_THAT(result.err, HasSubstr("--headless"));
}

TEST(ProgramEntry, AScriptWithAnErrorStopsTheRunBeforeItStarts) {
    ProgramRun run;
    run.script = "100 press Esc\n200 answer perhaps\n";
    ProgramResult result = runProgram(run);
    EXPECT_EQ(result.exitCode, 2) << result.describe();
    EXPECT_THAT(result.err, HasSubstr("line 2: the answer must be ok, yes, no or cancel"));
}

TEST(ProgramEntry, TourAndScriptExcludeEachOther) {
    ProgramRun run;
    run.script = "100 end\n";
    run.args = {"--tour"};
    ProgramResult result = runProgram(run);
    EXPECT_EQ(result.exitCode, 2) << result.describe();
}
