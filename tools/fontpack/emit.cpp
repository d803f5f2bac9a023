#include "emit.h"

#include <cstdio>

namespace fontpack {
namespace {

// Writes numbers as an initializer list, a few per line.
template <typename T>
void writeNumbers(std::ostream& out, const std::vector<T>& values) {
    for (size_t i = 0; i < values.size(); ++i) {
        out << static_cast<unsigned long>(values[i]) << ',';
        out << ((i % 16 == 15) ? '\n' : ' ');
    }
    out << '\n';
}

// A string literal compiles far faster than a braced list of the same bytes.
void writeBytes(std::ostream& out, const std::vector<uint8_t>& bytes) {
    char escape[8];
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 32 == 0) out << (i == 0 ? "\"" : "\"\n\"");
        std::snprintf(escape, sizeof escape, "\\x%02x", bytes[i]);
        out << escape;
    }
    out << "\"";
}

}  // namespace

size_t emitFace(std::ostream& out, const std::string& name, const Face& face) {
    std::vector<uint32_t> codes, offsets;
    std::vector<uint8_t> advances, bits;
    for (const CellGlyph& g : face.glyphs) {
        codes.push_back(g.codePoint);
        offsets.push_back(static_cast<uint32_t>(bits.size()));
        advances.push_back(static_cast<uint8_t>(g.advance));
        bits.insert(bits.end(), g.rows.begin(), g.rows.end());
    }
    if (bits.empty()) bits.push_back(0);  // keeps the literal non-empty

    out << "namespace {\n";
    out << "const uint32_t " << name << "Codes[] = {\n";
    writeNumbers(out, codes);
    out << "};\nconst uint32_t " << name << "Offsets[] = {\n";
    writeNumbers(out, offsets);
    out << "};\nconst uint8_t " << name << "Advances[] = {\n";
    writeNumbers(out, advances);
    out << "};\nconst char " << name << "Bits[] =\n";
    writeBytes(out, bits);
    out << ";\n}  // namespace\n\n";

    std::string source;
    for (char c : face.source) {
        if (c == '"' || c == '\\') source += '\\';
        source += c;
    }
    out << "extern const FaceData " << name << "FaceData = {\"" << source << "\", " << face.height << ", "
        << face.ascent << ", " << face.glyphs.size() << ", " << name << "Codes, " << name << "Offsets, " << name
        << "Advances, " << name << "Bits};\n\n";
    return bits.size();
}

}  // namespace fontpack
