// The glyph tables of the two GDI faces. The definitions are generated at build
// time by tools/fontpack from the fonts the distribution installs.
#pragma once

#include <cstdint>

namespace qmp::fonts {

struct FaceData {
    const char* source;        // the font file the glyphs were read from
    int height;                // cell height in pixels
    int ascent;                // baseline, from the cell's top
    int count;                 // number of glyphs
    const uint32_t* codes;     // their code points, ascending
    const uint32_t* offsets;   // where each glyph's rows start in `bits`
    const uint8_t* advances;   // cell widths in pixels
    const char* bits;          // rows of (advance + 7) / 8 bytes, leftmost pixel in the top bit
};

extern const FaceData fixedFaceData;    // "Fixedsys": X11 misc-fixed 6x10
extern const FaceData unifontFaceData;  // the default font: GNU Unifont, 8 x 16 and 16 x 16

}  // namespace qmp::fonts
