// Caves shaped by hand for the tests: a cell size, a column count and the spans
// of the rows, without a sheet or surfaces.
#pragma once

#include <initializer_list>
#include <memory>

#include "world/cave.h"

inline void shapeCave(CaveWorld& cave, int32_t cellWidth, int32_t cellHeight, uint16_t columns,
                      std::initializer_list<RowSpan> spans) {
    TileGeometry = {};
    TileGeometry.pieceWidth[PIECE_FLOOR] = cellWidth;
    TileGeometry.pieceHeight[PIECE_FLOOR] = cellHeight;
    cave.columnCount_ = columns;
    cave.rowCount_ = static_cast<uint16_t>(spans.size());
    cave.rows = std::make_unique<RowSpan[]>(spans.size());
    int i = 0;
    for (const RowSpan& span : spans) cave.rows[i++] = span;
}

// Cells of 320 x 400 units, 20 columns; rows 0..3 span 1..4, 0..3, 2..5 and 3..8.
// Row 1: XL 1, XR 1279, YB 401, YT 799. Row 2: XL 641, XR 1919, YB 801, YT 1199.
inline void shapeStairCave(CaveWorld& cave) {
    shapeCave(cave, 320, 400, 20, {{1, 4}, {0, 3}, {2, 5}, {3, 8}});
}
