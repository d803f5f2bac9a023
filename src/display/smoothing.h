// The fireworks filter over a block of 8-bit pixels: in place, in one pass, top
// to bottom and left to right, each non-zero pixel inside the outermost rows and
// columns becomes SmoothingTable[the sum of its eight neighbours], the left and
// upper neighbours already holding their new values; zero pixels stay zero.
#pragma once

#include <cstddef>
#include <cstdint>

// The filter pixel by pixel, as described: the reference for the fast one.
void smoothPixelsPlain(uint8_t* pixels, ptrdiff_t pitch, int64_t width, int64_t height);

// The same result, computed for six rows at once, when the SmoothingTable holds
// its usual contents (entry i is i >> 3) and the picture is at least 64 pixels
// wide; otherwise the plain filter. Reads up to 32 bytes before and after each
// row but the last, inside the picture's memory, and writes only what the
// plain filter writes.
void smoothPixels(uint8_t* pixels, ptrdiff_t pitch, int64_t width, int64_t height);
