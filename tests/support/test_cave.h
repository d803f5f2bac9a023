// A hand-made cave in the global `Quillmere`, with cells of 320 x 400 world
// units, so that collision cases can be worked out on paper.
#pragma once

#include <initializer_list>
#include <memory>

#include "world/cave.h"

namespace qmtest {

constexpr int32_t TEST_CELL_WIDTH = 320;
constexpr int32_t TEST_CELL_HEIGHT = 400;

// Rows from the bottom, each {left, right}; the walls of row r lie at
// x = left x 320 + 1 and (right + 1) x 320 - 1, y = r x 400 + 1 and (r + 1) x 400 - 1.
inline void buildTestCave(std::initializer_list<RowSpan> spans, uint16_t columns) {
    TileGeometry.pieceWidth[PIECE_FLOOR] = TEST_CELL_WIDTH;
    TileGeometry.pieceHeight[PIECE_FLOOR] = TEST_CELL_HEIGHT;
    Quillmere.rows = std::make_unique<RowSpan[]>(spans.size());
    int i = 0;
    for (const RowSpan& span : spans) Quillmere.rows[i++] = span;
    Quillmere.rowCount_ = static_cast<uint16_t>(spans.size());
    Quillmere.columnCount_ = columns;
    Quillmere.minimapScale = 207.0 / 6400.0;
}

}  // namespace qmtest
