// The player: the throttle's arithmetic, walking the view, driving with the
// view in tow, and jumps.
#include <gtest/gtest.h>

#include "actors/actors.h"
#include "app/globals.h"
#include "assets/sprite_strip.h"
#include "support/platform_test.h"
#include "support/test_cave.h"

namespace {

void setMotion(PlayerActor& p, int32_t speed, int32_t vx, int32_t vy) {
    p.speed = speed;
    p.velocityX = vx;
    p.velocityY = vy;
}

TEST(PlayerThrottle, AtTheTopSpeedMoreThrottleChangesNothing) {
    PlayerActor p;
    setMotion(p, 1500, 1060, -1060);
    p.throttle(5);
    EXPECT_EQ(p.speed, 1500);
    EXPECT_EQ(p.velocityX, 1060);
    EXPECT_EQ(p.velocityY, -1060);
}

TEST(PlayerThrottle, ScalesTheVelocityTruncatingTowardZero) {
    PlayerActor p;
    setMotion(p, 282, 200, -200);
    p.direction = 8;
    p.throttle(-5);
    EXPECT_EQ(p.speed, 277);
    EXPECT_EQ(p.velocityX, 196);   // 277 x 200 / 282 = 196.45
    EXPECT_EQ(p.velocityY, -196);  // -196.45
    EXPECT_EQ(p.direction, 8);
}

TEST(PlayerThrottle, StaysWithinFiftyAndFifteenHundred) {
    PlayerActor p;
    setMotion(p, 52, 52, 0);
    p.throttle(-5);
    EXPECT_EQ(p.speed, 50);
    EXPECT_EQ(p.velocityX, 50);
    p.throttle(-5);
    EXPECT_EQ(p.speed, 50);
    EXPECT_EQ(p.velocityX, 50);
    setMotion(p, 1498, 1498, 0);
    p.throttle(5);
    EXPECT_EQ(p.speed, 1500);
    EXPECT_EQ(p.velocityX, 1500);
}

TEST(PlayerThrottle, APlayerWithNoSpeedYetDoesNotDivideByZero) {
    PlayerActor p;  // as constructed: speed 0, velocity (0, 0)
    p.throttle(5);
    EXPECT_EQ(p.speed, 50);
    EXPECT_EQ(p.velocityX, 0);
    EXPECT_EQ(p.velocityY, 0);
    p.throttle(5);  // from 50 the velocity scales as usual
    EXPECT_EQ(p.speed, 55);
}

TEST(PlayerThrottle, AHugeDeltaDoesNotOverflow) {
    PlayerActor p;
    setMotion(p, 1000, 600, 800);
    p.throttle(INT32_MAX);
    EXPECT_EQ(p.speed, 1500);
    EXPECT_EQ(p.velocityX, 900);
    EXPECT_EQ(p.velocityY, 1200);
    p.throttle(INT32_MIN);
    EXPECT_EQ(p.speed, 50);
    EXPECT_EQ(p.velocityX, 30);
    EXPECT_EQ(p.velocityY, 40);
}

class PlayerTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        qmtest::buildTestCave({{0, 3}, {2, 5}}, 8);
        SpriteStrip* strips[DIRECTION_COUNT];
        for (int i = 0; i < DIRECTION_COUNT; ++i) strips[i] = &directionStrips[i];
        ASSERT_TRUE(player.init(strips, 600, 200, 0, 500, 200, 200));
        Quillmere.viewX = 600;
        Quillmere.viewY = 200;
    }
};

TEST_F(PlayerTest, SteerMovesTheViewAndStandsThePlayerOnIt) {
    player.steer(-5, 0);
    EXPECT_EQ(Quillmere.viewX, 595);
    EXPECT_EQ(Quillmere.viewY, 200);
    EXPECT_EQ(player.x, 595);
    EXPECT_EQ(player.y, 200);
    EXPECT_EQ(player.direction, 1);
    player.steer(0, 0);
    EXPECT_EQ(player.direction, 0);  // standing still
    EXPECT_EQ(player.x, 595);
}

TEST_F(PlayerTest, SteerStopsAtAWall) {
    for (int i = 0; i < 400; ++i) player.steer(-5, 0);
    EXPECT_GE(Quillmere.viewX, 1);
    EXPECT_LT(Quillmere.viewX, 20);
    EXPECT_EQ(player.x, Quillmere.viewX);
}

TEST_F(PlayerTest, DrivingMovesThePlayerByItsVelocityAndTheViewFollows) {
    platform::advanceTime(500);
    player.update();
    EXPECT_EQ(player.x, 700);
    EXPECT_EQ(player.y, 300);
    EXPECT_EQ(Quillmere.viewX, 700);
    EXPECT_EQ(Quillmere.viewY, 300);
}

TEST_F(PlayerTest, TeleportMovesThePlayerButNotTheView) {
    player.teleport(900, 700);
    EXPECT_EQ(player.x, 900);
    EXPECT_EQ(player.y, 700);
    EXPECT_EQ(Quillmere.viewX, 600);
    player.steer(0, 0);  // walk mode puts it back on the view centre
    EXPECT_EQ(player.x, 600);
    EXPECT_EQ(player.y, 200);
}

}  // namespace
