// The cost of the USER calls the demo makes on every loop turn and for every
// actor, with the trace idle, with a fault plan for another call, and logging.
#include <benchmark/benchmark.h>

#include <windows.h>

#include "platform/control.h"

namespace {

void tracing(benchmark::State& state) {
    platform::reset();
    if (state.range(0) == 1) platform::failCall("MsgWaitForMultipleObjects", 1000000000);
    if (state.range(0) == 2) platform::setCallLogging(true);
}

void BM_PtInRect(benchmark::State& state) {
    tracing(state);
    const RECT rect{0, 0, 640, 479};
    POINT point{0, 0};
    for (auto _ : state) {
        point.x = (point.x + 7) & 1023;
        benchmark::DoNotOptimize(PtInRect(&rect, point));
        if (state.range(0) == 2 && platform::callLog().size() > 100000) platform::clearCallLog();
    }
    platform::reset();
}
BENCHMARK(BM_PtInRect)->Arg(0)->Arg(1)->Arg(2);

// One turn of an idle loop: PeekMessageA finds nothing, then a zero wait.
void BM_IdleLoopTurn(benchmark::State& state) {
    tracing(state);
    MSG msg;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
        benchmark::DoNotOptimize(MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT));
        if (state.range(0) == 2 && platform::callLog().size() > 100000) platform::clearCallLog();
    }
    platform::reset();
}
BENCHMARK(BM_IdleLoopTurn)->Arg(0)->Arg(1)->Arg(2);

}  // namespace
