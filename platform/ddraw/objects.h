// The DirectDraw objects: a device and the surfaces, palettes and clippers it
// makes. Every object belongs to its device; when the device goes, whatever it
// made goes with it.
//
// Device is in device.cpp, its Create* calls in create.cpp. Surface is in
// surface.cpp, with its locks and device contexts in access.cpp, Blt and
// BltFast in blit.cpp, loss and Restore in loss.cpp and Flip in present.cpp.
// Palette is in palette.cpp, Clipper in clipper.cpp.
#pragma once

#include <ddraw.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "core/dc.h"
#include "ddraw/opaque_runs.h"

namespace qmp::ddraw {

class Device;
class Surface;
class Palette;
class Clipper;

// The only display mode there is.
constexpr int modeWidth = 640;
constexpr int modeHeight = 480;
constexpr int modeBitsPerPixel = 8;

// Changes whenever any surface's colours() may give different entries.
uint64_t coloursVersion();
void coloursChanged();

// 256 black entries, for surfaces that see no palette.
const PALETTEENTRY* blackPalette();

// Pixel memory from calloc: zeroed, and untouched pages cost nothing.
struct FreeBytes {
    void operator()(uint8_t* p) const { std::free(p); }
};
using PixelMemory = std::unique_ptr<uint8_t, FreeBytes>;

class Palette final : public IDirectDrawPalette {
public:
    Palette(Device& device, const PALETTEENTRY* entries, bool allow256);

    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetEntries(DWORD dwFlags, DWORD dwBase, DWORD dwNumEntries,
                                         LPPALETTEENTRY lpEntries) override;
    HRESULT STDMETHODCALLTYPE SetEntries(DWORD dwFlags, DWORD dwStartingEntry, DWORD dwCount,
                                         LPPALETTEENTRY lpEntries) override;

    Device& device() const { return device_; }
    const PALETTEENTRY* entries() const { return entries_; }
    void addRef() { ++refs_; }
    ULONG release();

private:
    void keepReservedEntries();

    Device& device_;
    ULONG refs_ = 1;
    bool allow256_;
    PALETTEENTRY entries_[256];
};

class Clipper final : public IDirectDrawClipper {
public:
    explicit Clipper(Device& device) : device_(device) {}

    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE SetHWnd(DWORD dwFlags, HWND hWnd) override;
    HRESULT STDMETHODCALLTYPE GetHWnd(HWND* lphWnd) override;

    Device& device() const { return device_; }
    HWND window() const { return window_; }
    // The window's client rectangle; false without a (live) window.
    bool clientArea(RECT* area) const;
    bool hasWindow() const { return window_ != nullptr; }
    void addRef() { ++refs_; }
    ULONG release();

private:
    Device& device_;
    ULONG refs_ = 1;
    HWND window_ = nullptr;
};

class Surface final : public IDirectDrawSurface, public PixelTarget {
public:
    enum class Kind { Primary, BackBuffer, Offscreen };

    // Null when the pixel memory cannot be had.
    static Surface* make(Device& device, Kind kind, int width, int height, DWORD caps);

    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Blt(LPRECT lpDestRect, LPDIRECTDRAWSURFACE lpDDSrcSurface, LPRECT lpSrcRect,
                                  DWORD dwFlags, LPDDBLTFX lpDDBltFx) override;
    HRESULT STDMETHODCALLTYPE BltFast(DWORD dwX, DWORD dwY, LPDIRECTDRAWSURFACE lpDDSrcSurface, LPRECT lpSrcRect,
                                      DWORD dwTrans) override;
    HRESULT STDMETHODCALLTYPE Flip(LPDIRECTDRAWSURFACE lpDDSurfaceTargetOverride, DWORD dwFlags) override;
    HRESULT STDMETHODCALLTYPE GetAttachedSurface(LPDDSCAPS lpDDSCaps,
                                                 LPDIRECTDRAWSURFACE* lplpDDAttachedSurface) override;
    HRESULT STDMETHODCALLTYPE GetCaps(LPDDSCAPS lpDDSCaps) override;
    HRESULT STDMETHODCALLTYPE GetClipper(LPDIRECTDRAWCLIPPER* lplpDDClipper) override;
    HRESULT STDMETHODCALLTYPE GetColorKey(DWORD dwFlags, LPDDCOLORKEY lpDDColorKey) override;
    HRESULT STDMETHODCALLTYPE GetDC(HDC* lphDC) override;
    HRESULT STDMETHODCALLTYPE GetPalette(LPDIRECTDRAWPALETTE* lplpDDPalette) override;
    HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC lpDDSurfaceDesc) override;
    HRESULT STDMETHODCALLTYPE IsLost() override;
    HRESULT STDMETHODCALLTYPE Lock(LPRECT lpDestRect, LPDDSURFACEDESC lpDDSurfaceDesc, DWORD dwFlags,
                                   HANDLE hEvent) override;
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC hDC) override;
    HRESULT STDMETHODCALLTYPE Restore() override;
    HRESULT STDMETHODCALLTYPE SetClipper(LPDIRECTDRAWCLIPPER lpDDClipper) override;
    HRESULT STDMETHODCALLTYPE SetColorKey(DWORD dwFlags, LPDDCOLORKEY lpDDColorKey) override;
    HRESULT STDMETHODCALLTYPE SetPalette(LPDIRECTDRAWPALETTE lpDDPalette) override;
    HRESULT STDMETHODCALLTYPE Unlock(LPVOID lpSurfaceData) override;

    // PixelTarget, for GDI.
    uint8_t* bits() override { return pixels_.get(); }
    int pitch() const override { return pitch_; }
    int width() const override { return width_; }
    int height() const override { return height_; }
    const PALETTEENTRY* colours() const override;
    uint64_t coloursVersion() const override { return ddraw::coloursVersion(); }

    Device& device() const { return device_; }
    Kind kind() const { return kind_; }
    DWORD caps() const { return caps_; }
    const uint8_t* pixels() const { return pixels_.get(); }
    bool lost() const { return lost_; }
    // Locked or lending a device context: nothing else may touch the bytes.
    bool busy() const { return locked_ || dc_ != nullptr; }
    const Palette* palette() const { return palette_; }
    const DDCOLORKEY* sourceKey() const { return hasSourceKey_ ? &sourceKey_ : nullptr; }
    Surface* backBuffer() const { return backBuffer_; }

    void attachBackBuffer(Surface* back);
    void setSourceKey(const DDCOLORKEY& key);
    // The opaque runs of the bytes under the source key, for keyed copies from the surface.
    OpaqueRuns& opaqueRuns() const { return opaqueRuns_; }
    // Anything that may write the bytes calls this first.
    void bytesMayChange() { opaqueRuns_.forget(); }
    // Exclusive mode was lost: the bytes are gone.
    void lose();
    void restore();
    // Destroys the surface as its last Release does: attachments are released,
    // an attached back buffer goes too unless the program still holds it.
    void destroy();
    // Destroys the surface with its device: attachments die with the device too.
    void discard();

private:
    Surface(Device& device, Kind kind, int width, int height, DWORD caps, PixelMemory pixels);
    ~Surface();

    void fillDescription(DDSURFACEDESC& desc) const;
    // The surface's bytes or colours changed; the screen shows it when this is the primary.
    void changedOnScreen() const;

    Device& device_;
    Kind kind_;
    DWORD caps_;
    int width_;
    int height_;
    int pitch_;
    PixelMemory pixels_;
    ULONG refs_ = 1;
    bool lost_ = false;
    bool locked_ = false;
    void* lockPointer_ = nullptr;
    HDC dc_ = nullptr;
    bool hasSourceKey_ = false;
    DDCOLORKEY sourceKey_{};
    Palette* palette_ = nullptr;
    Clipper* clipper_ = nullptr;
    Surface* backBuffer_ = nullptr;   // of a primary surface
    Surface* frontBuffer_ = nullptr;  // of its back buffer, while attached
    mutable OpaqueRuns opaqueRuns_;
};

class Device final : public IDirectDraw {
public:
    Device() = default;
    ~Device();

    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateClipper(DWORD dwFlags, LPDIRECTDRAWCLIPPER* lplpDDClipper,
                                            IUnknown* pUnkOuter) override;
    HRESULT STDMETHODCALLTYPE CreatePalette(DWORD dwFlags, LPPALETTEENTRY lpColorTable,
                                            LPDIRECTDRAWPALETTE* lplpDDPalette, IUnknown* pUnkOuter) override;
    HRESULT STDMETHODCALLTYPE CreateSurface(LPDDSURFACEDESC lpDDSurfaceDesc, LPDIRECTDRAWSURFACE* lplpDDSurface,
                                            IUnknown* pUnkOuter) override;
    HRESULT STDMETHODCALLTYPE RestoreDisplayMode() override;
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND hWnd, DWORD dwFlags) override;
    HRESULT STDMETHODCALLTYPE SetDisplayMode(DWORD dwWidth, DWORD dwHeight, DWORD dwBPP) override;

    bool exclusive() const { return exclusive_; }
    bool modeSet() const { return modeSet_; }
    Surface* primary() const { return primary_; }
    int liveObjects() const;

    // Surfaces made without DDSCAPS_SYSTEMMEMORY lose their bytes.
    void loseVideoMemory();

    // Bookkeeping for the objects' own Release.
    void forget(Surface* surface);
    void forget(Palette* palette);
    void forget(Clipper* clipper);

private:
    HRESULT createPrimary(const DDSURFACEDESC& desc, Surface** out);
    HRESULT createOffscreen(const DDSURFACEDESC& desc, Surface** out);
    void leaveExclusive();

    ULONG refs_ = 1;
    bool levelSet_ = false;
    bool exclusive_ = false;
    bool modeSet_ = false;
    HWND window_ = nullptr;
    Surface* primary_ = nullptr;
    std::vector<Surface*> surfaces_;
    std::vector<Palette*> palettes_;
    std::vector<Clipper*> clippers_;
};

// The devices alive, oldest first.
std::vector<Device*>& devices();

// Registers the primary surface as the screen's picture and the loss of
// exclusive-mode surfaces with the platform core.
void connectScreen();
// What a focus change in exclusive full-screen mode does to every device.
void loseExclusiveSurfaces();

}  // namespace qmp::ddraw
