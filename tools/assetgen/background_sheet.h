// "bckgnd.bmp": the cave's floor tile with its wall bands and corners, laid
// out 3 x 3 with a 1-pixel frame and 1-pixel gaps around the floor tile.
#pragma once
#include "image.h"

namespace assetgen {

inline constexpr int kCellWidth = 320;
inline constexpr int kCellHeight = 400;
inline constexpr int kBand = 150;
inline constexpr int kSheetWidth = kCellWidth + 2 * kBand + 4;   // 624
inline constexpr int kSheetHeight = kCellHeight + 2 * kBand + 4; // 704

// The demo's piece order: floor, left, right, top, bottom, top-right,
// top-left, bottom-left, bottom-right.
enum Piece { kFloor, kLeft, kRight, kTop, kBottom, kTopRight, kTopLeft, kBottomLeft, kBottomRight, kPieceCount };

struct PieceRect {
    int x, y, w, h;
};
PieceRect pieceRect(Piece piece);

IndexedImage drawFloorTile();         // kCellWidth x kCellHeight, tiles with itself
IndexedImage drawWallPiece(Piece p);  // a band or a corner; 253 where there is no rock


}  // namespace assetgen
