// Pixel data of BMP files into one byte per pixel: uncompressed rows of 1, 4
// or 8 bits, and the RLE8 and RLE4 encodings.
#include "assets/bitmap_decoders.h"

#include <vector>

#include "assets/file_reading.h"

namespace {

// Bytes of one uncompressed row in the file: whole 32-bit words.
size_t rowStride(int32_t width, uint16_t bitCount) { return (static_cast<size_t>(width) * bitCount + 31) / 32 * 4; }

// Pixels of 1, 4 or 8 bits, packed from the most significant bit down.
void unpackRow(const uint8_t* packed, uint16_t bitCount, int32_t width, uint8_t* out) {
    const int32_t perByte = 8 / bitCount;
    const unsigned mask = (1u << bitCount) - 1;
    for (int32_t x = 0; x < width; ++x) {
        const int shift = 8 - bitCount * (x % perByte + 1);
        out[x] = static_cast<uint8_t>((packed[x / perByte] >> shift) & mask);
    }
}

// The 4-bit pixel i of a byte pair sequence: the high half first.
uint8_t nibble(uint8_t byte, int32_t i) { return static_cast<uint8_t>(i % 2 == 0 ? byte >> 4 : byte & 0x0F); }

// Where the next pixel of an RLE stream lands. Rows count upward from the
// bottom, as the stream writes them.
class RleCursor {
public:
    explicit RleCursor(const PixelGrid& grid) : grid_(grid) {}

    // Room for `count` more pixels in the current row.
    bool fits(int32_t count) const { return y_ < grid_.height && count <= grid_.width - x_; }
    void put(uint8_t index) { grid_.pixels[static_cast<size_t>(y_) * grid_.width + x_++] = index; }

    // The start of the next row; there is none after the row past the last.
    bool endLine() {
        if (y_ >= grid_.height) return false;
        x_ = 0;
        ++y_;
        return true;
    }

    // A jump right and up, which must land inside the picture.
    bool move(int32_t right, int32_t up) {
        if (right > grid_.width - x_ || up >= grid_.height - y_) return false;
        x_ += right;
        y_ += up;
        return true;
    }

private:
    PixelGrid grid_;
    int32_t x_ = 0;
    int32_t y_ = 0;
};

// The stream is a sequence of byte pairs: (n > 0, v) is a run of n pixels made
// from v; (0, 0) ends a line, (0, 1) the picture, (0, 2) is followed by a jump
// (right, up); (0, n >= 3) by n literal pixels padded to a whole pair. Only
// the pixel size differs between RLE8 and RLE4.
bool decodeRleStream(const uint8_t* data, size_t size, const PixelGrid& grid, int bitsPerPixel) {
    const bool eightBit = bitsPerPixel == 8;
    RleCursor cursor(grid);
    size_t at = 0;
    while (size - at >= 2) {
        const uint8_t count = data[at];
        const uint8_t value = data[at + 1];
        at += 2;
        if (count > 0) {
            if (!cursor.fits(count)) return false;
            for (int32_t i = 0; i < count; ++i) cursor.put(eightBit ? value : nibble(value, i));
            continue;
        }
        switch (value) {
        case 0:
            if (!cursor.endLine()) return false;
            break;
        case 1: return true;
        case 2:
            if (size - at < 2 || !cursor.move(data[at], data[at + 1])) return false;
            at += 2;
            break;
        default: {
            const size_t bytes = eightBit ? value : (value + 1u) / 2;
            const size_t padded = (bytes + 1) & ~size_t{1};
            if (size - at < padded || !cursor.fits(value)) return false;
            const uint8_t* literal = data + at;
            for (int32_t i = 0; i < value; ++i) cursor.put(eightBit ? literal[i] : nibble(literal[i / 2], i));
            at += padded;
        }
        }
    }
    return false;  // the data ended before the end-of-picture mark
}

}  // namespace

bool readUncompressedRows(HANDLE file, uint16_t bitCount, bool topDown, const PixelGrid& grid) {
    std::vector<uint8_t> row(rowStride(grid.width, bitCount));
    for (int32_t i = 0; i < grid.height; ++i) {
        if (!readExactly(file, row.data(), static_cast<DWORD>(row.size()))) return false;
        const int32_t bufferRow = topDown ? grid.height - 1 - i : i;
        unpackRow(row.data(), bitCount, grid.width, grid.pixels + static_cast<size_t>(bufferRow) * grid.width);
    }
    return true;
}

bool decodeRle8(const uint8_t* data, size_t size, const PixelGrid& grid) { return decodeRleStream(data, size, grid, 8); }

bool decodeRle4(const uint8_t* data, size_t size, const PixelGrid& grid) { return decodeRleStream(data, size, grid, 4); }
