// DirectDraw cases: colour fills, plain, keyed and clipped copies, BltFast,
// locks, palettes and a flip, each with the return codes it gives.
#include "probe.h"

namespace probe {
namespace {

void append(std::string& result, const std::string& part) {
    result += ' ';
    result += part;
}

Outcome fillRect(Device& d, RECT* area, uint8_t index) {
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = index;
    return {hresultName(d.target->Blt(area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx))};
}

Outcome fillPart(Device& d) {
    RECT r{10, 10, 40, 30};
    return fillRect(d, &r, RED);
}
Outcome fillWhole(Device& d) { return fillRect(d, nullptr, CYAN); }
Outcome fillEmpty(Device& d) {
    RECT r{20, 20, 20, 30};  // no width
    return fillRect(d, &r, RED);
}
Outcome fillInverted(Device& d) {
    RECT r{30, 20, 20, 30};
    return fillRect(d, &r, RED);
}
Outcome fillOutside(Device& d) {
    RECT r{50, 50, 70, 60};  // past the right edge, and the target has no clipper
    return fillRect(d, &r, RED);
}

// A 32 x 24 source with its pattern, keyed 253 when asked.
LPDIRECTDRAWSURFACE source(Device& d, bool keyed, bool holes) {
    LPDIRECTDRAWSURFACE s = makeSurface(d, 32, 24, keyed);
    if (s != nullptr) paintPattern(s, 5, holes);
    return s;
}

Outcome copy(Device& d, bool keyed, bool holes, DWORD flags, RECT destination) {
    LPDIRECTDRAWSURFACE s = source(d, keyed, holes);
    if (s == nullptr) return {"no source"};
    RECT from{0, 0, 32, 24};
    Outcome o{hresultName(d.target->Blt(&destination, s, &from, flags, nullptr))};
    s->Release();
    return o;
}

Outcome bltPlain(Device& d) { return copy(d, false, true, DDBLT_WAIT, RECT{5, 7, 37, 31}); }
Outcome bltKeyed(Device& d) { return copy(d, true, true, DDBLT_KEYSRC | DDBLT_WAIT, RECT{20, 30, 52, 54}); }
Outcome bltKeyWithoutKey(Device& d) { return copy(d, false, true, DDBLT_KEYSRC | DDBLT_WAIT, RECT{20, 30, 52, 54}); }
Outcome bltEmpty(Device& d) { return copy(d, true, true, DDBLT_WAIT, RECT{20, 20, 20, 44}); }
Outcome bltFromEmpty(Device& d) {
    LPDIRECTDRAWSURFACE s = source(d, true, true);
    if (s == nullptr) return {"no source"};
    RECT from{4, 4, 4, 20}, to{10, 10, 30, 30};
    Outcome o{hresultName(d.target->Blt(&to, s, &from, DDBLT_WAIT, nullptr))};
    s->Release();
    return o;
}
Outcome bltOutside(Device& d) { return copy(d, true, false, DDBLT_WAIT, RECT{40, 50, 72, 74}); }

Outcome bltFast(Device& d, DWORD flags, DWORD x, DWORD y) {
    LPDIRECTDRAWSURFACE s = source(d, true, true);
    if (s == nullptr) return {"no source"};
    RECT from{0, 0, 32, 24};
    Outcome o{hresultName(d.target->BltFast(x, y, s, &from, flags))};
    s->Release();
    return o;
}
Outcome bltFastPlain(Device& d) { return bltFast(d, DDBLTFAST_WAIT, 3, 4); }
Outcome bltFastKeyed(Device& d) { return bltFast(d, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT, 30, 38); }
Outcome bltFastKeyWithoutKey(Device& d) {
    LPDIRECTDRAWSURFACE s = source(d, false, true);
    if (s == nullptr) return {"no source"};
    RECT from{0, 0, 32, 24};
    Outcome o{hresultName(d.target->BltFast(30, 38, s, &from, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT))};
    s->Release();
    return o;
}
Outcome bltFastFromEmpty(Device& d) {
    LPDIRECTDRAWSURFACE s = source(d, true, true);
    if (s == nullptr) return {"no source"};
    RECT from{4, 4, 20, 4};
    Outcome o{hresultName(d.target->BltFast(10, 10, s, &from, DDBLTFAST_WAIT))};
    s->Release();
    return o;
}
Outcome bltFastOutside(Device& d) { return bltFast(d, DDBLTFAST_WAIT, 40, 50); }

// The demo's canvas: a clipper on the window clips the destination and shifts
// the source with it. The target lies at the window's top-left corner.
Outcome bltClipped(Device& d) {
    LPDIRECTDRAWCLIPPER clipper = nullptr;
    HRESULT hr = d.ddraw->CreateClipper(0, &clipper, nullptr);
    if (FAILED(hr)) return {"CreateClipper " + hresultName(hr)};
    clipper->SetHWnd(0, d.window);
    d.target->SetClipper(clipper);
    LPDIRECTDRAWSURFACE s = source(d, true, true);
    RECT from{0, 0, 32, 24};
    RECT left{-10, -6, 22, 18}, right{48, 50, 80, 74};
    Outcome o{hresultName(d.target->Blt(&left, s, &from, DDBLT_KEYSRC | DDBLT_WAIT, nullptr))};
    append(o.result, hresultName(d.target->Blt(&right, s, &from, DDBLT_KEYSRC | DDBLT_WAIT, nullptr)));
    s->Release();
    d.target->SetClipper(nullptr);
    clipper->Release();
    return o;
}

Outcome lockWrite(Device& d) {
    paintPattern(d.target, 11, false);
    return {"DD_OK"};
}

Outcome paletteEntries(Device& d) {
    std::vector<PALETTEENTRY> entries = probePalette();
    LPDIRECTDRAWPALETTE palette = nullptr;
    HRESULT hr = d.ddraw->CreatePalette(DDPCAPS_8BIT, entries.data(), &palette, nullptr);
    if (FAILED(hr)) return {"CreatePalette " + hresultName(hr)};
    PALETTEENTRY changed[3] = {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}};
    std::string result = hresultName(palette->SetEntries(0, 100, 3, changed));
    PALETTEENTRY read[5] = {};
    append(result, hresultName(palette->GetEntries(0, 99, 5, read)));
    for (const PALETTEENTRY& e : read)
        append(result, std::to_string(e.peRed) + "," + std::to_string(e.peGreen) + "," + std::to_string(e.peBlue));
    palette->Release();
    return {result};
}

// The back buffer's bytes reach the primary: drawn, flipped, and the primary dumped.
Outcome flip(Device& d) {
    clearSurface(d.back, kBackground);
    LPDIRECTDRAWSURFACE s = source(d, true, true);
    RECT from{0, 0, 32, 24}, to{8, 8, 40, 32};
    std::string result = hresultName(d.back->Blt(&to, s, &from, DDBLT_KEYSRC | DDBLT_WAIT, nullptr));
    s->Release();
    append(result, hresultName(d.primary->Flip(nullptr, DDFLIP_WAIT)));
    return {result, d.primary};
}

}  // namespace

const std::vector<Case>& ddrawCases() {
    static const std::vector<Case> cases = {
        {"fill part", "ddraw", fillPart},
        {"fill whole", "ddraw", fillWhole},
        {"fill empty rectangle", "ddraw", fillEmpty},
        {"fill inverted rectangle", "ddraw", fillInverted},
        {"fill outside, no clipper", "ddraw", fillOutside},
        {"Blt plain", "ddraw", bltPlain},
        {"Blt keyed", "ddraw", bltKeyed},
        {"Blt KEYSRC, source without key", "ddraw", bltKeyWithoutKey},
        {"Blt to an empty rectangle", "ddraw", bltEmpty},
        {"Blt from an empty rectangle", "ddraw", bltFromEmpty},
        {"Blt outside, no clipper", "ddraw", bltOutside},
        {"Blt clipped by the window", "ddraw", bltClipped},
        {"BltFast plain", "ddraw", bltFastPlain},
        {"BltFast keyed", "ddraw", bltFastKeyed},
        {"BltFast SRCCOLORKEY, source without key", "ddraw", bltFastKeyWithoutKey},
        {"BltFast from an empty rectangle", "ddraw", bltFastFromEmpty},
        {"BltFast outside", "ddraw", bltFastOutside},
        {"Lock and write", "ddraw", lockWrite},
        {"palette entries", "ddraw", paletteEntries},
        {"Flip", "ddraw", flip},
    };
    return cases;
}

}  // namespace probe
