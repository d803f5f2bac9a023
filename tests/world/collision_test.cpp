// Steps against the walls of the rows: reflections, openings between rows, the
// case ids and the pull-back of the hit point, and the view's moves.
#include <gtest/gtest.h>

#include <cstdint>

#include "app/globals.h"
#include "hand_made_cave.h"
#include "world/cave.h"

namespace {

struct StepResult {
    bool hit;
    int32_t tx, ty, hx, hy;
    int32_t id;
};

class CollisionTest : public ::testing::Test {
protected:
    void SetUp() override { shapeStairCave(cave); }

    StepResult step(int32_t a, int32_t b, int32_t tx, int32_t ty) {
        int32_t hx = -12345, hy = -12345;
        debugId = -1;
        bool hit = cave.moveWithCollision(a, b, tx, ty, hx, hy);
        return {hit, tx, ty, hx, hy, debugId};
    }

    CaveWorld cave;
};

// --- The worked examples -------------------------------------------------------

TEST_F(CollisionTest, DiagonalStepMeetsTheRightWallAndReflectsX) {
    StepResult r = step(1200, 500, 1300, 540);
    EXPECT_TRUE(r.hit);
    EXPECT_EQ(r.id, 11);
    EXPECT_EQ(r.tx, 1258);  // 2 x 1279 - 1300
    EXPECT_EQ(r.ty, 540);
    EXPECT_EQ(r.hx, 1276);  // met at (1279, 531), pulled back by 3 on each axis
    EXPECT_EQ(r.hy, 528);
}

TEST_F(CollisionTest, StepUpThroughTheOpeningPassesAndKeepsTheLastCrossing) {
    StepResult r = step(700, 700, 760, 900);
    EXPECT_FALSE(r.hit);
    EXPECT_EQ(r.id, 8);
    EXPECT_EQ(r.tx, 760);
    EXPECT_EQ(r.ty, 900);
    EXPECT_EQ(r.hx, 726);  // the top wall of row 1 crossed at (729, 796)
    EXPECT_EQ(r.hy, 793);
}

// --- Steps inside one row: every case id --------------------------------------

TEST_F(CollisionTest, HorizontalStepBeyondTheLastColumnReflectsAtTheRightWall) {
    StepResult r = step(1200, 600, 1300, 600);
    EXPECT_TRUE(r.hit);
    EXPECT_EQ(r.id, 15);
    EXPECT_EQ(r.tx, 2 * 1279 - 1300);
    EXPECT_EQ(r.hx, 1279 - 3);
    EXPECT_EQ(r.hy, 600);  // no vertical movement, no pull-back on y
}

TEST_F(CollisionTest, HorizontalStepLeftReflectsAtTheLeftWall) {
    StepResult r = step(100, 600, -30, 600);
    EXPECT_TRUE(r.hit);
    EXPECT_EQ(r.id, 20);
    EXPECT_EQ(r.tx, 2 * 1 + 30);
    EXPECT_EQ(r.hx, 1 + 3);
}

TEST_F(CollisionTest, SideWallComesBeforeTheFaceWallAndEachCaseHasItsId) {
    // Right wall met: 11 going up, 13 going down; left wall: 16 up, 18 down.
    EXPECT_EQ(step(1200, 600, 1300, 650).id, 11);
    EXPECT_EQ(step(1200, 600, 1300, 550).id, 13);
    EXPECT_EQ(step(100, 600, -50, 650).id, 16);
    EXPECT_EQ(step(100, 600, -50, 550).id, 18);
    // The side wall is missed and the face wall is met over rock: 12, 17 and 21 at
    // the top of the top row (3..8, top wall 1599), whose target above the cave
    // counts as the same row; 14, 19 and 22 at the bottom wall of row 1 (y 401),
    // whose row 0 (1..4) is rock at x 100.
    StepResult up = step(1500, 1550, 1520, 1700);
    EXPECT_EQ(up.id, 12);
    EXPECT_TRUE(up.hit);
    // Met at x 1506 (1506.53 truncated), so y = 1550 + trunc(6 x 7.5) = 1595.
    EXPECT_EQ(up.ty, 2 * 1595 - 1700);
    EXPECT_EQ(step(1520, 1550, 1500, 1700).id, 17);
    EXPECT_EQ(step(1500, 1550, 1500, 1700).id, 21);
    StepResult down = step(100, 420, 110, 400);
    EXPECT_EQ(down.id, 14);
    EXPECT_EQ(down.ty, 2 * 402 - 400);  // met at (109, 402)
    EXPECT_EQ(step(110, 420, 100, 400).id, 19);
    EXPECT_EQ(step(100, 420, 100, 400).id, 22);
}

TEST_F(CollisionTest, SameRowCrossingOfTheBottomWallIntoTheOpeningPasses) {
    // y 400 still belongs to row 1 but lies below its bottom wall; x 500 is open in row 0.
    StepResult r = step(500, 420, 500, 400);
    EXPECT_FALSE(r.hit);
    EXPECT_EQ(r.id, 7);
    EXPECT_EQ(r.hy, 404);  // the crossing at 401, pulled back
}

TEST_F(CollisionTest, StepWithinTheRowMeetsNothing) {
    StepResult r = step(500, 500, 600, 700);
    EXPECT_FALSE(r.hit);
    EXPECT_EQ(r.id, 7);
    EXPECT_EQ(r.tx, 600);
    EXPECT_EQ(r.ty, 700);
    EXPECT_EQ(r.hx, 597);  // the target pulled back toward the start
    EXPECT_EQ(r.hy, 697);
}

TEST_F(CollisionTest, TargetExactlyOnAWallLineIsPushedFiveUnitsBack) {
    StepResult right = step(1200, 600, 1279, 600);
    EXPECT_TRUE(right.hit);
    EXPECT_EQ(right.tx, 1279 - 5);
    EXPECT_EQ(right.hx, 1276);
    StepResult left = step(100, 600, 1, 600);
    EXPECT_EQ(left.tx, 1 + 5);
    EXPECT_EQ(left.id, 20);
    // Over rock in the row above, the top wall line of row 1 itself.
    StepResult top = step(100, 700, 100, 799);
    EXPECT_EQ(top.id, 21);
    EXPECT_EQ(top.ty, 799 - 5);
    EXPECT_EQ(top.hy, 796);
    StepResult bottom = step(100, 500, 100, 401);
    EXPECT_EQ(bottom.id, 22);
    EXPECT_EQ(bottom.ty, 401 + 5);
}

TEST_F(CollisionTest, ZeroLengthStepOnWallLinesIsPushedOff) {
    StepResult left = step(1, 600, 1, 600);
    EXPECT_TRUE(left.hit);
    EXPECT_EQ(left.id, 23);
    EXPECT_EQ(left.tx, 6);
    EXPECT_EQ(left.hx, 1);
    EXPECT_EQ(left.hy, 600);

    StepResult right = step(1279, 600, 1279, 600);
    EXPECT_EQ(right.id, 24);
    EXPECT_EQ(right.tx, 1274);

    StepResult bottom = step(500, 401, 500, 401);
    EXPECT_EQ(bottom.id, 25);
    EXPECT_EQ(bottom.ty, 406);
    EXPECT_EQ(bottom.hy, 401);

    StepResult top = step(500, 799, 500, 799);
    EXPECT_EQ(top.id, 26);
    EXPECT_EQ(top.ty, 794);

    // In a corner both coordinates move; the last id set is kept.
    StepResult corner = step(1279, 401, 1279, 401);
    EXPECT_TRUE(corner.hit);
    EXPECT_EQ(corner.id, 25);
    EXPECT_EQ(corner.tx, 1274);
    EXPECT_EQ(corner.ty, 406);
}

TEST_F(CollisionTest, ZeroLengthStepElsewhereIsNoHitAndLeavesTheStart) {
    StepResult r = step(500, 600, 500, 600);
    EXPECT_FALSE(r.hit);
    EXPECT_EQ(r.id, 7);
    EXPECT_EQ(r.hx, 500);
    EXPECT_EQ(r.hy, 600);
    EXPECT_EQ(r.tx, 500);
    EXPECT_EQ(r.ty, 600);
}

// --- Openings between rows ------------------------------------------------------

TEST_F(CollisionTest, CrossingWithinThreeUnitsOfTheOpeningEdgeReflects) {
    // Row 1 to row 2: the opening is 643 < x < 1917.
    StepResult edge = step(643, 700, 643, 900);
    EXPECT_TRUE(edge.hit);
    EXPECT_EQ(edge.id, 31);
    EXPECT_EQ(edge.ty, 2 * 799 - 900);
    EXPECT_EQ(edge.hx, 643);
    EXPECT_EQ(edge.hy, 796);

    StepResult inside = step(644, 700, 644, 900);
    EXPECT_FALSE(inside.hit);
    EXPECT_EQ(inside.id, 8);
    EXPECT_EQ(inside.hy, 796);  // the crossing (644, 799) pulled back

    // Row 0 (1..4) to row 1 (0..3): the opening is 3 < x < 1277, row 0 ends at 1599.
    EXPECT_TRUE(step(1277, 300, 1277, 500).hit);
    EXPECT_FALSE(step(1276, 300, 1276, 500).hit);
    // Row 2 (2..5) to row 3 (3..8): the opening is 963 < x < 2877, row 2 starts at 641.
    EXPECT_TRUE(step(963, 1100, 963, 1300).hit);
    EXPECT_FALSE(step(964, 1100, 964, 1300).hit);
}

TEST_F(CollisionTest, WalkUpTestsEachRowsSideWall) {
    // Up and to the left: row 1 passes into row 2, whose left wall (641) is met.
    StepResult r = step(800, 700, 600, 900);
    EXPECT_TRUE(r.hit);
    EXPECT_EQ(r.id, 29);
    EXPECT_EQ(r.tx, 2 * 641 - 600);
    // Up and to the right, the top wall over rock: 28; to the left: 30.
    EXPECT_EQ(step(300, 700, 310, 900).id, 28);
    EXPECT_EQ(step(310, 700, 300, 900).id, 30);
    // Up and to the right into row 1's right wall before the rows change: 27.
    EXPECT_EQ(step(1250, 700, 1350, 900).id, 27);
}

TEST_F(CollisionTest, WalkDownPassesOpeningsAndReflectsOverRock) {
    StepResult pass = step(1000, 900, 1000, 700);
    EXPECT_FALSE(pass.hit);
    EXPECT_EQ(pass.id, 9);
    EXPECT_EQ(pass.hx, 1000);
    EXPECT_EQ(pass.hy, 804);  // the bottom wall of row 2 crossed at y 801

    StepResult rock = step(1500, 900, 1500, 700);  // row 1 ends at 1279
    EXPECT_TRUE(rock.hit);
    EXPECT_EQ(rock.id, 36);
    EXPECT_EQ(rock.ty, 2 * 801 - 700);

    // Through the opening, then into row 1's right wall at (1279, 742).
    StepResult side = step(1200, 900, 1300, 700);
    EXPECT_TRUE(side.hit);
    EXPECT_EQ(side.id, 32);
    EXPECT_EQ(side.tx, 1258);
    EXPECT_EQ(side.hx, 1276);
    EXPECT_EQ(side.hy, 745);

    EXPECT_EQ(step(700, 1000, 600, 750).id, 34);  // row 2's left wall, 641, at y 853
    EXPECT_EQ(step(1500, 900, 1510, 700).id, 33);
    EXPECT_EQ(step(1510, 900, 1500, 700).id, 35);
}

TEST_F(CollisionTest, TopWallOfTheTopRowAndBottomWallOfRowZeroAlwaysReflect) {
    // Row 3 spans 3..8 and has no row above; its top wall is y 1599.
    StepResult top = step(1500, 1500, 1500, 1700);
    EXPECT_TRUE(top.hit);
    EXPECT_EQ(top.id, 21);  // the target above the cave counts as the top row
    EXPECT_EQ(top.ty, 2 * 1599 - 1700);
    EXPECT_EQ(top.hy, 1596);

    StepResult bottom = step(600, 200, 600, -50);
    EXPECT_TRUE(bottom.hit);
    EXPECT_EQ(bottom.id, 22);
    EXPECT_EQ(bottom.ty, 2 * 1 + 50);
    EXPECT_EQ(bottom.hy, 4);
}

TEST_F(CollisionTest, TargetFarAboveTheCaveWalksOnlyUpToTheTopRow) {
    StepResult r = step(1500, 1100, 1500, 100000);
    EXPECT_TRUE(r.hit);
    EXPECT_EQ(r.id, 31);
    EXPECT_EQ(r.ty, 2 * 1599 - 100000);
}

TEST_F(CollisionTest, PullBackCanCarryTheHitPointPastTheStart) {
    // Two units from the wall: the hit point ends one unit behind the start.
    StepResult r = step(1277, 600, 1290, 600);
    EXPECT_TRUE(r.hit);
    EXPECT_EQ(r.hx, 1276);
}

TEST_F(CollisionTest, CaveWithoutRowsMeetsNothing) {
    CaveWorld empty;
    int32_t tx = 50, ty = 60, hx = 0, hy = 0;
    debugId = 99;
    EXPECT_FALSE(empty.moveWithCollision(0, 0, tx, ty, hx, hy));
    EXPECT_EQ(debugId, 0);
    EXPECT_EQ(hx, 47);
    EXPECT_EQ(hy, 57);
}

TEST_F(CollisionTest, FarAwayPointsNeitherCrashNorOverflow) {
    for (int32_t far : {INT32_MIN, INT32_MIN + 1, -1000000000, 1000000000, INT32_MAX}) {
        step(500, 600, far, far);
        step(500, 600, far, 600);
        step(500, 600, 500, far);
        step(far, far, 500, 600);
    }
    SUCCEED();
}

// --- Steps that the walls alone would let end in rock -----------------------------

TEST_F(CollisionTest, SteepStepLeftIntoABottomWallStaysAtItsStart) {
    // Met at x 985 (985.8 truncated away from the start), so y = 101 - 105 = -4:
    // below the wall line by more than the pull-back.
    StepResult r = step(1000, 101, 978, -54);
    EXPECT_TRUE(r.hit);
    EXPECT_EQ(r.id, 19);
    EXPECT_EQ(r.ty, 2 * -4 + 54);  // the reflection stands
    EXPECT_EQ(r.hx, 1000);
    EXPECT_EQ(r.hy, 101);
}

TEST_F(CollisionTest, ShallowStepThroughTheGapBetweenRowsIsRefused) {
    // Into row 1 at x 1276, inside the opening, then past x 1279 before y reaches
    // 401 where row 1's right wall begins: no wall is met, the target is rock.
    StepResult r = step(1270, 397, 1330, 415);
    EXPECT_TRUE(r.hit);
    EXPECT_EQ(r.id, 37);
    EXPECT_EQ(r.hx, 1270);
    EXPECT_EQ(r.hy, 397);
    EXPECT_EQ(r.tx, 2 * 1270 - 1330);  // heading back the way it came
    EXPECT_EQ(r.ty, 2 * 397 - 415);
}

TEST_F(CollisionTest, StepFromBelowTheBottomWallLineIsRefusedAtRock) {
    // y 400 is row 1 but lies below its bottom wall (401): neither the right wall
    // nor the bottom wall lies across these steps.
    StepResult right = step(1000, 400, 1400, 400);
    EXPECT_TRUE(right.hit);
    EXPECT_EQ(right.id, 37);
    EXPECT_EQ(right.hx, 1000);
    EXPECT_EQ(right.tx, 600);
    StepResult down = step(100, 400, 100, 300);  // row 0 is rock at x 100
    EXPECT_TRUE(down.hit);
    EXPECT_EQ(down.id, 37);
    EXPECT_EQ(down.hy, 400);
    // Steps that end in open cells are left alone.
    EXPECT_FALSE(step(1000, 400, 1200, 400).hit);
}

TEST_F(CollisionTest, StepFromRockIsNotHeldBack) {
    StepResult r = step(1500, 500, 1510, 500);  // row 1 ends at 1279
    EXPECT_FALSE(r.hit);
    EXPECT_EQ(r.tx, 1510);
}

// --- The view ------------------------------------------------------------------

class ViewMoveTest : public CollisionTest {};

TEST_F(ViewMoveTest, NoHitTakesTheTargetAndPublishesTheHitPoint) {
    cave.viewX = 700;
    cave.viewY = 700;
    cave.moveViewBy(60, 200);
    EXPECT_EQ(cave.viewX, 760);
    EXPECT_EQ(cave.viewY, 900);
    EXPECT_EQ(hitPoint.x, 726);
    EXPECT_EQ(hitPoint.y, 793);
    EXPECT_EQ(debugId, 8);
}

TEST_F(ViewMoveTest, StraightStepIntoASideWallGoesHalfWayToTheHitPoint) {
    cave.viewX = 1200;
    cave.viewY = 600;
    cave.moveViewBy(100, 0);
    EXPECT_EQ(cave.viewX, (1200 + 1276) / 2);
    EXPECT_EQ(cave.viewY, 600);
    EXPECT_EQ(hitPoint.x, 1276);
    EXPECT_EQ(hitPoint.y, 600);
}

TEST_F(ViewMoveTest, StraightStepIntoATopWallGoesHalfWayAlongY) {
    cave.viewX = 1500;
    cave.viewY = 1500;
    cave.moveViewBy(0, 200);
    EXPECT_EQ(cave.viewX, 1500);
    EXPECT_EQ(cave.viewY, (1500 + 1596) / 2);
}

TEST_F(ViewMoveTest, DiagonalStepJumpsToTheReflectedTargetWhenItIsOpen) {
    cave.viewX = 1200;
    cave.viewY = 500;
    int32_t tx = 1300, ty = 540;
    cave.moveViewTo(tx, ty);
    EXPECT_EQ(tx, 1258);
    EXPECT_EQ(cave.viewX, 1258);
    EXPECT_EQ(cave.viewY, 540);
    EXPECT_EQ(hitPoint.x, 1276);
    EXPECT_EQ(hitPoint.y, 528);
    EXPECT_EQ(debugId, 11);
}

TEST_F(ViewMoveTest, HalfWayToAHitPointInAnotherRowNeverEndsInRock) {
    // Down into row 0 (1..4), reflected at its bottom wall with the hit point's y
    // equal to the reflected target's: half way along x at the old y would be
    // x 1280, rock in row 1 (0..3). The view takes the hit point instead.
    cave.viewX = 1174;
    cave.viewY = 450;
    cave.moveViewBy(216, -450);
    EXPECT_EQ(debugId, 33);
    EXPECT_EQ(hitPoint.x, 1386);
    EXPECT_EQ(hitPoint.y, 6);
    EXPECT_EQ(cave.viewX, 1386);
    EXPECT_EQ(cave.viewY, 6);
}

TEST_F(ViewMoveTest, AStepIsRefusedOnlyWhenItWouldEndInRock) {
    // The top wall of the top row is met at (1191, 451), above the cave: the hit
    // point is rock, but the rule takes the view to the reflected target, open.
    shapeCave(cave, 320, 64, 28, {{12, 27}, {3, 24}, {1, 19}, {1, 21}, {3, 23}, {1, 15}, {0, 13}});
    cave.viewX = 1196;
    cave.viewY = 400;
    cave.moveViewBy(-24, 245);
    EXPECT_EQ(debugId, 17);
    EXPECT_EQ(cave.viewX, 1172);
    EXPECT_EQ(cave.viewY, 257);
}

TEST_F(ViewMoveTest, ReflectedTargetInRockLeavesTheViewAtTheHitPoint) {
    cave.viewX = 1200;
    cave.viewY = 600;
    cave.moveViewBy(1800, 0);  // reflected to x -442, left of the cave
    EXPECT_EQ(cave.viewX, 1276);
    EXPECT_EQ(cave.viewY, 600);
}

}  // namespace
