// The cave: a grid of cells, each row with one open span of columns, drawn
// from the nine pieces of "bckgnd.bmp", with wall collision and a minimap.
// CaveWorld's methods live in one file per concern: generation.cpp (generation
// and surfaces), coordinates.cpp (the piece geometry and coordinates),
// collision.cpp (collision and intersectSegments), rendering.cpp (draw) and
// minimap.cpp (the minimap and the outline). The world's globals below are
// defined in app/globals.cpp, with every other global of the demo.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>
#include <memory>

class SheetBitmap;

struct MinimapSize {
    int32_t height;
    int32_t width;
};
extern MinimapSize minimapSize;  // W/3 by W/3

// Written by the collision of the view's moves, shown by the read-out.
extern int32_t debugId;  // the case that decided the last step with collision
extern POINT hitPoint;   // hit point of the last move of the view centre

// One row's open columns, both inclusive.
struct RowSpan {
    int16_t left;
    int16_t right;
};

enum CavePiece {
    PIECE_FLOOR = 0,
    PIECE_LEFT = 1,
    PIECE_RIGHT = 2,
    PIECE_TOP = 3,
    PIECE_BOTTOM = 4,
    PIECE_TOP_RIGHT = 5,
    PIECE_TOP_LEFT = 6,
    PIECE_BOTTOM_LEFT = 7,
    PIECE_BOTTOM_RIGHT = 8,
    PIECE_COUNT = 9
};

// Source rectangles of the nine pieces in the sheet picture (rows from the top).
struct TileGeometryTable {
    int32_t pieceHeight[PIECE_COUNT];
    int32_t pieceWidth[PIECE_COUNT];
    int32_t pieceX[PIECE_COUNT];
    int32_t pieceY[PIECE_COUNT];
};
extern TileGeometryTable TileGeometry;

// Marks a slope that intersectSegments did not compute.
constexpr float NO_SLOPE = 999999.0f;

// Meeting point (outX, outY) of the moving segment M0-M1 with the wall W0-W1,
// exact: a touching end point comes back as it is, M0 first, then M1, W0, W1.
// slope1 and slope2 receive the two slopes, NO_SLOPE where not computed.
bool intersectSegments(const POINT& M0, const POINT& M1, const POINT& W0, const POINT& W1, float& slope1,
                       float& slope2, int32_t& outX, int32_t& outY);

class CaveWorld {
public:
    CaveWorld() = default;
    ~CaveWorld() = default;  // frees rows and outline; surfaces are released by releaseSurfaces()
    CaveWorld(const CaveWorld&) = delete;
    CaveWorld& operator=(const CaveWorld&) = delete;

    // --- Generation and surfaces
    void computeTileGeometry();
    bool createSurfaces();
    void releaseSurfaces();
    bool reloadSurfaces();
    bool redrawMinimap();
    bool generate(const SheetBitmap* sheet, int32_t requestedWidth, int32_t requestedHeight);

    // --- Coordinates
    int16_t rowOf(int32_t y) const;
    int16_t columnOf(int32_t x) const;
    int32_t worldToScreenX(int32_t x) const;
    int32_t worldToScreenY(int32_t y) const;
    int32_t screenToWorldX(int32_t sx) const;
    int32_t worldToMinimapX(int32_t x) const;
    int32_t worldToMinimapY(int32_t y) const;
    bool isOpenCell(int32_t x, int32_t y, int16_t& outRow, int16_t& outColumn) const;
    void setView(int32_t x, int32_t y);
    void randomOpenPoint(int32_t& outX, int32_t& outY);
    uint16_t rowCount() const { return rowCount_; }
    uint16_t columnCount() const { return columnCount_; }
    // A copy of the row's span; {-1, -1} (no open column) for a row outside the cave.
    RowSpan rowSpan(int16_t row) const;
    int32_t cellWidth() const;
    int32_t cellHeight() const;

    // --- Collision
    bool moveWithCollision(int32_t startX, int32_t startY, int32_t& targetX, int32_t& targetY, int32_t& hitX,
                           int32_t& hitY);
    void moveViewTo(int32_t& targetX, int32_t& targetY);
    void moveViewBy(int32_t dx, int32_t dy);

    // --- Drawing
    bool draw(LPDIRECTDRAWSURFACE destination);
    bool drawOutline(LPDIRECTDRAWSURFACE destination, int32_t dx, int32_t dy, bool filled);
    bool drawMinimap(LPDIRECTDRAWSURFACE destination, int32_t x, int32_t y);

    const SheetBitmap* sheet = nullptr;
    std::unique_ptr<RowSpan[]> rows;  // rowCount_ entries, index 0 the bottom row
    LPDIRECTDRAWSURFACE lpBkgSurface[PIECE_COUNT] = {};
    LPDIRECTDRAWSURFACE minimapSurface = nullptr;
    uint16_t columnCount_ = 0;
    uint16_t rowCount_ = 0;
    std::unique_ptr<POINT[]> outline;  // 4 x rowCount_ + 1 points, in minimap pixels
    double minimapScale = 0.0;
    uint16_t minimapMargin = 3;
    int32_t viewX = 0;
    int32_t viewY = 0;
    COLORREF outlineColour = 0;
    bool minimapVisible = true;
};

extern CaveWorld Quillmere;
