// The display device, the flip chain, palettes and off-screen surfaces, and
// the globals of the display: the screen size and the display objects. Like
// every global of the demo they are defined in app/globals.cpp, which fixes
// the order of construction.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>

extern const int32_t screenWidth;   // W: 640
extern const int32_t screenHeight;  // H: 480

// Made by the start-up stages, released by the window's destruction.
extern LPDIRECTDRAW directDraw;
extern LPDIRECTDRAWSURFACE primarySurface;
extern LPDIRECTDRAWSURFACE backBuffer;
extern LPDIRECTDRAWPALETTE primaryPalette;
extern LPDIRECTDRAWPALETTE backPalette;
extern LPDIRECTDRAWSURFACE messageSurface;
extern LPDIRECTDRAWSURFACE canvas;
extern LPDIRECTDRAWPALETTE canvasPalette;  // the shown colours at full brightness, for GDI on the canvas

// The transparent palette index: the source colour key of every keyed surface.
constexpr uint8_t TRANSPARENT_INDEX = 253;

bool CreateDirectDraw(HWND window, LPDIRECTDRAW& device, uint16_t width, uint16_t height, uint8_t bitsPerPixel);
bool CreateFlipSurfaces(LPDIRECTDRAW device, LPDIRECTDRAWSURFACE& primary, LPDIRECTDRAWPALETTE& primaryPalette,
                        LPDIRECTDRAWSURFACE& backBuffer, LPDIRECTDRAWPALETTE& backPalette);
bool attachBlackPalette(LPDIRECTDRAW device, LPDIRECTDRAWSURFACE surface, LPDIRECTDRAWPALETTE& palette);
bool createOffscreenSurface(uint8_t withClipper, HWND window, LPDIRECTDRAW device, LPDIRECTDRAWSURFACE& surface,
                            int32_t width, int32_t height);
bool fillSurface(LPDIRECTDRAWSURFACE surface, uint16_t index);

// The description of a plain off-screen surface of this size, forced into
// system memory (never lost) or left where the display puts it.
DDSURFACEDESC offscreenSurfaceDesc(int32_t width, int32_t height, bool systemMemory);
