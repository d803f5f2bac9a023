// GDI and AlphaBlend cases on a surface's device context: colour mapping,
// one-pixel and wide lines, polygons, ellipses as the demo draws them, blends.
#include <cmath>

#include "probe.h"

namespace probe {
namespace {

Outcome lineCase(Device& d, int x0, int y0, int x1, int y1, int width) {
    SurfaceDc dc(d.target);
    line(dc.get(), x0, y0, x1, y1, width, RGB(255, 0, 0));
    return {dc.result()};
}

COLORREF colourOf(const PALETTEENTRY& e) { return RGB(e.peRed, e.peGreen, e.peBlue); }

// Colours off the palette: GDI picks the nearest entry.
COLORREF offPalette(int k) { return RGB((k * 53 + 17) % 256, (k * 97 + 40) % 256, (k * 151 + 90) % 256); }

void colourRows(HDC dc) {
    const std::vector<PALETTEENTRY> palette = probePalette();
    for (int k = 0; k < 9; ++k) line(dc, 2, 2 + 3 * k, 30, 2 + 3 * k, 1, colourOf(palette[k]));
    for (int k = 0; k < 40; ++k) {
        const int x = 34 + 15 * (k % 2), y = 2 + 3 * (k / 2);
        if (y < kSize) line(dc, x, y, x + 12, y, 1, offPalette(k));
    }
}

Outcome coloursNamedAndNearest(Device& d) {
    SurfaceDc dc(d.target);
    colourRows(dc.get());
    return {dc.result()};
}

Outcome brushColours(Device& d) {
    SurfaceDc dc(d.target);
    SelectObject(dc.get(), GetStockObject(NULL_PEN));
    for (int k = 0; k < 16; ++k) {
        HBRUSH brush = CreateSolidBrush(k < 9 ? colourOf(probePalette()[k]) : offPalette(k * 3));
        HGDIOBJ old = SelectObject(dc.get(), brush);
        const int x = 2 + 15 * (k % 4), y = 2 + 15 * (k / 4);
        const POINT square[] = {{x, y}, {x + 13, y}, {x + 13, y + 13}, {x, y + 13}};
        Polygon(dc.get(), square, 4);
        SelectObject(dc.get(), old);
        DeleteObject(brush);
    }
    return {dc.result()};
}

// The fade changes the primary's palette; a surface without a palette of its
// own maps colours through the primary's.
Outcome coloursDuringFade(Device& d) {
    const std::vector<PALETTEENTRY> original = probePalette();
    std::vector<PALETTEENTRY> faded = original;
    for (PALETTEENTRY& e : faded) e = PALETTEENTRY{BYTE(e.peRed / 2), BYTE(e.peGreen / 2), BYTE(e.peBlue / 2), 0};
    d.palette->SetEntries(0, 0, 256, faded.data());
    std::string result;
    {
        SurfaceDc dc(d.target);
        colourRows(dc.get());
        result = dc.result();
    }
    d.palette->SetEntries(0, 0, 256, const_cast<PALETTEENTRY*>(original.data()));
    return {result};
}

Outcome duplicateColours(Device& d) {
    const std::vector<PALETTEENTRY> original = probePalette();
    std::vector<PALETTEENTRY> doubled = original;
    for (int i : {9, 10, 40}) doubled[i] = original[RED];
    for (int i : {11, 99}) doubled[i] = original[BLUE];
    doubled[12] = doubled[13] = PALETTEENTRY{10, 200, 30, 0};  // two alike, neither named
    d.palette->SetEntries(0, 0, 256, doubled.data());
    std::string result;
    {
        SurfaceDc dc(d.target);
        const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 0, 255), RGB(10, 200, 30), RGB(12, 198, 33), RGB(250, 5, 5)};
        for (int k = 0; k < 5; ++k) line(dc.get(), 4, 4 + 6 * k, 60, 4 + 6 * k, 2, colours[k]);
        result = dc.result();
    }
    d.palette->SetEntries(0, 0, 256, const_cast<PALETTEENTRY*>(original.data()));
    return {result};
}

// A surface with a palette of its own maps through that one.
Outcome ownPalette(Device& d) {
    LPDIRECTDRAWSURFACE surface = makeSurface(d, kSize, kSize, false);
    if (surface == nullptr) return {"no surface"};
    clearSurface(surface, kBackground);
    std::vector<PALETTEENTRY> reversed = probePalette();
    for (int i = 0; i < 128; ++i) std::swap(reversed[i], reversed[255 - i]);
    LPDIRECTDRAWPALETTE palette = nullptr;
    d.ddraw->CreatePalette(DDPCAPS_8BIT, reversed.data(), &palette, nullptr);
    surface->SetPalette(palette);
    std::string result;
    {
        SurfaceDc dc(surface);
        colourRows(dc.get());
        result = dc.result();
    }
    surface->SetPalette(nullptr);
    palette->Release();
    return {result, surface};
}

// What a context holds after another user left its own pen, brush and position in it.
Outcome defaultsAfterRelease(Device& d) {
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(255, 0, 0));
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    {
        SurfaceDc dc(d.target);
        SelectObject(dc.get(), pen);
        SelectObject(dc.get(), brush);
        MoveToEx(dc.get(), 40, 10, nullptr);
    }
    std::string result;
    {
        SurfaceDc dc(d.target);
        const POINT triangle[] = {{8, 8}, {40, 20}, {14, 44}};
        Polygon(dc.get(), triangle, 3);
        LineTo(dc.get(), 60, 50);
        result = dc.result();
    }
    DeleteObject(pen);
    DeleteObject(brush);
    return {result};
}

Outcome tie(Device& d, int dx, int dy) { return lineCase(d, 32 - dx / 2, 32 - dy / 2, 32 + dx - dx / 2, 32 + dy - dy / 2, 1); }
Outcome tieRightDown(Device& d) { return tie(d, 40, 20); }
Outcome tieLeftDown(Device& d) { return tie(d, -40, 20); }
Outcome tieRightUp(Device& d) { return tie(d, 40, -20); }
Outcome tieLeftUp(Device& d) { return tie(d, -40, -20); }
Outcome tieDownRight(Device& d) { return tie(d, 20, 40); }
Outcome tieDownLeft(Device& d) { return tie(d, -20, 40); }
Outcome tieUpRight(Device& d) { return tie(d, 20, -40); }
Outcome tieUpLeft(Device& d) { return tie(d, -20, -40); }

// Lines from the centre in `count` directions, ends rounded to whole pixels.
Outcome star(Device& d, int width, int count, int radius) {
    SurfaceDc dc(d.target);
    for (int k = 0; k < count; ++k) {
        const double angle = 6.283185307179586 * k / count;
        const int x = 32 + static_cast<int>(std::lround(radius * std::cos(angle)));
        const int y = 32 + static_cast<int>(std::lround(radius * std::sin(angle)));
        line(dc.get(), 32, 32, x, y, width, RGB(0, 0, 255));
    }
    return {dc.result()};
}
Outcome thinStar(Device& d) { return star(d, 1, 32, 29); }
Outcome wideStar3(Device& d) { return star(d, 3, 16, 26); }
Outcome wideStar6(Device& d) { return star(d, 6, 12, 24); }

Outcome polyline(Device& d, int width) {
    SurfaceDc dc(d.target);
    HPEN pen = CreatePen(PS_SOLID, width, RGB(0, 255, 0));
    HGDIOBJ old = SelectObject(dc.get(), pen);
    const POINT points[] = {{4, 4}, {30, 10}, {12, 30}, {50, 40}, {60, 8}, {40, 60}, {6, 52}};
    Polyline(dc.get(), points, 7);
    SelectObject(dc.get(), old);
    DeleteObject(pen);
    return {dc.result()};
}
Outcome thinPolyline(Device& d) { return polyline(d, 1); }
Outcome widePolyline(Device& d) { return polyline(d, 5); }

Outcome thinClipped(Device& d) {
    SurfaceDc dc(d.target);
    const int ends[][4] = {{-20, 5, 80, 37}, {70, -6, -15, 50}, {5, -30, 18, 90}, {-10, -10, 75, 75}};
    for (const auto& e : ends) line(dc.get(), e[0], e[1], e[2], e[3], 1, RGB(0, 255, 255));
    return {dc.result()};
}

Outcome polygon(Device& d, const POINT* points, int count, bool pen) {
    SurfaceDc dc(d.target);
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ oldBrush = SelectObject(dc.get(), brush);
    if (!pen) SelectObject(dc.get(), GetStockObject(NULL_PEN));
    Polygon(dc.get(), points, count);
    SelectObject(dc.get(), oldBrush);
    DeleteObject(brush);
    return {dc.result()};
}

// The five-pointed star drawn in one stroke: its centre is outside in alternate mode.
const POINT kStar[] = {{32, 3}, {49, 56}, {4, 23}, {60, 23}, {15, 56}};
Outcome polygonStar(Device& d) { return polygon(d, kStar, 5, true); }
Outcome polygonStarNoPen(Device& d) { return polygon(d, kStar, 5, false); }
Outcome polygonConcave(Device& d) {
    const POINT arrow[] = {{4, 30}, {30, 4}, {30, 18}, {60, 18}, {60, 42}, {30, 42}, {30, 58}};
    return polygon(d, arrow, 7, true);
}
// The minimap's outline: rows of a span each, left edges down, right edges up.
Outcome polygonMinimap(Device& d) {
    const POINT outline[] = {{20, 4}, {20, 12}, {12, 12}, {12, 20}, {26, 20}, {26, 36}, {8, 36}, {8, 52},
                             {44, 52}, {44, 36}, {54, 36}, {54, 20}, {40, 20}, {40, 12}, {34, 12}, {34, 4}};
    return polygon(d, outline, 16, true);
}

Outcome wideRows(Device& d, bool vertical) {
    SurfaceDc dc(d.target);
    const int at[] = {4, 12, 21, 31, 42, 54};
    for (int k = 0; k < 6; ++k) {
        if (vertical) line(dc.get(), at[k], 6, at[k], 58, k + 2, RGB(0, 0, 255));
        else line(dc.get(), 6, at[k], 58, at[k], k + 2, RGB(0, 0, 255));
    }
    return {dc.result()};
}
Outcome wideHorizontal(Device& d) { return wideRows(d, false); }
Outcome wideVertical(Device& d) { return wideRows(d, true); }

Outcome wide45w2(Device& d) { return lineCase(d, 12, 12, 50, 50, 2); }
Outcome wide45w3(Device& d) { return lineCase(d, 12, 12, 50, 50, 3); }
Outcome wide45w4(Device& d) { return lineCase(d, 50, 12, 12, 50, 4); }
Outcome wide45w5(Device& d) { return lineCase(d, 12, 12, 50, 50, 5); }
Outcome wideSlanted3(Device& d) { return lineCase(d, 8, 20, 56, 44, 3); }
Outcome wideSlanted4(Device& d) { return lineCase(d, 10, 50, 52, 22, 4); }
Outcome wideSlanted6(Device& d) { return lineCase(d, 24, 6, 40, 56, 6); }

Outcome dot(Device& d, int width) { return lineCase(d, 32, 32, 32, 32, width); }
Outcome dot2(Device& d) { return dot(d, 2); }
Outcome dot3(Device& d) { return dot(d, 3); }
Outcome dot4(Device& d) { return dot(d, 4); }
Outcome dot5(Device& d) { return dot(d, 5); }
Outcome dot6(Device& d) { return dot(d, 6); }
Outcome dot7(Device& d) { return dot(d, 7); }
Outcome dot12(Device& d) { return dot(d, 12); }

Outcome shortLine2(Device& d) { return lineCase(d, 30, 30, 31, 30, 2); }
Outcome shortLine3(Device& d) { return lineCase(d, 30, 30, 31, 31, 3); }

// Fireworks: short wide lines of every direction, newborn ones of no length.
Outcome fireworks(Device& d) {
    SurfaceDc dc(d.target);
    uint32_t state = 2024;
    auto next = [&](int range) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % static_cast<uint32_t>(range));
    };
    for (int k = 0; k < 60; ++k) {
        const int x = 4 + next(56), y = 4 + next(56);
        const int length = next(4) == 0 ? 0 : 1 + next(7);
        const int dx = next(2 * length + 1) - length, dy = next(2 * length + 1) - length;
        line(dc.get(), x, y, x + dx, y + dy, 2 + next(5), RGB(next(256), next(256), next(256)));
    }
    return {dc.result()};
}

Outcome discCase(Device& d, int radius) {
    SurfaceDc dc(d.target);
    disc(dc.get(), 32, 32, radius, RGB(255, 0, 0));
    return {dc.result()};
}
Outcome disc1(Device& d) { return discCase(d, 1); }
Outcome disc2(Device& d) { return discCase(d, 2); }
Outcome disc3(Device& d) { return discCase(d, 3); }
Outcome disc5(Device& d) { return discCase(d, 5); }
Outcome disc8(Device& d) { return discCase(d, 8); }
Outcome disc20(Device& d) { return discCase(d, 20); }

// The palette strip and the minimap's actor dots: rows of small discs.
Outcome paletteDots(Device& d) {
    SurfaceDc dc(d.target);
    const std::vector<PALETTEENTRY> palette = probePalette();
    for (int k = 0; k < 14; ++k) disc(dc.get(), 4 + 4 * k, 6, 2, colourOf(palette[20 + k]));
    for (int k = 0; k < 10; ++k) disc(dc.get(), 5 + 6 * k, 20, 1, colourOf(palette[40 + k]));
    for (int k = 0; k < 7; ++k) disc(dc.get(), 6 + 9 * k, 36, 3, colourOf(palette[60 + k]));
    return {dc.result()};
}

Outcome outline(Device& d, RECT box, int width, bool filled) {
    SurfaceDc dc(d.target);
    HPEN pen = CreatePen(PS_SOLID, width, RGB(0, 0, 0));
    HBRUSH brush = CreateSolidBrush(RGB(0, 255, 255));
    HGDIOBJ oldPen = SelectObject(dc.get(), pen);
    HGDIOBJ oldBrush = SelectObject(dc.get(), filled ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
    Ellipse(dc.get(), box.left, box.top, box.right, box.bottom);
    SelectObject(dc.get(), oldPen);
    SelectObject(dc.get(), oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    return {dc.result()};
}
Outcome outline9x7(Device& d) { return outline(d, RECT{20, 20, 29, 27}, 1, false); }
Outcome outline21x15(Device& d) { return outline(d, RECT{10, 20, 31, 35}, 1, false); }
Outcome outline30x30(Device& d) { return outline(d, RECT{10, 10, 40, 40}, 1, false); }
Outcome outline41x20(Device& d) { return outline(d, RECT{4, 30, 45, 50}, 1, false); }
Outcome outline57x57(Device& d) { return outline(d, RECT{3, 3, 60, 60}, 1, false); }
Outcome filledPen1(Device& d) { return outline(d, RECT{8, 12, 33, 29}, 1, true); }
Outcome filledPen3(Device& d) { return outline(d, RECT{8, 12, 38, 34}, 3, true); }

Outcome blend(Device& d, BYTE alpha) {
    paintPattern(d.target, 3, false);
    LPDIRECTDRAWSURFACE source = makeSurface(d, 32, 32, true);
    if (source == nullptr) return {"no source"};
    paintPattern(source, 60, false);
    BLENDFUNCTION blend{};
    blend.BlendOp = AC_SRC_OVER;
    blend.SourceConstantAlpha = alpha;
    std::string result;
    {
        SurfaceDc to(d.target), from(source);
        result = AlphaBlend(to.get(), 10, 12, 32, 32, from.get(), 0, 0, 32, 32, blend) ? "TRUE" : "FALSE";
    }
    source->Release();
    return {result};
}
Outcome blend40(Device& d) { return blend(d, 40); }
Outcome blend128(Device& d) { return blend(d, 128); }
Outcome blend255(Device& d) { return blend(d, 255); }

}  // namespace

const std::vector<Case>& gdiCases() {
    static const std::vector<Case> cases = {
        {"pen colours, named and nearest", "gdi", coloursNamedAndNearest},
        {"brush colours", "gdi", brushColours},
        {"pen colours during a fade", "gdi", coloursDuringFade},
        {"duplicate palette colours", "gdi", duplicateColours},
        {"a surface's own palette", "gdi", ownPalette},
        {"defaults after ReleaseDC", "gdi", defaultsAfterRelease},
        {"thin tie, shallow right down", "gdi", tieRightDown},
        {"thin tie, shallow left down", "gdi", tieLeftDown},
        {"thin tie, shallow right up", "gdi", tieRightUp},
        {"thin tie, shallow left up", "gdi", tieLeftUp},
        {"thin tie, steep down right", "gdi", tieDownRight},
        {"thin tie, steep down left", "gdi", tieDownLeft},
        {"thin tie, steep up right", "gdi", tieUpRight},
        {"thin tie, steep up left", "gdi", tieUpLeft},
        {"thin star, 32 directions", "gdi", thinStar},
        {"thin polyline", "gdi", thinPolyline},
        {"thin lines clipped", "gdi", thinClipped},
        {"polygon star", "gdi", polygonStar},
        {"polygon star, no pen", "gdi", polygonStarNoPen},
        {"polygon concave", "gdi", polygonConcave},
        {"polygon minimap outline", "gdi", polygonMinimap},
        {"wide horizontal, widths 2-7", "gdi", wideHorizontal},
        {"wide vertical, widths 2-7", "gdi", wideVertical},
        {"wide 45 degrees, width 2", "gdi", wide45w2},
        {"wide 45 degrees, width 3", "gdi", wide45w3},
        {"wide 45 degrees, width 4", "gdi", wide45w4},
        {"wide 45 degrees, width 5", "gdi", wide45w5},
        {"wide slanted, width 3", "gdi", wideSlanted3},
        {"wide slanted, width 4", "gdi", wideSlanted4},
        {"wide slanted, width 6", "gdi", wideSlanted6},
        {"wide star, width 3", "gdi", wideStar3},
        {"wide star, width 6", "gdi", wideStar6},
        {"wide polyline, width 5", "gdi", widePolyline},
        {"zero length, width 2", "gdi", dot2},
        {"zero length, width 3", "gdi", dot3},
        {"zero length, width 4", "gdi", dot4},
        {"zero length, width 5", "gdi", dot5},
        {"zero length, width 6", "gdi", dot6},
        {"zero length, width 7", "gdi", dot7},
        {"zero length, width 12", "gdi", dot12},
        {"one pixel long, width 2", "gdi", shortLine2},
        {"one pixel diagonal, width 3", "gdi", shortLine3},
        {"fireworks", "gdi", fireworks},
        {"disc radius 1", "gdi", disc1},
        {"disc radius 2", "gdi", disc2},
        {"disc radius 3", "gdi", disc3},
        {"disc radius 5", "gdi", disc5},
        {"disc radius 8", "gdi", disc8},
        {"disc radius 20", "gdi", disc20},
        {"palette dots", "gdi", paletteDots},
        {"ellipse outline 9 x 7", "gdi", outline9x7},
        {"ellipse outline 21 x 15", "gdi", outline21x15},
        {"ellipse outline 30 x 30", "gdi", outline30x30},
        {"ellipse outline 41 x 20", "gdi", outline41x20},
        {"ellipse outline 57 x 57", "gdi", outline57x57},
        {"ellipse filled, pen 1", "gdi", filledPen1},
        {"ellipse filled, pen 3", "gdi", filledPen3},
        {"AlphaBlend 40", "gdi", blend40},
        {"AlphaBlend 128", "gdi", blend128},
        {"AlphaBlend 255", "gdi", blend255},
    };
    return cases;
}

}  // namespace probe
