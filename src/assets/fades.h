// The palette of the current mode in the display palettes, and the fades of
// the displayed palette. The fade globals are defined in app/globals.cpp, with
// every other global of the demo.
#pragma once

#include <windows.h>

extern const float fadeInStep;   // 1/60 as float32
extern const float fadeOutStep;  // 1/60 as float32
extern float fadeInLevel;        // 0.0 at start
extern float fadeOutLevel;       // 1.0 at start

// Colours at full brightness onto the screen: the primary palette, and the
// canvas's, which GDI maps the frame's drawings against.
void showOnScreen(const PALETTEENTRY* colours);
// The palette of the mode (workingPalette in fireworks mode, else the
// background picture's) into both display palettes, and the canvas's.
bool applyPalettes(bool fireworksMode);
// One step of a fade; true when this step ended it and showed the mode's full palette.
bool stepFadeIn(bool fireworksMode);
bool stepFadeOut(bool fireworksMode);
