// Device (ddraw/objects.h): IDirectDraw::CreateSurface, CreatePalette and
// CreateClipper.
#include <new>

#include "core/screen.h"
#include "core/trace.h"
#include "ddraw/objects.h"

namespace qmp::ddraw {
namespace {

constexpr DWORD knownDescriptionFlags =
    DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_BACKBUFFERCOUNT | DDSD_PIXELFORMAT | DDSD_CKSRCBLT;
constexpr DWORD requestableCaps = DDSCAPS_COMPLEX | DDSCAPS_FLIP | DDSCAPS_OFFSCREENPLAIN | DDSCAPS_PRIMARYSURFACE |
                                  DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY;
constexpr int largestSide = 16384;

bool isPalettized8(const DDPIXELFORMAT& format) {
    return (format.dwFlags & DDPF_PALETTEINDEXED8) != 0 && format.dwRGBBitCount == 8;
}

}  // namespace

HRESULT Device::CreateSurface(LPDDSURFACEDESC lpDDSurfaceDesc, LPDIRECTDRAWSURFACE* lplpDDSurface,
                              IUnknown* pUnkOuter) {
    QMP_TRACE_HRESULT("IDirectDraw::CreateSurface", DDERR_GENERIC);
    if (lpDDSurfaceDesc == nullptr || lpDDSurfaceDesc->dwSize != sizeof(DDSURFACEDESC) || lplpDDSurface == nullptr)
        return DDERR_INVALIDPARAMS;
    *lplpDDSurface = nullptr;
    const DDSURFACEDESC& desc = *lpDDSurfaceDesc;
    if (pUnkOuter != nullptr || (desc.dwFlags & ~knownDescriptionFlags) != 0) return DDERR_INVALIDPARAMS;
    if (!levelSet_) return DDERR_NOCOOPERATIVELEVELSET;

    const DWORD caps = (desc.dwFlags & DDSD_CAPS) != 0 ? desc.ddsCaps.dwCaps : 0;
    if ((caps & ~requestableCaps) != 0) return DDERR_INVALIDCAPS;
    if ((caps & DDSCAPS_SYSTEMMEMORY) != 0 && (caps & DDSCAPS_VIDEOMEMORY) != 0) return DDERR_INVALIDCAPS;
    if ((desc.dwFlags & DDSD_PIXELFORMAT) != 0) {
        if (desc.ddpfPixelFormat.dwSize != sizeof(DDPIXELFORMAT)) return DDERR_INVALIDPARAMS;
        if (!isPalettized8(desc.ddpfPixelFormat)) return DDERR_INVALIDPIXELFORMAT;  // 8-bit surfaces only
    }

    Surface* surface = nullptr;
    HRESULT result = (caps & DDSCAPS_PRIMARYSURFACE) != 0 ? createPrimary(desc, &surface)
                                                           : createOffscreen(desc, &surface);
    if (FAILED(result)) return result;
    if ((desc.dwFlags & DDSD_CKSRCBLT) != 0) surface->setSourceKey(desc.ddckCKSrcBlt);
    *lplpDDSurface = surface;
    return DD_OK;
}

HRESULT Device::createPrimary(const DDSURFACEDESC& desc, Surface** out) {
    const DWORD caps = desc.ddsCaps.dwCaps;
    const bool flipping = (caps & DDSCAPS_FLIP) != 0;
    if ((desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != 0) return DDERR_INVALIDPARAMS;  // the mode decides
    if ((caps & (DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY)) != 0) return DDERR_INVALIDCAPS;
    if (flipping != ((caps & DDSCAPS_COMPLEX) != 0)) return DDERR_INVALIDCAPS;
    const bool counted = (desc.dwFlags & DDSD_BACKBUFFERCOUNT) != 0;
    if (flipping) {
        if (!counted || desc.dwBackBufferCount == 0) return DDERR_INVALIDPARAMS;
        if (desc.dwBackBufferCount > 1) return DDERR_UNSUPPORTED;  // one back buffer is all there is
        if (!exclusive_) return DDERR_NOEXCLUSIVEMODE;
    } else if (counted) {
        return DDERR_INVALIDPARAMS;
    }
    if (!modeSet_) return DDERR_UNSUPPORTEDMODE;  // the desktop is not an 8-bit mode
    if (primary_ != nullptr) return DDERR_PRIMARYSURFACEALREADYEXISTS;

    const DWORD chain = flipping ? DDSCAPS_FLIP | DDSCAPS_COMPLEX : 0;
    Surface* front = Surface::make(*this, Surface::Kind::Primary, modeWidth, modeHeight,
                                   DDSCAPS_PRIMARYSURFACE | DDSCAPS_FRONTBUFFER | DDSCAPS_VIDEOMEMORY | chain);
    if (front == nullptr) return DDERR_OUTOFMEMORY;
    surfaces_.push_back(front);
    if (flipping) {
        Surface* back = Surface::make(*this, Surface::Kind::BackBuffer, modeWidth, modeHeight,
                                      DDSCAPS_BACKBUFFER | DDSCAPS_VIDEOMEMORY | chain);
        if (back == nullptr) {
            front->destroy();
            return DDERR_OUTOFMEMORY;
        }
        surfaces_.push_back(back);
        front->attachBackBuffer(back);
    }
    primary_ = front;
    coloursChanged();    // surfaces without a palette now see the primary's
    screen::markStale();  // the new primary is what the screen shows
    *out = front;
    return DD_OK;
}

HRESULT Device::createOffscreen(const DDSURFACEDESC& desc, Surface** out) {
    const DWORD caps = desc.ddsCaps.dwCaps;
    if ((caps & (DDSCAPS_FLIP | DDSCAPS_COMPLEX)) != 0) return DDERR_INVALIDCAPS;
    if ((desc.dwFlags & DDSD_BACKBUFFERCOUNT) != 0) return DDERR_INVALIDPARAMS;
    if ((desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT)) return DDERR_INVALIDPARAMS;
    if (desc.dwWidth < 1 || desc.dwWidth > largestSide || desc.dwHeight < 1 || desc.dwHeight > largestSide)
        return DDERR_INVALIDPARAMS;

    const DWORD memory = (caps & DDSCAPS_SYSTEMMEMORY) != 0 ? DDSCAPS_SYSTEMMEMORY : DDSCAPS_VIDEOMEMORY;
    Surface* surface = Surface::make(*this, Surface::Kind::Offscreen, static_cast<int>(desc.dwWidth),
                                     static_cast<int>(desc.dwHeight), DDSCAPS_OFFSCREENPLAIN | memory);
    if (surface == nullptr) return DDERR_OUTOFMEMORY;
    surfaces_.push_back(surface);
    *out = surface;
    return DD_OK;
}

HRESULT Device::CreatePalette(DWORD dwFlags, LPPALETTEENTRY lpColorTable, LPDIRECTDRAWPALETTE* lplpDDPalette,
                              IUnknown* pUnkOuter) {
    QMP_TRACE_HRESULT("IDirectDraw::CreatePalette", DDERR_GENERIC);
    if (lplpDDPalette == nullptr) return DDERR_INVALIDPARAMS;
    *lplpDDPalette = nullptr;
    if (pUnkOuter != nullptr || lpColorTable == nullptr) return DDERR_INVALIDPARAMS;
    // 256-entry palettes are the only kind an 8-bit display has.
    if ((dwFlags & DDPCAPS_8BIT) == 0 || (dwFlags & ~(DDPCAPS_8BIT | DDPCAPS_ALLOW256)) != 0)
        return DDERR_INVALIDPARAMS;
    if (!levelSet_) return DDERR_NOCOOPERATIVELEVELSET;
    Palette* palette = new (std::nothrow) Palette(*this, lpColorTable, (dwFlags & DDPCAPS_ALLOW256) != 0);
    if (palette == nullptr) return DDERR_OUTOFMEMORY;
    palettes_.push_back(palette);
    *lplpDDPalette = palette;
    return DD_OK;
}

HRESULT Device::CreateClipper(DWORD dwFlags, LPDIRECTDRAWCLIPPER* lplpDDClipper, IUnknown* pUnkOuter) {
    QMP_TRACE_HRESULT("IDirectDraw::CreateClipper", DDERR_GENERIC);
    if (lplpDDClipper == nullptr) return DDERR_INVALIDPARAMS;
    *lplpDDClipper = nullptr;
    if (dwFlags != 0 || pUnkOuter != nullptr) return DDERR_INVALIDPARAMS;
    Clipper* clipper = new (std::nothrow) Clipper(*this);
    if (clipper == nullptr) return DDERR_OUTOFMEMORY;
    clippers_.push_back(clipper);
    *lplpDDClipper = clipper;
    return DD_OK;
}

}  // namespace qmp::ddraw
