// Pixel work through the mixing tables, on locked surface memory: the
// translucentCopy and smoothCanvas of translucency.h.
#include <algorithm>

#include "display/display.h"
#include "display/smoothing.h"
#include "display/surface_lock.h"
#include "display/translucency.h"

// The copy is clipped to the source and the target as they were locked, so a
// rectangle that reaches past an edge draws its inside part only.
bool translucentCopy(LPDIRECTDRAWSURFACE target, int32_t x, int32_t y, LPDIRECTDRAWSURFACE source, int32_t width,
                     int32_t height) {
    DDSURFACEDESC sourceDesc;
    if (FAILED(lockWholeSurface(source, sourceDesc))) return false;
    DDSURFACEDESC targetDesc;
    if (FAILED(lockWholeSurface(target, targetDesc))) {
        unlockWholeSurface(source);
        return false;
    }

    // Rows r and columns k of the source that land inside both surfaces.
    int64_t firstColumn = std::max<int64_t>(0, -static_cast<int64_t>(x));
    int64_t endColumn = std::min<int64_t>({width, sourceDesc.dwWidth, static_cast<int64_t>(targetDesc.dwWidth) - x});
    int64_t firstRow = std::max<int64_t>(0, -static_cast<int64_t>(y));
    int64_t endRow = std::min<int64_t>({height, sourceDesc.dwHeight, static_cast<int64_t>(targetDesc.dwHeight) - y});

    const uint8_t* sourceBytes = surfaceBytes(sourceDesc);
    uint8_t* targetBytes = surfaceBytes(targetDesc);
    for (int64_t r = firstRow; r < endRow; ++r) {
        const uint8_t* sourceRow = sourceBytes + r * sourceDesc.lPitch;
        uint8_t* targetRow = targetBytes + (y + r) * targetDesc.lPitch;
        for (int64_t k = firstColumn; k < endColumn; ++k) {
            uint8_t s = sourceRow[k];
            if (s == TRANSPARENT_INDEX) continue;
            uint8_t& t = targetRow[x + k];
            t = BlendTable[s * 256 + t];
        }
    }

    unlockWholeSurface(source);
    unlockWholeSurface(target);
    return true;
}

// In place and in one pass: the left and upper neighbours already hold their
// new values when a pixel is computed. Zero pixels stay zero, and the outermost
// rows and columns are only read.
HRESULT smoothCanvas(LPDIRECTDRAWSURFACE surface) {
    DDSURFACEDESC desc;
    HRESULT locked = lockWholeSurface(surface, desc);
    if (FAILED(locked)) return locked;
    // The screen's size, kept inside a smaller surface.
    int64_t width = std::min<int64_t>(screenWidth, desc.dwWidth);
    int64_t height = std::min<int64_t>(screenHeight, desc.dwHeight);
    smoothPixels(surfaceBytes(desc), desc.lPitch, width, height);
    return unlockWholeSurface(surface);
}
