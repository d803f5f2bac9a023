// Polygons and ellipses: even-odd fills sampled at pixel centres, outlines with
// the selected (or default) pen, discs inside their box, clipping.
#include <windows.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/gdi/memory_target.h"
#include "support/host.h"

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

// The outline is the pixels nearest the ellipse through the box's outermost
// pixel centres; a wider pen is a closed wide line through them. The pictures
// are what Windows draws (as Wine gives it), the box's corner at '+' offset (1, 1).
TEST_F(GdiShapes, EllipsesAsWindowsDrawsThem) {
    const struct {
        int width, height, pen;
        COLORREF penColour, brushColour;
        std::vector<const char*> rows;  // from one pixel above and left of the box
    } cases[] = {
        // fillCircle of the minimap (radius 1) and of the palette strip (radius 2): one pixel further up and left
        {2, 2, 2, RGB(255, 0, 0), RGB(255, 0, 0), {"RRR.", "RRR.", "RRR.", "...."}},
        {4, 4, 2, RGB(255, 0, 0), RGB(255, 0, 0), {".RRR..", "RRRRR.", "RRRRR.", "RRRRR.", "RRRRR.", "......"}},
        {6, 6, 2, RGB(0, 0, 0), RGB(0, 255, 255),
         {"..KKK...", ".KKKKK..", "KKKKKKK.", "KKKCKKK.", "KKKCKKK.", "KKKKKKK.", ".KKKKK..", "........"}},
        {9, 9, 1, RGB(0, 0, 0), RGB(0, 255, 255),
         {"...........", "....KKK....", "..KKCCCKK..", "..KCCCCCK..", ".KCCCCCCCK.", ".KCCCCCCCK.", ".KCCCCCCCK.",
          "..KCCCCCK..", "..KKCCCKK..", "....KKK....", "..........."}},
        // a 3-pixel pen: the wide line's own rounding shows (Windows' even asymmetry included)
        {10, 6, 3, RGB(0, 0, 0), COLORREF(-1),
         {"...KKKKKKKK..", ".KKKKKKKKKKK.", "KKKKKKKKKKK..", "KKKKK...KKKK.", "KKKKK...KKKK.", "KKKKKKKKKKK..",
          ".KKKKKKKKKKK.", "...KKKKKKKK..", "............."}},
    };
    for (const auto& c : cases) {
        MemoryTarget t(32, 32);
        HBRUSH brush = c.brushColour == COLORREF(-1) ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                                                      : CreateSolidBrush(c.brushColour);
        HPEN pen = CreatePen(PS_SOLID, c.pen, c.penColour);
        SelectObject(t.dc(), brush);
        SelectObject(t.dc(), pen);
        EXPECT_TRUE(Ellipse(t.dc(), 9, 9, 9 + c.width, 9 + c.height));
        const int w = static_cast<int>(std::string(c.rows[0]).size()), h = static_cast<int>(c.rows.size());
        std::string want = "\n";
        for (const char* row : c.rows) want += std::string(row) + "\n";
        EXPECT_EQ(t.picture(8, 8, 8 + w, 8 + h), want) << c.width << " x " << c.height << ", pen " << c.pen;
        EXPECT_EQ(t.count(BACKGROUND) + t.count(BLACK) + t.count(RED) + t.count(CYAN), 32 * 32);
        DeleteObject(pen);
        if (c.brushColour != COLORREF(-1)) DeleteObject(brush);
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
    // The platform's own guard (GDI's 27-bit coordinate space, refused beyond); Wine crashes on some of these.
    SKIP_UNLESS_ON_THE_PLATFORM("its limits on hostile coordinates");
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
