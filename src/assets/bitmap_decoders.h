// The pixel decoders of the BMP loader. Each one fills a buffer of width x
// height palette indices, one byte per pixel, rows bottom-up (buffer row 0 is
// the picture's bottom row), whatever the file's depth, compression or row
// order. Each returns false when the file's pixel data does not describe
// exactly that picture; the buffer's content is then of no use.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

struct PixelGrid {
    uint8_t* pixels;  // width x height bytes
    int32_t width;
    int32_t height;
};

// Uncompressed rows of 1, 4 or 8 bits per pixel, read from the file one row at
// a time; each row is padded to a multiple of 4 bytes there. `topDown` rows
// start with the picture's top row.
bool readUncompressedRows(HANDLE file, uint16_t bitCount, bool topDown, const PixelGrid& grid);

// Run-length encoded pixel data (BI_RLE8, BI_RLE4) already read into memory.
// Pixels the stream skips (end of line, delta, end of picture) stay index 0. A
// run past the end of a row or the last row, and data that ends before the
// end-of-picture mark, are errors.
bool decodeRle8(const uint8_t* data, size_t size, const PixelGrid& grid);
bool decodeRle4(const uint8_t* data, size_t size, const PixelGrid& grid);
