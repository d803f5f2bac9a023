// The palette of the current mode in the display palettes, and the fades of
// the displayed palette. The fade globals are defined in app/globals.cpp, with
// every other global of the demo.
#pragma once

extern const float fadeInStep;   // 1/60 as float32
extern const float fadeOutStep;  // 1/60 as float32
extern float fadeInLevel;        // 0.0 at start
extern float fadeOutLevel;       // 1.0 at start

// The palette of the mode (workingPalette in fireworks mode, else the
// background picture's) into both display palettes.
bool applyPalettes(bool fireworksMode);
// One step of a fade; true when this step ended it and showed the mode's full palette.
bool stepFadeIn(bool fireworksMode);
bool stepFadeOut(bool fireworksMode);
