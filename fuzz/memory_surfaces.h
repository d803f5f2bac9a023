// A surface and a palette in plain heap memory for the picture-loader fuzzer:
// just enough of the DirectDraw interfaces for the picture copies (Lock and
// Unlock) and for applyPaletteTo (SetEntries). Each surface's bytes are one
// allocation of exactly pitch x height, so the address sanitizer sees a write
// one byte past the last row.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>
#include <cstring>
#include <memory>

class MemorySurface final : public IDirectDrawSurface {
public:
    // `pitch` below `width` is allowed: a copy must then refuse the rectangle.
    MemorySurface(uint32_t width, uint32_t height, uint32_t pitch)
        : width_(width), height_(height), pitch_(pitch), bytes_(new uint8_t[size_t{pitch} * height]) {
        std::memset(bytes_.get(), 0, size_t{pitch} * height);
    }
    ~MemorySurface() = default;

    bool locked() const { return locked_; }
    const uint8_t* bytes() const { return bytes_.get(); }

    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE Lock(LPRECT rect, LPDDSURFACEDESC desc, DWORD, HANDLE) override {
        if (rect != nullptr || desc == nullptr || locked_) return DDERR_INVALIDPARAMS;
        desc->dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH;
        desc->dwWidth = width_;
        desc->dwHeight = height_;
        desc->lPitch = static_cast<LONG>(pitch_);
        desc->lpSurface = bytes_.get();
        locked_ = true;
        return DD_OK;
    }
    HRESULT STDMETHODCALLTYPE Unlock(LPVOID) override {
        if (!locked_) return DDERR_NOTLOCKED;
        locked_ = false;
        return DD_OK;
    }

    // Nothing else is called by the code under test.
    HRESULT STDMETHODCALLTYPE Blt(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDBLTFX) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BltFast(DWORD, DWORD, LPDIRECTDRAWSURFACE, LPRECT, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Flip(LPDIRECTDRAWSURFACE, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAttachedSurface(LPDDSCAPS, LPDIRECTDRAWSURFACE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCaps(LPDDSCAPS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipper(LPDIRECTDRAWCLIPPER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetColorKey(DWORD, LPDDCOLORKEY) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDC(HDC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPalette(LPDIRECTDRAWPALETTE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsLost() override { return DD_OK; }
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Restore() override { return DD_OK; }
    HRESULT STDMETHODCALLTYPE SetClipper(LPDIRECTDRAWCLIPPER) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetColorKey(DWORD, LPDDCOLORKEY) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPalette(LPDIRECTDRAWPALETTE) override { return E_NOTIMPL; }

private:
    uint32_t width_;
    uint32_t height_;
    uint32_t pitch_;
    std::unique_ptr<uint8_t[]> bytes_;
    bool locked_ = false;
};

class MemoryPalette final : public IDirectDrawPalette {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetEntries(DWORD, DWORD base, DWORD count, LPPALETTEENTRY out) override {
        if (out == nullptr || base > 256 || count > 256 - base) return DDERR_INVALIDPARAMS;
        std::memcpy(out, entries + base, count * sizeof(PALETTEENTRY));
        return DD_OK;
    }
    HRESULT STDMETHODCALLTYPE SetEntries(DWORD, DWORD base, DWORD count, LPPALETTEENTRY in) override {
        if (in == nullptr || base > 256 || count > 256 - base) return DDERR_INVALIDPARAMS;
        std::memcpy(entries + base, in, count * sizeof(PALETTEENTRY));
        return DD_OK;
    }

    PALETTEENTRY entries[256] = {};
};
