// Mixing palette colours through tables: the BlendTable for translucent
// copies, the SmoothingTable for the fireworks filter.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>

// Entry a * 256 + b: the palette index nearest to the mean of entries a and b.
extern uint8_t BlendTable[65536];
// Entry i: i >> 3, the mean of eight pixel values.
extern uint8_t SmoothingTable[2048];

// The tables are built in translucency.cpp; pixel_effects.cpp holds the
// copies and filters that use them.
void fillSmoothingTable();

uint8_t nearestPaletteIndex(const PALETTEENTRY* entries, uint8_t red, uint8_t green, uint8_t blue);
bool buildBlendTable(LPDIRECTDRAWPALETTE palette);
bool translucentCopy(LPDIRECTDRAWSURFACE target, int32_t x, int32_t y, LPDIRECTDRAWSURFACE source, int32_t width,
                     int32_t height);
HRESULT smoothCanvas(LPDIRECTDRAWSURFACE surface);
