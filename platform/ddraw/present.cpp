// Surface (ddraw/objects.h): what the screen shows, the primary surface
// through its palette, and Flip, which puts the back buffer's picture there.
#include <cstring>
#include <utility>

#include "core/exclusive.h"
#include "core/screen.h"
#include "core/trace.h"
#include "ddraw/objects.h"

namespace qmp::ddraw {
namespace {

bool takePicture(Picture& picture) {
    for (const Device* device : devices()) {
        const Surface* primary = device->primary();
        if (!device->modeSet() || primary == nullptr) continue;
        if (primary->lost()) return false;
        const int width = primary->width();
        const int height = primary->height();
        picture.width = width;
        picture.height = height;
        picture.indices.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
        for (int y = 0; y < height; ++y) {
            std::memcpy(picture.indices.data() + static_cast<size_t>(y) * static_cast<size_t>(width),
                        primary->pixels() + static_cast<size_t>(y) * static_cast<size_t>(primary->pitch()),
                        static_cast<size_t>(width));
        }
        const Palette* palette = primary->palette();
        std::memcpy(picture.palette, palette != nullptr ? palette->entries() : blackPalette(),
                    sizeof picture.palette);
        return true;
    }
    return false;
}

}  // namespace

void connectScreen() {
    screen::setSource(takePicture);
    exclusive::setLossHandler(loseExclusiveSurfaces);
}

void Surface::changedOnScreen() const {
    if (kind_ == Kind::Primary && !lost_ && device_.primary() == this) screen::markStale();
}

HRESULT Surface::Flip(LPDIRECTDRAWSURFACE lpDDSurfaceTargetOverride, DWORD dwFlags) {
    QMP_TRACE_HRESULT("IDirectDrawSurface::Flip", DDERR_GENERIC);
    if (backBuffer_ == nullptr) return DDERR_NOTFLIPPABLE;  // only the front of a flip chain flips
    if ((dwFlags & ~DWORD{DDFLIP_WAIT}) != 0) return DDERR_INVALIDPARAMS;
    if (lpDDSurfaceTargetOverride != nullptr && lpDDSurfaceTargetOverride != backBuffer_) return DDERR_INVALIDPARAMS;
    if (lost_ || backBuffer_->lost_) return DDERR_SURFACELOST;
    if (busy() || backBuffer_->busy()) return DDERR_SURFACEBUSY;
    bytesMayChange();
    backBuffer_->bytesMayChange();
    std::swap(pixels_, backBuffer_->pixels_);
    changedOnScreen();
    return DD_OK;
}

}  // namespace qmp::ddraw
