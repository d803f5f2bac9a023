// Surface (ddraw/objects.h): Blt and BltFast, colour fills and copies,
// colour-keyed, stretched and clipped.
#include <algorithm>
#include <cstring>
#include <vector>

#include "core/trace.h"
#include "ddraw/objects.h"
#include "ddraw/pixels.h"

namespace qmp::ddraw {
namespace {

// A rectangle in 64 bits: the program's LONG coordinates, sums and products
// of them never overflow here.
struct Area {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;

    int64_t width() const { return right - left; }
    int64_t height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool inside(const Area& bounds) const {
        return left >= bounds.left && top >= bounds.top && right <= bounds.right && bottom <= bounds.bottom;
    }
};

Area areaOf(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
Area whole(const Surface& s) { return {0, 0, s.width(), s.height()}; }
Area intersect(const Area& a, const Area& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

// The key a copy skips: a key set without DDCKEY_COLORSPACE is one colour,
// its low value, whatever the high one says. False when no 8-bit value matches.
bool keyRange(const DDCOLORKEY& key, pixels::KeyRange* range) {
    const DWORD low = key.dwColorSpaceLowValue;
    if (low > 255) return false;
    range->low = static_cast<uint8_t>(low);
    range->span = 0;
    return true;
}

void fillArea(Surface& dest, const Area& area, uint8_t value) {
    const size_t pitch = static_cast<size_t>(dest.pitch());
    uint8_t* row = dest.bits() + static_cast<size_t>(area.top) * pitch + static_cast<size_t>(area.left);
    const size_t width = static_cast<size_t>(area.width());
    if (area.left == 0 && width == static_cast<size_t>(dest.width())) {
        // Whole rows: the padding may take the value too, so one memset does it.
        std::memset(row, value, pitch * static_cast<size_t>(area.height() - 1) + width);
        return;
    }
    for (int64_t y = area.top; y < area.bottom; ++y, row += pitch) std::memset(row, value, width);
}

// Copies the source area `from` onto the destination area `to`, scaled to its
// size, drawing only the part `visible` of `to`. Each destination pixel takes
// source pixel i x (source size) / (destination size): the one under its top-left corner.
void copyArea(const Surface& source, const Area& from, Surface& dest, const Area& to, const Area& visible,
              const pixels::KeyRange* key) {
    const uint8_t* sourceBase = source.pixels() + static_cast<size_t>(from.top) * static_cast<size_t>(source.pitch()) +
                                static_cast<size_t>(from.left);
    size_t sourcePitch = static_cast<size_t>(source.pitch());
    std::vector<uint8_t> scratch;
    if (&source == &dest && !intersect(from, to).empty()) {
        // Overlapping parts of one surface: read everything before writing anything.
        const size_t w = static_cast<size_t>(from.width());
        scratch.resize(w * static_cast<size_t>(from.height()));
        for (size_t y = 0; y < static_cast<size_t>(from.height()); ++y)
            std::memcpy(scratch.data() + y * w, sourceBase + y * sourcePitch, w);
        sourceBase = scratch.data();
        sourcePitch = w;
    }

    const int width = static_cast<int>(visible.width());
    const int64_t firstColumn = visible.left - to.left;  // in `to`
    const bool sameWidth = from.width() == to.width();
    const bool sameHeight = from.height() == to.height();
    static std::vector<int> columns;  // kept between copies; the platform, like the demo, runs on one thread
    if (!sameWidth) {
        columns.resize(static_cast<size_t>(width));
        for (int i = 0; i < width; ++i)
            columns[static_cast<size_t>(i)] =
                static_cast<int>((firstColumn + i) * from.width() / to.width());
    }

    const size_t destPitch = static_cast<size_t>(dest.pitch());
    uint8_t* destRow = dest.bits() + static_cast<size_t>(visible.top) * destPitch + static_cast<size_t>(visible.left);
    // A keyed copy without scaling moves the source's opaque runs.
    OpaqueRuns& runs = source.opaqueRuns();
    if (key != nullptr && sameWidth && sameHeight && scratch.empty() &&
        runs.ready(source.pixels(), source.pitch(), source.width(), source.height(), *key)) {
        const int first = static_cast<int>(from.left + firstColumn);
        for (int64_t y = visible.top - to.top; y < visible.bottom - to.top; ++y, destRow += destPitch) {
            const int sourceY = static_cast<int>(from.top + y);
            copyRowRuns(runs, sourceY, source.pixels() + static_cast<size_t>(sourceY) * static_cast<size_t>(source.pitch()),
                        first, width, destRow);
        }
        return;
    }
    for (int64_t y = visible.top - to.top; y < visible.bottom - to.top; ++y, destRow += destPitch) {
        const int64_t sourceY = sameHeight ? y : y * from.height() / to.height();
        const uint8_t* sourceRow = sourceBase + static_cast<size_t>(sourceY) * sourcePitch;
        if (sameWidth) {
            const uint8_t* start = sourceRow + firstColumn;
            if (key != nullptr)
                pixels::copyRowKeyed(start, destRow, width, *key);
            else
                std::memcpy(destRow, start, static_cast<size_t>(width));
        } else if (key != nullptr) {
            pixels::stretchRowKeyed(sourceRow, columns.data(), destRow, width, *key);
        } else {
            pixels::stretchRow(sourceRow, columns.data(), destRow, width);
        }
    }
}

}  // namespace

HRESULT Surface::Blt(LPRECT lpDestRect, LPDIRECTDRAWSURFACE lpDDSrcSurface, LPRECT lpSrcRect, DWORD dwFlags,
                     LPDDBLTFX lpDDBltFx) {
    QMP_TRACE_HRESULT("IDirectDrawSurface::Blt", DDERR_GENERIC);
    if ((dwFlags & ~DWORD{DDBLT_COLORFILL | DDBLT_KEYSRC | DDBLT_WAIT}) != 0) return DDERR_INVALIDPARAMS;
    if (lpDDBltFx != nullptr && lpDDBltFx->dwSize != sizeof(DDBLTFX)) return DDERR_INVALIDPARAMS;
    const bool fill = (dwFlags & DDBLT_COLORFILL) != 0;
    const bool keyed = (dwFlags & DDBLT_KEYSRC) != 0;
    Surface* source = nullptr;
    if (fill) {
        if (keyed || lpDDBltFx == nullptr) return DDERR_INVALIDPARAMS;  // a fill has no source to key
    } else {
        source = static_cast<Surface*>(lpDDSrcSurface);
        if (source == nullptr || &source->device_ != &device_) return DDERR_INVALIDPARAMS;
        // Keying by a key the source does not have is a bad call, not a missing key.
        if (keyed && !source->hasSourceKey_) return DDERR_INVALIDPARAMS;
    }
    if (lost_ || (source != nullptr && source->lost_)) return DDERR_SURFACELOST;
    if (busy() || (source != nullptr && source->busy())) return DDERR_SURFACEBUSY;

    const Area dest = lpDestRect != nullptr ? areaOf(*lpDestRect) : whole(*this);
    if (dest.empty()) return DDERR_INVALIDRECT;  // inverted, or no width or height
    Area from;
    if (source != nullptr) {
        from = lpSrcRect != nullptr ? areaOf(*lpSrcRect) : whole(*source);
        if (from.empty() || !from.inside(whole(*source))) return DDERR_INVALIDRECT;
    }
    // A clipper cuts the rectangle to its window; what is left must still lie
    // on the surface, as a rectangle without a clipper must.
    Area visible = dest;
    if (clipper_ != nullptr) {
        RECT client;
        // No window set leaves no clip list; a window since destroyed fails the call.
        if (!clipper_->clientArea(&client)) return clipper_->hasWindow() ? DDERR_GENERIC : DDERR_NOCLIPLIST;
        visible = intersect(dest, areaOf(client));
        if (visible.empty()) return DD_OK;
    }
    if (!visible.inside(whole(*this))) return DDERR_INVALIDRECT;

    bytesMayChange();
    if (fill) {
        fillArea(*this, visible, static_cast<uint8_t>(lpDDBltFx->dwFillColor));
    } else {
        pixels::KeyRange range;
        const bool useKey = keyed && keyRange(source->sourceKey_, &range);
        copyArea(*source, from, *this, dest, visible, useKey ? &range : nullptr);
    }
    changedOnScreen();
    return DD_OK;
}

HRESULT Surface::BltFast(DWORD dwX, DWORD dwY, LPDIRECTDRAWSURFACE lpDDSrcSurface, LPRECT lpSrcRect,
                         DWORD dwTrans) {
    QMP_TRACE_HRESULT("IDirectDrawSurface::BltFast", DDERR_GENERIC);
    if ((dwTrans & ~DWORD{DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT}) != 0) return DDERR_INVALIDPARAMS;
    const bool keyed = (dwTrans & DDBLTFAST_SRCCOLORKEY) != 0;
    Surface* source = static_cast<Surface*>(lpDDSrcSurface);
    if (source == nullptr || &source->device_ != &device_) return DDERR_INVALIDPARAMS;
    if (lost_ || source->lost_) return DDERR_SURFACELOST;
    if (busy() || source->busy()) return DDERR_SURFACEBUSY;

    const Area from = lpSrcRect != nullptr ? areaOf(*lpSrcRect) : whole(*source);
    if (from.empty() || !from.inside(whole(*source))) return DDERR_INVALIDRECT;
    // BltFast never clips: the copy must fit the destination.
    const Area to{dwX, dwY, int64_t{dwX} + from.width(), int64_t{dwY} + from.height()};
    if (!to.inside(whole(*this))) return DDERR_INVALIDRECT;

    // A source that never had a key set keys by its initial key, 0.
    pixels::KeyRange range;
    const bool useKey = keyed && keyRange(source->hasSourceKey_ ? source->sourceKey_ : DDCOLORKEY{0, 0}, &range);
    bytesMayChange();
    copyArea(*source, from, *this, to, to, useKey ? &range : nullptr);
    changedOnScreen();
    return DD_OK;
}

}  // namespace qmp::ddraw
