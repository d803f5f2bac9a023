// Shapes and the constant-alpha blend, drawn with GDI on a surface's device
// context. Each call makes its own pen or brush and deletes it afterwards;
// nothing is cached between calls.
#include "display/drawing.h"

bool fillPolygon(LPDIRECTDRAWSURFACE surface, const POINT* points, int32_t count, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    HDC dc = nullptr;
    surface->GetDC(&dc);
    SelectObject(dc, brush);
    Polygon(dc, points, count);  // outlined with the context's default pen
    surface->ReleaseDC(dc);
    DeleteObject(brush);
    return true;
}

bool drawPolyline(LPDIRECTDRAWSURFACE surface, const POINT* points, int32_t count, COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HDC dc = nullptr;
    surface->GetDC(&dc);
    SelectObject(dc, pen);
    Polyline(dc, points, count);
    surface->ReleaseDC(dc);
    DeleteObject(pen);
    return true;
}

bool drawLine(LPDIRECTDRAWSURFACE surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width,
              COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, width, colour);
    HDC dc = nullptr;
    surface->GetDC(&dc);
    SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    surface->ReleaseDC(dc);
    DeleteObject(pen);
    return true;
}

bool fillCircle(LPDIRECTDRAWSURFACE surface, int32_t centreX, int32_t centreY, int32_t radius, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    HPEN pen = CreatePen(PS_SOLID, 2, colour);
    HDC dc = nullptr;
    surface->GetDC(&dc);
    SelectObject(dc, brush);
    SelectObject(dc, pen);
    Ellipse(dc, centreX - radius, centreY - radius, centreX + radius, centreY + radius);
    surface->ReleaseDC(dc);
    DeleteObject(brush);
    DeleteObject(pen);
    return true;
}

bool alphaBlendSurface(LPDIRECTDRAWSURFACE destination, int32_t destX, int32_t destY, int32_t destWidth,
                       int32_t destHeight, LPDIRECTDRAWSURFACE source, int32_t sourceX, int32_t sourceY,
                       int32_t sourceWidth, int32_t sourceHeight, uint8_t alpha) {
    BLENDFUNCTION blend{};
    blend.BlendOp = AC_SRC_OVER;
    blend.BlendFlags = 0;
    blend.SourceConstantAlpha = alpha;
    blend.AlphaFormat = 0;  // one alpha for the whole picture
    HDC destinationDc = nullptr;
    HDC sourceDc = nullptr;
    destination->GetDC(&destinationDc);
    source->GetDC(&sourceDc);
    AlphaBlend(destinationDc, destX, destY, destWidth, destHeight, sourceDc, sourceX, sourceY, sourceWidth,
               sourceHeight, blend);
    destination->ReleaseDC(destinationDc);
    source->ReleaseDC(sourceDc);
    return true;
}
