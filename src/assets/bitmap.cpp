#include "assets/bitmap.h"
#include "app/unbuilt.h"
bool PalettedBitmap::load(const char*) { QM_UNBUILT(); }
bool PalettedBitmap::copyToSurface(LPDIRECTDRAWSURFACE) const { QM_UNBUILT(); }
bool PalettedBitmap::copyScreenedToSurface(LPDIRECTDRAWSURFACE, int32_t) const { QM_UNBUILT(); }
bool PalettedBitmap::copyRectToSurface(LPDIRECTDRAWSURFACE, int32_t, int32_t, int32_t, int32_t) const { QM_UNBUILT(); }
bool PalettedBitmap::applyPaletteTo(LPDIRECTDRAWPALETTE) const { QM_UNBUILT(); }
COLORREF PalettedBitmap::paletteColor(int32_t) const { QM_UNBUILT(); }
bool SheetBitmap::copyScreenedRectToSurface(LPDIRECTDRAWSURFACE, int32_t, int32_t, int32_t, int32_t, int32_t) const { QM_UNBUILT(); }
void applyScreenDoor(uint8_t*, int32_t, int32_t, int32_t, int32_t) { QM_UNBUILT(); }
