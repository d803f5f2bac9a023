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

}  // namespace

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
