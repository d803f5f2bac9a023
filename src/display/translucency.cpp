#include "display/translucency.h"
#include "app/unbuilt.h"
uint8_t BlendTable[65536];
uint8_t SmoothingTable[2048];
uint8_t nearestPaletteIndex(const PALETTEENTRY*, uint8_t, uint8_t, uint8_t) { QM_UNBUILT(); }
bool buildBlendTable(LPDIRECTDRAWPALETTE) { QM_UNBUILT(); }
bool translucentCopy(LPDIRECTDRAWSURFACE, int32_t, int32_t, LPDIRECTDRAWSURFACE, int32_t, int32_t) { QM_UNBUILT(); }
HRESULT smoothCanvas(LPDIRECTDRAWSURFACE) { QM_UNBUILT(); }
