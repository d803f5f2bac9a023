#include "hex.h"

#include <fstream>
#include <map>
#include <stdexcept>

namespace fontpack {
namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

Face readHex(const std::string& path, const std::set<uint32_t>& wanted) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error(path + ": cannot open");
    constexpr int rows = 16;
    Face face;
    face.source = path;
    face.height = rows;
    face.ascent = 14;  // Unifont's baseline lies two rows above the cell's bottom
    std::map<uint32_t, CellGlyph> glyphs;
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        auto fail = [&](const char* why) {
            throw std::runtime_error(path + ":" + std::to_string(lineNumber) + ": " + why);
        };
        const size_t colon = line.find(':');
        if (colon == std::string::npos || colon == 0 || colon > 6) fail("expected CODE:ROWS");
        uint32_t code = 0;
        for (size_t i = 0; i < colon; ++i) {
            int d = hexDigit(line[i]);
            if (d < 0) fail("bad code point");
            code = code << 4 | static_cast<uint32_t>(d);
        }
        const std::string bits = line.substr(colon + 1);
        if (bits.size() != rows * 2 && bits.size() != rows * 4) fail("a glyph has 32 or 64 hex digits");
        if (!wanted.count(code)) continue;
        CellGlyph glyph;
        glyph.codePoint = code;
        glyph.advance = static_cast<int>(bits.size()) / rows * 4;  // 8 or 16 pixels
        for (size_t i = 0; i < bits.size(); i += 2) {
            int hi = hexDigit(bits[i]), lo = hexDigit(bits[i + 1]);
            if (hi < 0 || lo < 0) fail("bad hex digit in the glyph");
            glyph.rows.push_back(static_cast<uint8_t>(hi << 4 | lo));
        }
        glyphs[code] = std::move(glyph);
    }
    for (auto& [code, glyph] : glyphs) face.glyphs.push_back(std::move(glyph));
    return face;
}

}  // namespace fontpack
