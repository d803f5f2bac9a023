// The BlendTable's search over a plain array of palette entries, so the build
// can be checked and timed without a DirectDraw palette (in translucency.cpp).
#pragma once

#include <windows.h>

#include <cstdint>

// Fills table[a * 256 + b] with nearestPaletteIndex of the channel-wise mean
// (rounded down) of entries a and b, for all 65,536 pairs.
void fillBlendTable(const PALETTEENTRY* entries, uint8_t* table);
