#include "world/cave.h"
#include "app/unbuilt.h"
TileGeometryTable TileGeometry;
bool intersectSegments(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, float&, float&, int32_t&, int32_t&) { QM_UNBUILT(); }
void CaveWorld::computeTileGeometry() { QM_UNBUILT(); }
bool CaveWorld::createSurfaces() { QM_UNBUILT(); }
void CaveWorld::releaseSurfaces() { QM_UNBUILT(); }
bool CaveWorld::reloadSurfaces() { QM_UNBUILT(); }
bool CaveWorld::redrawMinimap() { QM_UNBUILT(); }
bool CaveWorld::generate(const SheetBitmap*, int32_t, int32_t) { QM_UNBUILT(); }
int16_t CaveWorld::rowOf(int32_t) const { QM_UNBUILT(); }
int16_t CaveWorld::columnOf(int32_t) const { QM_UNBUILT(); }
int32_t CaveWorld::worldToScreenX(int32_t) const { QM_UNBUILT(); }
int32_t CaveWorld::worldToScreenY(int32_t) const { QM_UNBUILT(); }
int32_t CaveWorld::screenToWorldX(int32_t) const { QM_UNBUILT(); }
int32_t CaveWorld::worldToMinimapX(int32_t) const { QM_UNBUILT(); }
int32_t CaveWorld::worldToMinimapY(int32_t) const { QM_UNBUILT(); }
bool CaveWorld::isOpenCell(int32_t, int32_t, int16_t&, int16_t&) const { QM_UNBUILT(); }
void CaveWorld::setView(int32_t, int32_t) { QM_UNBUILT(); }
void CaveWorld::randomOpenPoint(int32_t&, int32_t&) { QM_UNBUILT(); }
int32_t CaveWorld::cellWidth() const { QM_UNBUILT(); }
int32_t CaveWorld::cellHeight() const { QM_UNBUILT(); }
bool CaveWorld::moveWithCollision(int32_t, int32_t, int32_t&, int32_t&, int32_t&, int32_t&) { QM_UNBUILT(); }
void CaveWorld::moveViewTo(int32_t&, int32_t&) { QM_UNBUILT(); }
void CaveWorld::moveViewBy(int32_t, int32_t) { QM_UNBUILT(); }
bool CaveWorld::draw(LPDIRECTDRAWSURFACE) { QM_UNBUILT(); }
bool CaveWorld::drawOutline(LPDIRECTDRAWSURFACE, int32_t, int32_t, bool) { QM_UNBUILT(); }
bool CaveWorld::drawMinimap(LPDIRECTDRAWSURFACE, int32_t, int32_t) { QM_UNBUILT(); }
RowSpan CaveWorld::rowSpan(int16_t row) const {
    if (row < 0 || row >= rowCount_) return RowSpan{-1, -1};
    return rows[row];
}
