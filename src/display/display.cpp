#include "display/display.h"
#include "app/unbuilt.h"
bool CreateDirectDraw(HWND, LPDIRECTDRAW&, uint16_t, uint16_t, uint8_t) { QM_UNBUILT(); }
bool CreateFlipSurfaces(LPDIRECTDRAW, LPDIRECTDRAWSURFACE&, LPDIRECTDRAWPALETTE&, LPDIRECTDRAWSURFACE&, LPDIRECTDRAWPALETTE&) { QM_UNBUILT(); }
bool attachBlackPalette(LPDIRECTDRAW, LPDIRECTDRAWSURFACE, LPDIRECTDRAWPALETTE&) { QM_UNBUILT(); }
bool createOffscreenSurface(uint8_t, HWND, LPDIRECTDRAW, LPDIRECTDRAWSURFACE&, int32_t, int32_t) { QM_UNBUILT(); }
bool fillSurface(LPDIRECTDRAWSURFACE, uint16_t) { QM_UNBUILT(); }
