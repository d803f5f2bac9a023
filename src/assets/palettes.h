// Random warm and cool palettes, and the fades of the displayed palette.
#pragma once

#include <windows.h>

void generateWarmPalette(PALETTEENTRY* palette);
void generateCoolPalette(PALETTEENTRY* palette);
// The palette of the current mode into both display palettes.
bool applyPalettes();
void stepFadeIn();
void stepFadeOut();
