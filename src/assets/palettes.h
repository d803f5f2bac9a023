// Random warm and cool palettes, and the fades of the displayed palette.
#pragma once

#include <windows.h>

void generateWarmPalette(PALETTEENTRY* palette);
void generateCoolPalette(PALETTEENTRY* palette);
// Colours at full brightness onto the screen: the primary palette, and the
// canvas's, which GDI maps the frame's drawings against.
void showOnScreen(const PALETTEENTRY* colours);
// The palette of the current mode into both display palettes (and the canvas's).
bool applyPalettes();
void stepFadeIn();
void stepFadeOut();
