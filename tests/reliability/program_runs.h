// Many headless runs of the built program, two at a time, each judged as it
// ends: the checks every reliability run shares (a normal exit, no signal,
// no timeout, nothing from a sanitizer) and what a run's message boxes say.
#pragma once

#include <atomic>
#include <cstdio>
#include <functional>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/program_run.h"

namespace qmrel {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool SANITIZED = true;
#else
constexpr bool SANITIZED = false;
#endif

constexpr const char* STARTUP_FAILED = "Game initial Failed!";

// The first line of a sanitizer's report on stderr, or empty.
inline std::string sanitizerReport(const std::string& err) {
    static const char* const markers[] = {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                                          "WARNING: AddressSanitizer", "SUMMARY: UndefinedBehaviorSanitizer"};
    for (const char* marker : markers) {
        size_t at = err.find(marker);
        if (at == std::string::npos) continue;
        size_t start = err.rfind('\n', at);
        start = start == std::string::npos ? 0 : start + 1;
        return err.substr(start, err.find('\n', at) - start);
    }
    return {};
}

// What is wrong with a run as a run, whatever it was asked to do: empty when it
// ended by itself with exit code 0, wrote its report, and no sanitizer spoke.
inline std::string runProblem(const ProgramResult& result) {
    if (!result.started) return "did not start: " + result.err;
    if (result.timedOut) return "timed out (stuck)";
    if (!result.exited) return "killed by signal " + std::to_string(result.signal) + "\n" + result.err;
    std::string sanitizer = sanitizerReport(result.err);
    if (!sanitizer.empty()) return "sanitizer: " + sanitizer;
    if (result.exitCode != 0) return "exit code " + std::to_string(result.exitCode) + "\n" + result.err;
    if (!result.hasReport) return "no report: " + result.reportError;
    if (result.report.exitCode != 0) return "report says exit code " + std::to_string(result.report.exitCode);
    return {};
}

inline int boxesWithText(const ProgramReport& report, const std::string& text) {
    int count = 0;
    for (const platform::MessageBoxRecord& box : report.boxes) count += box.text == text ? 1 : 0;
    return count;
}

// Empty when the run failed its start-up exactly once, with `caption`.
inline std::string failedStartupProblem(const ProgramReport& report, const std::string& caption) {
    if (report.boxes.size() != 1) return std::to_string(report.boxes.size()) + " message boxes, wanted one";
    const platform::MessageBoxRecord& box = report.boxes[0];
    if (box.text != STARTUP_FAILED || box.caption != caption)
        return "box \"" + box.text + "\" / \"" + box.caption + "\", wanted \"" + STARTUP_FAILED + "\" / \"" + caption + "\"";
    return {};
}

// Runs `count` programs, `workers` at a time. `run(i)` does the whole of run i
// (prepare, run, judge) and returns what was wrong with it, empty when nothing.
// Returns the problems as "name: problem" lines, in no particular order.
inline std::vector<std::string> runEach(size_t count, const std::function<std::string(size_t)>& run,
                                        int workers = 2) {
    std::vector<std::string> problems;
    std::mutex guard;
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < count; i = next++) {
            std::string problem = run(i);
            if (problem.empty()) continue;
            std::lock_guard<std::mutex> lock(guard);
            problems.push_back(problem);
        }
    };
    std::vector<std::thread> threads;
    for (int w = 1; w < workers; ++w) threads.emplace_back(work);
    work();
    for (std::thread& thread : threads) thread.join();
    return problems;
}

// The first few problems, for a failure message.
inline std::string summarise(const std::vector<std::string>& problems, size_t shown = 12) {
    std::ostringstream text;
    text << problems.size() << " problem(s)";
    for (size_t i = 0; i < problems.size() && i < shown; ++i) text << "\n  " << problems[i];
    return text.str();
}

// A line of figures for the log (ctest keeps the output of every test with -V).
inline void note(const std::string& line) {
    std::printf("[reliability] %s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace qmrel
