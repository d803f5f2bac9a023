// Runs the built demo headless with a script and reads its captures back.
#pragma once

#include <string>

#include <windows.h>

#include "picture.h"
#include "support/program_run.h"

namespace qmtest {

// Seconds of demo time until the opening fade has surely ended (61 steps, one
// per 41 ms presentation).
constexpr int FADE_DONE_MS = 3300;

inline ProgramResult runDemoScript(const std::string& script, bool callLog = false) {
    ProgramRun run;
    run.script = script;
    run.callLog = callLog;
    return runProgram(run);
}

inline Picture shot(const ProgramResult& result, const std::string& name) {
    return Picture::load((result.shots / name).string());
}

// `count` presses of a key at `time`, one after the other.
inline std::string presses(int time, const char* key, int count) {
    std::string lines;
    for (int i = 0; i < count; ++i) lines += std::to_string(time) + " press " + key + "\n";
    return lines;
}

constexpr Rgb CYAN{0, 255, 255};
constexpr Rgb RED{255, 0, 0};

}  // namespace qmtest
