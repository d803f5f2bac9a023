// Sheet pictures for the cave tests: a given size, every pixel telling which
// piece of the 3 x 3 arrangement it belongs to.
#pragma once

#include <cstdint>
#include <memory>

#include "assets/bitmap.h"
#include "world/cave.h"

// The index of piece i in a synthetic sheet; the frame and the gaps hold GAP_INDEX.
constexpr uint8_t pieceIndex(int piece) { return static_cast<uint8_t>(10 + piece); }
constexpr uint8_t GAP_INDEX = 99;

// Fills a sheet of width x height; the pieces follow the sheet's own cutting rule
// (bands 150 pixels thick after a 1-pixel frame, a 1-pixel gap, the floor tile).
inline void makeSheet(SheetBitmap& sheet, int32_t width, int32_t height) {
    sheet.infoHeader = {};
    sheet.infoHeader.biSize = 40;
    sheet.infoHeader.biWidth = width;
    sheet.infoHeader.biHeight = height;
    sheet.infoHeader.biBitCount = 8;
    sheet.pixels = std::make_unique<uint8_t[]>(static_cast<size_t>(width) * height);
    auto band = [](int32_t v, int32_t size) {  // 0 near band, 1 middle, 2 far band, -1 frame or gap
        if (v >= 1 && v <= 150) return 0;
        if (v >= 152 && v <= size - 153) return 1;
        if (v >= size - 151 && v <= size - 2) return 2;
        return -1;
    };
    // [row band][column band] -> piece
    const int pieces[3][3] = {{PIECE_TOP_LEFT, PIECE_TOP, PIECE_TOP_RIGHT},
                              {PIECE_LEFT, PIECE_FLOOR, PIECE_RIGHT},
                              {PIECE_BOTTOM_LEFT, PIECE_BOTTOM, PIECE_BOTTOM_RIGHT}};
    for (int32_t y = 0; y < height; ++y) {  // y counted from the top of the picture
        for (int32_t x = 0; x < width; ++x) {
            int by = band(y, height), bx = band(x, width);
            uint8_t index = (by < 0 || bx < 0) ? GAP_INDEX : pieceIndex(pieces[by][bx]);
            sheet.pixels[static_cast<size_t>(height - 1 - y) * width + x] = index;  // rows bottom-up
        }
    }
}
