// Text: the two faces, code page 950 decoding, extents, transparent and opaque
// backgrounds, font creation, and the fonts API other platform code uses.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/text.h"
#include "core/glyphs.h"
#include "platform/gdi/memory_target.h"

using namespace gdi_test;
using qmp::fonts::Face;

namespace {

// "ESC 鍵按下了！確定退出？Y/N" in Big5, as the quit prompt hands it over.
const char kPrompt[] = "ESC \xc1\xe4\xab\xf6\xa4\x55\xa4\x46\xa1\x49\xbd\x54\xa9\x77\xb0\x68\xa5\x58\xa1\x48Y/N";
const char kKey[] = "\xc1\xe4";  // 鍵

HFONT fixedsys(int height, int weight = FW_THIN, DWORD underline = 0) {
    return CreateFontA(height, 0, 0, 0, weight, 0, underline, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Fixedsys");
}

int length(const char* text) { return static_cast<int>(std::strlen(text)); }

SIZE extent(HDC dc, const char* text) {
    SIZE size{-1, -1};
    EXPECT_TRUE(GetTextExtentPointA(dc, text, length(text), &size));
    return size;
}

class GdiText : public GdiTest {};

TEST_F(GdiText, FacesHaveTheirCellSizes) {
    const qmp::fonts::Metrics fixed = qmp::fonts::metrics(Face::Fixed);
    EXPECT_EQ(fixed.height, 10);
    EXPECT_EQ(fixed.ascent, 8);
    EXPECT_EQ(fixed.narrowAdvance, 6);
    const qmp::fonts::Metrics unifont = qmp::fonts::metrics(Face::Default);
    EXPECT_EQ(unifont.height, 16);
    EXPECT_EQ(unifont.narrowAdvance, 8);
    EXPECT_TRUE(qmp::fonts::hasOwnGlyph(Face::Fixed, U'A'));
    EXPECT_FALSE(qmp::fonts::hasOwnGlyph(Face::Fixed, U'\u9375'));
    // Every character of the prompt is the default font's own.
    for (char32_t c : qmp::text::decodeAnsi(kPrompt)) EXPECT_TRUE(qmp::fonts::hasOwnGlyph(Face::Default, c)) << static_cast<uint32_t>(c);
}

// The glyph as rows of '#' and '.'.
std::vector<std::string> rowsOf(const qmp::fonts::Glyph& g) {
    std::vector<std::string> rows;
    for (int y = 0; y < g.height; ++y) {
        std::string row;
        for (int x = 0; x < g.advance; ++x) row += g.pixel(x, y) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

// Rows of a Unifont .hex glyph, as the file gives them.
std::vector<std::string> hexRows(const char* hex, int width) {
    std::vector<std::string> rows;
    const int digits = width / 4;
    for (int y = 0; y < 16; ++y) {
        const unsigned long bits = std::stoul(std::string(hex + y * digits, static_cast<size_t>(digits)), nullptr, 16);
        std::string row;
        for (int x = width - 1; x >= 0; --x) row += (bits >> x) & 1 ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

TEST_F(GdiText, GlyphsAreTheInstalledFontsOwn) {
    // misc-fixed 6x10: capitals stand on the baseline (row 8), descenders reach the bottom row.
    EXPECT_EQ(rowsOf(qmp::fonts::glyph(Face::Fixed, U'H')),
              (std::vector<std::string>{"......", "#...#.", "#...#.", "#...#.", "#####.", "#...#.", "#...#.", "#...#.",
                                        "......", "......"}));
    EXPECT_EQ(rowsOf(qmp::fonts::glyph(Face::Fixed, U'g')),
              (std::vector<std::string>{"......", "......", "......", ".####.", "#...#.", "#...#.", ".####.", "....#.",
                                        "#...#.", ".###.."}));
    // Unifont, from its lines "0041:..." and "9375:...".
    EXPECT_EQ(rowsOf(qmp::fonts::glyph(Face::Default, U'A')), hexRows("0000000018242442427E424242420000", 8));
    EXPECT_EQ(rowsOf(qmp::fonts::glyph(Face::Default, U'\u9375')),
              hexRows("20102010577C491481FE7214227C2710F17C2510A5FE721022103500C8FE0000", 16));
    // Fixedsys draws a missing character with the default font's glyph, baselines aligned.
    const qmp::fonts::Glyph fallback = qmp::fonts::glyph(Face::Fixed, U'\u9375');
    EXPECT_EQ(rowsOf(fallback), hexRows("20102010577C491481FE7214227C2710F17C2510A5FE721022103500C8FE0000", 16));
    EXPECT_EQ(fallback.top, 8 - 14);
}

TEST_F(GdiText, ExtentsOfAsciiInBothFaces) {
    MemoryTarget t(64, 32);
    EXPECT_EQ(extent(t.dc(), "Hello").cx, 40);  // the default font: 8 x 16 cells
    EXPECT_EQ(extent(t.dc(), "Hello").cy, 16);
    HFONT font = fixedsys(10);
    SelectObject(t.dc(), font);
    const SIZE size = extent(t.dc(), "Vec:12 ");
    EXPECT_EQ(size.cx, 42);
    EXPECT_EQ(size.cy, 10);
    SIZE size32{};
    EXPECT_TRUE(GetTextExtentPoint32A(t.dc(), "Vec:12 ", 7, &size32));
    EXPECT_EQ(size32.cx, 42);
    EXPECT_EQ(extent(t.dc(), "").cx, 0);
}

TEST_F(GdiText, Big5PromptMeasuresChineseCharactersTwoCellsWide) {
    MemoryTarget t(300, 40);
    const SIZE prompt = extent(t.dc(), kPrompt);
    EXPECT_EQ(prompt.cx, 4 * 8 + 10 * 16 + 3 * 8);  // "ESC ", ten double-width characters, "Y/N"
    EXPECT_EQ(prompt.cx, 216);
    EXPECT_EQ(prompt.cy, 16);
    EXPECT_EQ(extent(t.dc(), kKey).cx, 16);

    // Fixedsys has no Chinese: the default font's glyph stands in, just as wide.
    HFONT font = fixedsys(10);
    SelectObject(t.dc(), font);
    EXPECT_EQ(extent(t.dc(), kKey).cx, 16);
    EXPECT_EQ(extent(t.dc(), kPrompt).cx, 7 * 6 + 10 * 16);
}

TEST_F(GdiText, PromptIsDrawnWithItsChineseGlyphs) {
    MemoryTarget t(240, 20);
    SetBkMode(t.dc(), TRANSPARENT);
    EXPECT_TRUE(TextOutA(t.dc(), 2, 2, kPrompt, length(kPrompt)));
    // Each of the ten wide cells holds ink; none is the replacement glyph.
    const qmp::fonts::Glyph replacement = qmp::fonts::glyph(Face::Default, U'\uFFFD');
    for (int cell = 0; cell < 10; ++cell) {
        const int left = 2 + 32 + cell * 16;
        int ink = 0;
        bool sameAsReplacement = true;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const bool on = t.at(left + x, 2 + y) == BLACK;
                ink += on;
                if (x < replacement.advance && on != replacement.pixel(x, y)) sameAsReplacement = false;
            }
        EXPECT_GT(ink, 10) << "cell " << cell;
        EXPECT_FALSE(sameAsReplacement) << "cell " << cell;
    }
    EXPECT_TRUE(t.guardsIntact());
}

TEST_F(GdiText, TransparentLeavesTheBackgroundOpaqueFillsTheCells) {
    MemoryTarget t(40, 20);
    EXPECT_EQ(GetBkMode(t.dc()), OPAQUE);  // a new context's mode
    EXPECT_TRUE(TextOutA(t.dc(), 1, 1, "Ab", 2));
    EXPECT_EQ(t.count(WHITE) + t.count(BLACK), 16 * 16);  // two 8 x 16 cells: white paper, black ink
    EXPECT_GT(t.count(BLACK), 10);
    EXPECT_EQ(t.at(0, 0), BACKGROUND);
    EXPECT_EQ(t.at(17, 1), BACKGROUND);

    t.fill(BACKGROUND);
    EXPECT_EQ(SetBkMode(t.dc(), TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetTextColor(t.dc(), RGB(255, 0, 0)), RGB(0, 0, 0));
    EXPECT_EQ(GetTextColor(t.dc()), RGB(255, 0, 0));
    EXPECT_TRUE(TextOutA(t.dc(), 1, 1, "Ab", 2));
    EXPECT_EQ(t.count(WHITE), 0);
    EXPECT_GT(t.count(RED), 10);
    EXPECT_EQ(t.count(RED) + t.count(BACKGROUND), 40 * 20);

    t.fill(BACKGROUND);
    EXPECT_EQ(SetBkMode(t.dc(), OPAQUE), TRANSPARENT);
    EXPECT_EQ(SetBkColor(t.dc(), RGB(0, 0, 255)), RGB(255, 255, 255));
    EXPECT_TRUE(TextOutA(t.dc(), 1, 1, "Ab", 2));
    EXPECT_EQ(t.count(BLUE) + t.count(RED), 16 * 16);
}

TEST_F(GdiText, GlyphsAreDrawnAsTheFontHasThem) {
    MemoryTarget t(20, 20);
    HFONT font = fixedsys(10);
    SelectObject(t.dc(), font);
    SetBkMode(t.dc(), TRANSPARENT);
    EXPECT_TRUE(TextOutA(t.dc(), 3, 4, "H", 1));
    const qmp::fonts::Glyph h = qmp::fonts::glyph(Face::Fixed, U'H');
    ASSERT_EQ(h.advance, 6);
    ASSERT_EQ(h.height, 10);
    int ink = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inCell = x >= 3 && x < 9 && y >= 4 && y < 14;
            const bool expected = inCell && h.pixel(x - 3, y - 4);
            EXPECT_EQ(t.at(x, y) == BLACK, expected) << x << "," << y << t.picture(0, 0, 20, 20);
            ink += expected;
        }
    EXPECT_GE(ink, 12);  // two stems and a bar
}

TEST_F(GdiText, FontCreationPicksFaceAndWholeScale) {
    MemoryTarget t(100, 40);
    auto measure = [&](HFONT font, const char* text) {
        HGDIOBJ old = SelectObject(t.dc(), font);
        const SIZE s = extent(t.dc(), text);
        SelectObject(t.dc(), old);
        EXPECT_TRUE(DeleteObject(font));
        return s;
    };
    EXPECT_EQ(measure(fixedsys(5), "ab").cy, 10);    // bitmap faces do not shrink
    EXPECT_EQ(measure(fixedsys(11), "ab").cy, 10);   // nor grow by less than a whole multiple
    EXPECT_EQ(measure(fixedsys(20), "ab").cx, 24);   // twice the size
    EXPECT_EQ(measure(fixedsys(-20), "ab").cy, 20);  // character heights count the same
    EXPECT_EQ(measure(fixedsys(INT_MIN), "a").cx, 48);  // at most eight times
    HFONT upper = CreateFontA(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "FIXEDSYS");
    EXPECT_EQ(measure(upper, "ab").cx, 12);
    HFONT other = CreateFontA(10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "No Such Face");
    EXPECT_EQ(measure(other, "ab").cx, 16);  // the default font serves unknown faces
    HFONT unnamed = CreateFontA(10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
    EXPECT_EQ(measure(unnamed, "ab").cy, 16);
    EXPECT_EQ(measure(fixedsys(10, FW_BOLD), "ab").cx, 14);  // emboldened: a pixel wider per cell
}

TEST_F(GdiText, UnderlineRunsUnderTheWholeText) {
    MemoryTarget t(30, 14);
    HFONT font = fixedsys(10, FW_NORMAL, TRUE);
    SelectObject(t.dc(), font);
    SetBkMode(t.dc(), TRANSPARENT);
    EXPECT_TRUE(TextOutA(t.dc(), 2, 1, "a b", 3));
    for (int x = 2; x < 20; ++x) EXPECT_EQ(t.at(x, 1 + 9), BLACK) << x;
    EXPECT_EQ(t.at(20, 10), BACKGROUND);
}

TEST_F(GdiText, TextClipsAtEveryEdge) {
    MemoryTarget t(23, 17, 28);
    for (int y : {-12, -3, 5, 12, 16}) {
        for (int x : {-30, -5, 7, 20}) {
            EXPECT_TRUE(TextOutA(t.dc(), x, y, kPrompt, length(kPrompt)));
        }
    }
    HFONT font = fixedsys(80);
    SelectObject(t.dc(), font);
    EXPECT_TRUE(TextOutA(t.dc(), -7, -9, kPrompt, length(kPrompt)));
    EXPECT_TRUE(t.guardsIntact());
}

TEST_F(GdiText, HostileTextArguments) {
    MemoryTarget t(20, 20);
    SIZE size{};
    EXPECT_FALSE(TextOutA(nullptr, 0, 0, "a", 1));
    EXPECT_FALSE(TextOutA(t.dc(), 0, 0, "a", -1));
    EXPECT_FALSE(TextOutA(t.dc(), 0, 0, nullptr, 3));
    EXPECT_TRUE(TextOutA(t.dc(), 0, 0, nullptr, 0));
    EXPECT_FALSE(TextOutA(t.dc(), INT_MIN, INT_MAX, "a", 1));
    EXPECT_FALSE(GetTextExtentPointA(t.dc(), "a", 1, nullptr));
    EXPECT_FALSE(GetTextExtentPointA(t.dc(), "a", -5, &size));
    EXPECT_FALSE(GetTextExtentPointA(reinterpret_cast<HDC>(8), "a", 1, &size));
    EXPECT_EQ(SetTextColor(nullptr, 0), CLR_INVALID);
    EXPECT_EQ(SetBkColor(nullptr, 0), CLR_INVALID);
    EXPECT_EQ(SetBkMode(t.dc(), 7), 0);
    EXPECT_EQ(GetBkMode(nullptr), 0);
    EXPECT_EQ(t.count(BACKGROUND), 400);

    // Bytes that are not Big5 become replacement characters, one per byte.
    const char broken[] = "\xff\x81";
    EXPECT_TRUE(GetTextExtentPointA(t.dc(), broken, 2, &size));
    EXPECT_EQ(size.cx, 2 * qmp::fonts::glyph(Face::Default, U'\uFFFD').advance);
    EXPECT_TRUE(TextOutA(t.dc(), 0, 0, broken, 2));
    EXPECT_TRUE(t.guardsIntact());
}

TEST_F(GdiText, TextInto32BitPixelsForTheMessageBoxes) {
    const int width = 40, height = 20, pitch = width + 5;
    std::vector<uint32_t> pixels(static_cast<size_t>(pitch) * height + 64, 7);
    const std::u32string text = U"Y\u9375";
    EXPECT_EQ(qmp::fonts::textWidth(Face::Default, text), 24);
    qmp::fonts::drawText(Face::Default, text, pixels.data(), width, height, pitch, 1, 2, 0x102030);
    const qmp::fonts::Glyph y = qmp::fonts::glyph(Face::Default, U'Y');
    for (int row = 0; row < 16; ++row)
        for (int col = 0; col < 8; ++col)
            EXPECT_EQ(pixels[static_cast<size_t>(2 + row) * pitch + 1 + col], y.pixel(col, row) ? 0x102030u : 7u);
    for (size_t i = static_cast<size_t>(pitch) * height; i < pixels.size(); ++i) EXPECT_EQ(pixels[i], 7u);
    qmp::fonts::drawText(Face::Default, text, pixels.data(), width, height, pitch, 30, 10, 1);  // clipped
    for (int row = 0; row < height; ++row)
        for (int i = width; i < pitch; ++i) EXPECT_EQ(pixels[static_cast<size_t>(row) * pitch + i], 7u);
}

}  // namespace
