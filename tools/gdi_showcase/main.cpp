// gdi_showcase: draws a test picture with the platform's GDI and AlphaBlend on
// a 640 x 480 8-bit target and writes it as PNG, for looking at by eye.
//
//   cmake --build --preset default --target gdi_showcase
//   build/default/bin/gdi_showcase [picture.png]     (default: gdi_showcase.png)
//
// Top to bottom: lines of pen widths 0 to 7 in eight directions; polygons (the
// five-pointed star in alternate fill mode, a concave shape, a closed polyline);
// discs of radius 1 to 8 drawn as the demo's fillCircle draws them, and a row of
// palette dots; the read-out font in several colours; a picture blended at
// alpha 125 with the Big5 quit prompt centred on it.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/dc.h"
#include "platform/control.h"

namespace {

// An 8-bit picture in memory with its own palette.
class Picture final : public qmp::PixelTarget {
public:
    Picture(int width, int height, const std::vector<PALETTEENTRY>& palette)
        : width_(width), height_(height), pitch_((width + 3) / 4 * 4), pixels_(static_cast<size_t>(pitch_) * height),
          palette_(palette) {}
    ~Picture() {
        if (dc_ != nullptr) qmp::closeDC(dc_);
    }
    uint8_t* bits() override { return pixels_.data(); }
    int pitch() const override { return pitch_; }
    int width() const override { return width_; }
    int height() const override { return height_; }
    const PALETTEENTRY* colours() const override { return palette_.data(); }
    uint64_t coloursVersion() const override { return 1; }

    HDC dc() {
        if (dc_ == nullptr) dc_ = qmp::openDC(this);
        return dc_;
    }
    void set(int x, int y, uint8_t index) { pixels_[static_cast<size_t>(y) * pitch_ + x] = index; }

    platform::RgbImage rgb() const {
        platform::RgbImage image{width_, height_, {}};
        image.rgb.reserve(static_cast<size_t>(width_) * height_ * 3);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                const PALETTEENTRY& e = palette_[pixels_[static_cast<size_t>(y) * pitch_ + x]];
                image.rgb.insert(image.rgb.end(), {e.peRed, e.peGreen, e.peBlue});
            }
        return image;
    }

private:
    int width_, height_, pitch_;
    std::vector<uint8_t> pixels_;
    std::vector<PALETTEENTRY> palette_;
    HDC dc_ = nullptr;
};

// A 6 x 6 x 6 colour cube, then a grey ramp, with the demo's olive in place of one grey.
std::vector<PALETTEENTRY> cubePalette() {
    std::vector<PALETTEENTRY> palette;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back({static_cast<BYTE>(r * 51), static_cast<BYTE>(g * 51), static_cast<BYTE>(b * 51), 0});
    for (int i = 0; palette.size() < 256; ++i) {
        const BYTE v = static_cast<BYTE>(8 + i * 6);
        palette.push_back({v, v, v, 0});
    }
    palette[216] = {125, 125, 0, 0};
    return palette;
}

// A warm ramp like the demo's generated palettes: dark red through orange to white.
std::vector<PALETTEENTRY> warmPalette() {
    std::vector<PALETTEENTRY> palette;
    for (int i = 0; i < 256; ++i) {
        const double t = i / 255.0;
        palette.push_back({static_cast<BYTE>(255 * std::min(1.0, t * 1.6)), static_cast<BYTE>(255 * std::pow(t, 1.4)),
                           static_cast<BYTE>(255 * std::pow(t, 3.0)), 0});
    }
    return palette;
}

struct Gdi {
    HDC dc;
    void pen(int width, COLORREF colour) { swap(CreatePen(PS_SOLID, width, colour)); }
    void brush(COLORREF colour) { swap(CreateSolidBrush(colour)); }
    void font(int height, const char* face) {
        swap(CreateFontA(height, 0, 0, 0, FW_THIN, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                         DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
    }
    void text(int x, int y, const char* s, COLORREF colour) {
        SetTextColor(dc, colour);
        SetBkMode(dc, TRANSPARENT);
        TextOutA(dc, x, y, s, static_cast<int>(std::strlen(s)));
    }
    // Selects a new object and deletes the one it replaces (stock objects stay).
    void swap(HGDIOBJ object) { DeleteObject(SelectObject(dc, object)); }
};

void drawLines(Gdi& g) {
    g.font(10, "Fixedsys");
    g.text(8, 6, "Pens of width 0..7, eight directions, last pixel left out", RGB(255, 255, 255));
    const COLORREF colours[] = {RGB(255, 255, 255), RGB(255, 255, 0), RGB(0, 255, 255), RGB(255, 102, 0),
                                RGB(0, 255, 0),     RGB(255, 0, 255), RGB(102, 153, 255), RGB(255, 0, 0)};
    for (int width = 0; width <= 7; ++width) {
        const int cx = 40 + width * 78, cy = 62;
        g.pen(width, colours[width]);
        for (int direction = 0; direction < 8; ++direction) {
            const double a = direction * 3.14159265 / 4 + 0.3;
            MoveToEx(g.dc, cx + static_cast<int>(8 * std::cos(a)), cy + static_cast<int>(8 * std::sin(a)), nullptr);
            LineTo(g.dc, cx + static_cast<int>(32 * std::cos(a)), cy + static_cast<int>(32 * std::sin(a)));
        }
        char label[16];
        std::snprintf(label, sizeof label, "w=%d", width);
        g.text(cx - 12, 98, label, RGB(204, 204, 204));
    }
}

void drawPolygons(Gdi& g) {
    g.text(8, 116, "Polygons: alternate fill, default pen; closed polyline", RGB(255, 255, 255));
    SelectObject(g.dc, GetStockObject(BLACK_PEN));
    g.brush(RGB(0, 255, 255));
    const POINT star[] = {{70, 132}, {97, 212}, {28, 159}, {112, 159}, {43, 212}};
    Polygon(g.dc, star, 5);

    g.brush(RGB(255, 204, 0));
    const POINT concave[] = {{150, 135}, {250, 140}, {210, 170}, {255, 210}, {160, 200}, {185, 168}};
    Polygon(g.dc, concave, 6);

    g.pen(1, RGB(0, 255, 0));
    const POINT outline[] = {{290, 140}, {380, 135}, {360, 175}, {395, 210}, {300, 205}, {290, 140}};
    Polyline(g.dc, outline, 6);

    g.pen(5, RGB(255, 102, 255));
    g.brush(RGB(51, 51, 153));
    const POINT thick[] = {{430, 140}, {520, 150}, {490, 208}, {425, 195}};
    Polygon(g.dc, thick, 4);

    g.pen(3, RGB(255, 255, 255));
    const POINT zigzag[] = {{545, 140}, {570, 205}, {590, 140}, {615, 205}};
    Polyline(g.dc, zigzag, 4);
}

void drawDiscs(Gdi& g, const std::vector<PALETTEENTRY>& palette) {
    g.text(8, 226, "Discs r=1..8 as fillCircle draws them (2-pixel pen), palette dots", RGB(255, 255, 255));
    const COLORREF colours[] = {RGB(0, 0, 255), RGB(125, 125, 0), RGB(255, 0, 0), RGB(0, 255, 255)};
    for (int r = 1; r <= 8; ++r) {
        const int cx = 30 + (r - 1) * 42, cy = 258;
        g.brush(colours[r % 4]);
        g.pen(2, colours[r % 4]);
        Ellipse(g.dc, cx - r, cy - r, cx + r, cy + r);
        // The same disc with a contrasting pen shows the ring inside the box.
        g.brush(RGB(255, 255, 255));
        g.pen(2, RGB(255, 0, 0));
        Ellipse(g.dc, cx - r, cy + 14 - r + 8, cx + r, cy + 14 + r + 8);
    }
    g.brush(RGB(51, 204, 51));
    g.pen(1, RGB(0, 0, 0));
    Ellipse(g.dc, 360, 240, 450, 290);
    for (int i = 0; i < 256; i += 2) {
        const PALETTEENTRY& e = palette[i];
        const COLORREF c = RGB(e.peRed, e.peGreen, e.peBlue);
        g.brush(c);
        g.pen(2, c);
        Ellipse(g.dc, 466 + i / 2 * 1 - 2, 248 + (i % 4) - 2, 466 + i / 2 + 2, 248 + (i % 4) + 2);
    }
}

void drawHud(Gdi& g) {
    g.font(10, "Fixedsys");
    const int h = 10;
    g.text(5, 300 + h, "R:31  C:33  ( 3200, 3200) - RN:64  CN:66", RGB(0, 255, 255));
    g.text(5, 300 + 2 * h, "curCol: 12 ~ 54", RGB(0, 255, 255));
    g.text(5, 300 + 3 * h, "Vec:20 ", RGB(255, 0, 0));
    g.text(5, 300 + 4 * h, "Hit:   0,   0,  View: 3200, 3200", RGB(255, 0, 0));
    g.text(5, 300 + 5 * h, "debugID:0  ", RGB(0, 255, 255));
    g.text(5, 300 + 6 * h + 4, "Fixedsys falls back for \xc1\xe4 (Big5)", RGB(255, 255, 0));
    g.font(20, "Fixedsys");
    g.text(5, 384, "Twice the size", RGB(125, 125, 0));
    SelectObject(g.dc, GetStockObject(SYSTEM_FONT));
    SetBkMode(g.dc, OPAQUE);
    SetBkColor(g.dc, RGB(0, 0, 102));
    SetTextColor(g.dc, RGB(255, 255, 255));
    TextOutA(g.dc, 5, 410, "Default font, opaque", 20);
}

// The quit prompt: the message picture blended at alpha 125, the text centred in the default font.
void drawMessageWindow(Gdi& g, const std::vector<PALETTEENTRY>& palette) {
    Picture message(256, 100, palette);  // wider than the prompt's 216 pixels
    // Light squares in a blue frame, so the black text stands out after the blend.
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 256; ++x) {
            const bool frame = x < 4 || y < 4 || x >= 252 || y >= 96;
            message.set(x, y, static_cast<uint8_t>(frame ? 89 : ((x / 10 + y / 10) % 2) ? 215 : 173));
        }
    const int x = 376, y = 330, w = 256, h = 100;
    AlphaBlend(g.dc, x, y, w, h, message.dc(), 0, 0, w, h, BLENDFUNCTION{AC_SRC_OVER, 0, 125, 0});
    AlphaBlend(g.dc, x + 80, y - 40, 60, 30, message.dc(), 0, 0, 24, 24, BLENDFUNCTION{AC_SRC_OVER, 0, 255, 0});
    const char prompt[] = "ESC \xc1\xe4\xab\xf6\xa4\x55\xa4\x46\xa1\x49\xbd\x54\xa9\x77\xb0\x68\xa5\x58\xa1\x48Y/N";
    SelectObject(g.dc, GetStockObject(SYSTEM_FONT));
    SetTextColor(g.dc, RGB(0, 0, 0));
    SIZE size{};
    GetTextExtentPointA(g.dc, prompt, static_cast<int>(std::strlen(prompt)), &size);
    SetBkMode(g.dc, TRANSPARENT);
    TextOutA(g.dc, x + (w - size.cx) / 2, y + (h - size.cy) / 2, prompt, static_cast<int>(std::strlen(prompt)));
}

// A few fireworks trails: wide short lines through a warm palette, widths shrinking with age.
void drawFireworks(Gdi& g) {
    for (int i = 0; i < 60; ++i) {
        const double a = i * 0.61;
        const int age = i % 8;
        const int x0 = 300 + static_cast<int>((20 + age * 9) * std::cos(a)), y0 = 445 + static_cast<int>(age * 3 * std::sin(a));
        const int x1 = x0 + static_cast<int>(12 * std::cos(a + 0.4)), y1 = y0 + static_cast<int>(5 * std::sin(a + 0.4));
        g.pen(7 - age, RGB(255, 255 - age * 30, 200 - age * 25));
        MoveToEx(g.dc, x0, y0, nullptr);
        LineTo(g.dc, x1, y1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : "gdi_showcase.png";
    const std::vector<PALETTEENTRY> palette = cubePalette();
    Picture screen(640, 480, palette);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) screen.set(x, y, static_cast<uint8_t>(y < 300 ? 217 + y / 60 : 1 + (y - 300) / 90));
    Gdi g{screen.dc()};
    drawLines(g);
    drawPolygons(g);
    drawDiscs(g, warmPalette());
    drawHud(g);
    drawMessageWindow(g, palette);
    drawFireworks(g);
    g.swap(GetStockObject(BLACK_PEN));
    g.swap(GetStockObject(WHITE_BRUSH));
    g.swap(GetStockObject(SYSTEM_FONT));

    std::string error;
    if (!platform::savePng(screen.rgb(), path, &error)) {
        std::fprintf(stderr, "gdi_showcase: %s\n", error.c_str());
        return 1;
    }
    std::printf("gdi_showcase: wrote %s\n", path.c_str());
    return 0;
}
