// The display device, the flip chain with its palettes, off-screen surfaces.
#include "display/display.h"

bool CreateDirectDraw(HWND window, LPDIRECTDRAW& device, uint16_t width, uint16_t height, uint8_t bitsPerPixel) {
    if (FAILED(DirectDrawCreate(nullptr, &device, nullptr))) return false;
    if (FAILED(device->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN))) return false;
    return SUCCEEDED(device->SetDisplayMode(width, height, bitsPerPixel));
}

bool CreateFlipSurfaces(LPDIRECTDRAW device, LPDIRECTDRAWSURFACE& primary, LPDIRECTDRAWPALETTE& primaryPalette,
                        LPDIRECTDRAWSURFACE& backBuffer, LPDIRECTDRAWPALETTE& backPalette) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(DDSURFACEDESC);
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    if (FAILED(device->CreateSurface(&desc, &primary, nullptr))) return false;
    // A palette that cannot be made stays null; the steps that write into it fail later.
    attachBlackPalette(device, primary, primaryPalette);

    DDSCAPS backCaps{};
    backCaps.dwCaps = DDSCAPS_BACKBUFFER;
    if (FAILED(primary->GetAttachedSurface(&backCaps, &backBuffer))) return false;
    attachBlackPalette(device, backBuffer, backPalette);
    return true;
}

bool attachBlackPalette(LPDIRECTDRAW device, LPDIRECTDRAWSURFACE surface, LPDIRECTDRAWPALETTE& palette) {
    PALETTEENTRY black[256] = {};
    LPDIRECTDRAWPALETTE created = nullptr;
    // All 256 entries are the demo's: without DDPCAPS_ALLOW256 the display
    // would keep entries 0 and 255 black and white, and a generated palette's
    // last entry, or GDI's nearest colour to a bright one in a dim fade, would
    // show as white.
    if (FAILED(device->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, black, &created, nullptr))) return false;
    palette = created;
    surface->SetPalette(palette);
    return true;
}

DDSURFACEDESC offscreenSurfaceDesc(int32_t width, int32_t height, bool systemMemory) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(DDSURFACEDESC);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwHeight = static_cast<DWORD>(height);
    desc.dwWidth = static_cast<DWORD>(width);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | (systemMemory ? DDSCAPS_SYSTEMMEMORY : 0);
    return desc;
}

bool createOffscreenSurface(uint8_t withClipper, HWND window, LPDIRECTDRAW device, LPDIRECTDRAWSURFACE& surface,
                            int32_t width, int32_t height) {
    DDSURFACEDESC desc = offscreenSurfaceDesc(width, height, true);
    if (FAILED(device->CreateSurface(&desc, &surface, nullptr))) return false;

    DDCOLORKEY key{TRANSPARENT_INDEX, TRANSPARENT_INDEX};
    surface->SetColorKey(DDCKEY_SRCBLT, &key);
    if (!withClipper) return true;

    // The clipper goes with the device; no reference of our own is kept.
    LPDIRECTDRAWCLIPPER clipper = nullptr;
    if (FAILED(device->CreateClipper(0, &clipper, nullptr))) return false;
    if (FAILED(clipper->SetHWnd(0, window))) return false;
    return SUCCEEDED(surface->SetClipper(clipper));
}

bool fillSurface(LPDIRECTDRAWSURFACE surface, uint16_t index) {
    DDBLTFX fx{};
    fx.dwSize = sizeof(DDBLTFX);
    fx.dwFillColor = index;
    surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    return true;
}
