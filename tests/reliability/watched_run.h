// Runs the built program headless as a child and watches its memory from
// outside while it runs: /proc/<pid>/status is sampled every few tens of
// milliseconds (resident size and its peak), and the peak of the whole run
// comes from the kernel when the child ends. The program itself is not touched.
#pragma once

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/program_run.h"

namespace qmrel {

struct MemorySample {
    double seconds = 0;   // real time since the start
    long residentKb = 0;  // VmRSS
    long peakKb = 0;      // VmHWM
};

struct WatchedRun {
    ProgramResult result;  // exit status, output, report
    std::vector<MemorySample> samples;
    long finalPeakKb = 0;  // ru_maxrss of the child
    double seconds = 0;    // real time of the whole run
};

inline bool sampleMemory(pid_t pid, MemorySample* sample) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    bool found = false;
    while (std::getline(status, line)) {
        std::istringstream fields(line);
        std::string key;
        long value = 0;
        fields >> key >> value;
        if (key == "VmRSS:") {
            sample->residentKb = value;
            found = true;
        }
        if (key == "VmHWM:") sample->peakKb = value;
    }
    return found;
}

// Runs the program headless with `script`, sampling its memory every `periodMs`.
inline WatchedRun watchProgram(const std::string& script, int timeoutSeconds, int periodMs = 50) {
    WatchedRun watched;
    ProgramRun run;
    run.script = script;
    run.timeoutMs = timeoutSeconds * 1000;
    const auto started = std::chrono::steady_clock::now();
    run.watchPeriodMs = periodMs;
    run.watch = [&](pid_t pid) {
        MemorySample sample;
        sample.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (sampleMemory(pid, &sample)) watched.samples.push_back(sample);
    };
    watched.result = runProgram(run);
    watched.finalPeakKb = watched.result.peakKb;
    watched.seconds = watched.result.seconds;
    return watched;
}

// The largest resident size among the samples taken between two fractions of the run.
inline long residentPeakBetween(const WatchedRun& run, double from, double to) {
    long peak = 0;
    for (const MemorySample& sample : run.samples)
        if (sample.seconds >= from * run.seconds && sample.seconds <= to * run.seconds)
            peak = std::max(peak, sample.residentKb);
    return peak;
}

// The peak resident size (VmHWM) as last sampled at or before a fraction of the run.
inline long peakAt(const WatchedRun& run, double fraction) {
    long peak = 0;
    for (const MemorySample& sample : run.samples)
        if (sample.seconds <= fraction * run.seconds) peak = sample.peakKb;
    return peak;
}

}  // namespace qmrel
