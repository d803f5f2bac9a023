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
using ::testing::Not;

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

TEST(ProgramEntry, HelpAndVersionTellWhatANewcomerNeeds) {
    ProgramRun run;
    run.platformOptions = false;
    run.args = {"--help"};
    const std::string help = runProgram(run).out;
    for (const char* part : {"Usage: Quillmere", "--data DIR", "--record FILE.gif", "--version", "Keys:", "F7 / F8",
                             "F10", "Picture files:", "bckgnd.bmp", "Exit codes:", "Environment:", "QUILLMERE_HEADLESS"})
        EXPECT_THAT(help, HasSubstr(part));
    run.args = {"--version"};
    ProgramResult version = runProgram(run);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "Quillmere Demo 1.0\n");
}

TEST(ProgramEntry, LaunchesThatCannotWorkAreRefusedWithCode2AndMakeNoFolders) {
    const std::filesystem::path missing = "/nonexistent_dir_qm";
    struct Refused {
        std::vector<std::string> args;
        std::string says;
    };
    const Refused cases[] = {
        {{"--fail", "NoSuchCall"}, "--fail NoSuchCall: no platform call has that name"},
        {{"--fail", "lock"}, "did you mean IDirectDrawSurface::Lock"},
        {{"--fail", "Create File"}, "--fail call name is malformed"},
        {{"--fail", "CreateFileA:010x"}, "--fail occurrence must be a positive number"},
        {{"--fail", "CreateFileA:1:0x1FFFFFFFF"}, "--fail error must be a 32-bit number"},
        {{"--data", missing.string()}, "no such folder"},
        {{"--shots", missing.string()}, "--shots " + missing.string() + ": no such folder"},
        {{"--record", (missing / "tour.gif").string()}, "no folder " + missing.string()},
        {{"--record-every", "0"}, "--record-every must be a number"},
    };
    for (const Refused& c : cases) {
        ProgramRun run;
        run.platformOptions = false;
        run.args = c.args;
        run.args.push_back("--headless");
        ProgramResult result = runProgram(run);
        EXPECT_EQ(result.exitCode, 2) << c.args[0] << " " << c.args[1] << "\n" << result.describe();
        EXPECT_THAT(result.err, HasSubstr(c.says));
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(ProgramEntry, TheScriptsMistakesAreReportedAndItsCapturesMakeNoFolders) {
    ProgramRun run;
    run.script = "100 capture /nonexistent_dir_qm/a.png\n200 end\n300 press F1\n";
    ProgramResult result = runProgram(run);
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_THAT(result.err, HasSubstr("the events from 300 ms on come after its end at 200 ms and will not happen"));
    EXPECT_THAT(result.err, HasSubstr("no folder /nonexistent_dir_qm"));
    EXPECT_FALSE(std::filesystem::exists("/nonexistent_dir_qm"));
}

TEST(ProgramEntry, FindsItsPicturesFromAnyFolderAndSaysWhere) {
    TempFolder empty;
    ProgramRun run;
    run.script = "500 end\n";
    run.workingDir = empty.path().string();
    ProgramResult found = runProgram(run);
    EXPECT_EQ(found.exitCode, 0) << found.describe();
    EXPECT_TRUE(found.report.boxes.empty()) << found.describe();
    EXPECT_THAT(found.err, HasSubstr("the current folder has no pictures; reading them from " +
                                     std::filesystem::canonical(QM_RUNTIME_DIR).string()));

    run.args = {"--data", QM_RUNTIME_DIR};
    run.workingDir = "/";
    ProgramResult named = runProgram(run);
    EXPECT_EQ(named.exitCode, 0) << named.describe();
    EXPECT_TRUE(named.report.boxes.empty()) << named.describe();
    EXPECT_THAT(named.err, Not(HasSubstr("reading them from"))) << "--data needs no note";
}
