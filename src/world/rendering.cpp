// CaveWorld's drawing (cave.h), the part of the cave under the screen: a floor
// tile per visible open cell, and wall bands and corners where open cells
// border rock.
#include "world/cave.h"

#include <algorithm>

#include "display/display.h"

namespace {

// Keyed copies of whole pieces; the destination's clipper trims what lies off it.
class PiecePainter {
public:
    PiecePainter(LPDIRECTDRAWSURFACE destination, LPDIRECTDRAWSURFACE const* pieces)
        : destination_(destination), pieces_(pieces) {}

    void paint(CavePiece piece, int32_t left, int32_t top, int32_t right, int32_t bottom) const {
        LPDIRECTDRAWSURFACE source = pieces_[piece];
        if (!source) return;  // a piece that was never created draws nothing, like a failed copy
        RECT to{left, top, right, bottom};
        RECT from{0, 0, TileGeometry.pieceWidth[piece], TileGeometry.pieceHeight[piece]};
        destination_->Blt(&to, source, &from, DDBLT_KEYSRC | DDBLT_WAIT, nullptr);
    }

private:
    LPDIRECTDRAWSURFACE destination_;
    LPDIRECTDRAWSURFACE const* pieces_;
};

}  // namespace

bool CaveWorld::draw(LPDIRECTDRAWSURFACE destination) {
    if (!lpBkgSurface[PIECE_FLOOR]) {
        MessageBoxA(nullptr, "Failed!", "lpBkgSurface=NULL", MB_OK);
        return false;
    }
    if (!destination) return false;
    if (!rows) return true;  // nothing generated, nothing to draw
    // A view this far out shows nothing of any cave, and the screen arithmetic
    // below stays in range.
    constexpr int32_t FAR_VIEW = 1 << 30;
    if (viewX < -FAR_VIEW || viewX > FAR_VIEW || viewY < -FAR_VIEW || viewY > FAR_VIEW) return true;

    const int32_t cw = cellWidth();
    const int32_t ch = cellHeight();
    const int leftColumn = columnOf(screenToWorldX(0));
    const int rightColumn = columnOf(screenToWorldX(screenWidth));
    const int topRow = rowOf(worldToScreenY(0));  // under the top screen edge
    const int bottomRow = rowOf(worldToScreenY(screenHeight));
    const int lastRow = rowCount_ - 1;
    const int firstDrawn = std::max(bottomRow, 0);
    const int lastDrawn = std::min(topRow, lastRow);
    if (firstDrawn > lastDrawn) return true;

    auto isOpen = [&](int row, int column) {
        return row >= 0 && row <= lastRow && rows[row].left <= column && column <= rows[row].right;
    };
    const PiecePainter painter(destination, lpBkgSurface);
    const int32_t* pieceWidth = TileGeometry.pieceWidth;
    const int32_t* pieceHeight = TileGeometry.pieceHeight;

    // Later copies land on earlier ones: rows bottom to top; in a row the cells
    // left to right, then the left end, then the right end.
    for (int i = firstDrawn; i <= lastDrawn; ++i) {
        const RowSpan span = rows[i];
        const int32_t rowBottom = worldToScreenY(i * ch);
        const int32_t rowTop = rowBottom - ch;
        const int firstColumn = std::max<int>(leftColumn, span.left);
        const int lastColumn = std::min<int>(rightColumn, span.right);

        for (int j = firstColumn; j <= lastColumn; ++j) {
            const int32_t cellLeft = worldToScreenX(j * cw);
            const int32_t cellRight = cellLeft + cw;
            auto bottomBand = [&] {
                painter.paint(PIECE_BOTTOM, cellLeft, rowBottom, cellRight, rowBottom + pieceHeight[PIECE_BOTTOM]);
            };
            auto topBand = [&] {
                painter.paint(PIECE_TOP, cellLeft, rowTop - pieceHeight[PIECE_TOP], cellRight, rowTop);
            };
            painter.paint(PIECE_FLOOR, cellLeft, rowTop, cellRight, rowBottom);
            // The outer bands of row 0 and of the top row are drawn even when off the screen.
            if (i == 0) {
                bottomBand();
                if (!isOpen(1, j)) topBand();
            } else if (i == lastRow) {
                topBand();
                if (!isOpen(i - 1, j)) bottomBand();
            } else {
                if (i > bottomRow && !isOpen(i - 1, j)) bottomBand();
                if (i < topRow && !isOpen(i + 1, j)) topBand();
            }
        }

        // The row's first open column lies right of the screen's leftmost one.
        if (leftColumn < span.left) {
            const int32_t sx = worldToScreenX(span.left * cw);
            const int32_t bandLeft = sx - pieceWidth[PIECE_LEFT];
            painter.paint(PIECE_LEFT, bandLeft, rowTop, sx, rowBottom);
            if (i > bottomRow && (i == 0 || span.left < rows[i - 1].left))
                painter.paint(PIECE_BOTTOM_LEFT, bandLeft, rowBottom, sx, rowBottom + pieceHeight[PIECE_BOTTOM_LEFT]);
            if (i < topRow && (i == lastRow || span.left < rows[i + 1].left))
                painter.paint(PIECE_TOP_LEFT, bandLeft, rowTop - pieceHeight[PIECE_TOP_LEFT], sx, rowTop);
        }
        // The row's last open column lies left of the screen's rightmost one.
        if (rightColumn > span.right) {
            const int32_t sx = worldToScreenX((span.right + 1) * cw);
            const int32_t bandRight = sx + pieceWidth[PIECE_RIGHT];
            painter.paint(PIECE_RIGHT, sx, rowTop, bandRight, rowBottom);
            if (i > bottomRow && (i == 0 || span.right > rows[i - 1].right))
                painter.paint(PIECE_BOTTOM_RIGHT, sx, rowBottom, bandRight, rowBottom + pieceHeight[PIECE_BOTTOM_RIGHT]);
            if (i < topRow && (i == lastRow || span.right > rows[i + 1].right))
                painter.paint(PIECE_TOP_RIGHT, sx, rowTop - pieceHeight[PIECE_TOP_RIGHT], bandRight, rowTop);
        }
    }
    return true;
}
