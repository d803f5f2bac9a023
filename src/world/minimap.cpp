// CaveWorld's minimap (cave.h): the cave's outline painted into its own
// surface, copied translucently each frame, or drawn straight as a polygon.
#include "world/cave.h"

#include <vector>

#include "display/display.h"
#include "display/drawing.h"
#include "display/translucency.h"

bool CaveWorld::redrawMinimap() {
    if (!minimapSurface) return false;
    fillSurface(minimapSurface, TRANSPARENT_INDEX);
    if (outline) fillPolygon(minimapSurface, outline.get(), 4 * rowCount_, outlineColour);
    return true;
}

bool CaveWorld::drawOutline(LPDIRECTDRAWSURFACE destination, int32_t dx, int32_t dy, bool filled) {
    if (!destination || !outline) return false;
    // Counted in 32 bits: a 16-bit count turns negative beyond 8191 rows.
    const int32_t corners = 4 * rowCount_;
    std::vector<POINT> points(outline.get(), outline.get() + corners + 1);
    for (POINT& p : points) {
        p.x += dx;
        p.y += dy;
    }
    if (filled) fillPolygon(destination, points.data(), corners, outlineColour);
    else drawPolyline(destination, points.data(), corners + 1, outlineColour);
    return true;
}

bool CaveWorld::drawMinimap(LPDIRECTDRAWSURFACE destination, int32_t x, int32_t y) {
    if (!destination || !minimapSurface) return false;
    // The copy clips to both surfaces, so any view may place it partly off the canvas.
    translucentCopy(destination, x, y, minimapSurface, minimapSize.width, minimapSize.height);
    return true;
}
