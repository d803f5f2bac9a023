// The probe palette, surfaces and patterns that the cases share.
#include <cstdio>

#include "probe.h"

namespace probe {

std::vector<PALETTEENTRY> probePalette() {
    // The demo's named colours first, then distinct colours spread over the cube
    // (every blue value differs, so no two entries are alike).
    const BYTE named[][3] = {{0, 0, 0},     {255, 255, 255}, {255, 0, 0},     {0, 255, 0},  {0, 0, 255},
                             {0, 255, 255}, {128, 128, 0},   {128, 128, 128}, {255, 255, 0}};
    std::vector<PALETTEENTRY> entries(256);
    for (int i = 0; i < 256; ++i) {
        if (i < 9) entries[i] = PALETTEENTRY{named[i][0], named[i][1], named[i][2], 0};
        else entries[i] = PALETTEENTRY{BYTE(i * 7), BYTE(i * 13 + 50), BYTE(255 - i), 0};
    }
    entries[kKey] = PALETTEENTRY{255, 0, 255, 0};
    return entries;
}

std::string hresultName(HRESULT hr) {
    const struct {
        HRESULT code;
        const char* name;
    } known[] = {{DD_OK, "DD_OK"},
                 {DDERR_INVALIDRECT, "DDERR_INVALIDRECT"},
                 {DDERR_INVALIDPARAMS, "DDERR_INVALIDPARAMS"},
                 {DDERR_NOCOLORKEY, "DDERR_NOCOLORKEY"},
                 {DDERR_GENERIC, "DDERR_GENERIC"},
                 {DDERR_NOCLIPLIST, "DDERR_NOCLIPLIST"},
                 {DDERR_SURFACEBUSY, "DDERR_SURFACEBUSY"},
                 {DDERR_SURFACELOST, "DDERR_SURFACELOST"},
                 {DDERR_UNSUPPORTED, "DDERR_UNSUPPORTED"},
                 {DDERR_INVALIDOBJECT, "DDERR_INVALIDOBJECT"}};
    for (const auto& k : known)
        if (k.code == hr) return k.name;
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(hr));
    return text;
}

LPDIRECTDRAWSURFACE makeSurface(Device& d, int width, int height, bool keyed) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    LPDIRECTDRAWSURFACE surface = nullptr;
    if (FAILED(d.ddraw->CreateSurface(&desc, &surface, nullptr))) return nullptr;
    if (keyed) {
        DDCOLORKEY key{kKey, kKey};
        surface->SetColorKey(DDCKEY_SRCBLT, &key);
    }
    return surface;
}

void line(HDC dc, int x0, int y0, int x1, int y1, int width, COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, width, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void disc(HDC dc, int x, int y, int radius, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    HPEN pen = CreatePen(PS_SOLID, 2, colour);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Ellipse(dc, x - radius, y - radius, x + radius, y + radius);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

namespace {

template <typename Write>
void forEachPixel(LPDIRECTDRAWSURFACE surface, Write write) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    if (FAILED(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr))) return;
    auto* bytes = static_cast<unsigned char*>(desc.lpSurface);
    for (DWORD y = 0; y < desc.dwHeight; ++y)
        for (DWORD x = 0; x < desc.dwWidth; ++x)
            bytes[static_cast<size_t>(y) * static_cast<size_t>(desc.lPitch) + x] = write(int(x), int(y));
    surface->Unlock(nullptr);
}

}  // namespace

void paintPattern(LPDIRECTDRAWSURFACE surface, int seed, bool holes) {
    forEachPixel(surface, [&](int x, int y) {
        if (holes && (x / 3 + y / 4) % 3 == 0) return kKey;
        return static_cast<uint8_t>((x + 7 * y + seed) % 251);
    });
}

void clearSurface(LPDIRECTDRAWSURFACE surface, uint8_t index) {
    forEachPixel(surface, [&](int, int) { return index; });
}

}  // namespace probe
