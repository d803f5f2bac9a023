// The one millisecond clock and the one random source of the demo.
#pragma once

#include <cstdint>

// Milliseconds on timeGetTime, counted from the last reset.
class Stopwatch {
public:
    // Reads timeGetTime, stores it in `start` and returns it.
    uint32_t reset();
    // timeGetTime - start, modulo 2^32, as a signed 32-bit value.
    int32_t elapsed();
    // True when `interval` ms have passed since `mark`; the mark then moves to
    // the current time (not mark + interval), so lateness is never made up.
    bool intervalElapsed(int32_t& mark, int32_t interval);

    uint32_t start = 0;
};

// rand/srand behind a counter: reseeded from the clock after every 1000 draws.
class RandomSource {
public:
    RandomSource();  // seeds from the clock

    void reseed();
    // A random integer in lo..hi inclusive (see the demo's notes on hi < lo).
    int32_t range(int32_t lo, int32_t hi);
    // +1 or -1, from one counted draw of range(-100, 100); 0 counts as +1.
    int16_t sign();

    int32_t drawCount = 0;
};

extern Stopwatch gameClock;
extern RandomSource gameRandom;
