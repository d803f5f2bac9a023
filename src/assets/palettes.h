// Random warm and cool palettes for fireworks mode.
#pragma once

#include <windows.h>

// The palette the generators fill: the palette of fireworks mode. Defined in
// app/globals.cpp, with every other global of the demo.
extern PALETTEENTRY workingPalette[256];

void generateWarmPalette(PALETTEENTRY* palette);
void generateCoolPalette(PALETTEENTRY* palette);
