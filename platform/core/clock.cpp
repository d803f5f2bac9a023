#include "core/clock.h"

#include <time.h>

#include "core/launch.h"

namespace qmp::clock {
namespace {

struct ClockState {
    bool isVirtual;
    uint32_t virtualNow;
};

// Decided on first use, which may come before main() (the demo's global objects
// read the clock while they are constructed), from the launch options.
ClockState& state() {
    static ClockState s = [] {
        const LaunchOptions& options = launchOptions();
        return ClockState{options.headless, options.clockStart};
    }();
    return s;
}

uint32_t realMilliseconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);  // wraps like timeGetTime
}

uint64_t nanoseconds(clockid_t which) {
    timespec ts{};
    clock_gettime(which, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000000000u + static_cast<uint64_t>(ts.tv_nsec);
}

}  // namespace

uint64_t threadCpuNs() { return nanoseconds(CLOCK_THREAD_CPUTIME_ID); }
uint64_t processCpuNs() { return nanoseconds(CLOCK_PROCESS_CPUTIME_ID); }

uint32_t now() { return state().isVirtual ? state().virtualNow : realMilliseconds(); }
bool isVirtual() { return state().isVirtual; }

void useVirtual(uint32_t start) {
    state().isVirtual = true;
    state().virtualNow = start;
}

void useReal() { state().isVirtual = false; }

void set(uint32_t ms) { state().virtualNow = ms; }
void advance(uint32_t ms) { state().virtualNow += ms; }

}  // namespace qmp::clock
