// Polygons and ellipses: even-odd fills sampled at pixel centres, outlines with
// the selected (or default) pen, discs inside their box, clipping.
#include <windows.h>

#include <climits>

#include "platform/gdi/memory_target.h"

using namespace gdi_test;

namespace {

class GdiShapes : public GdiTest {
protected:
    // Selects a new brush and pen (width < 0: the null pen) of the given colours.
    void use(MemoryTarget& t, COLORREF brush, int penWidth, COLORREF pen) {
        brush_ = CreateSolidBrush(brush);
        pen_ = penWidth < 0 ? CreatePen(PS_NULL, 0, 0) : CreatePen(PS_SOLID, penWidth, pen);
        SelectObject(t.dc(), brush_);
        SelectObject(t.dc(), pen_);
    }
    HBRUSH brush_ = nullptr;
    HPEN pen_ = nullptr;
};

bool mirrorSymmetric(const MemoryTarget& t, int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (t.at(x, y) != t.at(left + right - 1 - x, y) || t.at(x, y) != t.at(x, top + bottom - 1 - y)) return false;
    return true;
}

TEST_F(GdiShapes, PolygonFillCoversPixelCentresInsideAndThePenTheEdges) {
    MemoryTarget t(20, 20);
    use(t, RGB(255, 0, 0), -1, 0);
    const POINT box[] = {{2, 2}, {12, 2}, {12, 8}, {2, 8}};
    EXPECT_TRUE(Polygon(t.dc(), box, 4));
    EXPECT_EQ(t.count(RED), 60);  // x 2..11, y 2..7: the right and bottom edges are outside
    EXPECT_EQ(t.at(2, 2), RED);
    EXPECT_EQ(t.at(12, 5), BACKGROUND);
    EXPECT_EQ(t.at(5, 8), BACKGROUND);

    t.fill(BACKGROUND);
    SelectObject(t.dc(), GetStockObject(BLACK_PEN));
    EXPECT_TRUE(Polygon(t.dc(), box, 4));
    EXPECT_EQ(t.count(BLACK), 32);  // the closed outline through the vertices
    EXPECT_EQ(t.count(RED), 45);    // what the outline leaves of the fill
    EXPECT_EQ(t.at(12, 8), BLACK);
}

TEST_F(GdiShapes, TriangleEdgeThroughPixelCentresKeepsTheTopLeftRule) {
    MemoryTarget t(20, 20);
    use(t, RGB(0, 0, 255), -1, 0);
    const POINT triangle[] = {{0, 0}, {10, 0}, {0, 10}};
    EXPECT_TRUE(Polygon(t.dc(), triangle, 3));
    EXPECT_EQ(t.count(BLUE), 55) << t.picture(0, 0, 12, 12);  // px + py < 10: the slanted edge is a right edge
    EXPECT_EQ(t.at(9, 0), BLUE);
    EXPECT_EQ(t.at(10, 0), BACKGROUND);
    EXPECT_EQ(t.at(0, 9), BLUE);
    EXPECT_EQ(t.at(5, 4), BLUE);
    EXPECT_EQ(t.at(5, 5), BACKGROUND);

    // Mirrored, the slanted edge is a left edge and its centres are inside.
    t.fill(BACKGROUND);
    const POINT mirrored[] = {{10, 0}, {10, 10}, {0, 0}};
    EXPECT_TRUE(Polygon(t.dc(), mirrored, 3));
    EXPECT_EQ(t.count(BLUE), 55) << t.picture(0, 0, 12, 12);  // px >= py, px < 10
    EXPECT_EQ(t.at(5, 5), BLUE);
    EXPECT_EQ(t.at(4, 5), BACKGROUND);
}

TEST_F(GdiShapes, StarInAlternateModeLeavesItsCentreUnfilledAndIsOutlinedWithTheDefaultPen) {
    MemoryTarget t(40, 40);
    HBRUSH brush = CreateSolidBrush(RGB(0, 255, 255));
    SelectObject(t.dc(), brush);  // the brush only, as the demo's filled polygon does
    const POINT star[] = {{20, 5}, {29, 32}, {6, 15}, {34, 15}, {11, 32}};
    EXPECT_TRUE(Polygon(t.dc(), star, 5));
    EXPECT_EQ(t.at(20, 20), BACKGROUND) << t.picture(0, 0, 40, 40);  // inside the pentagon: crossed twice
    EXPECT_EQ(t.at(20, 10), CYAN);  // the top point
    EXPECT_EQ(t.at(10, 16), CYAN);  // the left point
    // No fill pixel lies outside the outline: left of the top point's edges, nothing.
    for (int y = 6; y < 15; ++y) EXPECT_EQ(t.at(18, y) == CYAN && t.at(19, y) == BLACK, false) << "row " << y;
    EXPECT_EQ(t.at(27, 29), CYAN) << t.picture(0, 0, 40, 40);  // the lower right point
    for (const POINT& p : star) EXPECT_EQ(t.at(p.x, p.y), BLACK) << p.x << "," << p.y;
    EXPECT_EQ(t.at(20, 15), BLACK);  // on the horizontal edge
    EXPECT_GT(t.count(BLACK), 100);
}

TEST_F(GdiShapes, DiscStaysInsideItsBoxWithTheTwoPixelPen) {
    // fillCircle(10, 20, 3): the box (7, 17, 13, 23), fill and 2-pixel outline.
    MemoryTarget t(30, 30);
    use(t, RGB(0, 0, 255), 2, RGB(255, 0, 0));
    EXPECT_TRUE(Ellipse(t.dc(), 7, 17, 13, 23));
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(t.at(13, i), BACKGROUND) << "x=13, y=" << i;
        EXPECT_EQ(t.at(i, 23), BACKGROUND) << "y=23, x=" << i;
        EXPECT_EQ(t.at(6, i), BACKGROUND);
        EXPECT_EQ(t.at(i, 16), BACKGROUND);
    }
    EXPECT_EQ(t.count(RED) + t.count(BLUE), 32) << t.picture(5, 15, 15, 25);
    EXPECT_EQ(t.count(BLUE), 4);  // the centre, inside the 2-pixel ring
    EXPECT_EQ(t.at(9, 19), BLUE);
    EXPECT_EQ(t.at(7, 18), RED);
    EXPECT_EQ(t.at(7, 17), BACKGROUND);  // the box's corners are outside the disc
    EXPECT_TRUE(mirrorSymmetric(t, 7, 17, 13, 23));
}

TEST_F(GdiShapes, SmallDiscsOfTheMinimapAndPaletteDots) {
    MemoryTarget t(20, 20);
    use(t, RGB(0, 255, 0), 2, RGB(0, 255, 0));
    EXPECT_TRUE(Ellipse(t.dc(), 9, 9, 11, 11));  // radius 1: a 2 x 2 dot
    EXPECT_EQ(t.count(GREEN), 4);
    t.fill(BACKGROUND);
    EXPECT_TRUE(Ellipse(t.dc(), 8, 8, 12, 12));  // radius 2: 4 x 4 without its corners
    EXPECT_EQ(t.count(GREEN), 12);
    EXPECT_EQ(t.at(8, 8), BACKGROUND);
}

TEST_F(GdiShapes, LargeDiscRingsAreSymmetricAndAsWideAsThePen) {
    for (int width : {1, 2, 3}) {
        MemoryTarget t(40, 40);
        use(t, RGB(255, 255, 255), width, RGB(0, 0, 0));
        EXPECT_TRUE(Ellipse(t.dc(), 4, 6, 36, 30));
        EXPECT_TRUE(mirrorSymmetric(t, 4, 6, 36, 30)) << t.picture(0, 0, 40, 40);
        int ring = 0;
        for (int x = 0; x < 40; ++x) ring += t.at(x, 18) == BLACK;  // the middle row crosses the ring twice
        EXPECT_EQ(ring, 2 * width) << "width " << width << t.picture(0, 0, 40, 40);
        EXPECT_EQ(t.at(20, 18), WHITE);
        for (int x = 4; x < 36; ++x) EXPECT_EQ(t.at(x, 6) == BACKGROUND || t.at(x, 6) == BLACK, true);
    }
}

TEST_F(GdiShapes, NullBrushAndNullPen) {
    MemoryTarget t(20, 20);
    SelectObject(t.dc(), GetStockObject(NULL_BRUSH));
    EXPECT_TRUE(Ellipse(t.dc(), 2, 2, 18, 18));
    EXPECT_EQ(t.at(10, 10), BACKGROUND);
    EXPECT_EQ(t.at(2, 9), BLACK);  // the default pen's outline
    EXPECT_EQ(t.count(WHITE), 0);

    t.fill(BACKGROUND);
    SelectObject(t.dc(), GetStockObject(WHITE_BRUSH));
    SelectObject(t.dc(), GetStockObject(NULL_PEN));
    const POINT box[] = {{2, 2}, {6, 2}, {6, 6}, {2, 6}};
    EXPECT_TRUE(Polygon(t.dc(), box, 4));
    EXPECT_EQ(t.count(WHITE), 16);
    EXPECT_EQ(t.count(BLACK), 0);
}

TEST_F(GdiShapes, ReversedBoxIsTheSameEllipseAndAnEmptyBoxDrawsNothing) {
    MemoryTarget a(30, 30), b(30, 30);
    EXPECT_TRUE(Ellipse(a.dc(), 3, 4, 21, 17));
    EXPECT_TRUE(Ellipse(b.dc(), 21, 17, 3, 4));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) ASSERT_EQ(a.at(x, y), b.at(x, y));
    a.fill(BACKGROUND);
    EXPECT_TRUE(Ellipse(a.dc(), 5, 5, 5, 20));
    EXPECT_EQ(a.count(BACKGROUND), 900);
}

TEST_F(GdiShapes, ShapesClipAtEveryEdge) {
    MemoryTarget t(21, 15, 28);
    use(t, RGB(0, 0, 255), 3, RGB(255, 0, 0));
    EXPECT_TRUE(Ellipse(t.dc(), -10, -10, 31, 25));
    EXPECT_TRUE(Ellipse(t.dc(), 15, 10, 40, 40));
    EXPECT_TRUE(Ellipse(t.dc(), -30, -30, 3, 3));
    const POINT big[] = {{-50, 7}, {10, -60}, {70, 7}, {10, 80}};
    EXPECT_TRUE(Polygon(t.dc(), big, 4));
    EXPECT_TRUE(t.guardsIntact());
    EXPECT_EQ(t.count(BLUE), 21 * 15);  // the diamond covers the whole target
}

TEST_F(GdiShapes, HostileShapeArgumentsAreRefused) {
    MemoryTarget t(16, 16);
    const POINT triangle[] = {{0, 0}, {10, 0}, {0, 10}};
    EXPECT_FALSE(Polygon(nullptr, triangle, 3));
    EXPECT_FALSE(Polygon(t.dc(), nullptr, 3));
    EXPECT_FALSE(Polygon(t.dc(), triangle, -1));
    EXPECT_FALSE(Polygon(t.dc(), triangle, 0));
    EXPECT_FALSE(Polygon(t.dc(), triangle, 1));
    const POINT huge[] = {{INT_MIN, 0}, {INT_MAX, INT_MAX}, {0, INT_MIN}};
    EXPECT_FALSE(Polygon(t.dc(), huge, 3));
    EXPECT_FALSE(Ellipse(t.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    EXPECT_FALSE(Ellipse(reinterpret_cast<HDC>(-1), 0, 0, 5, 5));
    EXPECT_EQ(t.count(BACKGROUND), 256);

    // At the edge of the coordinate space the shapes are drawn, clipped.
    const int limit = 1 << 27;
    EXPECT_TRUE(Ellipse(t.dc(), -limit, -limit, limit, limit));
    EXPECT_EQ(t.count(WHITE), 256);
    const POINT sliver[] = {{-limit, 3}, {limit, 4}, {limit, 5}, {-limit, 5}};
    EXPECT_TRUE(Polygon(t.dc(), sliver, 4));
    EXPECT_TRUE(t.guardsIntact());
}

}  // namespace
