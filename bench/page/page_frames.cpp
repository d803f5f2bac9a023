// The cave and fireworks frames of bench_frame_bench, run inside a web page
// and timed by the page's clock (performance.now): one frame is the update
// pass, the draw pass and a presentation, headless, as there. Prints the
// median of 31 runs of 20 frames, per frame, to the page's log.
#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "actors/actors.h"
#include "app/frame_driver.h"
#include "app/globals.h"
#include "app/passes.h"
#include "core/backend.h"
#include "core/clock.h"
#include "platform/control.h"
#include "support/demo_startup.h"
#include "world/cave.h"

namespace {

constexpr int kRuns = 31;
constexpr int kFramesPerRun = 20;
// The browser compiles WebAssembly quickly first and its hot functions again,
// optimised, after they have run a while: the frames are timed once that has
// happened (a second of frames), as a page that has been open a while runs them.
constexpr double kWarmUpMs = 1000;

void runOneFrame() {
    platform::advanceTime(10);
    updatePass();
    drawPass();
    present();
}

double medianFrameMs() {
    for (const double start = emscripten_get_now(); emscripten_get_now() - start < kWarmUpMs;) runOneFrame();
    std::vector<double> perFrame;
    for (int run = 0; run < kRuns; ++run) {
        const double start = emscripten_get_now();
        for (int i = 0; i < kFramesPerRun; ++i) runOneFrame();
        perFrame.push_back((emscripten_get_now() - start) / kFramesPerRun);
    }
    std::sort(perFrame.begin(), perFrame.end());
    return perFrame[perFrame.size() / 2];
}

}  // namespace

int main() {
    qmp::clock::useVirtual(0);
    qmp::setBackend(qmp::makeHeadlessBackend());
    if (const char* failed = qmtest::startDemoInProcess()) {
        std::printf("page_frames: start-up failed at %s\n", failed);
        return 1;
    }
    switches.hudVisible = true;
    switches.cursorVisible = true;
    switches.minimapStyle = 1;  // the translucent minimap picture
    Quillmere.minimapVisible = true;
    std::printf("page_frames: cave %.3f ms\n", medianFrameMs());
    switches.fireworksMode = true;
    std::printf("page_frames: fireworks %.3f ms\n", medianFrameMs());
    return 0;
}
