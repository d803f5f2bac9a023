#include "assets/sprite_strip.h"
#include "app/unbuilt.h"
bool SpriteStrip::create(const SheetBitmap*, int32_t, int32_t, int32_t, int32_t, int32_t) { QM_UNBUILT(); }
bool SpriteStrip::reload() { QM_UNBUILT(); }
void SpriteStrip::release() { QM_UNBUILT(); }
HRESULT SpriteStrip::blitFrame(LPDIRECTDRAWSURFACE, int32_t, int32_t, int32_t) { QM_UNBUILT(); }
bool SpriteStrip::blendFrame(LPDIRECTDRAWSURFACE, int32_t, int32_t, int32_t) { QM_UNBUILT(); }
bool ScreenedSpriteStrip::reload() { QM_UNBUILT(); }
bool ScreenedSpriteStrip::setLevel(uint8_t) { QM_UNBUILT(); }
