// The Stopwatch and the RandomSource of clock.h.
#include "app/clock.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdlib>

uint32_t Stopwatch::reset() {
    start = timeGetTime();
    return start;
}

int32_t Stopwatch::elapsed() {
    // Modulo 2^32, then read as signed: the clock's wrap after 49.7 days is harmless.
    return static_cast<int32_t>(timeGetTime() - start);
}

bool Stopwatch::intervalElapsed(int32_t& mark, int32_t interval) {
    int32_t now = elapsed();
    // now - mark < interval, in wrapping arithmetic: mark + interval may pass INT32_MAX.
    int32_t since = static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(mark));
    if (since < interval) return false;
    mark = now;
    return true;
}

RandomSource::RandomSource() { reseed(); }

void RandomSource::reseed() {
    std::srand(timeGetTime());
    drawCount = 0;
}

namespace {
// One raw draw of 15 bits, whatever RAND_MAX the host's library has.
int32_t rawDraw() { return std::rand() & 0x7FFF; }
}  // namespace

int32_t RandomSource::range(int32_t lo, int32_t hi) {
    if (++drawCount > 1000) reseed();
    int32_t d = rawDraw();
    if (hi >= 32767) d = (d << 15) | rawDraw();  // the first draw gives bits 15..29
    // m is hi - lo + 1 in 32 bits; it wraps like the arithmetic it stands for.
    int32_t m = static_cast<int32_t>(static_cast<uint32_t>(hi) - static_cast<uint32_t>(lo) + 1u);
    if (m == 0) return lo;  // hi = lo - 1 names no value at all
    return static_cast<int32_t>(static_cast<uint32_t>(lo) + static_cast<uint32_t>(d % m));
}

int16_t RandomSource::sign() { return range(-100, 100) < 0 ? -1 : 1; }
