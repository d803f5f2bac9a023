// MSIMG32 of windows.h: AlphaBlend with a constant alpha between two 8-bit
// targets: the colours mix through both palettes and land on the nearest
// destination entry.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "core/trace.h"
#include "gdi/colour_map.h"
#include "gdi/context.h"

namespace {

using qmp::gdi::Drawing;

// The palette index of the mix of source entry s and destination entry d,
// remembered per pair for the length of one call.
class Mixer {
public:
    Mixer(const qmp::PixelTarget& destination, const PALETTEENTRY* sourceColours, int alpha)
        : destination_(destination), sourceColours_(sourceColours), alpha_(alpha), known_(256 * 256, -1) {}

    uint8_t mix(uint8_t s, uint8_t d) {
        int16_t& memo = known_[s * 256 + d];
        if (memo < 0) {
            const PALETTEENTRY& a = sourceColours_[s];
            const PALETTEENTRY& b = destination_.colours()[d];
            memo = qmp::gdi::nearestIndex(destination_, RGB(channel(a.peRed, b.peRed), channel(a.peGreen, b.peGreen),
                                                            channel(a.peBlue, b.peBlue)));
        }
        return static_cast<uint8_t>(memo);
    }

private:
    // source x alpha / 255 + destination x (255 - alpha) / 255, rounded.
    int channel(int source, int destination) const {
        return (source * alpha_ + destination * (255 - alpha_) + 127) / 255;
    }

    const qmp::PixelTarget& destination_;
    const PALETTEENTRY* sourceColours_;
    int alpha_;
    std::vector<int16_t> known_;
};

// Nearest-neighbour sampling: destination offset i of `destinationSize` reads
// source offset floor((i + 1/2) * sourceSize / destinationSize).
int64_t sampleOffset(int64_t i, int64_t destinationSize, int64_t sourceSize) {
    return static_cast<int64_t>((__int128(2 * i + 1) * sourceSize) / (2 * destinationSize));
}

}  // namespace

BOOL WINAPI AlphaBlend(HDC hdcDest, int xoriginDest, int yoriginDest, int wDest, int hDest, HDC hdcSrc,
                       int xoriginSrc, int yoriginSrc, int wSrc, int hSrc, BLENDFUNCTION ftn) {
    QMP_TRACE_VALUE("AlphaBlend", FALSE);
    if (ftn.BlendOp != AC_SRC_OVER || ftn.BlendFlags != 0) return FALSE;
    if (ftn.AlphaFormat != 0) return FALSE;  // per-pixel alpha has no meaning on 8-bit pixels
    if (wDest < 0 || hDest < 0 || wSrc < 0 || hSrc < 0) return FALSE;
    Drawing destination, source;
    if (!qmp::gdi::beginDrawing(hdcDest, destination) || !qmp::gdi::beginDrawing(hdcSrc, source)) return FALSE;
    const int alpha = ftn.SourceConstantAlpha;
    if (alpha == 0 || wDest == 0 || hDest == 0 || wSrc == 0 || hSrc == 0) return TRUE;  // nothing changes

    // The destination pixels inside both the destination rectangle and the target.
    const qmp::gdi::Raster& to = destination.raster;
    const qmp::gdi::Raster& from = source.raster;
    const int64_t firstX = std::max<int64_t>(xoriginDest, 0);
    const int64_t lastX = std::min<int64_t>(int64_t(xoriginDest) + wDest, to.width) - 1;
    const int64_t firstY = std::max<int64_t>(yoriginDest, 0);
    const int64_t lastY = std::min<int64_t>(int64_t(yoriginDest) + hDest, to.height) - 1;
    if (firstX > lastX || firstY > lastY) return TRUE;

    // A blend within one target reads the source as it was before the call.
    std::vector<uint8_t> snapshot;
    const uint8_t* sourceBits = from.bits;
    int sourcePitch = from.pitch;
    if (from.bits == to.bits) {
        snapshot.assign(from.bits, from.bits + static_cast<size_t>(from.pitch) * static_cast<size_t>(from.height - 1) +
                                       static_cast<size_t>(from.width));
        sourceBits = snapshot.data();
    }

    Mixer mixer(*destination.dc->target, source.dc->target->colours(), alpha);
    for (int64_t y = firstY; y <= lastY; ++y) {
        const int64_t sy = int64_t(yoriginSrc) + sampleOffset(y - yoriginDest, hDest, hSrc);
        if (sy < 0 || sy >= from.height) continue;  // outside the source target: left as it is
        const uint8_t* sourceRow = sourceBits + static_cast<size_t>(sy) * static_cast<size_t>(sourcePitch);
        uint8_t* row = to.bits + static_cast<size_t>(y) * static_cast<size_t>(to.pitch);
        for (int64_t x = firstX; x <= lastX; ++x) {
            const int64_t sx = int64_t(xoriginSrc) + sampleOffset(x - xoriginDest, wDest, wSrc);
            if (sx < 0 || sx >= from.width) continue;
            row[x] = mixer.mix(sourceRow[sx], row[x]);
        }
    }
    return TRUE;
}
