// Pixel work through the mixing tables, on locked surface memory: the
// translucentCopy and smoothCanvas of translucency.h.
#include <emmintrin.h>

#include <algorithm>
#include <bit>

#include "display/display.h"
#include "display/smoothing.h"
#include "display/surface_lock.h"
#include "display/translucency.h"

namespace {

// One row of the copy: each source pixel that is not transparent mixes with the
// target pixel under it. The row is read sixteen pixels at a time and only the
// opaque ones are visited, so the minimap's wide see-through margins and the
// cave's background cost a compare per block.
void blendRow(const uint8_t* source, uint8_t* target, int64_t count) {
    const __m128i transparent = _mm_set1_epi8(static_cast<char>(TRANSPARENT_INDEX));
    int64_t k = 0;
    for (; k + 16 <= count; k += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + k));
        unsigned opaque = ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, transparent))) & 0xFFFFu;
        for (; opaque; opaque &= opaque - 1) {
            const int64_t i = k + std::countr_zero(opaque);
            target[i] = BlendTable[source[i] * 256 + target[i]];
        }
    }
    for (; k < count; ++k) {
        if (source[k] != TRANSPARENT_INDEX) target[k] = BlendTable[source[k] * 256 + target[k]];
    }
}

}  // namespace

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
        if (endColumn > firstColumn) blendRow(sourceRow + firstColumn, targetRow + x + firstColumn, endColumn - firstColumn);
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
