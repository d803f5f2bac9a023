#include "core/glyphs.h"

#include <algorithm>

#include "core/glyph_data.h"

namespace qmp::fonts {
namespace {

const FaceData& dataOf(Face face) { return face == Face::Fixed ? fixedFaceData : unifontFaceData; }

// Index of the code point's glyph in the face, or -1.
int find(const FaceData& data, char32_t codePoint) {
    const uint32_t* end = data.codes + data.count;
    const uint32_t* at = std::lower_bound(data.codes, end, static_cast<uint32_t>(codePoint));
    return (at != end && *at == codePoint) ? static_cast<int>(at - data.codes) : -1;
}

Glyph glyphAt(const FaceData& data, int index, int top) {
    Glyph g;
    g.advance = data.advances[index];
    g.height = data.height;
    g.top = top;
    g.bytesPerRow = (g.advance + 7) / 8;
    g.rows = reinterpret_cast<const uint8_t*>(data.bits) + data.offsets[index];
    return g;
}

}  // namespace

Metrics metrics(Face face) {
    const FaceData& data = dataOf(face);
    const int narrow = find(data, U'M');
    return {data.height, data.ascent, narrow >= 0 ? data.advances[narrow] : data.height / 2};
}

bool hasOwnGlyph(Face face, char32_t codePoint) { return find(dataOf(face), codePoint) >= 0; }

Glyph glyph(Face face, char32_t codePoint) {
    const FaceData& own = dataOf(face);
    if (int i = find(own, codePoint); i >= 0) return glyphAt(own, i, 0);
    const FaceData& fallback = unifontFaceData;
    const int top = own.ascent - fallback.ascent;
    if (int i = find(fallback, codePoint); i >= 0) return glyphAt(fallback, i, top);
    if (int i = find(own, U'\uFFFD'); i >= 0) return glyphAt(own, i, 0);
    return glyphAt(fallback, find(fallback, U'\uFFFD'), top);  // fontpack always embeds U+FFFD
}

int textWidth(Face face, std::u32string_view text) {
    int width = 0;
    for (char32_t c : text) width += glyph(face, c).advance;
    return width;
}

void drawText(Face face, std::u32string_view text, uint32_t* pixels, int width, int height, int pitch, int x, int y,
              uint32_t colour) {
    if (pixels == nullptr || width <= 0 || height <= 0 || pitch < width) return;
    int64_t penX = x;
    for (char32_t c : text) {
        const Glyph g = glyph(face, c);
        for (int row = 0; row < g.height; ++row) {
            const int64_t py = int64_t(y) + g.top + row;
            if (py < 0 || py >= height) continue;
            uint32_t* line = pixels + py * pitch;
            for (int col = 0; col < g.advance; ++col) {
                const int64_t px = penX + col;
                if (px >= 0 && px < width && g.pixel(col, row)) line[px] = colour;
            }
        }
        penX += g.advance;
        if (penX >= width) break;
    }
}

}  // namespace qmp::fonts
