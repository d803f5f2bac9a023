// The millisecond clock behind timeGetTime: real (milliseconds since the host
// started, as on Windows) when the program shows a window, virtual when it runs
// headless. The virtual clock moves only when told to, so headless runs repeat
// exactly.
#pragma once

#include <cstdint>

namespace qmp::clock {

uint32_t now();
bool isVirtual();

void useVirtual(uint32_t start);
void useReal();

// Virtual clock only; no effect on the real one.
void set(uint32_t ms);
void advance(uint32_t ms);

// CPU time used so far, in nanoseconds, by the calling thread or the whole
// process (for the rate line; not the program's clock).
uint64_t threadCpuNs();
uint64_t processCpuNs();

}  // namespace qmp::clock
