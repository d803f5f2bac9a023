#include "display/drawing.h"
#include "app/unbuilt.h"
bool fillPolygon(LPDIRECTDRAWSURFACE, const POINT*, int32_t, COLORREF) { QM_UNBUILT(); }
bool drawPolyline(LPDIRECTDRAWSURFACE, const POINT*, int32_t, COLORREF) { QM_UNBUILT(); }
bool drawLine(LPDIRECTDRAWSURFACE, int32_t, int32_t, int32_t, int32_t, int32_t, COLORREF) { QM_UNBUILT(); }
bool fillCircle(LPDIRECTDRAWSURFACE, int32_t, int32_t, int32_t, COLORREF) { QM_UNBUILT(); }
bool alphaBlendSurface(LPDIRECTDRAWSURFACE, int32_t, int32_t, int32_t, int32_t, LPDIRECTDRAWSURFACE, int32_t, int32_t, int32_t, int32_t, uint8_t) { QM_UNBUILT(); }
TextFont::TextFont(int32_t) {}
TextFont::~TextFont() {}
void TextFont::recreate() { QM_UNBUILT(); }
void TextFont::drawText(const char*, int32_t, int32_t, COLORREF, LPDIRECTDRAWSURFACE) { QM_UNBUILT(); }
void drawMessageWindow(LPDIRECTDRAWSURFACE, int32_t, int32_t, const char*, uint8_t) { QM_UNBUILT(); }
