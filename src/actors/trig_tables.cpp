// The angle tables of the fireworks: one turn in 256 steps of an angle byte.
#include "actors/trig_tables.h"

#include <cmath>

float sinTable[256];
float cosTable[256];

namespace {
// 3.1416 / 128: close to, but not exactly, a 256th of a turn.
constexpr double ANGLE_STEP = 0.02454375;
}  // namespace

void buildTrigTables() {
    for (int i = 0; i < 256; ++i) {
        double angle = i * ANGLE_STEP;
        sinTable[i] = static_cast<float>(std::sin(angle));
        cosTable[i] = static_cast<float>(std::cos(angle));
    }
}

float tableSin(int32_t index) { return sinTable[index & 255]; }
float tableCos(int32_t index) { return cosTable[index & 255]; }
