// Geometry through GDI on a surface's device context, and the constant-alpha
// blend of one surface onto another.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>

bool fillPolygon(LPDIRECTDRAWSURFACE surface, const POINT* points, int32_t count, COLORREF colour);
bool drawPolyline(LPDIRECTDRAWSURFACE surface, const POINT* points, int32_t count, COLORREF colour);
bool drawLine(LPDIRECTDRAWSURFACE surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width,
              COLORREF colour);
bool fillCircle(LPDIRECTDRAWSURFACE surface, int32_t centreX, int32_t centreY, int32_t radius, COLORREF colour);
bool alphaBlendSurface(LPDIRECTDRAWSURFACE destination, int32_t destX, int32_t destY, int32_t destWidth,
                       int32_t destHeight, LPDIRECTDRAWSURFACE source, int32_t sourceX, int32_t sourceY,
                       int32_t sourceWidth, int32_t sourceHeight, uint8_t alpha);
