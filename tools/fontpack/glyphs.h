// The converter's picture of a bitmap face: every glyph in a cell of the face's
// height, rows of whole bytes with the leftmost pixel in the top bit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fontpack {

struct CellGlyph {
    uint32_t codePoint = 0;
    int advance = 0;             // cell width in pixels
    std::vector<uint8_t> rows;   // height x bytesPerRow(advance)
};

struct Face {
    std::string source;  // where it was read from, for the generated file's header
    int height = 0;      // cell height in pixels
    int ascent = 0;      // baseline, from the cell's top
    std::vector<CellGlyph> glyphs;  // sorted by code point, no duplicates
};

inline int bytesPerRow(int advance) { return (advance + 7) / 8; }

}  // namespace fontpack
