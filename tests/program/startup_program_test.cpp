// Start-up as a person meets it: the failure box of each stage that can fail,
// which picture files are read, and the exit code.
#include <gtest/gtest.h>

#include <gmock/gmock.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "demo_run.h"

namespace {

int callsNamed(const ProgramReport& report, const std::string& name) {
    return static_cast<int>(std::count_if(report.calls.begin(), report.calls.end(),
                                          [&](const platform::CallRecord& call) { return call.name == name; }));
}

// A run whose only event is the end; start-up failures end it at once.
ProgramResult runWith(const std::vector<std::string>& args, const std::string& folder = QM_RUNTIME_DIR) {
    ProgramRun run;
    run.args = args;
    run.workingDir = folder;
    run.callLog = true;
    run.script = "2000 end\n";
    return runProgram(run);
}

void expectFailedStage(const ProgramResult& result, const char* caption) {
    ASSERT_TRUE(result.exited) << result.describe();
    EXPECT_EQ(result.exitCode, 0);
    ASSERT_TRUE(result.hasReport) << result.reportError;
    ASSERT_EQ(result.report.boxes.size(), 1u) << result.describe();
    EXPECT_EQ(result.report.boxes[0].text, "Game initial Failed!");
    EXPECT_EQ(result.report.boxes[0].caption, caption);
    EXPECT_EQ(result.report.boxes[0].type, static_cast<unsigned>(MB_OK));
    EXPECT_EQ(callsNamed(result.report, "IDirectDrawSurface::BltFast"), 0) << "no frame after a failed start-up";
}

// A folder with some of the three picture files.
std::string folderWith(const TempFolder& folder, const std::vector<std::string>& names) {
    EXPECT_TRUE(folder.valid());
    EXPECT_TRUE(folder.copyPictures(names));
    return folder.path().string();
}

TEST(StartupProgram, ADisplayThatCannotBeOpenedIsReported) {
    expectFailedStage(runWith({"--fail", "DirectDrawCreate"}), "CreateDirectDraw()");
    expectFailedStage(runWith({"--fail", "IDirectDraw::SetDisplayMode"}), "CreateDirectDraw()");
}

TEST(StartupProgram, AFlipChainThatCannotBeMadeIsReported) {
    expectFailedStage(runWith({"--fail", "IDirectDraw::CreateSurface:1"}), "CreateFlipSurfaces()");
}

TEST(StartupProgram, AMissingSpriteSheetStopsBeforeTheMessagePicture) {
    TempFolder folder;
    ProgramResult result = runWith({}, folderWith(folder, {"bckgnd.bmp", "MsgWnd.bmp"}));
    expectFailedStage(result, "LoadImages()");
    EXPECT_EQ(callsNamed(result.report, "CreateFileA"), 2);  // bckgnd.bmp, Sprites.bmp; MsgWnd.bmp is not read
}

TEST(StartupProgram, AMissingBackgroundStopsAtOnce) {
    TempFolder folder;
    ProgramResult result = runWith({}, folderWith(folder, {"Sprites.bmp", "MsgWnd.bmp"}));
    expectFailedStage(result, "LoadImages()");
    EXPECT_EQ(callsNamed(result.report, "CreateFileA"), 1);
}

TEST(StartupProgram, AMissingMessagePictureIsReportedAfterReadingTheOthers) {
    TempFolder folder;
    ProgramResult result = runWith({}, folderWith(folder, {"bckgnd.bmp", "Sprites.bmp"}));
    expectFailedStage(result, "LoadImages()");
    EXPECT_EQ(callsNamed(result.report, "CreateFileA"), 3);
}

TEST(StartupProgram, AFailedStartUpSaysWhichPictureAndWhyOnStderr) {
    struct Broken {
        const char* name;
        std::function<void(const std::filesystem::path&)> breakIt;
        const char* says;
    };
    namespace fs = std::filesystem;
    const Broken cases[] = {
        {"missing", [](const fs::path& f) { fs::remove(f / "Sprites.bmp"); }, "Sprites.bmp: not found"},
        {"in the wrong case", [](const fs::path& f) { fs::rename(f / "Sprites.bmp", f / "sprites.bmp"); },
         "Sprites.bmp: not found (there is sprites.bmp: names are case-sensitive here)"},
        {"unreadable", [](const fs::path& f) { fs::permissions(f / "MsgWnd.bmp", fs::perms::none); },
         "MsgWnd.bmp: unreadable (Permission denied)"},
    };
    for (const Broken& c : cases) {
        if (std::string(c.name) == "unreadable" && geteuid() == 0) continue;  // root reads every file
        TempFolder folder;
        c.breakIt(folderWith(folder, {"bckgnd.bmp", "Sprites.bmp", "MsgWnd.bmp"}));
        ProgramResult result = runWith({}, folder.path().string());
        expectFailedStage(result, "LoadImages()");
        EXPECT_THAT(result.err, testing::HasSubstr("Quillmere: start-up failed (\"Game initial Failed!\" / \"LoadImages()\"): " +
                                                   (folder.path() / c.says).string()))
            << c.name;
    }
}

TEST(StartupProgram, SurfacesThatCannotBeMadeAreReported) {
    // The second surface is the message surface, after the flip chain.
    expectFailedStage(runWith({"--fail", "IDirectDraw::CreateSurface:2"}), "DrawImageToSurfaces()");
}

TEST(StartupProgram, ACompleteStartUpRunsUntilClosedAndExitsWithZero) {
    ProgramResult result = runWith({});
    ASSERT_TRUE(result.exited) << result.describe();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.report.boxes.empty());
    EXPECT_EQ(callsNamed(result.report, "CreateFileA"), 3);
    EXPECT_GT(callsNamed(result.report, "IDirectDrawSurface::BltFast"), 100);
}

}  // namespace
