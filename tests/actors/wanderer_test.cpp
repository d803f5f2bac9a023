// Wanderers: the direction index, the set-up of their velocity, time-based
// steps and the bounce off the cave walls.
#include <gtest/gtest.h>

#include <cstdlib>

#include "actors/actors.h"
#include "app/clock.h"
#include "app/globals.h"
#include "assets/sprite_strip.h"
#include "support/platform_test.h"
#include "support/test_cave.h"

namespace {

SpriteStrip* const* allDirectionStrips() {
    static SpriteStrip* strips[DIRECTION_COUNT];
    for (int i = 0; i < DIRECTION_COUNT; ++i) strips[i] = &directionStrips[i];
    return strips;
}

int directionOf(int32_t vx, int32_t vy) {
    Wanderer wanderer;
    wanderer.setDirection(vx, vy);
    return wanderer.direction;
}

TEST(WandererDirection, FollowsTheSignsOfTheVelocityWithYUp) {
    EXPECT_EQ(directionOf(0, 0), 0);
    EXPECT_EQ(directionOf(-300, 0), 1);
    EXPECT_EQ(directionOf(7, 0), 2);
    EXPECT_EQ(directionOf(0, 250), 3);
    EXPECT_EQ(directionOf(0, -1), 4);
    EXPECT_EQ(directionOf(5, 5), 5);
    EXPECT_EQ(directionOf(-5, 5), 6);
    EXPECT_EQ(directionOf(-5, -5), 7);
    EXPECT_EQ(directionOf(120, -80), 8);
}

class WandererTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        // Row 0 spans columns 0..3: walls at x = 1 and 1279, y = 1 and 399.
        qmtest::buildTestCave({{0, 3}}, 8);
    }

    // A wanderer at (x, y) whose velocity is exactly (vx, vy), zeros included.
    Wanderer placed(int32_t x, int32_t y, int32_t vx, int32_t vy) {
        Wanderer wanderer;
        EXPECT_TRUE(wanderer.init(allDirectionStrips(), x, y, 0, 500, vx == 0 ? 1 : vx, vy == 0 ? 1 : vy));
        wanderer.velocityX = vx;
        wanderer.velocityY = vy;
        return wanderer;
    }
};

TEST_F(WandererTest, InitFailsAtTheFirstMissingStripKeepingThoseBefore) {
    SpriteStrip* strips[DIRECTION_COUNT];
    for (int i = 0; i < DIRECTION_COUNT; ++i) strips[i] = &directionStrips[i];
    strips[4] = nullptr;
    Wanderer wanderer;
    EXPECT_FALSE(wanderer.init(strips, 10, 20, 0, 500, 100, 100));
    EXPECT_EQ(wanderer.strips[3], &directionStrips[3]);
    EXPECT_EQ(wanderer.strips[4], nullptr);
    EXPECT_EQ(wanderer.x, 0);
    EXPECT_EQ(wanderer.speed, 0);
}

TEST_F(WandererTest, InitTakesSpeedFromTheVelocityAndTheDirectionFromItsSigns) {
    Wanderer wanderer;
    ASSERT_TRUE(wanderer.init(allDirectionStrips(), 100, 200, 2, 700, 200, -200));
    EXPECT_EQ(wanderer.speed, 282);  // 282.84 truncated
    EXPECT_EQ(wanderer.direction, 8);
    EXPECT_EQ(wanderer.currentFrame, 2);
    EXPECT_EQ(wanderer.frameInterval, 700);
    EXPECT_EQ(wanderer.strip, nullptr);  // a wanderer draws from its direction strips
}

TEST_F(WandererTest, AStillAxisGetsASmallPositiveSpeed) {
    for (int run = 0; run < 200; ++run) {
        Wanderer wanderer;
        ASSERT_TRUE(wanderer.init(allDirectionStrips(), 0, 0, 0, 500, 0, 0));
        EXPECT_GE(wanderer.velocityX, 5);
        EXPECT_LE(wanderer.velocityX, 20);
        EXPECT_GE(wanderer.velocityY, 5);
        EXPECT_LE(wanderer.velocityY, 20);
        EXPECT_EQ(wanderer.direction, 5);
        EXPECT_GE(wanderer.speed, 7);
    }
}

TEST_F(WandererTest, AStepTruncatesTowardZero) {
    Wanderer wanderer = placed(600, 200, -30, -30);
    platform::advanceTime(40);  // 40 x -30 / 1000 = -1.2
    wanderer.update();
    EXPECT_EQ(wanderer.x, 599);
    EXPECT_EQ(wanderer.y, 199);
    EXPECT_EQ(wanderer.velocityX, -30);
    EXPECT_EQ(wanderer.motionMark, 40);
}

TEST_F(WandererTest, DistanceIsVelocityTimesTimeAtAnyFrameInterval) {
    // Five open rows of columns 0..7: room for 1500 units along both axes.
    qmtest::buildTestCave({{0, 7}, {0, 7}, {0, 7}, {0, 7}, {0, 7}}, 8);
    for (int32_t velocity : {1, 50, 99, 150, -150}) {
        for (int32_t interval : {1, 10, 16}) {
            platform::reset();
            const int32_t start = velocity < 0 ? 1900 : 100;
            Wanderer wanderer = placed(start, start, velocity, velocity);
            for (int32_t t = interval; t <= 10000; t += interval) {
                platform::advanceTime(interval);
                wanderer.update();
                if (t % 400 != 0) continue;  // the same instants for every interval
                const int32_t expected = start + velocity * t / 1000;
                ASSERT_NEAR(wanderer.x, expected, 1) << velocity << " units/s, every " << interval << " ms, at " << t;
                ASSERT_NEAR(wanderer.y, expected, 1) << velocity << " units/s, every " << interval << " ms, at " << t;
            }
        }
    }
}

TEST_F(WandererTest, ABounceHeadsFromTheHitPointToTheReflectedTargetAtTheSameSpeed) {
    // From (92, 100) to (-8, 155): the left wall x = 1 is met at (1, 150), the
    // target is mirrored to (10, 155) and the hit point pulled back to (4, 147).
    Wanderer wanderer = placed(92, 100, -100, 55);
    wanderer.speed = 500;
    platform::advanceTime(1000);
    wanderer.update();
    EXPECT_EQ(debugId, 16);
    EXPECT_EQ(wanderer.x, 4);
    EXPECT_EQ(wanderer.y, 147);
    // (6, 8) from the hit point, scaled to 500.
    EXPECT_EQ(wanderer.velocityX, 300);
    EXPECT_EQ(wanderer.velocityY, 400);
    EXPECT_EQ(wanderer.direction, 5);
    EXPECT_EQ(wanderer.speed, 500);
}

TEST_F(WandererTest, AHeadOnBounceReplacesTheZeroComponentByTheFullSpeed) {
    // Straight up into the top wall of the top row: the new heading has no x part.
    Wanderer wanderer = placed(600, 300, 0, 200);
    platform::advanceTime(1000);
    wanderer.update();
    EXPECT_EQ(debugId, 21);
    EXPECT_EQ(wanderer.x, 600);
    EXPECT_EQ(wanderer.y, 396);
    EXPECT_EQ(wanderer.velocityY, -200);
    EXPECT_EQ(std::abs(wanderer.velocityX), 200);
    EXPECT_EQ(wanderer.direction, wanderer.velocityX > 0 ? 8 : 7);
}

TEST_F(WandererTest, ABounceWhoseHitPointIsTheReflectedTargetGetsAFullSpeedHeading) {
    // Right from 1200 to 1282: the wall x = 1279 mirrors the target to 1276, and
    // the pull-back puts the hit point on 1276 as well: no distance to divide by.
    Wanderer wanderer = placed(1200, 200, 82, 0);
    wanderer.speed = 82;
    platform::advanceTime(1000);
    wanderer.update();
    EXPECT_EQ(debugId, 15);
    EXPECT_EQ(wanderer.x, 1276);
    EXPECT_EQ(wanderer.y, 200);
    EXPECT_EQ(std::abs(wanderer.velocityX), 82);
    EXPECT_EQ(std::abs(wanderer.velocityY), 82);
}

TEST_F(WandererTest, AStepAfterALongPauseDoesNotOverflow) {
    // 25 minutes at 1500 units per second: 2,250,000 units to the right, far
    // past the right wall, which must send it back to the left.
    Wanderer wanderer = placed(600, 200, 1500, 0);
    wanderer.speed = 1500;
    platform::advanceTime(25 * 60 * 1000);
    wanderer.update();
    EXPECT_EQ(debugId, 15);
    EXPECT_LT(wanderer.velocityX, 0);
    EXPECT_GE(wanderer.x, 1);
    EXPECT_LE(wanderer.x, 1279);
}

TEST_F(WandererTest, WithoutAHitTheVelocityAndDirectionStay) {
    Wanderer wanderer = placed(300, 100, 100, 50);
    int direction = wanderer.direction;
    platform::advanceTime(500);
    wanderer.update();
    EXPECT_EQ(wanderer.x, 350);
    EXPECT_EQ(wanderer.y, 125);
    EXPECT_EQ(wanderer.velocityX, 100);
    EXPECT_EQ(wanderer.velocityY, 50);
    EXPECT_EQ(wanderer.direction, direction);
}

}  // namespace
