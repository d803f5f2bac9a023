// GDI32 of windows.h: text colours, background mode, TextOutA and the text
// extent calls. ANSI text is code page 950.
#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>

#include "core/text.h"
#include "core/trace.h"
#include "gdi/colour_map.h"
#include "gdi/context.h"
#include "gdi/objects.h"

namespace qmp::gdi {
namespace {

bool validText(LPCSTR text, int count) { return count >= 0 && (count == 0 || text != nullptr); }

int64_t cellWidth(const fonts::Glyph& g, const Font& font) { return int64_t(g.advance) * font.scaleX + (font.bold ? 1 : 0); }

SIZE extentOf(const DeviceContext& dc, const std::u32string& text) {
    const Font& font = fontOf(dc);
    int64_t width = 0;
    for (char32_t c : text) width += cellWidth(fonts::glyph(font.face, c), font);
    const int64_t height = int64_t(fonts::metrics(font.face).height) * font.scaleY;
    return SIZE{static_cast<LONG>(std::min<int64_t>(width, INT32_MAX)), static_cast<LONG>(height)};
}

// One glyph with its top-left cell corner at (x, y); each font pixel becomes a
// scaleX x scaleY block, and a bold font draws it again one pixel to the right.
void drawGlyph(const Raster& r, const fonts::Glyph& g, const Font& font, int64_t x, int64_t y, uint8_t index) {
    const int64_t blockWidth = font.scaleX + (font.bold ? 1 : 0);
    for (int row = 0; row < g.height; ++row) {
        const int64_t top = y + int64_t(g.top + row) * font.scaleY;
        if (top >= r.height || top + font.scaleY <= 0) continue;
        for (int col = 0; col < g.advance; ++col) {
            if (!g.pixel(col, row)) continue;
            const int64_t left = x + int64_t(col) * font.scaleX;
            for (int64_t dy = 0; dy < font.scaleY; ++dy) r.span(top + dy, left, left + blockWidth, index);
        }
    }
}

bool textOut(const Drawing& d, int x, int y, const std::u32string& text) {
    const DeviceContext& dc = *d.dc;
    const Font& font = fontOf(dc);
    const fonts::Metrics metrics = fonts::metrics(font.face);
    const uint8_t ink = nearestIndex(*dc.target, dc.textColour);
    const uint8_t paper = nearestIndex(*dc.target, dc.backgroundColour);
    int64_t penX = x;
    for (char32_t c : text) {
        if (penX >= d.raster.width) break;  // the rest lies right of the target
        const fonts::Glyph g = fonts::glyph(font.face, c);
        const int64_t width = cellWidth(g, font);
        if (dc.backgroundMode == OPAQUE) {
            // The cell, grown to a fallback glyph that reaches beyond it.
            const int64_t top = y + int64_t(std::min(0, g.top)) * font.scaleY;
            const int64_t bottom = y + int64_t(std::max(metrics.height, g.top + g.height)) * font.scaleY;
            for (int64_t row = std::max<int64_t>(top, 0); row < std::min<int64_t>(bottom, d.raster.height); ++row)
                d.raster.span(row, penX, penX + width, paper);
        }
        drawGlyph(d.raster, g, font, penX, y, ink);
        penX += width;
    }
    auto rule = [&](int row) {
        for (int64_t dy = 0; dy < font.scaleY; ++dy) d.raster.span(y + int64_t(row) * font.scaleY + dy, x, penX, ink);
    };
    if (font.underline) rule(metrics.ascent + 1);
    if (font.strikeOut) rule(metrics.ascent - metrics.ascent / 4 - 1);
    return true;
}

}  // namespace
}  // namespace qmp::gdi

using namespace qmp::gdi;

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
    QMP_TRACE_VALUE("SetTextColor", CLR_INVALID);
    qmp::DeviceContext* dc = qmp::contextOf(hdc);
    if (dc == nullptr) return CLR_INVALID;
    return std::exchange(dc->textColour, color);
}

COLORREF WINAPI GetTextColor(HDC hdc) {
    QMP_TRACE_VALUE("GetTextColor", CLR_INVALID);
    qmp::DeviceContext* dc = qmp::contextOf(hdc);
    return dc == nullptr ? CLR_INVALID : dc->textColour;
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
    QMP_TRACE_VALUE("SetBkColor", CLR_INVALID);
    qmp::DeviceContext* dc = qmp::contextOf(hdc);
    if (dc == nullptr) return CLR_INVALID;
    return std::exchange(dc->backgroundColour, color);
}

int WINAPI SetBkMode(HDC hdc, int mode) {
    QMP_TRACE_VALUE("SetBkMode", 0);
    qmp::DeviceContext* dc = qmp::contextOf(hdc);
    if (dc == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    return std::exchange(dc->backgroundMode, mode);
}

int WINAPI GetBkMode(HDC hdc) {
    QMP_TRACE_VALUE("GetBkMode", 0);
    qmp::DeviceContext* dc = qmp::contextOf(hdc);
    return dc == nullptr ? 0 : dc->backgroundMode;
}

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c) {
    QMP_TRACE_VALUE("TextOutA", FALSE);
    Drawing d;
    if (!validText(lpString, c) || !beginDrawing(hdc, d) || !inCoordinateRange(x) || !inCoordinateRange(y))
        return FALSE;
    return textOut(d, x, y, qmp::text::decodeAnsi(lpString, c)) ? TRUE : FALSE;
}

namespace {
BOOL textExtent(HDC hdc, LPCSTR text, int count, LPSIZE size) {
    qmp::DeviceContext* dc = qmp::contextOf(hdc);
    if (dc == nullptr || size == nullptr || !validText(text, count)) return FALSE;
    *size = extentOf(*dc, qmp::text::decodeAnsi(text, count));
    return TRUE;
}
}  // namespace

BOOL WINAPI GetTextExtentPointA(HDC hdc, LPCSTR lpString, int c, LPSIZE lpsz) {
    QMP_TRACE_VALUE("GetTextExtentPointA", FALSE);
    return textExtent(hdc, lpString, c, lpsz);
}

BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl) {
    QMP_TRACE_VALUE("GetTextExtentPoint32A", FALSE);
    return textExtent(hdc, lpString, c, psizl);
}
