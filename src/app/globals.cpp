// Every global of the demo, defined here so that the global objects are
// constructed in this order (and destroyed in the reverse order at exit). Each
// is declared in the header of the layer that owns it.
#include "app/globals.h"

#include "actors/actors.h"
#include "actors/particles.h"
#include "app/clock.h"
#include "assets/bitmap.h"
#include "assets/fades.h"
#include "assets/palettes.h"
#include "assets/sprite_strip.h"
#include "display/display.h"
#include "display/text.h"
#include "world/cave.h"

// --- Compiled-in configuration ---------------------------------------------
extern const int32_t screenWidth = 640;
extern const int32_t screenHeight = 480;
extern const int32_t throttleStep = 5;
extern const int32_t presentInterval = 41;
extern const int32_t frameInterval = 10;
extern const float fadeInStep = 1.0f / 60.0f;
extern const float fadeOutStep = 1.0f / 60.0f;
float fadeInLevel = 0.0f;
float fadeOutLevel = 1.0f;

GameSwitches switches;

// --- Run-time values ---------------------------------------------------------
int32_t vec = 5;
int32_t throttleDirection = 0;
bool arrowHeld[4] = {};
int32_t appActive = 1;
int32_t cursorFrame = 0;
int32_t cursorMark = 0;
bool cursorMarkSet = false;
int32_t presentMark = 0;
bool presentMarkSet = false;
int32_t frameMark = 0;
bool frameMarkSet = false;
int32_t debugId = 0;
POINT hitPoint = {0, 0};
RECT visibleRect = {0, 0, 639, 479};
HWND mainWindow = nullptr;
PALETTEENTRY workingPalette[256] = {};

LPDIRECTDRAW directDraw = nullptr;
LPDIRECTDRAWSURFACE primarySurface = nullptr;
LPDIRECTDRAWSURFACE backBuffer = nullptr;
LPDIRECTDRAWPALETTE primaryPalette = nullptr;
LPDIRECTDRAWPALETTE backPalette = nullptr;
LPDIRECTDRAWSURFACE messageSurface = nullptr;
LPDIRECTDRAWSURFACE canvas = nullptr;
LPDIRECTDRAWPALETTE canvasPalette = nullptr;

// --- Global objects, in the order of their construction ----------------------
PalettedBitmap messageImage;              // "MsgWnd.bmp"
SheetBitmap backgroundImage;              // "bckgnd.bmp"
SheetBitmap spriteSheet;                  // "Sprites.bmp"
Stopwatch gameClock;
RandomSource gameRandom;                  // seeds the generator from the clock
CaveWorld Quillmere;
SpriteStrip fixedActorStrip;
SpriteStrip directionStrips[9];
ScreenedSpriteStrip screenedStrip(128);
FixedActor fixedActors[FIXED_ACTOR_COUNT];
Wanderer wanderers[WANDERER_COUNT];
PlayerActor player;
ParticleBurst particleBurst;
TextFont hudFont(10);                     // creates its font at once
MinimapSize minimapSize = {screenWidth / 3, screenWidth / 3};

void applyDefaults() {
    directDraw = nullptr;
    backBuffer = nullptr;
    primarySurface = nullptr;
    backPalette = nullptr;
    primaryPalette = nullptr;
    messageSurface = nullptr;
    canvas = nullptr;
    canvasPalette = nullptr;
    for (bool& held : arrowHeld) held = false;
    visibleRect = {0, 0, screenWidth - 1, screenHeight - 1};
    appActive = 1;
    vec = 5;
}
