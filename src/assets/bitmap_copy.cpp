// The copies of bitmap.h's pictures into locked surfaces, plain or screen-door.
#include "assets/bitmap.h"

#include <cstring>

#include "assets/picture_bounds.h"
#include "display/surface_lock.h"

namespace {

// The top-left corner of the surface receives the rectangle. A rectangle that is
// not inside the picture, or that does not fit the surface as locked, is
// refused and nothing is written. When screened, the screen-door pattern at
// `level` is laid over the copied area.
bool copyRect(const PalettedBitmap& image, LPDIRECTDRAWSURFACE surface, int32_t width, int32_t height,
              int32_t sourceX, int32_t sourceY, bool screened, int32_t level) {
    DDSURFACEDESC desc;
    if (FAILED(lockWholeSurface(surface, desc))) return false;
    bool fits = rectInsidePicture(image, sourceX, sourceY, width, height) && width <= static_cast<int64_t>(desc.dwWidth) &&
                width <= desc.lPitch && height <= static_cast<int64_t>(desc.dwHeight);
    if (!fits) {
        unlockWholeSurface(surface);
        return false;
    }

    uint8_t* destination = surfaceBytes(desc);
    int32_t imageWidth = image.width();
    int32_t imageHeight = image.height();
    for (int32_t r = 0; r < height; ++r) {
        // Picture row sourceY + r, counted from the top, is stored bottom-up.
        size_t bufferRow = static_cast<size_t>(imageHeight - 1 - sourceY - r);
        std::memcpy(destination + static_cast<size_t>(r) * desc.lPitch,
                    image.pixels.get() + bufferRow * imageWidth + sourceX, static_cast<size_t>(width));
    }
    if (screened) applyScreenDoor(destination, desc.lPitch, width, height, level);
    unlockWholeSurface(surface);
    return true;
}

}  // namespace

bool PalettedBitmap::copyToSurface(LPDIRECTDRAWSURFACE surface) const {
    return copyRect(*this, surface, width(), height(), 0, 0, false, 0);
}

bool PalettedBitmap::copyRectToSurface(LPDIRECTDRAWSURFACE surface, int32_t width, int32_t height, int32_t sourceX,
                                       int32_t sourceY) const {
    return copyRect(*this, surface, width, height, sourceX, sourceY, false, 0);
}

bool SheetBitmap::copyScreenedRectToSurface(LPDIRECTDRAWSURFACE surface, int32_t width, int32_t height,
                                            int32_t sourceX, int32_t sourceY, int32_t level) const {
    return copyRect(*this, surface, width, height, sourceX, sourceY, true, level);
}
