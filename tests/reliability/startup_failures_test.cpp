// Every platform call that start-up makes, failed in turn. The list comes from
// the call log of a good run (every call before the message loop's first
// PeekMessageA); each call is then failed once, in a run of its own, and the
// run must end with exit code 0 and show exactly what the start-up sequence
// promises for that call: the failure box of the stage that owns it, no box at
// all where the window cannot be made, or a normal run where the result of the
// call is ignored. Under the asan build LeakSanitizer also checks that none of
// these early ends leaks.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "program_runs.h"

namespace {

// Where a call happens in start-up, found from landmarks in the call log.
enum class Stage {
    Window,       // the window, shown and focused; the cursor hidden
    DirectDraw,   // CreateDirectDraw
    FlipChain,    // CreateFlipSurfaces
    Pictures,     // LoadImages
    Offscreen,    // the message surface and the canvas with its clipper
    Palettes,     // the background's palette into both display palettes
    Cave,         // generating the cave: pieces, minimap
    Strips,       // the eleven sprite strips
    Message,      // the message picture into its surface
    BlendTable,   // the BlendTable from the back buffer's palette
    Objects,      // the scene
};

const char* stageName(Stage stage) {
    static const char* const names[] = {"window",  "CreateDirectDraw", "CreateFlipSurfaces", "LoadImages",
                                        "off-screen surfaces", "palettes", "cave", "strips",
                                        "message picture", "blend table", "CreateObjects"};
    return names[static_cast<int>(stage)];
}

struct FailurePoint {
    std::string name;
    int occurrence = 0;  // 1-based, counted from the start of the run
    Stage stage = Stage::Window;
    int file = 0;        // Pictures: 1 bckgnd.bmp, 2 Sprites.bmp, 3 MsgWnd.bmp
};

// What failing one call must lead to.
struct Expectation {
    enum Kind { Box, Silent, RunsOn, CannotFail } kind;
    std::string caption;  // Box
};

Expectation expectationFor(const FailurePoint& point) {
    const std::string& name = point.name;
    auto box = [](const char* caption) { return Expectation{Expectation::Box, caption}; };
    const Expectation runsOn{Expectation::RunsOn, {}};
    if (name == "timeGetTime") return {Expectation::CannotFail, {}};  // traced for the log only
    switch (point.stage) {
    case Stage::Window:
        // Without its class the window cannot be made, and the program ends without a word.
        if (name == "CreateWindowExA" || name == "RegisterClassA") return {Expectation::Silent, {}};
        return runsOn;
    case Stage::DirectDraw: return box("CreateDirectDraw()");
    case Stage::FlipChain:
        if (name == "IDirectDraw::CreateSurface" || name == "IDirectDrawSurface::GetAttachedSurface")
            return box("CreateFlipSurfaces()");
        // A palette that could not be made stays null; applying the picture's palette to it fails.
        if (name == "IDirectDraw::CreatePalette") return box("DrawImageToSurfaces()");
        return runsOn;  // SetPalette
    case Stage::Pictures:
        if (name == "CloseHandle") return runsOn;
        return box("LoadImages()");
    case Stage::Offscreen:
        // Without a palette of its own the canvas maps GDI's colours against the display's.
        if (name == "IDirectDrawSurface::SetColorKey" || name == "IDirectDraw::CreatePalette" ||
            name == "IDirectDrawSurface::SetPalette")
            return runsOn;
        return box("DrawImageToSurfaces()");
    case Stage::Palettes: return runsOn;
    case Stage::Cave: return runsOn;  // generate ignores what its surfaces do
    case Stage::Strips:
        // A strip needs its surfaces; a frame that cannot be restored or copied stays blank.
        if (name == "IDirectDraw::CreateSurface") return box("DrawImageToSurfaces()");
        return runsOn;
    case Stage::Message:
        if (name == "IDirectDrawSurface::Lock") return box("DrawImageToSurfaces()");
        return runsOn;
    case Stage::BlendTable: return runsOn;  // GetEntries' result is ignored
    case Stage::Objects: return runsOn;
    }
    return runsOn;
}

// The start-up calls of a good run, each with its stage.
std::vector<FailurePoint> startupCalls(std::string* error) {
    ProgramRun run;
    run.script = "0 end\n";
    run.callLog = true;
    ProgramResult result = runProgram(run);
    std::vector<FailurePoint> points;
    std::string problem = qmrel::runProblem(result);
    if (!problem.empty() || !result.report.boxes.empty()) {
        *error = "the good run failed: " + problem + result.describe();
        return points;
    }
    std::map<std::string, int> seen;
    Stage stage = Stage::Window;
    int files = 0;
    int closes = 0;
    std::string previous;
    for (const platform::CallRecord& call : result.report.calls) {
        const std::string& name = call.name;
        if (name == "PeekMessageA") break;
        // Landmarks: the first call of each stage, or the last call of the stage before.
        if (name == "DirectDrawCreate") stage = Stage::DirectDraw;
        if (stage == Stage::DirectDraw && previous == "IDirectDraw::SetDisplayMode") stage = Stage::FlipChain;
        if (name == "CreateFileA" && stage < Stage::Pictures) stage = Stage::Pictures;
        if (stage == Stage::Pictures && closes == 3) stage = Stage::Offscreen;
        if (stage == Stage::Offscreen && name == "IDirectDrawPalette::SetEntries") stage = Stage::Palettes;
        if (stage == Stage::Palettes && name != "IDirectDrawPalette::SetEntries") stage = Stage::Cave;
        if (stage == Stage::Cave && previous == "DeleteObject") stage = Stage::Strips;
        // Every frame copy follows its Restore; the message copy does not.
        if (stage == Stage::Strips && name == "IDirectDrawSurface::Lock" && previous != "IDirectDrawSurface::Restore")
            stage = Stage::Message;
        if (name == "IDirectDrawPalette::GetEntries" && stage >= Stage::Message) stage = Stage::BlendTable;
        else if (stage == Stage::BlendTable) stage = Stage::Objects;

        if (name == "CreateFileA") ++files;
        points.push_back({name, ++seen[name], stage, stage == Stage::Pictures ? files : 0});
        if (name == "CloseHandle" && stage == Stage::Pictures) ++closes;
        previous = name;
    }
    std::set<Stage> stages;
    for (const FailurePoint& point : points) stages.insert(point.stage);
    if (stages.size() != static_cast<size_t>(Stage::Objects) + 1)
        *error = "the call log no longer shows every stage of start-up (" + std::to_string(stages.size()) + " found)";
    return points;
}

std::string judge(const FailurePoint& point, const Expectation& expected, const ProgramResult& result) {
    std::string problem = qmrel::runProblem(result);
    if (!problem.empty()) return problem;
    const ProgramReport& report = result.report;
    switch (expected.kind) {
    case Expectation::Box: return qmrel::failedStartupProblem(report, expected.caption);
    case Expectation::Silent:
        if (!report.boxes.empty()) return "a box \"" + report.boxes[0].caption + "\" where none was due";
        if (report.presents != 0) return "frames ran without a window";
        return {};
    case Expectation::RunsOn:
        if (qmrel::boxesWithText(report, qmrel::STARTUP_FAILED) > 0)
            return "start-up failed with \"" + report.boxes[0].caption + "\" though the call's result is ignored";
        // The cave draws nothing without its floor piece and says so each frame.
        for (const platform::MessageBoxRecord& box : report.boxes) {
            bool caveBox = point.stage == Stage::Cave && (box.text == "Failed!" || box.text == "Draw World Failed!");
            if (!caveBox) return "unexpected box \"" + box.text + "\" / \"" + box.caption + "\"";
        }
        if (report.presents == 0) return "ran no frame";
        return {};
    case Expectation::CannotFail: return {};
    }
    return {};
}

class StartupFailures : public ::testing::Test {
protected:
    // Fails each start-up call that `wanted` picks, in a run of its own.
    void failEach(bool (*wanted)(const FailurePoint&)) {
        std::string error;
        std::vector<FailurePoint> all = startupCalls(&error);
        ASSERT_TRUE(error.empty()) << error;
        std::vector<FailurePoint> points;
        int cannotFail = 0;
        for (const FailurePoint& point : all) {
            if (!wanted(point)) continue;
            if (expectationFor(point).kind == Expectation::CannotFail) ++cannotFail;
            else points.push_back(point);
        }
        ASSERT_FALSE(points.empty());
        std::vector<std::string> problems = qmrel::runEach(points.size(), [&](size_t i) -> std::string {
            const FailurePoint& point = points[i];
            ProgramRun run;
            run.script = "60 end\n";
            run.args = {"--fail", point.name + ":" + std::to_string(point.occurrence)};
            run.timeoutMs = 120000;
            std::string problem = judge(point, expectationFor(point), runProgram(run));
            if (problem.empty()) return problem;
            return point.name + ":" + std::to_string(point.occurrence) + " (" + stageName(point.stage) + "): " + problem;
        });
        qmrel::note(std::to_string(points.size()) + " failure points of " + std::to_string(all.size()) +
                    " start-up calls failed in turn (" + std::to_string(cannotFail) + " more cannot fail)");
        EXPECT_TRUE(problems.empty()) << qmrel::summarise(problems);
    }
};

TEST_F(StartupFailures, TheStartUpCallLogShowsEveryStage) {
    std::string error;
    std::vector<FailurePoint> points = startupCalls(&error);
    ASSERT_TRUE(error.empty()) << error;
    std::map<Stage, int> perStage;
    int failable = 0;
    for (const FailurePoint& point : points) {
        ++perStage[point.stage];
        if (expectationFor(point).kind != Expectation::CannotFail) ++failable;
    }
    std::string counts;
    for (const auto& [stage, count] : perStage) counts += std::string(" ") + stageName(stage) + "=" + std::to_string(count);
    qmrel::note(std::to_string(points.size()) + " start-up calls, " + std::to_string(failable) + " failure points:" + counts);
    // The three pictures are opened in order, and read in more calls than anything else.
    EXPECT_EQ(perStage[Stage::DirectDraw], 3);
    EXPECT_GT(perStage[Stage::Pictures], 1000);
    EXPECT_EQ(perStage[Stage::BlendTable], 1);
}

TEST_F(StartupFailures, WindowDisplayAndFlipChain) {
    failEach([](const FailurePoint& p) { return p.stage <= Stage::FlipChain; });
}

TEST_F(StartupFailures, ReadingTheBackground) {
    failEach([](const FailurePoint& p) { return p.stage == Stage::Pictures && p.file == 1; });
}

TEST_F(StartupFailures, ReadingTheSpriteSheetAndTheMessagePicture) {
    failEach([](const FailurePoint& p) { return p.stage == Stage::Pictures && p.file >= 2; });
}

TEST_F(StartupFailures, SurfacesPalettesAndTheCave) {
    failEach([](const FailurePoint& p) { return p.stage >= Stage::Offscreen && p.stage <= Stage::Cave; });
}

TEST_F(StartupFailures, StripsMessagePictureBlendTableAndScene) {
    failEach([](const FailurePoint& p) { return p.stage >= Stage::Strips; });
}

}  // namespace
