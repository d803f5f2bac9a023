// The read-out's font and the quit prompt's message window.
#include "display/text.h"

#include <cstring>

#include "display/drawing.h"

TextFont::TextFont(int32_t height) : height(height > 10 ? height : 10) {
    std::strcpy(faceName, "Fixedsys");
    recreate();
}

TextFont::~TextFont() { DeleteObject(font); }

void TextFont::recreate() {
    DeleteObject(font);
    // A font that cannot be made leaves the handle null: text then shows in the
    // context's default font.
    font = CreateFontA(height, 0, 0, 0, FW_THIN, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, faceName);
}

void TextFont::drawText(const char* text, int32_t x, int32_t y, COLORREF colour, LPDIRECTDRAWSURFACE surface) {
    HDC dc = nullptr;
    surface->GetDC(&dc);
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);  // the picture stays visible between the glyphs
    SelectObject(dc, font);
    TextOutA(dc, x, y, text, lstrlenA(text));
    surface->ReleaseDC(dc);
}

void drawMessageWindow(LPDIRECTDRAWSURFACE target, int32_t x, int32_t y, LPDIRECTDRAWSURFACE window, int32_t w,
                       int32_t h, const char* text, uint8_t alpha) {
    alphaBlendSurface(target, x, y, w, h, window, 0, 0, w, h, alpha);

    // The text goes in the context's default font and colour, centred on the window.
    HDC dc = nullptr;
    target->GetDC(&dc);
    SIZE extent{0, 0};
    GetTextExtentPointA(dc, text, lstrlenA(text), &extent);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, x + (w - extent.cx) / 2, y + (h - extent.cy) / 2, text, lstrlenA(text));
    target->ReleaseDC(dc);
}
