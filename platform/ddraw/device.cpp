// Device (ddraw/objects.h), the DirectDraw device: DirectDrawCreate,
// cooperative level, display mode and the lifetime of everything it makes.
#include <algorithm>
#include <new>

#include "core/exclusive.h"
#include "core/reset.h"
#include "core/screen.h"
#include "core/trace.h"
#include "ddraw/objects.h"
#include "platform/control.h"

namespace qmp::ddraw {
namespace {

struct Registry {
    std::vector<Device*> devices;
    Device* exclusiveOwner = nullptr;
    uint64_t coloursVersion = 1;
};

// Never destroyed, so objects a program leaves behind stay reachable at exit.
Registry& registry() {
    static Registry* r = new Registry;
    return *r;
}

void destroyAllDevices() {
    // Deleting a device removes it from the list.
    while (!registry().devices.empty()) delete registry().devices.back();
}

const ResetHook resetDirectDraw([] {
    destroyAllDevices();
    screen::setSource(nullptr);
    exclusive::setLossHandler(nullptr);
});

template <typename T>
void erase(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}  // namespace

std::vector<Device*>& devices() { return registry().devices; }

uint64_t coloursVersion() { return registry().coloursVersion; }
void coloursChanged() { ++registry().coloursVersion; }

const PALETTEENTRY* blackPalette() {
    static const PALETTEENTRY black[256] = {};
    return black;
}

Device::~Device() {
    // Whatever the program did not release goes with the device. Surfaces first:
    // they point at palettes and clippers.
    for (Surface* surface : surfaces_) surface->discard();
    for (Palette* palette : palettes_) delete palette;
    for (Clipper* clipper : clippers_) delete clipper;
    if (!surfaces_.empty() || !palettes_.empty()) coloursChanged();
    if (registry().exclusiveOwner == this) registry().exclusiveOwner = nullptr;
    erase(registry().devices, this);
}

ULONG Device::AddRef() {
    long ignored = 0;
    enterCall("IDirectDraw::AddRef", &ignored);
    return ++refs_;
}

ULONG Device::Release() {
    long ignored = 0;
    enterCall("IDirectDraw::Release", &ignored);
    if (--refs_ > 0) return refs_;
    delete this;
    return 0;
}

HRESULT Device::SetCooperativeLevel(HWND hWnd, DWORD dwFlags) {
    QMP_TRACE_HRESULT("IDirectDraw::SetCooperativeLevel", DDERR_GENERIC);
    if (dwFlags == (DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN)) {
        if (hWnd == nullptr) return DDERR_INVALIDPARAMS;
        Device* owner = registry().exclusiveOwner;
        if (owner != nullptr && owner != this) return DDERR_EXCLUSIVEMODEALREADYSET;
        if (exclusive_ && hWnd != window_ && !(surfaces_.empty() && palettes_.empty()))
            return DDERR_HWNDALREADYSET;
        levelSet_ = true;
        exclusive_ = true;
        window_ = hWnd;
        registry().exclusiveOwner = this;
        return DD_OK;
    }
    if (dwFlags == DDSCL_NORMAL) {
        if (exclusive_) leaveExclusive();
        levelSet_ = true;
        window_ = hWnd;
        return DD_OK;
    }
    return DDERR_INVALIDPARAMS;
}

void Device::leaveExclusive() {
    if (modeSet_) {
        modeSet_ = false;
        loseVideoMemory();  // the desktop mode comes back
    }
    exclusive_ = false;
    if (registry().exclusiveOwner == this) registry().exclusiveOwner = nullptr;
}

HRESULT Device::SetDisplayMode(DWORD dwWidth, DWORD dwHeight, DWORD dwBPP) {
    QMP_TRACE_HRESULT("IDirectDraw::SetDisplayMode", DDERR_GENERIC);
    if (!exclusive_) return DDERR_NOEXCLUSIVEMODE;
    if (dwWidth != modeWidth || dwHeight != modeHeight || dwBPP != modeBitsPerPixel) return DDERR_UNSUPPORTEDMODE;
    if (!modeSet_) {
        modeSet_ = true;
        loseVideoMemory();  // a mode change lays out the display memory anew
    }
    return DD_OK;
}

HRESULT Device::RestoreDisplayMode() {
    QMP_TRACE_HRESULT("IDirectDraw::RestoreDisplayMode", DDERR_GENERIC);
    if (!modeSet_) return DD_OK;
    modeSet_ = false;
    loseVideoMemory();
    return DD_OK;
}

int Device::liveObjects() const {
    return 1 + static_cast<int>(surfaces_.size() + palettes_.size() + clippers_.size());
}

void Device::loseVideoMemory() {
    for (Surface* surface : surfaces_) {
        if ((surface->caps() & DDSCAPS_SYSTEMMEMORY) == 0) surface->lose();
    }
}

void Device::forget(Surface* surface) {
    if (primary_ == surface) primary_ = nullptr;
    erase(surfaces_, surface);
}
void Device::forget(Palette* palette) { erase(palettes_, palette); }
void Device::forget(Clipper* clipper) { erase(clippers_, clipper); }

}  // namespace qmp::ddraw

HRESULT WINAPI DirectDrawCreate(GUID* lpGUID, LPDIRECTDRAW* lplpDD, IUnknown* pUnkOuter) {
    using namespace qmp::ddraw;
    QMP_TRACE_HRESULT("DirectDrawCreate", DDERR_GENERIC);
    if (lplpDD == nullptr) return DDERR_INVALIDPARAMS;
    *lplpDD = nullptr;
    if (pUnkOuter != nullptr) return DDERR_INVALIDPARAMS;
    if (lpGUID != nullptr) return DDERR_INVALIDDIRECTDRAWGUID;  // only the display itself
    Device* device = new (std::nothrow) Device;
    if (device == nullptr) return DDERR_OUTOFMEMORY;
    devices().push_back(device);
    connectScreen();
    *lplpDD = device;
    return DD_OK;
}

namespace platform {
int liveDirectDrawObjects() {
    int count = 0;
    for (const qmp::ddraw::Device* device : qmp::ddraw::devices()) count += device->liveObjects();
    return count;
}
}  // namespace platform
