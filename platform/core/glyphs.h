// The platform's two bitmap faces: GDI's text, and the platform's own drawing
// (message boxes, the overlay line) on every host, come from these tables.
#pragma once

#include <cstdint>
#include <string_view>

namespace qmp::fonts {

enum class Face {
    Fixed,    // "Fixedsys": misc-fixed 6 x 10
    Default,  // the default font: Unifont, 8 x 16 and 16 x 16 for CJK
};

struct Metrics {
    int height;         // cell height in pixels
    int ascent;         // baseline, from the cell's top
    int narrowAdvance;  // width of a Latin letter's cell
};
Metrics metrics(Face face);

struct Glyph {
    int advance = 0;      // cell width in pixels
    int height = 0;       // rows
    int top = 0;          // first row, relative to the top of the face's cell (baselines line up)
    int bytesPerRow = 0;
    const uint8_t* rows = nullptr;

    bool pixel(int x, int y) const { return (rows[y * bytesPerRow + x / 8] & (0x80 >> (x % 8))) != 0; }
};

// The glyph `face` draws for `codePoint`: its own, else the default font's,
// else the replacement character's.
Glyph glyph(Face face, char32_t codePoint);

// Whether the face itself (without falling back) has a glyph for the code point.
bool hasOwnGlyph(Face face, char32_t codePoint);

// The width of a line of text: the sum of its glyphs' advances.
int textWidth(Face face, std::u32string_view text);

// Draws a line of text into 32-bit pixels (rows `pitch` pixels apart), clipped
// to width x height; (x, y) is the top-left corner of the text's cells. Only
// the glyphs' pixels are written, with `colour`.
void drawText(Face face, std::u32string_view text, uint32_t* pixels, int width, int height, int pitch, int x, int y,
              uint32_t colour);

}  // namespace qmp::fonts
