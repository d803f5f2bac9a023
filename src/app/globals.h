// The application's own state: its compiled-in timing, the keyboard-driven
// switches and the run-time values of the shell. Each lower layer declares its
// globals in its own header (display.h, fades.h, palettes.h, cave.h,
// actors.h, ...); globals.cpp defines them all, in the order of construction.
#pragma once

#include <windows.h>

#include <cstdint>

// --- Compiled-in configuration ---------------------------------------------
extern const int32_t throttleStep;     // 5: speed change per frame in drive mode
extern const int32_t presentInterval;  // 41 ms between presentations
extern const int32_t frameInterval;    // 10 ms between frames

// --- Keyboard-driven switches ----------------------------------------------
struct GameSwitches {
    uint8_t fadeMode = 1;      // 0 none, 1 fade in, 2 fade out
    uint8_t minimapStyle = 1;  // 1 translucent picture, 0 filled outline
    bool hudVisible = false;   // the debug read-out (palette dots in fireworks mode)
    bool cursorVisible = false;  // the centre-of-screen animation
    uint8_t cursorStyle = 0;   // 0 screened strip keyed, 1 fixed-actor strip translucent
    bool fireworksMode = false;
};
extern GameSwitches switches;

// --- Run-time values ---------------------------------------------------------
enum ArrowKey { ARROW_LEFT = 0, ARROW_RIGHT = 1, ARROW_UP = 2, ARROW_DOWN = 3 };

extern int32_t vec;                // "Vec": walk step per frame, 2..400
extern int32_t throttleDirection;  // +1 Shift held, -1 Ctrl held (drive mode), else 0
extern bool arrowHeld[4];          // left, right, up, down
extern int32_t appActive;          // frames run only while non-zero
extern int32_t cursorFrame;        // 0..4, the centre-of-screen animation
extern int32_t cursorMark;         // its gameClock mark
extern bool cursorMarkSet;
extern int32_t presentMark;        // the frame driver's presentation mark
extern bool presentMarkSet;
extern int32_t frameMark;          // the message loop's frame mark
extern bool frameMarkSet;

extern HWND mainWindow;

// The per-run defaults, the first step of start-up.
void applyDefaults();
