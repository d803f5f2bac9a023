// CaveWorld's collision (cave.h): steps through the cave with collision against
// the walls of its rows: the segment meeting test, the step with reflection,
// and the view's moves.
#include "world/cave.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

int signOf(double v) { return (v > 0) - (v < 0); }
int signOf(int64_t v) { return (v > 0) - (v < 0); }

// Truncation toward zero, saturated: far-away input must not turn into
// undefined conversions.
int32_t saturate(int64_t v) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}
int64_t truncate(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int64_t>(std::clamp(v, -9.0e18, 9.0e18));
}

// Whether p lies within [from, to] (in either order), by the sum of distances.
bool within(int64_t p, int64_t from, int64_t to) { return std::llabs(p - from) + std::llabs(p - to) == std::llabs(from - to); }

}  // namespace

bool intersectSegments(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e, int32_t f, int32_t g, int32_t h,
                       float& slope1, float& slope2, int32_t& outX, int32_t& outY) {
    slope1 = NO_SLOPE;
    slope2 = NO_SLOPE;
    auto meet = [&](int64_t x, int64_t y) {
        outX = saturate(x);
        outY = saturate(y);
        return true;
    };
    // The wall's slope and the side of a point against the wall's line.
    float s2 = 0.0f;
    float k2 = 0.0f;
    auto wallLine = [&]() {
        s2 = static_cast<float>(static_cast<double>(int64_t{h} - f) / static_cast<double>(int64_t{g} - e));
        slope2 = s2;
        k2 = static_cast<float>(static_cast<double>(s2) * e - f);
    };
    auto side2 = [&](int32_t px, int32_t py) { return signOf(static_cast<double>(s2) * px - py - k2); };

    if (a != c) {
        const double s1 = static_cast<double>(int64_t{d} - b) / static_cast<double>(int64_t{c} - a);
        slope1 = static_cast<float>(s1);
        const float k1 = static_cast<float>(s1 * a - b);
        auto side1 = [&](int32_t px, int32_t py) { return signOf(s1 * px - py - k1); };
        const int wall0 = side1(e, f);
        const int wall1 = side1(g, h);

        if (wall0 * wall1 < 0) {
            if (e == g) {  // vertical wall
                const int sa = signOf(int64_t{a} - e);
                const int sc = signOf(int64_t{c} - e);
                if (sa * sc > 0) return false;
                if (sa == 0) return meet(a, b);
                if (sc == 0) return meet(c, d);
                return meet(e, b + truncate(static_cast<float>(int64_t{e} - a) * slope1));
            }
            wallLine();
            const int m0 = side2(a, b);
            const int m1 = side2(c, d);
            if (m0 * m1 > 0) return false;
            if (m0 == 0) return meet(a, b);
            if (m1 == 0) return meet(c, d);
            if (slope1 == s2) return false;  // parallel in single precision: no single point
            const int64_t x = truncate((static_cast<float>(a) * slope1 - s2 * static_cast<float>(e) -
                                        static_cast<float>(b) + static_cast<float>(f)) /
                                       (slope1 - s2));
            return meet(x, b + truncate(static_cast<float>(x - a) * slope1));
        }
        if (wall0 == 0) return within(e, a, c) && meet(e, f);
        if (wall1 == 0) return within(g, a, c) && meet(g, h);
        return false;
    }

    // Vertical moving segment: the side of a point is the sign of Px - a.
    const int wall0 = signOf(int64_t{e} - a);
    const int wall1 = signOf(int64_t{g} - a);
    if (wall0 * wall1 < 0) {
        wallLine();
        const int m0 = side2(a, b);
        const int m1 = side2(c, d);
        if (m0 * m1 > 0) return false;
        if (m0 == 0) return meet(a, b);
        if (m1 == 0) return meet(c, d);
        return meet(a, f + truncate(static_cast<float>(int64_t{a} - e) * slope2));
    }
    if (e == a) return within(f, b, d) && meet(e, f);
    if (g == a) return within(h, b, d) && meet(g, h);
    return false;
}

namespace {

// The four walls of one row, one unit inside its open area.
struct RowWalls {
    int32_t left, right, bottom, top;  // XL, XR, YB, YT
};

enum class Wall { Left, Right, Bottom, Top };

// debugId of a step that no wall stopped but that would have ended in rock.
constexpr int32_t STEP_REFUSED = 37;

// One step through the cave: (a, b) to (tx, ty), with the hit point and the
// outcome kept as the walls are tested.
class Step {
public:
    Step(const CaveWorld& cave, int32_t a, int32_t b, int32_t& tx, int32_t& ty, int32_t& hx, int32_t& hy)
        : cave_(cave), a_(a), b_(b), tx_(tx), ty_(ty), hx_(hx), hy_(hy) {}

    RowWalls walls(int row) const {
        const RowSpan span = cave_.rows[row];
        const int32_t cw = cave_.cellWidth();
        const int32_t ch = cave_.cellHeight();
        return {span.left * cw + 1, (span.right + 1) * cw - 1, row * ch + 1, (row + 1) * ch - 1};
    }

    // Tests the step against one wall of a row; a meeting point becomes the hit point.
    bool meets(int row, Wall wall) {
        const RowWalls w = walls(row);
        int32_t e, f, g, h;
        switch (wall) {
            case Wall::Left: e = w.left, f = w.bottom, g = w.left, h = w.top; break;
            case Wall::Right: e = w.right, f = w.bottom, g = w.right, h = w.top; break;
            case Wall::Bottom: e = w.left, f = w.bottom, g = w.right, h = w.bottom; break;
            case Wall::Top: default: e = w.left, f = w.top, g = w.right, h = w.top; break;
        }
        float slope1, slope2;
        return intersectSegments(a_, b_, tx_, ty_, e, f, g, h, slope1, slope2, hx_, hy_);
    }

    // A crossing of a top or bottom wall at hx passes when it lies strictly inside
    // the neighbouring row's opening shrunk by 3 units on each side.
    bool passes(int row, Wall wall) const {
        const int neighbour = wall == Wall::Top ? row + 1 : row - 1;
        if (neighbour < 0 || neighbour >= cave_.rowCount()) return false;
        const RowSpan span = cave_.rows[neighbour];
        // Held in 16 bits: exact for worlds up to 32764 units wide.
        const int16_t lo = static_cast<int16_t>(span.left * cave_.cellWidth() + 3);
        const int16_t hi = static_cast<int16_t>((span.right + 1) * cave_.cellWidth() - 3);
        return lo < hx_ && hx_ < hi;
    }

    // Mirrors the crossed coordinate about the wall; a target on the wall moves
    // 5 units back into the open side.
    void reflect(Wall wall, int id) {
        const bool alongX = wall == Wall::Left || wall == Wall::Right;
        const int delta = (wall == Wall::Right || wall == Wall::Top) ? -5 : 5;
        int32_t& target = alongX ? tx_ : ty_;
        const int32_t hit = alongX ? hx_ : hy_;
        target = saturate(target == hit ? int64_t{hit} + delta : 2 * int64_t{hit} - target);
        reflected_ = true;
        debugId = id;
    }

    // The side wall and the face wall a step in this row tests, with the ids of
    // their reflections; false when a wall ended the step.
    bool sameRow(int row) {
        const bool right = tx_ > a_, left = tx_ < a_, up = ty_ > b_, down = ty_ < b_;
        if (!left && !right && !up && !down) {
            standingStill(row);
            return true;
        }
        if (right || left) {
            const Wall side = right ? Wall::Right : Wall::Left;
            const int sideId = right ? (up ? 11 : down ? 13 : 15) : (up ? 16 : down ? 18 : 20);
            if (meets(row, side)) {
                reflect(side, sideId);
                return false;
            }
            if (!up && !down) return true;
            return faceWall(row, up ? Wall::Top : Wall::Bottom, right ? (up ? 12 : 14) : (up ? 17 : 19));
        }
        return faceWall(row, up ? Wall::Top : Wall::Bottom, up ? 21 : 22);
    }

    // One row of a walk up or down: the side wall toward the movement, then the
    // wall faced; true when the walk goes on into the next row.
    bool walkRow(int row, bool upward) {
        const Wall face = upward ? Wall::Top : Wall::Bottom;
        if (tx_ != a_) {
            const bool right = tx_ > a_;
            const Wall side = right ? Wall::Right : Wall::Left;
            const int sideId = upward ? (right ? 27 : 29) : (right ? 32 : 34);
            if (meets(row, side)) {
                reflect(side, sideId);
                return false;
            }
            return faceWall(row, face, upward ? (right ? 28 : 30) : (right ? 33 : 35));
        }
        return faceWall(row, face, upward ? 31 : 36);
    }

    bool reflected() const { return reflected_; }

    // Where the caller will stand after the step: the hit point after a
    // reflection, the target otherwise.
    void keepInside() {
        int16_t row, column;
        if (!cave_.isOpenCell(a_, b_, row, column)) return;
        if (reflected_) {
            if (!cave_.isOpenCell(hx_, hy_, row, column)) {
                hx_ = a_;
                hy_ = b_;
            }
        } else if (!cave_.isOpenCell(tx_, ty_, row, column)) {
            // Refused: stand still and head back the way the step came.
            hx_ = a_;
            hy_ = b_;
            tx_ = saturate(2 * int64_t{a_} - tx_);
            ty_ = saturate(2 * int64_t{b_} - ty_);
            reflected_ = true;
            debugId = STEP_REFUSED;
        }
    }

    // Every hit point ends 3 units closer to the start on each axis.
    void pullBack() {
        if (hx_ > a_) hx_ -= 3;
        else if (hx_ < a_) hx_ += 3;
        if (hy_ > b_) hy_ -= 3;
        else if (hy_ < b_) hy_ += 3;
    }

private:
    // A top or bottom wall: a crossing that does not pass into the neighbour reflects.
    bool faceWall(int row, Wall wall, int id) {
        if (!meets(row, wall)) return true;
        if (passes(row, wall)) return true;
        reflect(wall, id);
        return false;
    }

    // A step of no length is compared with the wall lines themselves.
    void standingStill(int row) {
        const RowWalls w = walls(row);
        if (a_ == w.left) push(hx_, tx_, w.left, 5, 23);
        else if (a_ == w.right) push(hx_, tx_, w.right, -5, 24);
        if (b_ == w.bottom) push(hy_, ty_, w.bottom, 5, 25);
        else if (b_ == w.top) push(hy_, ty_, w.top, -5, 26);
    }
    void push(int32_t& hit, int32_t& target, int32_t line, int delta, int id) {
        hit = line;
        target = line + delta;
        reflected_ = true;
        debugId = id;
    }

    const CaveWorld& cave_;
    const int32_t a_, b_;
    int32_t& tx_;
    int32_t& ty_;
    int32_t& hx_;
    int32_t& hy_;
    bool reflected_ = false;
};

}  // namespace

bool CaveWorld::moveWithCollision(int32_t startX, int32_t startY, int32_t& targetX, int32_t& targetY,
                                  int32_t& hitX, int32_t& hitY) {
    hitX = targetX;
    hitY = targetY;
    debugId = 0;
    Step step(*this, startX, startY, targetX, targetY, hitX, hitY);
    if (rows && rowCount_ > 0) {
        const int lastRow = rowCount_ - 1;
        const int startRow = std::clamp<int>(rowOf(startY), 0, lastRow);
        const int targetRow = std::clamp<int>(rowOf(targetY), 0, lastRow);
        if (startRow == targetRow) {
            debugId = 7;
            step.sameRow(startRow);
        } else if (targetRow > startRow) {
            for (int row = startRow; row <= targetRow; ++row) {
                debugId = 8;
                if (!step.walkRow(row, true)) break;
            }
        } else {
            for (int row = startRow; row >= targetRow; --row) {
                debugId = 9;
                if (!step.walkRow(row, false)) break;
            }
        }
    }
    step.pullBack();
    // A step from an open cell never ends in rock. The walls alone would let it:
    // a top or bottom wall's meeting point, with x truncated away from the start,
    // can lie up to the slope's worth of units past the wall, beyond the pull-back;
    // and the walls sit one unit inside the open cells, so a step that starts
    // between a wall line and its row's edge, or slips through the two units
    // between rows, meets none.
    step.keepInside();
    return step.reflected();
}

void CaveWorld::moveViewTo(int32_t& targetX, int32_t& targetY) {
    const int32_t fromX = viewX, fromY = viewY;
    int32_t hx, hy;
    const bool hit = moveWithCollision(viewX, viewY, targetX, targetY, hx, hy);
    int16_t row, column;
    if (!hit) {
        viewX = targetX;
        viewY = targetY;
    } else if (!isOpenCell(targetX, targetY, row, column)) {
        viewX = hx;
        viewY = hy;
    } else if (hy == targetY || hy == viewY) {
        // (hy - ty) x (hy - viewY) is zero: half way to the hit point along x.
        viewX = static_cast<int32_t>((int64_t{viewX} + hx) / 2);
    } else if (hx == targetX || hx == viewX) {
        viewY = static_cast<int32_t>((int64_t{viewY} + hy) / 2);
    } else {
        viewX = targetX;
        viewY = targetY;
    }
    // Half way toward a hit point in another row can lie in rock; the hit point
    // itself never does.
    if (isOpenCell(fromX, fromY, row, column) && !isOpenCell(viewX, viewY, row, column)) {
        viewX = hx;
        viewY = hy;
    }
    hitPoint = {hx, hy};
}

void CaveWorld::moveViewBy(int32_t dx, int32_t dy) {
    int32_t targetX = saturate(int64_t{viewX} + dx);
    int32_t targetY = saturate(int64_t{viewY} + dy);
    moveViewTo(targetX, targetY);
}
