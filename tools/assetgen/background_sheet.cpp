#include "background_sheet.h"

#include "palette.h"
#include "pictures.h"

namespace assetgen {

PieceRect pieceRect(Piece piece) {
    const int far = kBand + 2 + kCellWidth + 1;    // x of the right column: Ws - 151
    const int low = kBand + 2 + kCellHeight + 1;   // y of the bottom row: Hs - 151
    switch (piece) {
        case kFloor: return {kBand + 2, kBand + 2, kCellWidth, kCellHeight};
        case kLeft: return {1, kBand + 2, kBand, kCellHeight};
        case kRight: return {far, kBand + 2, kBand, kCellHeight};
        case kTop: return {kBand + 2, 1, kCellWidth, kBand};
        case kBottom: return {kBand + 2, low, kCellWidth, kBand};
        case kTopRight: return {far, 1, kBand, kBand};
        case kTopLeft: return {1, 1, kBand, kBand};
        case kBottomLeft: return {1, low, kBand, kBand};
        case kBottomRight: return {far, low, kBand, kBand};
        default: return {0, 0, 0, 0};
    }
}

IndexedImage drawBackgroundSheet() {
    // The frame and the gaps are never cut out; plain black keeps them quiet.
    IndexedImage sheet(kSheetWidth, kSheetHeight, kBlackIndex);
    const PieceRect floor = pieceRect(kFloor);
    sheet.paste(drawFloorTile(), floor.x, floor.y);
    for (int p = kLeft; p < kPieceCount; ++p) {
        const PieceRect r = pieceRect(static_cast<Piece>(p));
        sheet.paste(drawWallPiece(static_cast<Piece>(p)), r.x, r.y);
    }
    return sheet;
}

}  // namespace assetgen
