// The demo left running with someone at the keyboard: random keys from the key
// table (Esc's prompt answered no) for a long stretch of virtual time.
//
// In process, after a real start-up, the frames are driven the way the message
// loop drives them (one every 10 ms, messages first) so that every actor can be
// checked after every frame: each wanderer, the player and each fixed actor
// must stand in an open cell of the cave, and the heap must not grow.
// As a whole program, the same key stream comes from a script; the run must end
// normally, present frames to its end, and keep its resident size flat, as
// seen from outside through /proc.
//
// The test suite runs 2 minutes of virtual time (15 seconds in the sanitizer
// build, where a frame costs ten times more); QM_LONGRUN_MINUTES=60
// (scripts/longrun.sh) runs the full hour.
#include <gtest/gtest.h>

#include <malloc.h>

#include <cstdint>
#include <string>
#include <vector>

#include "actors/actors.h"
#include "app/frame_driver.h"
#include "app/globals.h"
#include "app/startup.h"
#include "program_runs.h"
#include "random_keys.h"
#include "support/demo_startup.h"
#include "watched_run.h"
#include "world/cave.h"

#if defined(__SANITIZE_ADDRESS__)
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

constexpr uint32_t FRAME_MS = 10;
const double SUITE_MINUTES = qmrel::SANITIZED ? 0.25 : 2;

std::string minutesText(uint32_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f min", ms / 60000.0);
    return text;
}

size_t heapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

// What is wrong with one actor's place, or empty.
std::string outsideTheCave(const char* what, int index, int32_t x, int32_t y) {
    int16_t row = -1;
    int16_t column = -1;
    if (Quillmere.isOpenCell(x, y, row, column)) return {};
    std::string where = std::string(what) + " " + std::to_string(index) + " at (" + std::to_string(x) + ", " +
                        std::to_string(y) + "), cell (" + std::to_string(row) + ", " + std::to_string(column) + ")";
    if (row >= 0 && row < Quillmere.rowCount()) {
        RowSpan span = Quillmere.rowSpan(row);
        where += ", row open from " + std::to_string(span.left) + " to " + std::to_string(span.right);
    }
    return where;
}

std::vector<std::string> actorsOutside() {
    std::vector<std::string> outside;
    auto check = [&](const char* what, int index, int32_t x, int32_t y) {
        std::string problem = outsideTheCave(what, index, x, y);
        if (!problem.empty()) outside.push_back(problem);
    };
    for (int i = 0; i < WANDERER_COUNT; ++i) check("wanderer", i, wanderers[i].x, wanderers[i].y);
    for (int i = 0; i < FIXED_ACTOR_COUNT; ++i) check("fixed actor", i, fixedActors[i].x, fixedActors[i].y);
    check("player", 0, player.x, player.y);
    return outside;
}

// Messages first, as the loop takes them: keys reach the window procedure.
void pumpMessages() {
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

TEST(LongRunInProcess, EveryActorStaysInsideTheCaveAndTheHeapStaysFlat) {
    std::filesystem::current_path(QM_RUNTIME_DIR);  // where the pictures are
    platform::reset();
    ASSERT_EQ(qmtest::startDemoInProcess(), nullptr);
    const uint32_t length = qmrel::longRunMs(SUITE_MINUTES);
    const uint32_t start = platform::now();
    const uint32_t end = start + length;
    std::vector<qmrel::KeyEvent> events = qmrel::randomKeyEvents(qmrel::longRunSeed(), start, end);

    size_t next = 0;
    uint64_t frames = 0;
    int escapes = 0;
    int regenerations = 0;
    std::vector<std::string> problems;
    const uint64_t presentsBefore = platform::presentCount();
    // The heap's highest point in the second quarter of the run and in the last:
    // by then every kind of frame and key has been seen, so it must not rise.
    const uint64_t totalFrames = length / FRAME_MS;
    size_t heapSecondQuarter = 0;
    size_t heapLastQuarter = 0;
    while (platform::now() < end) {
        for (; next < events.size() && events[next].time <= platform::now(); ++next) {
            const qmrel::KeyEvent& event = events[next];
            if (event.kind == qmrel::KeyEvent::AnswerNo) continue;  // an unanswered prompt gets its default, no
            if (event.kind == qmrel::KeyEvent::Down) {
                escapes += event.key == VK_ESCAPE ? 1 : 0;
                regenerations += event.key == VK_F5 ? 1 : 0;
            }
            PostMessageA(mainWindow, event.kind == qmrel::KeyEvent::Down ? WM_KEYDOWN : WM_KEYUP,
                         static_cast<WPARAM>(event.key), 0);
        }
        pumpMessages();
        ASSERT_TRUE(IsWindow(mainWindow)) << "the window went away at frame " << frames;
        runFrame();
        ++frames;
        std::vector<std::string> outside = actorsOutside();
        if (!outside.empty() && problems.size() < 10)
            problems.push_back("frame " + std::to_string(frames) + " (" + std::to_string(platform::now()) + " ms): " +
                               outside[0] + (outside.size() > 1 ? " and " + std::to_string(outside.size() - 1) + " more" : ""));
        if (frames % 50 == 0) {
            if (frames * 4 >= totalFrames && frames * 2 < totalFrames)
                heapSecondQuarter = std::max(heapSecondQuarter, heapInUse());
            if (frames * 4 >= totalFrames * 3) heapLastQuarter = std::max(heapLastQuarter, heapInUse());
        }
        platform::advanceTime(FRAME_MS);
    }
    const uint64_t presents = platform::presentCount() - presentsBefore;
    qmrel::note(minutesText(length) + " in process: " + std::to_string(frames) + " frames, " +
                std::to_string(presents) + " presents, " + std::to_string(next) + " key events (" +
                std::to_string(escapes) + " quit prompts, " + std::to_string(regenerations) + " new caves), heap peak " +
                std::to_string(heapSecondQuarter) + " B in the second quarter, " + std::to_string(heapLastQuarter) +
                " B in the last");

    EXPECT_TRUE(problems.empty()) << qmrel::summarise(problems, 10);
    EXPECT_EQ(frames, totalFrames);
    EXPECT_GE(presents, frames / 5) << "a presentation every fifth frame at least";
    // Each quit prompt adds a record of its box; nothing else may pile up.
    EXPECT_LE(heapLastQuarter, heapSecondQuarter + 256 * 1024 + static_cast<size_t>(escapes) * 512);
}

TEST(LongRunProgram, RandomKeysEndNormallyPresentingToTheEndInFlatMemory) {
    const uint32_t end = qmrel::longRunMs(SUITE_MINUTES);
    std::vector<qmrel::KeyEvent> events = qmrel::randomKeyEvents(qmrel::longRunSeed(), 0, end);
    int escapes = 0;
    for (const qmrel::KeyEvent& event : events) escapes += event.kind == qmrel::KeyEvent::Down && event.key == VK_ESCAPE;
    std::string script = qmrel::scriptOf(events) + std::to_string(end) + " end\n";

    // Headless, a second of demo time takes about half a second (four in the
    // sanitizer build, in fireworks mode); a run far slower than that is stuck.
    qmrel::WatchedRun run = qmrel::watchProgram(script, static_cast<int>(end / 1000) * 10 + 120);
    const ProgramResult& result = run.result;
    ASSERT_EQ(qmrel::runProblem(result), "") << result.describe();
    EXPECT_EQ(result.report.clock, end) << "ran to the end of the script";

    // Every box was the quit prompt, answered no.
    EXPECT_EQ(result.report.boxes.size(), static_cast<size_t>(escapes));
    for (const platform::MessageBoxRecord& box : result.report.boxes) {
        EXPECT_EQ(box.caption, "Keyboard");
        EXPECT_EQ(box.answer, IDNO);
    }
    // One presentation per 41 ms, less the moments a prompt stood open: a run
    // that stalled before its end falls short.
    const uint64_t expected = end / 41 - static_cast<uint64_t>(escapes) * 2;
    EXPECT_GE(result.report.presents, expected * 99 / 100);

    const long early = qmrel::residentPeakBetween(run, 0.15, 0.35);
    const long late = qmrel::residentPeakBetween(run, 0.80, 1.0);
    qmrel::note(minutesText(end) + " program: " + std::to_string(end / FRAME_MS) + " frames, " +
                std::to_string(result.report.presents) + " presents, " + std::to_string(events.size()) +
                " key events (" + std::to_string(escapes) + " quit prompts), " + std::to_string(run.seconds) +
                " s real; resident " + std::to_string(early) + " kB early, " + std::to_string(late) +
                " kB late; peak " + std::to_string(qmrel::peakAt(run, 1.0 / 6)) + " kB at 1/6, " +
                std::to_string(run.finalPeakKb) + " kB at the end; " + std::to_string(run.samples.size()) + " samples");
    ASSERT_GT(run.samples.size(), 10u);
    // The sanitizers hold freed memory back on purpose; their LeakSanitizer
    // checks leaks instead. Elsewhere the resident size must stay flat.
    if (!qmrel::SANITIZED) {
        EXPECT_LE(late, early + 4 * 1024) << "resident size grew by more than 4 MB";
    }
}

}  // namespace
