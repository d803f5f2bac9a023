// CaveWorld's generation (cave.h): the piece surfaces cut from the sheet, the
// rows by a random walk, the outline of the minimap, and a random start for
// the view.
#include "world/cave.h"

#include <algorithm>

#include "app/clock.h"
#include "assets/bitmap.h"
#include "display/display.h"

namespace {

// The smallest sheet side whose floor tile is 20 units: randomOpenPoint keeps
// 10 units from every cell edge.
constexpr int32_t MIN_SHEET_SIDE = 324;
constexpr COLORREF CYAN = 0x00FFFF00;
constexpr int32_t MAX_SCREENS = 1000;  // a world is at most this many screens wide and high

bool createSystemSurface(int32_t width, int32_t height, LPDIRECTDRAWSURFACE& surface) {
    DDSURFACEDESC desc = offscreenSurfaceDesc(width, height, true);
    return SUCCEEDED(directDraw->CreateSurface(&desc, &surface, nullptr));
}

// At least 4 cells, whatever the tile size; the count is kept in 16 bits.
uint16_t cellCount(int32_t extent, int32_t cellSize) {
    const auto count = static_cast<uint16_t>(extent / cellSize);
    return count <= 3 ? 4 : count;
}

}  // namespace

bool CaveWorld::createSurfaces() {
    if (!directDraw) return false;
    for (int i = 0; i < PIECE_COUNT; ++i) {
        if (!createSystemSurface(TileGeometry.pieceWidth[i], TileGeometry.pieceHeight[i], lpBkgSurface[i]))
            return false;
        DDCOLORKEY key{TRANSPARENT_INDEX, TRANSPARENT_INDEX};
        lpBkgSurface[i]->SetColorKey(DDCKEY_SRCBLT, &key);
    }
    // The minimap's translucent copy skips index 253 by itself: no colour key.
    if (!createSystemSurface(minimapSize.width, minimapSize.height, minimapSurface)) return false;
    // Painted once, it must hold the indices of its colours in the sheet's
    // palette, the one the scene is drawn in, whatever the screen shows while it
    // is painted (a fade, a generated palette). GDI maps against a palette of
    // the surface's own; the surface keeps it and releases it with itself.
    LPDIRECTDRAWPALETTE palette = nullptr;
    if (sheet && attachBlackPalette(directDraw, minimapSurface, palette)) {
        sheet->applyPaletteTo(palette);
        palette->Release();
    }
    return true;
}

void CaveWorld::releaseSurfaces() {
    if (minimapSurface) minimapSurface->Release();
    minimapSurface = nullptr;
    for (LPDIRECTDRAWSURFACE& surface : lpBkgSurface) {
        if (surface) surface->Release();
        surface = nullptr;
    }
}

bool CaveWorld::reloadSurfaces() {
    if (!minimapSurface || FAILED(minimapSurface->Restore())) return false;
    bool ok = redrawMinimap();
    for (int i = 0; i < PIECE_COUNT; ++i) {
        if (!lpBkgSurface[i] || FAILED(lpBkgSurface[i]->Restore())) return false;
        // After a failed step the copies stop, but every piece is still restored.
        if (ok) {
            ok = sheet && sheet->copyRectToSurface(lpBkgSurface[i], TileGeometry.pieceWidth[i],
                                                   TileGeometry.pieceHeight[i], TileGeometry.pieceX[i],
                                                   TileGeometry.pieceY[i]);
        }
    }
    return ok;
}

bool CaveWorld::generate(const SheetBitmap* newSheet, int32_t requestedWidth, int32_t requestedHeight) {
    // A sheet without a picture, or too small for 20-unit cells, cannot be cut:
    // refuse it before anything changes.
    if (!newSheet || !newSheet->pixels) return false;
    if (newSheet->width() < MIN_SHEET_SIDE || newSheet->height() < MIN_SHEET_SIDE) return false;

    rows.reset();
    outline.reset();
    sheet = newSheet;
    computeTileGeometry();
    releaseSurfaces();
    createSurfaces();
    reloadSurfaces();  // no outline yet: the minimap only gets its fill
    outlineColour = CYAN;

    const int32_t width = std::max(std::min(requestedWidth, MAX_SCREENS * screenWidth), screenWidth);
    const int32_t height = std::max(std::min(requestedHeight, MAX_SCREENS * screenHeight), screenHeight);
    columnCount_ = cellCount(width, cellWidth());
    rowCount_ = cellCount(height, cellHeight());

    // Each row holds the previous pivot and both its neighbours, and the next
    // pivot lies strictly inside the row: rows overlap and are 3 columns wide at least.
    rows = std::make_unique<RowSpan[]>(rowCount_);
    int32_t pivot = gameRandom.range(1, columnCount_ - 2);
    for (int r = 0; r < rowCount_; ++r) {
        rows[r].left = static_cast<int16_t>(gameRandom.range(0, pivot - 1));
        rows[r].right = static_cast<int16_t>(gameRandom.range(pivot + 1, columnCount_ - 1));
        pivot = gameRandom.range(rows[r].left + 1, rows[r].right - 1);
    }

    const int32_t margin2 = 2 * minimapMargin;
    if (width > height) minimapScale = static_cast<double>(minimapSize.width - margin2) / width;
    else minimapScale = static_cast<double>(minimapSize.height - margin2) / height;

    // Up the left edges of the rows from the bottom-left corner of row 0, back
    // down their right edges, and the first point again.
    const double cw = cellWidth() * minimapScale;
    const double ch = cellHeight() * minimapScale;
    const auto chI = static_cast<int32_t>(ch);
    const int32_t m = minimapMargin;
    const int32_t mh = minimapSize.height;
    const int32_t corners = 4 * rowCount_;
    outline = std::make_unique<POINT[]>(corners + 1);
    int32_t n = 0;
    for (int r = 0; r < rowCount_; ++r) {
        const auto x = static_cast<int32_t>(rows[r].left * cw) + m;
        const auto y = static_cast<int32_t>(mh - r * ch - m);
        outline[n++] = POINT{x, y};
        outline[n++] = POINT{x, y - chI};
    }
    for (int r = rowCount_ - 1; r >= 0; --r) {
        const auto x = static_cast<int32_t>((rows[r].right + 1) * cw) + m;
        const auto y = static_cast<int32_t>(mh - (r + 1) * ch - m);
        outline[n++] = POINT{x, y};
        outline[n++] = POINT{x, y + chI};
    }
    outline[n] = outline[0];

    redrawMinimap();
    randomOpenPoint(viewX, viewY);
    return true;
}
