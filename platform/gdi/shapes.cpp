// GDI32 of windows.h: lines, polylines, polygons and ellipses through a device
// context.
#include <windows.h>

#include <vector>

#include "core/trace.h"
#include "gdi/colour_map.h"
#include "gdi/context.h"
#include "gdi/objects.h"

namespace qmp::gdi {
namespace {

bool inRange(const POINT& p) { return inCoordinateRange(p.x) && inCoordinateRange(p.y); }

bool allInRange(const POINT* points, int count) {
    for (int i = 0; i < count; ++i)
        if (!inRange(points[i])) return false;
    return true;
}

// One segment with the context's pen. A one-pixel pen leaves out the last pixel,
// which the next segment of a figure draws as its first.
void stroke(const Drawing& d, const Pen& pen, const POINT& from, const POINT& to) {
    if (pen.style == PS_NULL) return;
    const uint8_t index = nearestIndex(*d.dc->target, pen.colour);
    if (pen.width <= 1) thinLine(d.raster, from.x, from.y, to.x, to.y, index);
    else wideLine(d.raster, from.x, from.y, to.x, to.y, pen.width, index);
}

}  // namespace
}  // namespace qmp::gdi

using namespace qmp::gdi;

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
    QMP_TRACE_VALUE("MoveToEx", FALSE);
    qmp::DeviceContext* dc = qmp::contextOf(hdc);
    if (dc == nullptr) return FALSE;
    if (lppt != nullptr) *lppt = dc->position;
    dc->position = POINT{x, y};
    return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y) {
    QMP_TRACE_VALUE("LineTo", FALSE);
    Drawing d;
    const POINT to{x, y};
    if (!beginDrawing(hdc, d) || !inRange(to) || !inRange(d.dc->position)) return FALSE;
    stroke(d, penOf(*d.dc), d.dc->position, to);
    d.dc->position = to;
    return TRUE;
}

BOOL WINAPI Polyline(HDC hdc, const POINT* apt, int cpt) {
    QMP_TRACE_VALUE("Polyline", FALSE);
    Drawing d;
    if (apt == nullptr || cpt < 2 || !beginDrawing(hdc, d) || !allInRange(apt, cpt)) return FALSE;
    const Pen& pen = penOf(*d.dc);
    for (int i = 0; i + 1 < cpt; ++i) stroke(d, pen, apt[i], apt[i + 1]);
    return TRUE;
}

BOOL WINAPI Polygon(HDC hdc, const POINT* apt, int cpt) {
    QMP_TRACE_VALUE("Polygon", FALSE);
    Drawing d;
    if (apt == nullptr || cpt < 2 || !beginDrawing(hdc, d) || !allInRange(apt, cpt)) return FALSE;
    const Brush& brush = brushOf(*d.dc);
    if (!brush.hollow) fillPolygon(d.raster, apt, cpt, nearestIndex(*d.dc->target, brush.colour));
    const Pen& pen = penOf(*d.dc);
    for (int i = 0; i < cpt; ++i) stroke(d, pen, apt[i], apt[(i + 1) % cpt]);
    return TRUE;
}

BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    QMP_TRACE_VALUE("Ellipse", FALSE);
    Drawing d;
    if (!beginDrawing(hdc, d) || !inCoordinateRange(left) || !inCoordinateRange(top) || !inCoordinateRange(right) ||
        !inCoordinateRange(bottom))
        return FALSE;
    int64_t l = left, t = top, r = right, b = bottom;
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    if (l == r || t == b) return TRUE;  // an empty box holds no ellipse
    const Brush& brush = brushOf(*d.dc);
    const Pen& pen = penOf(*d.dc);
    const int fill = brush.hollow ? -1 : nearestIndex(*d.dc->target, brush.colour);
    const int outline = pen.style == PS_NULL ? -1 : nearestIndex(*d.dc->target, pen.colour);
    ellipse(d.raster, l, t, r, b, pen.width < 1 ? 1 : pen.width, fill, outline);
    return TRUE;
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
    QMP_TRACE_VALUE("GetPixel", CLR_INVALID);
    Drawing d;
    if (!beginDrawing(hdc, d) || x < 0 || y < 0 || x >= d.raster.width || y >= d.raster.height) return CLR_INVALID;
    const uint8_t index = d.raster.bits[static_cast<size_t>(y) * static_cast<size_t>(d.raster.pitch) + x];
    return colourOf(d.dc->target->colours()[index]);
}
