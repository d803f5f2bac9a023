// Lines through a device context: one-pixel lines without their last pixel,
// wide lines as round-ended bands, polylines, clipping and hostile coordinates.
#include <windows.h>

#include <climits>
#include <cmath>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "gdi/raster.h"
#include "platform/gdi/memory_target.h"

using namespace gdi_test;

namespace {

class GdiLines : public GdiTest {
protected:
    void line(MemoryTarget& t, int x0, int y0, int x1, int y1, int width, COLORREF colour) {
        HPEN pen = CreatePen(PS_SOLID, width, colour);
        ASSERT_NE(pen, nullptr);
        HGDIOBJ old = SelectObject(t.dc(), pen);
        EXPECT_TRUE(MoveToEx(t.dc(), x0, y0, nullptr));
        EXPECT_TRUE(LineTo(t.dc(), x1, y1));
        SelectObject(t.dc(), old);
        EXPECT_TRUE(DeleteObject(pen));
    }
};

TEST_F(GdiLines, OnePixelLineLeavesOutItsLastPixel) {
    MemoryTarget t(20, 10);
    line(t, 2, 3, 9, 3, 1, RGB(255, 0, 0));
    for (int x = 2; x < 9; ++x) EXPECT_EQ(t.at(x, 3), RED) << "x=" << x;
    EXPECT_EQ(t.at(9, 3), BACKGROUND);
    EXPECT_EQ(t.at(1, 3), BACKGROUND);
    EXPECT_EQ(t.count(RED), 7);
}

TEST_F(GdiLines, WidthZeroDrawsLikeWidthOne) {
    MemoryTarget a(30, 30), b(30, 30);
    line(a, 3, 4, 25, 17, 0, RGB(0, 0, 255));
    line(b, 3, 4, 25, 17, 1, RGB(0, 0, 255));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) ASSERT_EQ(a.at(x, y), b.at(x, y)) << x << "," << y;
    EXPECT_EQ(a.count(BLUE), 22);  // one pixel per column, the last left out
}

TEST_F(GdiLines, VerticalDiagonalAndBackwardLines) {
    MemoryTarget t(20, 20);
    line(t, 5, 15, 5, 2, 1, RGB(0, 255, 0));  // upward: starts at 15, stops before 2
    EXPECT_EQ(t.at(5, 15), GREEN);
    EXPECT_EQ(t.at(5, 3), GREEN);
    EXPECT_EQ(t.at(5, 2), BACKGROUND);
    EXPECT_EQ(t.count(GREEN), 13);

    t.fill(BACKGROUND);
    line(t, 10, 10, 4, 4, 1, RGB(0, 255, 0));  // the diagonal, right to left
    for (int i = 0; i < 6; ++i) EXPECT_EQ(t.at(10 - i, 10 - i), GREEN) << i;
    EXPECT_EQ(t.at(4, 4), BACKGROUND);
    EXPECT_EQ(t.count(GREEN), 6);
}

TEST_F(GdiLines, ShallowLineStepsOnePixelPerColumnWithoutGaps) {
    MemoryTarget t(40, 20);
    line(t, 1, 2, 31, 12, 1, RGB(255, 0, 0));
    int previousY = -1;
    for (int x = 1; x < 31; ++x) {
        int found = -1, hits = 0;
        for (int y = 0; y < 20; ++y)
            if (t.at(x, y) == RED) found = y, ++hits;
        ASSERT_EQ(hits, 1) << "column " << x << t.picture(0, 0, 40, 20);
        if (previousY >= 0) {
            EXPECT_LE(found - previousY, 1);
        }
        EXPECT_LE(std::abs(found - (2 + (x - 1) / 3.0)), 0.5 + 1e-9);  // within half a pixel of the true line
        previousY = found;
    }
}

TEST_F(GdiLines, OddWidthCoversTheBandSymmetricallyWithRoundEnds) {
    MemoryTarget t(40, 30);
    line(t, 10, 15, 30, 15, 5, RGB(0, 255, 255));
    // The band: rows 13..17 between the end points, symmetric about row 15.
    for (int x = 10; x <= 30; ++x)
        for (int y = 13; y <= 17; ++y) EXPECT_EQ(t.at(x, y), CYAN) << x << "," << y << t.picture(5, 10, 36, 21);
    for (int x = 10; x <= 30; ++x) {
        EXPECT_EQ(t.at(x, 12), BACKGROUND) << x;
        EXPECT_EQ(t.at(x, 18), BACKGROUND) << x;
    }
    // Round caps reach 2 pixels past each end point on the axis, but not into the corners.
    EXPECT_EQ(t.at(8, 15), CYAN);
    EXPECT_EQ(t.at(32, 15), CYAN);
    EXPECT_EQ(t.at(7, 15), BACKGROUND);
    EXPECT_EQ(t.at(33, 15), BACKGROUND);
    EXPECT_EQ(t.at(8, 13), BACKGROUND);
    EXPECT_EQ(t.at(32, 17), BACKGROUND);
    EXPECT_EQ(t.at(9, 14), CYAN);
}

TEST_F(GdiLines, WideDiagonalCoversPixelsWithinHalfTheWidth) {
    MemoryTarget t(50, 50);
    const int width = 7;
    line(t, 10, 12, 38, 30, width, RGB(255, 0, 0));
    // Reference: distance from each pixel to the segment (odd width: no half-pixel shift).
    auto distance = [](double px, double py) {
        const double ax = 10, ay = 12, bx = 38, by = 30;
        const double dx = bx - ax, dy = by - ay;
        double u = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
        u = u < 0 ? 0 : u > 1 ? 1 : u;
        const double ex = px - (ax + u * dx), ey = py - (ay + u * dy);
        return std::sqrt(ex * ex + ey * ey);
    };
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 50; ++x) {
            const double d = distance(x, y);
            if (d < width / 2.0 - 0.01) {
                EXPECT_EQ(t.at(x, y), RED) << x << "," << y;
            } else if (d > width / 2.0 + 0.01) {
                EXPECT_EQ(t.at(x, y), BACKGROUND) << x << "," << y;
            }
        }
    }
}

TEST_F(GdiLines, EvenWidthCoversExactlyThatManyRowsAndColumns) {
    for (int width : {2, 4, 6}) {
        MemoryTarget t(40, 40);
        line(t, 10, 20, 30, 20, width, RGB(0, 0, 255));
        int rows = 0;
        for (int y = 0; y < 40; ++y) rows += t.at(20, y) == BLUE;
        EXPECT_EQ(rows, width) << "horizontal, width " << width;

        t.fill(BACKGROUND);
        line(t, 20, 5, 20, 30, width, RGB(0, 0, 255));
        int columns = 0;
        for (int x = 0; x < 40; ++x) columns += t.at(x, 15) == BLUE;
        EXPECT_EQ(columns, width) << "vertical, width " << width;
    }
}

TEST_F(GdiLines, PointLengthWideLineIsADot) {
    MemoryTarget t(20, 20);
    line(t, 10, 10, 10, 10, 7, RGB(255, 0, 0));  // a newborn firework
    EXPECT_EQ(t.at(10, 10), RED);
    EXPECT_EQ(t.at(7, 10), RED);
    EXPECT_EQ(t.at(13, 10), RED);
    EXPECT_EQ(t.at(10, 6), BACKGROUND);
    EXPECT_EQ(t.at(7, 7), BACKGROUND);
    EXPECT_EQ(t.count(RED), 37);  // the disc of radius 3.5

    t.fill(BACKGROUND);
    line(t, 10, 10, 10, 10, 1, RGB(255, 0, 0));  // a one-pixel line to its own start: nothing
    EXPECT_EQ(t.count(RED), 0);
}

TEST_F(GdiLines, LineToMovesTheCurrentPosition) {
    MemoryTarget t(20, 20);
    POINT previous{};
    EXPECT_TRUE(MoveToEx(t.dc(), 3, 4, &previous));
    EXPECT_EQ(previous.x, 0);
    EXPECT_EQ(previous.y, 0);
    EXPECT_TRUE(LineTo(t.dc(), 8, 4));
    EXPECT_TRUE(LineTo(t.dc(), 8, 9));  // continues from (8, 4)
    EXPECT_TRUE(MoveToEx(t.dc(), 0, 0, &previous));
    EXPECT_EQ(previous.x, 8);
    EXPECT_EQ(previous.y, 9);
    EXPECT_EQ(t.at(8, 4), BLACK);  // the default pen is black
    EXPECT_EQ(t.at(8, 8), BLACK);
    EXPECT_EQ(t.at(8, 9), BACKGROUND);
}

TEST_F(GdiLines, PolylineOpenAndClosed) {
    MemoryTarget t(20, 20);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
    SelectObject(t.dc(), pen);
    const POINT open[] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}};
    EXPECT_TRUE(Polyline(t.dc(), open, 4));
    EXPECT_EQ(t.at(12, 2), GREEN);   // an inner vertex is drawn by the next segment
    EXPECT_EQ(t.at(2, 12), BACKGROUND);  // the last point is left out
    EXPECT_EQ(t.at(2, 7), BACKGROUND);   // not closed
    EXPECT_EQ(t.count(GREEN), 30);

    t.fill(BACKGROUND);
    const POINT closed[] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}, {2, 2}};
    EXPECT_TRUE(Polyline(t.dc(), closed, 5));
    EXPECT_EQ(t.count(GREEN), 40);  // the whole square outline, every corner once
    EXPECT_EQ(t.at(2, 2), GREEN);
    EXPECT_EQ(t.at(2, 7), GREEN);
    EXPECT_EQ(t.at(7, 7), BACKGROUND);
}

TEST_F(GdiLines, WidePolylineJoinsAreRound) {
    MemoryTarget t(40, 40);
    HPEN pen = CreatePen(PS_SOLID, 5, RGB(255, 0, 0));
    SelectObject(t.dc(), pen);
    const POINT corner[] = {{5, 10}, {25, 10}, {25, 30}};
    EXPECT_TRUE(Polyline(t.dc(), corner, 3));
    EXPECT_EQ(t.at(27, 8), BACKGROUND);  // outside the rounded corner (distance 2.83 > 2.5 only in the corner)
    EXPECT_EQ(t.at(26, 9), RED);
    EXPECT_EQ(t.at(27, 10), RED);
    EXPECT_EQ(t.at(25, 8), RED);
}

TEST_F(GdiLines, ClippedLinesMatchTheUnclippedPicture) {
    // A line drawn into a small target equals the same line in a large target
    // seen through the small one's window, at every edge and in every direction.
    const int size = 24, offset = 30;
    const int ends[][4] = {{-20, 5, 40, 17},  {40, 3, -15, 20},   {5, -30, 18, 50},   {20, 45, 2, -12},
                           {-10, -10, 35, 35}, {35, -8, -9, 30},  {-100, 11, 200, 12}, {13, -70, 11, 90}};
    for (int width : {1, 2, 5}) {
        for (const auto& e : ends) {
            MemoryTarget big(size + 2 * offset, size + 2 * offset), small(size, size);
            line(big, e[0] + offset, e[1] + offset, e[2] + offset, e[3] + offset, width, RGB(0, 0, 255));
            line(small, e[0], e[1], e[2], e[3], width, RGB(0, 0, 255));
            ASSERT_TRUE(small.guardsIntact());
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    ASSERT_EQ(small.at(x, y), big.at(x + offset, y + offset))
                        << "width " << width << " line " << e[0] << "," << e[1] << " - " << e[2] << "," << e[3]
                        << " at " << x << "," << y;
        }
    }
}

TEST_F(GdiLines, LinesAtEveryEdgeStayInsideTheTarget) {
    MemoryTarget t(17, 13, 24);  // odd sizes and a wide pitch: the padding is guarded too
    for (int width : {1, 3, 8}) {
        line(t, -5, 0, 30, 0, width, RGB(255, 0, 0));
        line(t, -5, 12, 30, 12, width, RGB(255, 0, 0));
        line(t, 0, -5, 0, 30, width, RGB(255, 0, 0));
        line(t, 16, -5, 16, 30, width, RGB(255, 0, 0));
        line(t, 16, 12, 200, 200, width, RGB(255, 0, 0));
        line(t, -50, -50, 0, 0, width, RGB(255, 0, 0));
    }
    EXPECT_TRUE(t.guardsIntact());
    EXPECT_EQ(t.at(0, 0), RED);
    EXPECT_EQ(t.at(16, 12), RED);
}

TEST_F(GdiLines, HostileCoordinatesAndWidthsNeverCrash) {
    MemoryTarget t(32, 32);
    EXPECT_TRUE(MoveToEx(t.dc(), INT_MIN, INT_MIN, nullptr));
    EXPECT_FALSE(LineTo(t.dc(), INT_MAX, INT_MAX));  // refused: beyond the coordinate space
    const POINT far[] = {{0, 0}, {INT_MAX, 3}};
    EXPECT_FALSE(Polyline(t.dc(), far, 2));
    EXPECT_EQ(t.count(BLACK), 0);
    line(t, -(1 << 27), 5, 1 << 27, 6, 1, RGB(255, 0, 0));  // at the limit: drawn and clipped
    EXPECT_GT(t.count(RED), 0);
    line(t, -(1 << 27), -(1 << 27), 1 << 27, 1 << 27, 9, RGB(0, 255, 0));
    EXPECT_EQ(t.at(16, 16), GREEN);
    line(t, 16, 16, 20, 20, INT_MAX, RGB(0, 0, 255));  // a pen wider than everything
    EXPECT_EQ(t.count(BLUE), 32 * 32);
    line(t, 0, 0, 10, 10, INT_MIN, RGB(255, 0, 0));  // negative widths count by their size
    EXPECT_TRUE(t.guardsIntact());

    EXPECT_FALSE(LineTo(nullptr, 1, 1));
    EXPECT_FALSE(MoveToEx(nullptr, 1, 1, nullptr));
    EXPECT_FALSE(LineTo(reinterpret_cast<HDC>(0x1234), 1, 1));
    EXPECT_FALSE(Polyline(t.dc(), nullptr, 5));
    const POINT two[] = {{0, 0}, {5, 5}};
    EXPECT_FALSE(Polyline(t.dc(), two, -3));
    EXPECT_FALSE(Polyline(t.dc(), two, 1));
    EXPECT_TRUE(t.guardsIntact());
}

}  // namespace

// Each row of a wide line is found from the row before; the pixels must be
// exactly those a search of every row across the line's whole reach finds.
TEST(WideLineSearch, FollowingRowsFindsTheSamePixelsAsSearchingEveryRow) {
    constexpr int W = 96, H = 80;
    std::vector<uint8_t> followed(W * H), searched(W * H);
    qmp::gdi::Raster followedRaster{followed.data(), W, W, H};
    qmp::gdi::Raster searchedRaster{searched.data(), W, W, H};
    uint32_t state = 12345;
    auto next = [&](int range) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % static_cast<uint32_t>(range));
    };
    for (int i = 0; i < 20000; ++i) {
        // Mostly short segments as the fireworks draw them, some long, some off the target.
        int x0 = next(W + 40) - 20, y0 = next(H + 40) - 20;
        int reach = i % 10 == 0 ? 90 : 24;
        int x1 = x0 + next(2 * reach + 1) - reach, y1 = y0 + next(2 * reach + 1) - reach;
        if (i % 7 == 0) y1 = y0 + next(3) - 1;  // nearly horizontal
        if (i % 11 == 0) x1 = x0 + next(3) - 1;  // nearly vertical
        int width = 2 + next(11);
        std::fill(followed.begin(), followed.end(), 0);
        std::fill(searched.begin(), searched.end(), 0);
        qmp::gdi::wideLine(followedRaster, x0, y0, x1, y1, width, 1);
        qmp::gdi::wideLineRowByRow(searchedRaster, x0, y0, x1, y1, width, 1);
        ASSERT_EQ(followed, searched) << "(" << x0 << "," << y0 << ")-(" << x1 << "," << y1 << ") width " << width;
    }
}

// Short lines keep their rows by shape; drawn again anywhere, and cut by any
// edge of the target, a shape must cover exactly what a fresh search finds.
// Shapes just past the kept sizes take the searching path and must agree too.
TEST(WideLineSearch, ShortLinesDrawnAgainAnywhereMatchAFreshSearch) {
    constexpr int W = 40, H = 30;
    std::vector<uint8_t> drawn(W * H), searched(W * H);
    qmp::gdi::Raster drawnRaster{drawn.data(), W, W, H};
    qmp::gdi::Raster searchedRaster{searched.data(), W, W, H};
    const struct {
        int dx, dy, width;
    } shapes[] = {{3, 1, 2}, {-5, 4, 7}, {0, 0, 6}, {1, -9, 3}, {32, -32, 16}, {-33, 2, 5}, {4, 4, 17}};
    for (const auto& shape : shapes) {
        for (int y0 = -20; y0 < H + 20; y0 += 3) {
            for (int x0 = -25; x0 < W + 25; x0 += 2) {
                std::fill(drawn.begin(), drawn.end(), 0);
                std::fill(searched.begin(), searched.end(), 0);
                qmp::gdi::wideLine(drawnRaster, x0, y0, x0 + shape.dx, y0 + shape.dy, shape.width, 1);
                qmp::gdi::wideLineRowByRow(searchedRaster, x0, y0, x0 + shape.dx, y0 + shape.dy, shape.width, 1);
                ASSERT_EQ(drawn, searched) << "(" << x0 << "," << y0 << ") + (" << shape.dx << "," << shape.dy
                                           << ") width " << shape.width;
            }
        }
    }
}
