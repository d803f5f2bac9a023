// The demo's long-lived state: compiled-in configuration, the keyboard-driven
// switches, the run-time values and the display objects. Every global object
// is defined in globals.cpp, in the order of its construction.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>

// --- Compiled-in configuration ---------------------------------------------
extern const int32_t screenWidth;      // W: 640
extern const int32_t screenHeight;     // H: 480
extern const int32_t throttleStep;     // 5: speed change per frame in drive mode
extern const int32_t presentInterval;  // 41 ms between presentations
extern const int32_t frameInterval;    // 10 ms between frames
extern const float fadeInStep;         // 1/60 as float32
extern const float fadeOutStep;        // 1/60 as float32
extern float fadeInLevel;              // 0.0 at start
extern float fadeOutLevel;             // 1.0 at start

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
extern int32_t debugId;            // the case that decided the last step with collision
extern POINT hitPoint;             // hit point of the last move of the view centre
extern RECT visibleRect;           // (0, 0, W-1, H-1): where actors and particles are drawn

struct MinimapSize {
    int32_t height;
    int32_t width;
};
extern MinimapSize minimapSize;    // W/3 by W/3

extern HWND mainWindow;
extern PALETTEENTRY workingPalette[256];  // the generated palette, the palette of fireworks mode

// --- Display objects ---------------------------------------------------------
extern LPDIRECTDRAW directDraw;
extern LPDIRECTDRAWSURFACE primarySurface;
extern LPDIRECTDRAWSURFACE backBuffer;
extern LPDIRECTDRAWPALETTE primaryPalette;
extern LPDIRECTDRAWPALETTE backPalette;
extern LPDIRECTDRAWSURFACE messageSurface;
extern LPDIRECTDRAWSURFACE canvas;
extern LPDIRECTDRAWPALETTE canvasPalette;  // the shown colours at full brightness, for GDI on the canvas

// The per-run defaults, the first step of start-up.
void applyDefaults();
