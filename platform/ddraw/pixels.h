// Row kernels of the copies: the inner loops of Blt and BltFast.
#pragma once

#include <cstdint>

namespace qmp::ddraw::pixels {

// A source colour key as a range: v is transparent when uint8_t(v - low) <= span.
struct KeyRange {
    uint8_t low = 0;
    uint8_t span = 0;
};

inline bool opaque(uint8_t value, KeyRange key) { return static_cast<uint8_t>(value - key.low) > key.span; }

void copyRowKeyed(const uint8_t* source, uint8_t* dest, int width, KeyRange key);

// columns[i] is the source column of destination pixel i.
void stretchRow(const uint8_t* source, const int* columns, uint8_t* dest, int width);
void stretchRowKeyed(const uint8_t* source, const int* columns, uint8_t* dest, int width, KeyRange key);

}  // namespace qmp::ddraw::pixels
