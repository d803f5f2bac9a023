// "bckgnd.bmp" as the cave uses it: a floor tile laid edge to edge, wall
// pieces keyed over their neighbours.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>
#include <cstdlib>

#include "generated_pictures.h"

using namespace tools_test;

namespace {

struct Rect {
    int x, y, w, h;
};

// Where the demo cuts the pieces, from the sheet's size (624 x 704).
const Rect kFloor{152, 152, 320, 400};
const Rect kLeft{1, 152, 150, 400}, kRight{473, 152, 150, 400};
const Rect kTop{152, 1, 320, 150}, kBottom{152, 553, 320, 150};
const Rect kTopLeft{1, 1, 150, 150}, kTopRight{473, 1, 150, 150};
const Rect kBottomLeft{1, 553, 150, 150}, kBottomRight{473, 553, 150, 150};

const Bmp& sheet() { return generatedPictures().background; }
uint8_t px(const Rect& r, int x, int y) { return sheet().at(r.x + x, r.y + y); }
int lumaAt(const Rect& r, int x, int y) { return luma(sheet().palette[px(r, x, y)]); }

// Brightness of a strip of four lines starting at `first`, averaged over
// 8-pixel stretches along them: fine grain averages out, shapes stay.
std::vector<double> strip(const Rect& r, int first, bool rows) {
    const int n = rows ? r.w : r.h;
    std::vector<double> out;
    for (int s = 0; s + 8 <= n; s += 8) {
        double sum = 0;
        for (int k = 0; k < 4; ++k)
            for (int i = s; i < s + 8; ++i) sum += rows ? lumaAt(r, i, first + k) : lumaAt(r, first + k, i);
        out.push_back(sum / 32);
    }
    return out;
}

// Mean brightness change from the strip ending at line a of one piece to the
// strip starting at line b of another (columns, or rows when `rows` is set).
double step(const Rect& ra, int a, const Rect& rb, int b, bool rows) {
    const auto before = strip(ra, a - 3, rows), after = strip(rb, b, rows);
    double sum = 0;
    for (size_t i = 0; i < before.size(); ++i) sum += std::abs(before[i] - after[i]);
    return sum / static_cast<double>(before.size());
}

// Share of pixels that differ in being transparent between two lines.
double maskChange(const Rect& ra, int a, const Rect& rb, int b, bool rows) {
    const int n = rows ? ra.w : ra.h;
    int changes = 0;
    for (int i = 0; i < n; ++i) {
        const bool ka = (rows ? px(ra, i, a) : px(ra, a, i)) == kKey;
        const bool kb = (rows ? px(rb, i, b) : px(rb, b, i)) == kKey;
        changes += ka != kb;
    }
    return static_cast<double>(changes) / n;
}

// A high step between neighbouring lines inside a piece: a seam must not
// stand out from the piece's own texture.
double ordinaryStep(const Rect& r, bool rows) {
    const int lines = rows ? r.h : r.w;
    std::vector<double> steps;
    for (int i = 3; i + 4 < lines; ++i) steps.push_back(step(r, i, r, i + 1, rows));
    std::sort(steps.begin(), steps.end());
    return steps[steps.size() * 97 / 100];
}

// The step between lines far apart, where nothing carries over: what a seam looks like.
double unrelatedStep(const Rect& r, bool rows) {
    const int lines = rows ? r.h : r.w;
    double sum = 0;
    int count = 0;
    for (int i = 3; i + 4 < lines; i += 4, ++count) sum += step(r, i, r, (i + lines / 3) % (lines - 8) + 4, rows);
    return sum / count;
}

int transparentIn(const Rect& r, int x0, int y0, int w, int h) {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) n += px(r, x, y) == kKey;
    return n;
}

}  // namespace

TEST(BackgroundSheet, FloorTileIsOpaque) {
    EXPECT_EQ(transparentIn(kFloor, 0, 0, kFloor.w, kFloor.h), 0);
}

TEST(BackgroundSheet, FloorTileHasNoSeamWhenLaidEdgeToEdge) {
    // Across the wrap the brightness must change no more than it does between
    // neighbouring columns or rows inside the tile.
    const double across = step(kFloor, kFloor.w - 1, kFloor, 0, false);
    const double down = step(kFloor, kFloor.h - 1, kFloor, 0, true);
    EXPECT_LE(across, ordinaryStep(kFloor, false));
    EXPECT_LE(down, ordinaryStep(kFloor, true));
    // The comparison means something only if unrelated lines differ clearly.
    EXPECT_GT(unrelatedStep(kFloor, false), ordinaryStep(kFloor, false) * 1.2);
    EXPECT_GT(unrelatedStep(kFloor, true), ordinaryStep(kFloor, true) * 1.2);
}

TEST(BackgroundSheet, WallBandsAreSolidWhereTheyMeetTheFloor) {
    EXPECT_EQ(transparentIn(kLeft, 130, 0, 20, 400), 0);
    EXPECT_EQ(transparentIn(kRight, 0, 0, 20, 400), 0);
    EXPECT_EQ(transparentIn(kTop, 0, 130, 320, 20), 0);
    EXPECT_EQ(transparentIn(kBottom, 0, 0, 320, 20), 0);
    // Each corner is solid at the corner it shares with the floor.
    EXPECT_EQ(transparentIn(kTopLeft, 130, 130, 20, 20), 0);
    EXPECT_EQ(transparentIn(kTopRight, 0, 130, 20, 20), 0);
    EXPECT_EQ(transparentIn(kBottomLeft, 130, 0, 20, 20), 0);
    EXPECT_EQ(transparentIn(kBottomRight, 0, 0, 20, 20), 0);
}

TEST(BackgroundSheet, WallPiecesBreakUpAwayFromTheFloor) {
    // The outermost strip shows the dark behind, and the band is not a slab.
    EXPECT_EQ(transparentIn(kLeft, 0, 0, 4, 400), 4 * 400);
    EXPECT_EQ(transparentIn(kRight, 146, 0, 4, 400), 4 * 400);
    EXPECT_EQ(transparentIn(kTop, 0, 0, 320, 4), 4 * 320);
    EXPECT_EQ(transparentIn(kBottom, 0, 146, 320, 4), 4 * 320);
    EXPECT_EQ(px(kTopLeft, 0, 0), kKey);
    EXPECT_EQ(px(kTopRight, 149, 0), kKey);
    EXPECT_EQ(px(kBottomLeft, 0, 149), kKey);
    EXPECT_EQ(px(kBottomRight, 149, 149), kKey);
    for (const Rect& r : {kLeft, kRight, kTop, kBottom}) {
        const int area = r.w * r.h, clear = transparentIn(r, 0, 0, r.w, r.h);
        EXPECT_GT(clear, area / 5);
        EXPECT_LT(clear, area * 7 / 10);
    }
}

TEST(BackgroundSheet, WallBandsContinueFromOneCellToTheNext) {
    // Bands stand end to end along a row or a column of cells.
    EXPECT_LE(maskChange(kLeft, 399, kLeft, 0, true), 0.08);
    EXPECT_LE(maskChange(kRight, 399, kRight, 0, true), 0.08);
    EXPECT_LE(maskChange(kTop, 319, kTop, 0, false), 0.08);
    EXPECT_LE(maskChange(kBottom, 319, kBottom, 0, false), 0.08);
    EXPECT_LE(step(kLeft, 399, kLeft, 0, true), ordinaryStep(kLeft, true));
    EXPECT_LE(step(kRight, 399, kRight, 0, true), ordinaryStep(kRight, true));
    EXPECT_LE(step(kTop, 319, kTop, 0, false), ordinaryStep(kTop, false));
    EXPECT_LE(step(kBottom, 319, kBottom, 0, false), ordinaryStep(kBottom, false));
}

TEST(BackgroundSheet, CornersJoinTheBandsBesideThem) {
    // A corner sits above or below a side band and beside a top or bottom band.
    struct Join {
        Rect first;
        int firstLine;
        Rect second;
        int secondLine;
        bool rows;
    } joins[] = {
        {kTopLeft, 149, kLeft, 0, true},         {kTopLeft, 149, kTop, 0, false},
        {kTopRight, 149, kRight, 0, true},       {kTop, 319, kTopRight, 0, false},
        {kLeft, 399, kBottomLeft, 0, true},      {kBottomLeft, 149, kBottom, 0, false},
        {kRight, 399, kBottomRight, 0, true},    {kBottom, 319, kBottomRight, 0, false},
    };
    for (const Join& j : joins) {
        // Compare the lines over the corner's extent (150 pixels).
        Rect a = j.first, b = j.second;
        if (j.rows) a.w = b.w = 150;
        else a.h = b.h = 150;
        EXPECT_LE(maskChange(a, j.firstLine, b, j.secondLine, j.rows), 0.1)
            << "join at (" << j.first.x << "," << j.first.y << ")";
    }
}
