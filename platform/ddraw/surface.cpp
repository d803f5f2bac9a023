// Surface (ddraw/objects.h), the IDirectDrawSurface: lifetime, attachments
// (back buffer, palette, clipper, colour key) and the description of the
// surface.
#include <cstring>
#include <new>

#include "core/dc.h"
#include "core/trace.h"
#include "ddraw/objects.h"

namespace qmp::ddraw {

Surface* Surface::make(Device& device, Kind kind, int width, int height, DWORD caps) {
    const int pitch = (width + 3) & ~3;  // rows start on 4-byte boundaries, as display memory does
    PixelMemory pixels(static_cast<uint8_t*>(std::calloc(static_cast<size_t>(pitch) * static_cast<size_t>(height), 1)));
    if (!pixels) return nullptr;
    Surface* surface = new (std::nothrow) Surface(device, kind, width, height, caps, std::move(pixels));
    if (surface != nullptr) coloursChanged();  // a new target: mappings of an old one at this address are stale
    return surface;
}

Surface::Surface(Device& device, Kind kind, int width, int height, DWORD caps, PixelMemory pixels)
    : device_(device),
      kind_(kind),
      caps_(caps),
      width_(width),
      height_(height),
      pitch_((width + 3) & ~3),
      pixels_(std::move(pixels)) {}

Surface::~Surface() = default;

ULONG Surface::AddRef() {
    long ignored = 0;
    enterCall("IDirectDrawSurface::AddRef", &ignored);
    return ++refs_;
}

ULONG Surface::Release() {
    long ignored = 0;
    enterCall("IDirectDrawSurface::Release", &ignored);
    // An attached back buffer keeps the chain's own reference until the primary
    // goes; a program that releases it once too often cannot take that away.
    if (frontBuffer_ != nullptr && refs_ <= 1) return refs_;
    if (--refs_ > 0) return refs_;
    destroy();
    return 0;
}

void Surface::destroy() {
    if (backBuffer_ != nullptr) {
        Surface* back = backBuffer_;
        backBuffer_ = nullptr;
        back->frontBuffer_ = nullptr;
        // Still held by the program: it lives on as a surface of its own.
        if (--back->refs_ == 0) back->destroy();
    }
    if (frontBuffer_ != nullptr) {
        frontBuffer_->backBuffer_ = nullptr;
        frontBuffer_ = nullptr;
    }
    if (dc_ != nullptr) closeDC(dc_);
    if (palette_ != nullptr) palette_->release();
    if (clipper_ != nullptr) clipper_->release();
    coloursChanged();
    device_.forget(this);
    delete this;
}

void Surface::discard() {
    if (dc_ != nullptr) closeDC(dc_);
    delete this;
}

void Surface::attachBackBuffer(Surface* back) {
    backBuffer_ = back;
    back->frontBuffer_ = this;
}

const PALETTEENTRY* Surface::colours() const {
    if (palette_ != nullptr) return palette_->entries();
    const Surface* primary = device_.primary();
    if (primary != nullptr && primary->palette_ != nullptr) return primary->palette_->entries();
    return blackPalette();
}

HRESULT Surface::GetAttachedSurface(LPDDSCAPS lpDDSCaps, LPDIRECTDRAWSURFACE* lplpDDAttachedSurface) {
    QMP_TRACE_HRESULT("IDirectDrawSurface::GetAttachedSurface", DDERR_GENERIC);
    if (lpDDSCaps == nullptr || lplpDDAttachedSurface == nullptr || lpDDSCaps->dwCaps == 0)
        return DDERR_INVALIDPARAMS;
    *lplpDDAttachedSurface = nullptr;
    // The flip chain is a ring: the front buffer's neighbour is the back buffer and back.
    Surface* neighbour = backBuffer_ != nullptr ? backBuffer_ : frontBuffer_;
    if (neighbour == nullptr || (neighbour->caps_ & lpDDSCaps->dwCaps) != lpDDSCaps->dwCaps) return DDERR_NOTFOUND;
    ++neighbour->refs_;
    *lplpDDAttachedSurface = neighbour;
    return DD_OK;
}

HRESULT Surface::GetCaps(LPDDSCAPS lpDDSCaps) {
    QMP_TRACE_HRESULT("IDirectDrawSurface::GetCaps", DDERR_GENERIC);
    if (lpDDSCaps == nullptr) return DDERR_INVALIDPARAMS;
    lpDDSCaps->dwCaps = caps_;
    return DD_OK;
}

HRESULT Surface::SetPalette(LPDIRECTDRAWPALETTE lpDDPalette) {
    QMP_TRACE_HRESULT("IDirectDrawSurface::SetPalette", DDERR_GENERIC);
    Palette* next = static_cast<Palette*>(lpDDPalette);
    if (next != nullptr && &next->device() != &device_) return DDERR_INVALIDPARAMS;
    if (next == palette_) return DD_OK;
    if (next != nullptr) next->addRef();
    if (palette_ != nullptr) palette_->release();
    palette_ = next;
    coloursChanged();
    changedOnScreen();
    return DD_OK;
}

HRESULT Surface::GetPalette(LPDIRECTDRAWPALETTE* lplpDDPalette) {
    QMP_TRACE_HRESULT("IDirectDrawSurface::GetPalette", DDERR_GENERIC);
    if (lplpDDPalette == nullptr) return DDERR_INVALIDPARAMS;
    *lplpDDPalette = nullptr;
    if (palette_ == nullptr) return DDERR_NOPALETTEATTACHED;
    palette_->addRef();
    *lplpDDPalette = palette_;
    return DD_OK;
}

void Surface::setSourceKey(const DDCOLORKEY& key) {
    hasSourceKey_ = true;
    sourceKey_ = key;
}

HRESULT Surface::SetColorKey(DWORD dwFlags, LPDDCOLORKEY lpDDColorKey) {
    QMP_TRACE_HRESULT("IDirectDrawSurface::SetColorKey", DDERR_GENERIC);
    if (dwFlags != DDCKEY_SRCBLT) return DDERR_INVALIDPARAMS;  // source keys are the only kind
    if (lpDDColorKey == nullptr) {
        hasSourceKey_ = false;  // no key: copies take every pixel
        return DD_OK;
    }
    setSourceKey(*lpDDColorKey);
    return DD_OK;
}

HRESULT Surface::GetColorKey(DWORD dwFlags, LPDDCOLORKEY lpDDColorKey) {
    QMP_TRACE_HRESULT("IDirectDrawSurface::GetColorKey", DDERR_GENERIC);
    if (dwFlags != DDCKEY_SRCBLT || lpDDColorKey == nullptr) return DDERR_INVALIDPARAMS;
    if (!hasSourceKey_) return DDERR_NOCOLORKEY;
    *lpDDColorKey = sourceKey_;
    return DD_OK;
}

HRESULT Surface::SetClipper(LPDIRECTDRAWCLIPPER lpDDClipper) {
    QMP_TRACE_HRESULT("IDirectDrawSurface::SetClipper", DDERR_GENERIC);
    Clipper* next = static_cast<Clipper*>(lpDDClipper);
    if (next != nullptr && &next->device() != &device_) return DDERR_INVALIDPARAMS;
    if (next == clipper_) return DD_OK;
    if (next != nullptr) next->addRef();
    if (clipper_ != nullptr) clipper_->release();
    clipper_ = next;
    return DD_OK;
}

HRESULT Surface::GetClipper(LPDIRECTDRAWCLIPPER* lplpDDClipper) {
    QMP_TRACE_HRESULT("IDirectDrawSurface::GetClipper", DDERR_GENERIC);
    if (lplpDDClipper == nullptr) return DDERR_INVALIDPARAMS;
    *lplpDDClipper = nullptr;
    if (clipper_ == nullptr) return DDERR_NOCLIPPERATTACHED;
    clipper_->addRef();
    *lplpDDClipper = clipper_;
    return DD_OK;
}

void Surface::fillDescription(DDSURFACEDESC& desc) const {
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc.dwWidth = static_cast<DWORD>(width_);
    desc.dwHeight = static_cast<DWORD>(height_);
    desc.lPitch = pitch_;
    if (backBuffer_ != nullptr) {
        desc.dwFlags |= DDSD_BACKBUFFERCOUNT;
        desc.dwBackBufferCount = 1;
    }
    if (hasSourceKey_) {
        desc.dwFlags |= DDSD_CKSRCBLT;
        desc.ddckCKSrcBlt = sourceKey_;
    }
    desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    desc.ddpfPixelFormat.dwFlags = DDPF_PALETTEINDEXED8 | DDPF_RGB;
    desc.ddpfPixelFormat.dwRGBBitCount = 8;
    desc.ddsCaps.dwCaps = caps_;
}

HRESULT Surface::GetSurfaceDesc(LPDDSURFACEDESC lpDDSurfaceDesc) {
    QMP_TRACE_HRESULT("IDirectDrawSurface::GetSurfaceDesc", DDERR_GENERIC);
    if (lpDDSurfaceDesc == nullptr || lpDDSurfaceDesc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
    fillDescription(*lpDDSurfaceDesc);
    return DD_OK;
}

}  // namespace qmp::ddraw
