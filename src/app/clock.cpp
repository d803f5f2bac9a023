#include "app/clock.h"
#include "app/unbuilt.h"
uint32_t Stopwatch::reset() { QM_UNBUILT(); }
int32_t Stopwatch::elapsed() { QM_UNBUILT(); }
bool Stopwatch::intervalElapsed(int32_t&, int32_t) { QM_UNBUILT(); }
RandomSource::RandomSource() {}
void RandomSource::reseed() { QM_UNBUILT(); }
int32_t RandomSource::range(int32_t, int32_t) { QM_UNBUILT(); }
int16_t RandomSource::sign() { QM_UNBUILT(); }
