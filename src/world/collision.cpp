// CaveWorld's collision (cave.h): steps through the cave with collision against
// the walls of its rows: the segment meeting test, the step with reflection,
// and the view's moves.
#include "world/cave.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "world/saturate.h"
#include "world/wide_int.h"

namespace {

// The meeting test works in exact integers: a product of three coordinate
// differences needs up to 99 bits, so nothing is rounded before the final
// truncation and a point on a line is found on it.
using Wide = WideInt;

int signOf(Wide v) { return v.sign(); }
Wide difference(int32_t to, int32_t from) { return Wide{int64_t{to} - from}; }

int32_t narrow(Wide v) { return v.clampedToInt32(); }

// The slope of a line that is not vertical, handed back in single precision.
float slopeOf(const POINT& from, const POINT& to) {
    return static_cast<float>(static_cast<double>(int64_t{to.y} - from.y) / static_cast<double>(int64_t{to.x} - from.x));
}

// The side of P against the line through A and B (not vertical): the sign of
// s x Px - Py - k for the line's slope s and k = s x Ax - Ay, which is the
// cross product over Bx - Ax. Differences below 2^31 (every cave's) have that
// product in 64 bits; only larger ones need the wide integers.
int sideOfLine(const POINT& A, const POINT& B, const POINT& P) {
    const int64_t run = int64_t{B.x} - A.x, rise = int64_t{B.y} - A.y;
    const int64_t dx = int64_t{P.x} - A.x, dy = int64_t{P.y} - A.y;
    auto small = [](int64_t v) { return static_cast<uint64_t>(v + (int64_t{1} << 31)) < (uint64_t{1} << 32); };
    const int runSign = (run > 0) - (run < 0);
    if (small(run) && small(rise) && small(dx) && small(dy)) {
        const int64_t cross = rise * dx - dy * run;
        return ((cross > 0) - (cross < 0)) * runSign;
    }
    return signOf(Wide{rise} * dx - Wide{dy} * run) * runSign;
}

// The y of the line through A and B (not vertical) at x: Ay plus the offset
// along the slope, truncated toward zero.
int32_t lineYAt(const POINT& A, const POINT& B, int32_t x) {
    return narrow(Wide{A.y} + difference(x, A.x) * difference(B.y, A.y) / difference(B.x, A.x));
}

// Whether p lies within [from, to] (in either order), by the sum of distances.
bool within(int32_t p, int32_t from, int32_t to) {
    return std::llabs(int64_t{p} - from) + std::llabs(int64_t{p} - to) == std::llabs(int64_t{from} - to);
}

}  // namespace

bool intersectSegments(const POINT& M0, const POINT& M1, const POINT& W0, const POINT& W1, float& slope1,
                       float& slope2, int32_t& outX, int32_t& outY) {
    slope1 = NO_SLOPE;
    slope2 = NO_SLOPE;
    auto meet = [&](int32_t x, int32_t y) {
        outX = x;
        outY = y;
        return true;
    };
    auto meetAt = [&](const POINT& p) { return meet(p.x, p.y); };

    if (M0.x != M1.x) {
        slope1 = slopeOf(M0, M1);
        const int wall0 = sideOfLine(M0, M1, W0);
        const int wall1 = sideOfLine(M0, M1, W1);
        if (wall0 * wall1 < 0) {
            if (W0.x == W1.x) {  // vertical wall
                const int sa = signOf(difference(M0.x, W0.x));
                const int sc = signOf(difference(M1.x, W0.x));
                if (sa * sc > 0) return false;
                if (sa == 0) return meetAt(M0);
                if (sc == 0) return meetAt(M1);
                return meet(W0.x, lineYAt(M0, M1, W0.x));
            }
            slope2 = slopeOf(W0, W1);
            const int m0 = sideOfLine(W0, W1, M0);
            const int m1 = sideOfLine(W0, W1, M1);
            if (m0 * m1 > 0) return false;
            if (m0 == 0) return meetAt(M0);
            if (m1 == 0) return meetAt(M1);
            // x = (Ax s1 - Ex s2 - Ay + Ey) / (s1 - s2), with both slopes as
            // fractions rise / run and the fractions cleared.
            const Wide run1 = difference(M1.x, M0.x), rise1 = difference(M1.y, M0.y);
            const Wide run2 = difference(W1.x, W0.x), rise2 = difference(W1.y, W0.y);
            const Wide denominator = rise1 * run2 - rise2 * run1;
            if (denominator == 0) return false;  // parallel: the ends would not straddle
            const Wide numerator = Wide{M0.x} * rise1 * run2 - Wide{W0.x} * rise2 * run1 +
                                   difference(W0.y, M0.y) * run1 * run2;
            const int32_t x = narrow(numerator / denominator);
            return meet(x, lineYAt(M0, M1, x));
        }
        if (wall0 == 0) return within(W0.x, M0.x, M1.x) && meetAt(W0);
        if (wall1 == 0) return within(W1.x, M0.x, M1.x) && meetAt(W1);
        return false;
    }

    // Vertical moving segment: the side of a point is the sign of Px - M0x.
    const int wall0 = signOf(difference(W0.x, M0.x));
    const int wall1 = signOf(difference(W1.x, M0.x));
    if (wall0 * wall1 < 0) {
        slope2 = slopeOf(W0, W1);
        const int m0 = sideOfLine(W0, W1, M0);
        const int m1 = sideOfLine(W0, W1, M1);
        if (m0 * m1 > 0) return false;
        if (m0 == 0) return meetAt(M0);
        if (m1 == 0) return meetAt(M1);
        return meet(M0.x, lineYAt(W0, W1, M0.x));
    }
    if (W0.x == M0.x) return within(W0.y, M0.y, M1.y) && meetAt(W0);
    if (W1.x == M0.x) return within(W1.y, M0.y, M1.y) && meetAt(W1);
    return false;
}

namespace {

bool isOpen(const CaveWorld& cave, int32_t x, int32_t y) {
    int16_t row, column;
    return cave.isOpenCell(x, y, row, column);
}

// The four walls of one row, one unit inside its open area.
struct RowWalls {
    int32_t left, right, bottom, top;  // XL, XR, YB, YT
};

enum class Wall { Left, Right, Bottom, Top };

// debugId: which branch decided a step, as the read-out prints it.
constexpr int32_t SAME_ROW = 7;
constexpr int32_t WALKING_UP = 8;
constexpr int32_t WALKING_DOWN = 9;
constexpr int32_t ON_LEFT_LINE = 23;  // steps of no length on a wall line
constexpr int32_t ON_RIGHT_LINE = 24;
constexpr int32_t ON_BOTTOM_LINE = 25;
constexpr int32_t ON_TOP_LINE = 26;
constexpr int32_t STEP_REFUSED = 37;  // no wall stopped the step, but it would have ended in rock

// The ids of the reflections off the side wall and off the wall faced (top or
// bottom) in one direction of a step; 0 where that wall is not tested.
struct ReflectionIds {
    int32_t side, face;
};
enum Horizontal { RIGHT, LEFT, LEVEL_X };
enum Vertical { UP, DOWN, LEVEL_Y };
constexpr ReflectionIds SAME_ROW_IDS[3][3] = {
    //            up        down      level
    /* right */ {{11, 12}, {13, 14}, {15, 0}},
    /* left  */ {{16, 17}, {18, 19}, {20, 0}},
    /* level */ {{0, 21}, {0, 22}, {0, 0}},
};
constexpr ReflectionIds WALK_IDS[2][3] = {
    //           right     left      level
    /* up   */ {{27, 28}, {29, 30}, {0, 31}},
    /* down */ {{32, 33}, {34, 35}, {0, 36}},
};

// One step through the cave: (a, b) to (tx, ty), with the hit point and the
// outcome kept as the walls are tested.
class Step {
public:
    Step(const CaveWorld& cave, int32_t a, int32_t b, int32_t& tx, int32_t& ty, int32_t& hx, int32_t& hy)
        : cave_(cave), a_(a), b_(b), tx_(tx), ty_(ty), hx_(hx), hy_(hy) {}

    // The walls of the rows between start and target, in the order the step meets them.
    void walk() {
        if (!cave_.rows || cave_.rowCount() == 0) return;
        const int lastRow = cave_.rowCount() - 1;
        const int startRow = std::clamp<int>(cave_.rowOf(b_), 0, lastRow);
        const int targetRow = std::clamp<int>(cave_.rowOf(ty_), 0, lastRow);
        if (startRow == targetRow) {
            debugId = SAME_ROW;
            sameRow(startRow);
        } else if (targetRow > startRow) {
            for (int row = startRow; row <= targetRow; ++row) {
                debugId = WALKING_UP;
                if (!walkRow(row, true)) break;
            }
        } else {
            for (int row = startRow; row >= targetRow; --row) {
                debugId = WALKING_DOWN;
                if (!walkRow(row, false)) break;
            }
        }
    }

    // Every hit point ends 3 units closer to the start on each axis.
    void pullBack() {
        if (hx_ > a_) hx_ -= 3;
        else if (hx_ < a_) hx_ += 3;
        if (hy_ > b_) hy_ -= 3;
        else if (hy_ < b_) hy_ += 3;
    }

    // A step from an open cell never ends in rock. The walls alone would let it:
    // a top or bottom wall's meeting point, with x truncated away from the start,
    // can lie up to the slope's worth of units past the wall, beyond the pull-back;
    // and the walls sit one unit inside the open cells, so a step that starts
    // between a wall line and its row's edge, or slips through the two units
    // between rows, meets none. The mover stands at the hit point after a
    // reflection and at the target otherwise.
    void keepInside() {
        if (!isOpen(cave_, a_, b_)) return;
        if (reflected_) {
            if (!isOpen(cave_, hx_, hy_)) {
                hx_ = a_;
                hy_ = b_;
            }
        } else if (!isOpen(cave_, tx_, ty_)) {
            // Refused: stand still and head back the way the step came.
            hx_ = a_;
            hy_ = b_;
            tx_ = saturate(2 * int64_t{a_} - tx_);
            ty_ = saturate(2 * int64_t{b_} - ty_);
            reflected_ = true;
            debugId = STEP_REFUSED;
        }
    }

    bool reflected() const { return reflected_; }

private:
    RowWalls walls(int row) const {
        const RowSpan span = cave_.rows[row];
        const int32_t cw = cave_.cellWidth();
        const int32_t ch = cave_.cellHeight();
        return {span.left * cw + 1, (span.right + 1) * cw - 1, row * ch + 1, (row + 1) * ch - 1};
    }

    // Tests the step against one wall of a row; a meeting point becomes the hit point.
    bool meets(int row, Wall wall) {
        const RowWalls w = walls(row);
        POINT from, to;
        switch (wall) {
            case Wall::Left: from = {w.left, w.bottom}, to = {w.left, w.top}; break;
            case Wall::Right: from = {w.right, w.bottom}, to = {w.right, w.top}; break;
            case Wall::Bottom: from = {w.left, w.bottom}, to = {w.right, w.bottom}; break;
            case Wall::Top: default: from = {w.left, w.top}, to = {w.right, w.top}; break;
        }
        float slope1, slope2;
        return intersectSegments(POINT{a_, b_}, POINT{tx_, ty_}, from, to, slope1, slope2, hx_, hy_);
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
    void reflect(Wall wall, int32_t id) {
        const bool alongX = wall == Wall::Left || wall == Wall::Right;
        const int delta = (wall == Wall::Right || wall == Wall::Top) ? -5 : 5;
        int32_t& target = alongX ? tx_ : ty_;
        const int32_t hit = alongX ? hx_ : hy_;
        target = saturate(target == hit ? int64_t{hit} + delta : 2 * int64_t{hit} - target);
        reflected_ = true;
        debugId = id;
    }

    Horizontal horizontal() const { return tx_ > a_ ? RIGHT : tx_ < a_ ? LEFT : LEVEL_X; }
    Vertical vertical() const { return ty_ > b_ ? UP : ty_ < b_ ? DOWN : LEVEL_Y; }

    // The side wall toward the movement, then the wall faced; false when a wall
    // ended the step.
    bool sideThenFace(int row, Horizontal across, Wall face, ReflectionIds ids) {
        if (across != LEVEL_X) {
            const Wall side = across == RIGHT ? Wall::Right : Wall::Left;
            if (meets(row, side)) {
                reflect(side, ids.side);
                return false;
            }
        }
        if (ids.face == 0) return true;
        if (!meets(row, face)) return true;
        if (passes(row, face)) return true;
        reflect(face, ids.face);
        return false;
    }

    void sameRow(int row) {
        const Horizontal across = horizontal();
        const Vertical upDown = vertical();
        if (across == LEVEL_X && upDown == LEVEL_Y) {
            standingStill(row);
            return;
        }
        sideThenFace(row, across, upDown == UP ? Wall::Top : Wall::Bottom, SAME_ROW_IDS[across][upDown]);
    }

    // One row of a walk up or down; true when the walk goes on into the next row.
    bool walkRow(int row, bool upward) {
        const Horizontal across = horizontal();
        return sideThenFace(row, across, upward ? Wall::Top : Wall::Bottom, WALK_IDS[upward ? 0 : 1][across]);
    }

    // A step of no length is compared with the wall lines themselves.
    void standingStill(int row) {
        const RowWalls w = walls(row);
        if (a_ == w.left) push(hx_, tx_, w.left, 5, ON_LEFT_LINE);
        else if (a_ == w.right) push(hx_, tx_, w.right, -5, ON_RIGHT_LINE);
        if (b_ == w.bottom) push(hy_, ty_, w.bottom, 5, ON_BOTTOM_LINE);
        else if (b_ == w.top) push(hy_, ty_, w.top, -5, ON_TOP_LINE);
    }
    void push(int32_t& hit, int32_t& target, int32_t line, int delta, int32_t id) {
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

// One step by the rules of the walls; with keepInside, a step from an open cell
// is also kept from ending in rock.
bool stepThroughWalls(const CaveWorld& cave, int32_t startX, int32_t startY, int32_t& targetX, int32_t& targetY,
                      int32_t& hitX, int32_t& hitY, bool keepInside) {
    hitX = targetX;
    hitY = targetY;
    debugId = 0;
    Step step(cave, startX, startY, targetX, targetY, hitX, hitY);
    step.walk();
    step.pullBack();
    if (keepInside) step.keepInside();
    return step.reflected();
}

// Where a step takes the view: the target when nothing was hit; the hit point
// when the reflected target is rock; else half way to the hit point along the
// axis on which it lies level with the start or the target (a straight step
// into a wall), or the reflected target.
POINT viewAfter(const CaveWorld& cave, bool hit, POINT from, POINT target, POINT hitAt) {
    if (!hit) return target;
    if (!isOpen(cave, target.x, target.y)) return hitAt;
    // (hy - ty) x (hy - viewY) is zero: half way along x.
    if (hitAt.y == target.y || hitAt.y == from.y)
        return POINT{static_cast<int32_t>((int64_t{from.x} + hitAt.x) / 2), from.y};
    if (hitAt.x == target.x || hitAt.x == from.x)
        return POINT{from.x, static_cast<int32_t>((int64_t{from.y} + hitAt.y) / 2)};
    return target;
}

}  // namespace

bool CaveWorld::moveWithCollision(int32_t startX, int32_t startY, int32_t& targetX, int32_t& targetY,
                                  int32_t& hitX, int32_t& hitY) {
    return stepThroughWalls(*this, startX, startY, targetX, targetY, hitX, hitY, true);
}

void CaveWorld::moveViewTo(int32_t& targetX, int32_t& targetY) {
    const POINT from{viewX, viewY};
    // The view's rule is applied to what the walls give, and only a step that
    // would end in rock falls back to the hit point kept inside.
    int32_t tx = targetX, ty = targetY, hx, hy;
    bool hit = stepThroughWalls(*this, from.x, from.y, tx, ty, hx, hy, false);
    POINT to = viewAfter(*this, hit, from, {tx, ty}, {hx, hy});
    if (isOpen(*this, from.x, from.y) && !isOpen(*this, to.x, to.y)) {
        tx = targetX;
        ty = targetY;
        hit = moveWithCollision(from.x, from.y, tx, ty, hx, hy);
        to = viewAfter(*this, hit, from, {tx, ty}, {hx, hy});
        // Half way toward a hit point in another row can lie in rock; the hit
        // point kept inside never does.
        if (!isOpen(*this, to.x, to.y)) to = {hx, hy};
    }
    targetX = tx;
    targetY = ty;
    viewX = to.x;
    viewY = to.y;
    hitPoint = {hx, hy};
}

void CaveWorld::moveViewBy(int32_t dx, int32_t dy) {
    int32_t targetX = saturate(int64_t{viewX} + dx);
    int32_t targetY = saturate(int64_t{viewY} + dy);
    moveViewTo(targetX, targetY);
}
