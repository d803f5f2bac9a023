// The angle tables of the fireworks, filled once during start-up.
#pragma once

#include <cstdint>

extern float sinTable[256];
extern float cosTable[256];

void buildTrigTables();
// The table entry of an angle byte: the index is taken modulo 256.
float tableSin(int32_t index);
float tableCos(int32_t index);
