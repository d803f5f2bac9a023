// COLORREF to palette index on an 8-bit target, as GDI maps colours there.
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/dc.h"

namespace qmp::gdi {

// The entry `colour` is drawn with: an exact match (lowest index) if there is
// one, else the entry at the smallest squared RGB distance, ties to the lowest
// index. PALETTEINDEX colours (0x01 in the top byte) name the entry directly.
// Cached per colour set, so repeated colours cost no search.
uint8_t nearestIndex(const PixelTarget& target, COLORREF colour);

// The same search without a cache.
uint8_t searchNearest(const PALETTEENTRY* colours, COLORREF colour);

inline COLORREF colourOf(const PALETTEENTRY& entry) { return RGB(entry.peRed, entry.peGreen, entry.peBlue); }

}  // namespace qmp::gdi
