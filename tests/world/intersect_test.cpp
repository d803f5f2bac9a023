// The meeting point of a moving segment with a wall segment: crossings, touching
// end points in their order of preference, and the slopes handed back.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <utility>

#include "world/cave.h"
#include "world/wide_int.h"

namespace {

using Point = std::pair<int32_t, int32_t>;

std::optional<Point> meet(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e, int32_t f, int32_t g, int32_t h) {
    float slope1 = 0, slope2 = 0;
    int32_t x = -777, y = -777;
    if (!intersectSegments({a, b}, {c, d}, {e, f}, {g, h}, slope1, slope2, x, y)) {
        EXPECT_EQ(x, -777) << "the point is written only on success";
        return std::nullopt;
    }
    return Point{x, y};
}

TEST(IntersectSegments, CrossingAVerticalWallUsesTheMovingSlopeInSinglePrecision) {
    EXPECT_EQ(meet(1200, 500, 1300, 540, 1279, 401, 1279, 799), Point(1279, 531));
    // 2/3 in single precision: (10 - 0) x 0.6666667 truncates to 6.
    EXPECT_EQ(meet(0, 0, 30, 20, 10, -50, 10, 50), Point(10, 6));
}

TEST(IntersectSegments, CrossingAHorizontalWallTruncatesXThenDerivesY) {
    EXPECT_EQ(meet(700, 700, 760, 900, 1, 799, 1279, 799), Point(729, 796));
}

TEST(IntersectSegments, VerticalMovingSegmentMeetsAHorizontalWall) {
    EXPECT_EQ(meet(5, 0, 5, 10, 0, 3, 10, 3), Point(5, 3));
    EXPECT_EQ(meet(5, 10, 5, 0, 0, 3, 10, 3), Point(5, 3));
    EXPECT_EQ(meet(5, 0, 5, 2, 0, 3, 10, 3), std::nullopt);  // stops short
}

TEST(IntersectSegments, SegmentsThatMissOrRunParallelDoNotMeet) {
    EXPECT_EQ(meet(0, 0, 4, 2, 10, -5, 10, 20), std::nullopt);  // stops short of the wall
    EXPECT_EQ(meet(0, 0, 10, 0, 0, 5, 10, 5), std::nullopt);
    EXPECT_EQ(meet(0, 0, 0, 10, 5, 0, 5, 10), std::nullopt);
    EXPECT_EQ(meet(0, 0, 10, 10, 20, 0, 20, 5), std::nullopt);  // wall wholly below the line
}

TEST(IntersectSegments, MovingEndPointsOnTheWallComeFirstStartBeforeEnd) {
    // Ending exactly on a vertical wall gives the moving segment's end.
    EXPECT_EQ(meet(0, 0, 10, 5, 10, -5, 10, 20), Point(10, 5));
    // Starting on it gives the start.
    EXPECT_EQ(meet(10, 5, 20, 10, 10, -5, 10, 20), Point(10, 5));
    // The same on a horizontal wall.
    EXPECT_EQ(meet(0, 0, 6, 3, -10, 3, 10, 3), Point(6, 3));
    EXPECT_EQ(meet(6, 3, 0, 0, -10, 3, 10, 3), Point(6, 3));
    // And for a vertical moving segment.
    EXPECT_EQ(meet(5, 0, 5, 3, 0, 3, 10, 3), Point(5, 3));
    EXPECT_EQ(meet(5, 3, 5, 9, 0, 3, 10, 3), Point(5, 3));
}

TEST(IntersectSegments, WallEndPointOnTheMovingLineWithinItsRange) {
    EXPECT_EQ(meet(0, 0, 10, 10, 5, 5, 5, 20), Point(5, 5));  // first end
    EXPECT_EQ(meet(0, 0, 10, 10, 5, 20, 5, 5), Point(5, 5));  // second end
    EXPECT_EQ(meet(0, 0, 4, 4, 5, 5, 5, 20), std::nullopt);   // beyond the moving end
    // Vertical moving segment: within its y range, or not.
    EXPECT_EQ(meet(5, 0, 5, 10, 5, 4, 9, 8), Point(5, 4));
    EXPECT_EQ(meet(5, 0, 5, 10, 9, 8, 5, 4), Point(5, 4));
    EXPECT_EQ(meet(5, 0, 5, 10, 5, 12, 9, 16), std::nullopt);
}

TEST(IntersectSegments, CollinearSegmentsMeetOnlyAtTheWallsFirstEnd) {
    EXPECT_EQ(meet(0, 0, 10, 0, 2, 0, 8, 0), Point(2, 0));
    // The first end on the line but out of range decides: the second is not tried.
    EXPECT_EQ(meet(0, 0, 10, 0, 20, 0, 8, 0), std::nullopt);
    EXPECT_EQ(meet(0, 0, 0, 10, 0, 2, 0, 8), Point(0, 2));
    EXPECT_EQ(meet(0, 0, 0, 10, 0, 12, 0, 14), std::nullopt);
}

TEST(IntersectSegments, SlopesAreHandedBackOnlyWhenComputed) {
    float slope1 = 0, slope2 = 0;
    int32_t x, y;
    // Moving line not vertical, wall vertical: only the first slope.
    ASSERT_TRUE(intersectSegments({0, 0}, {10, 5}, {6, -5}, {6, 20}, slope1, slope2, x, y));
    EXPECT_FLOAT_EQ(slope1, 0.5f);
    EXPECT_EQ(slope2, NO_SLOPE);
    // Vertical moving segment across a sloped wall: only the second, from which
    // the meeting point is derived.
    ASSERT_TRUE(intersectSegments({5, -10}, {5, 10}, {0, 0}, {10, 4}, slope1, slope2, x, y));
    EXPECT_EQ(slope1, NO_SLOPE);
    EXPECT_FLOAT_EQ(slope2, 0.4f);
    EXPECT_EQ(Point(x, y), Point(5, 2));
    // Nothing computed when the wall does not straddle the line.
    intersectSegments({0, 0}, {0, 10}, {5, 0}, {5, 10}, slope1, slope2, x, y);
    EXPECT_EQ(slope1, NO_SLOPE);
    EXPECT_EQ(slope2, NO_SLOPE);
}

TEST(IntersectSegments, TouchingEndPointsAndIntegralCrossingsComeBackExactly) {
    // The start lies on the sloped wall's line.
    EXPECT_EQ(meet(3, -1, -6, 3, 6, 3, 0, -5), Point(3, -1));
    // The moving segment starts at the wall's first end, nearly along the wall.
    EXPECT_EQ(meet(-964349, -634944, -576404, -591487, -964349, -634944, -576403, -591488), Point(-964349, -634944));
    // Crossings that fall exactly on whole units: x = 3320 + 275 x 598 / 325 = 3826
    // on a bottom wall, y = 14070 - 88 x 546 / 1848 = 14044 on a side wall.
    EXPECT_EQ(meet(3320, 8676, 3918, 8351, 1666, 8401, 5660, 8401), Point(3826, 8401));
    EXPECT_EQ(meet(2533, 14070, 4381, 13524, 2621, 14001, 2621, 14399), Point(2621, 14044));
    // A wall's end on the moving segment's start.
    EXPECT_EQ(meet(769, 1105, 740, 1111, 769, 1105, 769, 1195), Point(769, 1105));
}

TEST(IntersectSegments, SlopedSegmentsCross) {
    // y = x and y = 10 - x meet at (5, 5).
    EXPECT_EQ(meet(0, 0, 10, 10, 0, 10, 10, 0), Point(5, 5));
}

TEST(IntersectSegments, ExtremeCoordinatesDoNotOverflow) {
    EXPECT_TRUE(meet(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0, INT32_MIN, 0, INT32_MAX).has_value());
    meet(INT32_MIN, 0, INT32_MAX, 1, INT32_MIN, 1, INT32_MAX, 0);
    meet(0, INT32_MIN, 1, INT32_MAX, 0, INT32_MAX, 1, INT32_MIN);
}

TEST(WideInt, AgreesWithTheCompilersOwn128BitsOnTheMeetingTestsSums) {
    // Products of up to three 33-bit differences, their sums and quotients,
    // with signs mixed and magnitudes from 0 up.
    std::mt19937_64 random(7);
    auto pick = [&] {
        const int bits = static_cast<int>(random() % 34);
        const int64_t v = bits == 0 ? 0 : static_cast<int64_t>(random() >> (64 - bits));
        return random() % 2 ? v : -v;
    };
    auto same = [](WideInt w, __int128 v) {
        return w.sign() == (v > 0) - (v < 0) &&
               w.clampedToInt32() == static_cast<int32_t>(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
    };
    for (int i = 0; i < 20000; ++i) {
        const int64_t a = pick(), b = pick(), c = pick(), d = pick(), e = pick();
        const WideInt w = WideInt(a) * b * c - WideInt(d) * e;
        const __int128 v = __int128{a} * b * c - __int128{d} * e;
        ASSERT_TRUE(same(w, v)) << a << " " << b << " " << c << " " << d << " " << e;
        if (d != 0 && e != 0) {
            const __int128 q = v / (__int128{d} * e);
            ASSERT_TRUE(same(w / (WideInt(d) * e), q)) << a << " " << b << " " << c << " / " << d << " " << e;
            // The quotient itself, not only its clamp: multiplied back it leaves the remainder.
            ASSERT_TRUE(same(w - w / (WideInt(d) * e) * (WideInt(d) * e), v - q * (__int128{d} * e)));
        }
    }
}

}  // namespace
