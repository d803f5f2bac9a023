// CaveWorld's grid (cave.h): the piece geometry of the sheet, the mappings
// between world, screen, cell and minimap coordinates, and the open-cell test.
#include "world/cave.h"

#include <limits>

#include "app/clock.h"
#include "assets/bitmap.h"
#include "display/display.h"
#include "world/saturate.h"

TileGeometryTable TileGeometry;

namespace {

// The sheet is a 3 x 3 arrangement: a 1-pixel frame, bands and corners 150
// pixels thick, a 1-pixel gap, and the floor tile in the middle.
constexpr int32_t BAND = 150;
constexpr int32_t NEAR_EDGE = 1;     // left or top edge of a band
constexpr int32_t FLOOR_EDGE = 152;  // left or top edge of the floor tile

// Floor division by a positive cell size, saturated into the 16-bit index range so
// that far-away points never wrap around into the cave.
int16_t cellIndex(int32_t v, int32_t cellSize) {
    if (cellSize <= 0) return 0;
    int32_t q = v / cellSize;
    if (v < 0) q -= 1;  // one below the truncated quotient, as the rows count it
    if (q > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
    if (q < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
    return static_cast<int16_t>(q);
}

}  // namespace

void CaveWorld::computeTileGeometry() {
    if (!sheet) return;
    const int32_t ws = sheet->width();
    const int32_t hs = sheet->height();
    const int32_t floorWidth = ws - 2 * FLOOR_EDGE;
    const int32_t floorHeight = hs - 2 * FLOOR_EDGE;
    const int32_t farX = ws - BAND - 1;  // left edge of the right bands
    const int32_t farY = hs - BAND - 1;  // top edge of the bottom bands

    struct Piece {
        int32_t x, y, width, height;
    };
    const Piece pieces[PIECE_COUNT] = {
        {FLOOR_EDGE, FLOOR_EDGE, floorWidth, floorHeight},  // PIECE_FLOOR
        {NEAR_EDGE, FLOOR_EDGE, BAND, floorHeight},          // PIECE_LEFT
        {farX, FLOOR_EDGE, BAND, floorHeight},               // PIECE_RIGHT
        {FLOOR_EDGE, NEAR_EDGE, floorWidth, BAND},           // PIECE_TOP
        {FLOOR_EDGE, farY, floorWidth, BAND},                // PIECE_BOTTOM
        {farX, NEAR_EDGE, BAND, BAND},                       // PIECE_TOP_RIGHT
        {NEAR_EDGE, NEAR_EDGE, BAND, BAND},                  // PIECE_TOP_LEFT
        {NEAR_EDGE, farY, BAND, BAND},                       // PIECE_BOTTOM_LEFT
        {farX, farY, BAND, BAND},                            // PIECE_BOTTOM_RIGHT
    };
    for (int i = 0; i < PIECE_COUNT; ++i) {
        TileGeometry.pieceX[i] = pieces[i].x;
        TileGeometry.pieceY[i] = pieces[i].y;
        TileGeometry.pieceWidth[i] = pieces[i].width;
        TileGeometry.pieceHeight[i] = pieces[i].height;
    }
}

int32_t CaveWorld::cellWidth() const { return TileGeometry.pieceWidth[PIECE_FLOOR]; }
int32_t CaveWorld::cellHeight() const { return TileGeometry.pieceHeight[PIECE_FLOOR]; }

int16_t CaveWorld::rowOf(int32_t y) const { return rows ? cellIndex(y, cellHeight()) : 0; }
int16_t CaveWorld::columnOf(int32_t x) const { return rows ? cellIndex(x, cellWidth()) : 0; }

int32_t CaveWorld::worldToScreenX(int32_t x) const { return saturate(int64_t{screenWidth / 2} + x - viewX); }
int32_t CaveWorld::worldToScreenY(int32_t y) const { return saturate(int64_t{screenHeight / 2} + viewY - y); }
int32_t CaveWorld::screenToWorldX(int32_t sx) const { return saturate(int64_t{viewX} - screenWidth / 2 + sx); }

int32_t CaveWorld::worldToMinimapX(int32_t x) const {
    return static_cast<int32_t>(x * minimapScale + minimapMargin);
}

int32_t CaveWorld::worldToMinimapY(int32_t y) const {
    return static_cast<int32_t>(minimapSize.height - y * minimapScale - minimapMargin);
}

bool CaveWorld::isOpenCell(int32_t x, int32_t y, int16_t& outRow, int16_t& outColumn) const {
    outRow = -1;
    outColumn = -1;
    if (!rows) return false;
    outRow = rowOf(y);
    outColumn = columnOf(x);
    if (outRow < 0 || outRow >= rowCount_) return false;
    if (outColumn < 0 || outColumn >= columnCount_) return false;
    const RowSpan& span = rows[outRow];
    return span.left <= outColumn && outColumn <= span.right;
}

void CaveWorld::setView(int32_t x, int32_t y) {
    int16_t row, column;
    if (!isOpenCell(x, y, row, column)) return;
    viewX = x;
    viewY = y;
}

void CaveWorld::randomOpenPoint(int32_t& outX, int32_t& outY) {
    if (!rows || rowCount_ == 0) return;
    const int32_t r = gameRandom.range(0, rowCount_ - 1);
    const int32_t c = gameRandom.range(rows[r].left, rows[r].right);
    outY = gameRandom.range(r * cellHeight() + 10, (r + 1) * cellHeight() - 10);
    outX = gameRandom.range(c * cellWidth() + 10, (c + 1) * cellWidth() - 10);
}

RowSpan CaveWorld::rowSpan(int16_t row) const {
    if (!rows || row < 0 || row >= rowCount_) return RowSpan{-1, -1};
    return rows[row];
}
