#include "ddraw/pixels.h"

#include <cstring>

namespace qmp::ddraw::pixels {

void copyRowKeyed(const uint8_t* source, uint8_t* dest, int width, KeyRange key) {
    int x = 0;
#if defined(__GNUC__)
    // Sixteen pixels at a time: keep the destination where the source is transparent.
    typedef uint8_t Bytes __attribute__((vector_size(16)));
    const Bytes low = Bytes{} + key.low;
    const Bytes span = Bytes{} + key.span;
    for (; x + 16 <= width; x += 16) {
        Bytes from;
        Bytes to;
        std::memcpy(&from, source + x, sizeof from);
        std::memcpy(&to, dest + x, sizeof to);
        const Bytes transparent = (Bytes)((Bytes)(from - low) <= span);
        to = (to & transparent) | (from & ~transparent);
        std::memcpy(dest + x, &to, sizeof to);
    }
#endif
    for (; x < width; ++x) {
        const uint8_t value = source[x];
        if (opaque(value, key)) dest[x] = value;
    }
}

void stretchRow(const uint8_t* source, const int* columns, uint8_t* dest, int width) {
    for (int x = 0; x < width; ++x) dest[x] = source[columns[x]];
}

void stretchRowKeyed(const uint8_t* source, const int* columns, uint8_t* dest, int width, KeyRange key) {
    for (int x = 0; x < width; ++x) {
        const uint8_t value = source[columns[x]];
        if (opaque(value, key)) dest[x] = value;
    }
}

}  // namespace qmp::ddraw::pixels
