// Scene population on a real start-up: where every actor stands, how it moves,
// the order of the random draws, and a second population after a new cave.
#include <gtest/gtest.h>

#include <cstdlib>

#include "actors/actors.h"
#include "actors/particles.h"
#include "app/clock.h"
#include "app/globals.h"
#include "assets/sprite_strip.h"
#include "assets/bitmap.h"
#include "support/demo_startup.h"
#include "support/platform_test.h"
#include "world/cave.h"

namespace {

class SceneTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        platform::setTime(5000);
        const char* failed = qmtest::startDemoInProcess();
        ASSERT_EQ(failed, nullptr) << failed;
    }

    // Open cell, at least 10 units from its edges.
    static void expectWellInsideTheCave(const FixedActor& actor) {
        int16_t row = 0;
        int16_t column = 0;
        ASSERT_TRUE(Quillmere.isOpenCell(actor.x, actor.y, row, column)) << actor.x << "," << actor.y;
        int32_t inCellX = actor.x - column * Quillmere.cellWidth();
        int32_t inCellY = actor.y - row * Quillmere.cellHeight();
        EXPECT_GE(inCellX, 10);
        EXPECT_LE(inCellX, Quillmere.cellWidth() - 10);
        EXPECT_GE(inCellY, 10);
        EXPECT_LE(inCellY, Quillmere.cellHeight() - 10);
    }
};

TEST_F(SceneTest, FixedActorsStandInOpenCellsWithTheFiveFrameStrip) {
    for (const FixedActor& actor : fixedActors) {
        expectWellInsideTheCave(actor);
        EXPECT_EQ(actor.strip, &fixedActorStrip);
        EXPECT_EQ(actor.frameCount, 5);
        EXPECT_EQ(actor.frameWidth, 90);
        EXPECT_EQ(actor.frameHeight, 100);
        EXPECT_EQ(actor.frameInterval, 500);
        EXPECT_GE(actor.currentFrame, 0);
        EXPECT_LE(actor.currentFrame, 4);
        EXPECT_EQ(actor.frameMark, 0);  // the clock was reset just before
    }
}

TEST_F(SceneTest, WanderersMoveAtOneToEightHundredUnitsPerSecondOnEachAxis) {
    for (const Wanderer& wanderer : wanderers) {
        expectWellInsideTheCave(wanderer);
        EXPECT_GE(std::abs(wanderer.velocityX), 100);
        EXPECT_LE(std::abs(wanderer.velocityX), 800);
        EXPECT_GE(std::abs(wanderer.velocityY), 100);
        EXPECT_LE(std::abs(wanderer.velocityY), 800);
        EXPECT_GE(wanderer.speed, 141);
        EXPECT_LE(wanderer.speed, 1131);
        EXPECT_GE(wanderer.frameInterval, 300);
        EXPECT_LE(wanderer.frameInterval, 1000);
        EXPECT_GE(wanderer.direction, 5);  // never still on an axis: a diagonal
        EXPECT_EQ(wanderer.frameCount, 3);
        EXPECT_EQ(wanderer.frameWidth, 49);
    }
}

TEST_F(SceneTest, ThePlayerStartsDiagonallyAtTheViewCentreWithTheBurstAroundIt) {
    expectWellInsideTheCave(player);
    EXPECT_EQ(std::abs(player.velocityX), 200);
    EXPECT_EQ(std::abs(player.velocityY), 200);
    EXPECT_EQ(player.speed, 282);
    EXPECT_EQ(player.frameInterval, 500);
    EXPECT_FALSE(player.driveMode);
    EXPECT_EQ(Quillmere.viewX, player.x);
    EXPECT_EQ(Quillmere.viewY, player.y);

    ASSERT_EQ(particleBurst.count, 2000);
    EXPECT_EQ(particleBurst.centreX, player.x);
    EXPECT_EQ(particleBurst.centreY, player.y);
    EXPECT_EQ(particleBurst.radius, 10);
    for (int i = 0; i < particleBurst.count; ++i) {
        EXPECT_LE(std::abs(particleBurst.particles[i].x - player.x), 10);
        EXPECT_LE(std::abs(particleBurst.particles[i].y - player.y), 10);
    }
}

TEST_F(SceneTest, TheRandomDrawsComeInTheirOrder) {
    // Replays the draws of the fixed actors and of the first wanderer from the same seed.
    gameRandom.reseed();
    ASSERT_TRUE(CreateObjects());
    Wanderer first = wanderers[0];
    gameRandom.reseed();
    for (int i = 0; i < FIXED_ACTOR_COUNT; ++i) {
        int32_t x = 0;
        int32_t y = 0;
        Quillmere.randomOpenPoint(x, y);
        gameRandom.range(0, 4);
    }
    int32_t x = 0;
    int32_t y = 0;
    Quillmere.randomOpenPoint(x, y);
    int32_t startFrame = gameRandom.range(0, 2);
    int32_t a = gameRandom.range(100, 800);
    int32_t signA = gameRandom.sign();
    int32_t b = gameRandom.range(100, 800);
    int32_t signB = gameRandom.sign();
    int32_t interval = gameRandom.range(300, 1000);
    EXPECT_EQ(first.x, x);
    EXPECT_EQ(first.y, y);
    EXPECT_EQ(first.currentFrame, startFrame);
    EXPECT_EQ(first.velocityX, b * signB);
    EXPECT_EQ(first.velocityY, a * signA);
    EXPECT_EQ(first.frameInterval, interval);
}

TEST_F(SceneTest, PopulatingAgainKeepsDriveModeAndReplacesEveryone) {
    player.driveMode = true;
    throttleDirection = -1;
    int32_t oldX = wanderers[0].x;
    int32_t oldY = wanderers[0].y;
    Quillmere.generate(&backgroundImage, 6400, 6400);
    ASSERT_TRUE(CreateObjects());
    EXPECT_TRUE(player.driveMode);
    EXPECT_EQ(throttleDirection, -1);
    EXPECT_FALSE(wanderers[0].x == oldX && wanderers[0].y == oldY);
    for (const Wanderer& wanderer : wanderers) expectWellInsideTheCave(wanderer);
    EXPECT_EQ(Quillmere.viewX, player.x);
}

}  // namespace
