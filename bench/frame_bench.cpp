// Frame and start-up costs through the real passes, headless, after a real
// start-up in-process, in the folder where the picture files lie.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "actors/actors.h"
#include "actors/particles.h"
#include "app/globals.h"
#include "app/passes.h"
#include "app/frame_driver.h"
#include "app/window_proc.h"
#include "platform/control.h"
#include "support/demo_startup.h"
#include "world/cave.h"

namespace {

// Releases what a previous start-up made, then starts the demo afresh.
void startFresh() {
    std::filesystem::current_path(QM_RUNTIME_DIR);
    releaseDisplay();
    if (mainWindow != nullptr) DestroyWindow(mainWindow);
    platform::reset();
    if (const char* failed = qmtest::startDemoInProcess()) {
        std::fprintf(stderr, "start-up failed at %s\n", failed);
        std::exit(1);
    }
}

// One frame as the frame driver runs it, with a presentation every time.
void runOneFrame() {
    platform::advanceTime(10);
    updatePass();
    drawPass();
    present();
}

void BM_CaveFrame(benchmark::State& state) {
    startFresh();
    switches.hudVisible = true;
    switches.cursorVisible = true;
    switches.minimapStyle = 1;  // the translucent minimap picture
    Quillmere.minimapVisible = true;
    for (auto _ : state) runOneFrame();
}
BENCHMARK(BM_CaveFrame)->Unit(benchmark::kMicrosecond);

void BM_FireworksFrame(benchmark::State& state) {
    startFresh();
    switches.fireworksMode = true;
    switches.hudVisible = true;  // the palette dots
    for (auto _ : state) runOneFrame();
    state.counters["particles"] = particleBurst.count;
}
BENCHMARK(BM_FireworksFrame)->Unit(benchmark::kMicrosecond);

void BM_StartupToFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        startFresh();
        runOneFrame();
    }
}
BENCHMARK(BM_StartupToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
