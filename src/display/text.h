// Text through GDI: the read-out's font, and the quit prompt's translucent
// message window.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>

// The read-out's font: face "Fixedsys", at least 10 pixels high.
class TextFont {
public:
    explicit TextFont(int32_t height);
    ~TextFont();
    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;

    void recreate();
    void drawText(const char* text, int32_t x, int32_t y, COLORREF colour, LPDIRECTDRAWSURFACE surface);

    char faceName[20] = {};
    HFONT font = nullptr;
    int32_t height = 10;
};

// Defined in app/globals.cpp, with every other global of the demo.
extern TextFont hudFont;

// The window picture (`window`, width x height) blended onto `target` at (x, y)
// with constant `alpha`, and `text` centred on it in the default font.
void drawMessageWindow(LPDIRECTDRAWSURFACE target, int32_t x, int32_t y, LPDIRECTDRAWSURFACE window, int32_t width,
                       int32_t height, const char* text, uint8_t alpha);
