// Surface (ddraw/objects.h): losing surfaces, as exclusive full-screen mode
// does when the program loses the focus, and getting them back with Restore.
#include <cstring>

#include "core/trace.h"
#include "ddraw/objects.h"

namespace qmp::ddraw {

void loseExclusiveSurfaces() {
    for (Device* device : devices()) {
        if (device->exclusive()) device->loseVideoMemory();
    }
}

void Surface::lose() {
    lost_ = true;
    bytesMayChange();
    // The display memory went to someone else: what was in it is gone.
    std::memset(pixels_.get(), 0, static_cast<size_t>(pitch_) * static_cast<size_t>(height_));
}

void Surface::restore() {
    lost_ = false;
    bytesMayChange();
}

HRESULT Surface::IsLost() {
    QMP_TRACE_HRESULT("IDirectDrawSurface::IsLost", DDERR_GENERIC);
    return lost_ ? DDERR_SURFACELOST : DD_OK;
}

HRESULT Surface::Restore() {
    QMP_TRACE_HRESULT("IDirectDrawSurface::Restore", DDERR_GENERIC);
    // Restoring the front of a flip chain restores the whole chain. The
    // contents stay undefined (zero) until the program draws them again.
    if (backBuffer_ != nullptr) backBuffer_->restore();
    if (!lost_) return DD_OK;
    restore();
    changedOnScreen();
    return DD_OK;
}

}  // namespace qmp::ddraw
