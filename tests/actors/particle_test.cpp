// Particles: the float32 step arithmetic, lifetimes, births and rebirths, and
// the trails they draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "actors/particles.h"
#include "actors/trig_tables.h"
#include "assets/fades.h"
#include "assets/palettes.h"
#include "display/display.h"
#include "support/demo_startup.h"
#include "support/platform_test.h"
#include "world/cave.h"

namespace {

class ParticleTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        buildTrigTables();
    }
    static Particle flying(int32_t x, int32_t y, uint8_t angle, float speed) {
        Particle p;
        p.x = p.previousX = x;
        p.y = p.previousY = y;
        p.angle = angle;
        p.speed = speed;
        p.spin = 1;
        p.life = 1.0f;
        p.decay = 0.01f;
        return p;
    }
};

TEST_F(ParticleTest, AStepFollowsTheHeadingBeforeItTurns) {
    Particle p = flying(0, 0, 0, 15.0f);
    p.advance();
    EXPECT_EQ(p.x, 15);
    EXPECT_EQ(p.y, 0);
    EXPECT_EQ(p.previousX, 0);
    EXPECT_EQ(p.angle, 1);

    Particle up = flying(0, 0, 64, 15.0f);
    up.advance();
    EXPECT_EQ(up.x, 0);  // 15 x -0.0000037 truncates to 0
    EXPECT_EQ(up.y, 15);
}

TEST_F(ParticleTest, StepsTruncateTowardZeroAndKeepThePreviousPoint) {
    Particle p = flying(100, 100, 160, 10.0f);  // heading down-left: both steps negative
    float cx = tableCos(160) * 10.0f;
    float sy = tableSin(160) * 10.0f;
    ASSERT_LT(cx, 0.0f);
    ASSERT_LT(sy, 0.0f);
    p.advance();
    EXPECT_EQ(p.x, 100 + static_cast<int32_t>(cx));
    EXPECT_EQ(p.y, 100 + static_cast<int32_t>(sy));
    EXPECT_EQ(p.previousX, 100);
    EXPECT_EQ(p.previousY, 100);
}

TEST_F(ParticleTest, TheAngleWrapsAsAByte) {
    Particle p = flying(0, 0, 250, 10.0f);
    p.spin = 10;
    p.advance();
    EXPECT_EQ(p.angle, 4);
}

int stepsToDie(float decay) {
    Particle p;
    p.life = 1.0f;
    p.decay = decay;
    int steps = 0;
    while (p.life > 0.0f && steps < 1000) {
        p.advance();
        ++steps;
    }
    return steps;
}

TEST_F(ParticleTest, LifetimesFollowFloat32Arithmetic) {
    EXPECT_EQ(stepsToDie(1 * 0.01f), 101);
    EXPECT_EQ(stepsToDie(20 * 0.01f), 6);

    Particle p;
    p.life = 1.0f;
    p.decay = 20 * 0.01f;
    for (int i = 0; i < 5; ++i) p.advance();
    EXPECT_GT(p.life, 0.0f);
    EXPECT_LT(p.life, 0.000001f);
}

TEST_F(ParticleTest, ADeadParticleDoesNotMove) {
    Particle p = flying(5, 6, 0, 20.0f);
    p.life = 0.0f;
    p.advance();
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.angle, 0);
    EXPECT_EQ(p.life, 0.0f);
}

TEST_F(ParticleTest, SpawnDrawsEverySettingWithinItsRange) {
    std::set<float> decays;
    for (int i = 0; i < 2000; ++i) {
        Particle p;
        p.spawn(7, -8);
        EXPECT_EQ(p.x, 7);
        EXPECT_EQ(p.previousX, 7);
        EXPECT_EQ(p.y, -8);
        EXPECT_EQ(p.previousY, -8);
        EXPECT_EQ(p.life, 1.0f);
        EXPECT_GE(p.speed, 10.0f);
        EXPECT_LE(p.speed, 20.0f);
        EXPECT_EQ(p.speed, static_cast<float>(static_cast<int>(p.speed)));
        EXPECT_GE(p.spin, 1);
        EXPECT_LE(p.spin, 10);
        decays.insert(p.decay);
    }
    // Twenty decays, each an integer 1..20 times 0.01 in float32.
    EXPECT_EQ(decays.size(), 20u);
    for (int n = 1; n <= 20; ++n) EXPECT_EQ(decays.count(static_cast<float>(n) * 0.01f), 1u) << n;
}

TEST_F(ParticleTest, CreateBornsEveryParticleInTheSquareAroundTheCentre) {
    ParticleBurst burst;
    burst.create(100, 200, 10, 2000);
    ASSERT_EQ(burst.count, 2000);
    EXPECT_EQ(burst.centreX, 100);
    EXPECT_EQ(burst.centreY, 200);
    EXPECT_EQ(burst.radius, 10);
    int32_t minX = 1000, maxX = -1000, minY = 1000, maxY = -1000;
    for (int i = 0; i < burst.count; ++i) {
        const Particle& p = burst.particles[i];
        EXPECT_EQ(p.previousX, p.x);
        EXPECT_EQ(p.previousY, p.y);
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    EXPECT_EQ(minX, 90);
    EXPECT_EQ(maxX, 110);
    EXPECT_EQ(minY, 190);
    EXPECT_EQ(maxY, 210);

    burst.create(0, 0, 10, 5);  // replaces the particles
    EXPECT_EQ(burst.count, 5);
    burst.create(0, 0, 10, -3);  // a negative count holds none
    EXPECT_EQ(burst.count, 0);
    burst.update();
}

TEST_F(ParticleTest, ADyingParticleIsRebornAtOnceAroundTheNewCentre) {
    Quillmere.viewX = 5000;
    Quillmere.viewY = 6000;
    ParticleBurst burst;
    burst.create(100, 200, 10, 1);
    Particle& p = burst.particles[0];
    p.decay = 20 * 0.01f;
    for (int step = 1; step <= 5; ++step) {
        burst.update();
        EXPECT_GT(p.life, 0.0f);
        EXPECT_LT(std::abs(p.x - 100), 200) << "still flying near its birth point";
    }
    burst.update();  // the 6th step ends this life and starts the next
    EXPECT_EQ(p.life, 1.0f);
    EXPECT_EQ(burst.centreX, 5000);
    EXPECT_GE(p.x, 4990);
    EXPECT_LE(p.x, 5010);
    EXPECT_GE(p.y, 5990);
    EXPECT_LE(p.y, 6010);
    EXPECT_EQ(p.previousX, p.x);
}

TEST_F(ParticleTest, LiveParticlesKeepFlyingWhenTheCentreMoves) {
    ParticleBurst burst;
    burst.create(100, 200, 10, 50);
    for (int i = 0; i < burst.count; ++i) burst.particles[i].decay = 0.01f;
    Quillmere.viewX = 3000;
    Quillmere.viewY = 3000;
    burst.update();
    for (int i = 0; i < burst.count; ++i) {
        EXPECT_LT(std::abs(burst.particles[i].previousX - 100), 11);
        EXPECT_LT(burst.particles[i].life, 1.0f);
    }
}

// Drawing needs the display: the demo is started in-process.
class ParticleDrawTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        const char* failed = qmtest::startDemoInProcess();
        ASSERT_EQ(failed, nullptr) << failed;
        // Fireworks colours: the working palette on the display, as F9 sets it.
        applyPalettes(true);
        fillSurface(canvas, 0);
    }

    uint8_t pixelAt(int x, int y) {
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof(DDSURFACEDESC);
        if (canvas->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return 0;
        uint8_t value = static_cast<const uint8_t*>(desc.lpSurface)[y * desc.lPitch + x];
        canvas->Unlock(nullptr);
        return value;
    }

    // One particle whose trail runs from screen (x1, y) to (x2, y).
    void placeTrail(int32_t x1, int32_t x2, int32_t y, float life) {
        particleBurst.create(0, 0, 0, 1);
        Particle& p = particleBurst.particles[0];
        p.previousX = Quillmere.screenToWorldX(x1);
        p.x = Quillmere.screenToWorldX(x2);
        p.previousY = p.y = Quillmere.worldToScreenY(y);
        p.life = life;
    }
};

TEST_F(ParticleDrawTest, HalfALifeDrawsEntry127WithAPenThreeWide) {
    // Entry 127 in a colour no other entry has, so GDI maps it to itself.
    workingPalette[127] = {255, 0, 255, 0};
    applyPalettes(true);
    placeTrail(100, 140, 200, 0.5f);
    ASSERT_TRUE(particleBurst.draw(canvas));
    EXPECT_EQ(pixelAt(120, 200), 127);
    EXPECT_EQ(pixelAt(120, 199), 127);
    EXPECT_EQ(pixelAt(120, 201), 127);
    EXPECT_EQ(pixelAt(120, 197), 0);
    EXPECT_EQ(pixelAt(120, 203), 0);
}

TEST_F(ParticleDrawTest, ATrailStartingOffTheScreenIsNotDrawn) {
    placeTrail(screenWidth - 1, screenWidth - 40, 200, 1.0f);  // previous point on the right edge
    ASSERT_TRUE(particleBurst.draw(canvas));
    for (int x = screenWidth - 45; x < screenWidth; ++x) EXPECT_EQ(pixelAt(x, 200), 0) << x;

    placeTrail(0, 40, 0, 1.0f);  // (0, 0) is on the screen
    ASSERT_TRUE(particleBurst.draw(canvas));
    EXPECT_NE(pixelAt(20, 0), 0);
}

TEST_F(ParticleDrawTest, AnOddLifeStaysWithinThePalette) {
    placeTrail(100, 140, 200, 3.0f);  // would be entry 765
    ASSERT_TRUE(particleBurst.draw(canvas));
    EXPECT_NE(pixelAt(120, 200), 0);
    placeTrail(100, 140, 300, -1.0f);  // would be entry -255
    ASSERT_TRUE(particleBurst.draw(canvas));
}

TEST_F(ParticleDrawTest, ACanvasThatCannotBeLockedGetsNothing) {
    placeTrail(100, 140, 200, 1.0f);
    platform::failCall("IDirectDrawSurface::Lock", 1);
    EXPECT_FALSE(particleBurst.draw(canvas));
    EXPECT_EQ(pixelAt(120, 200), 0);
    EXPECT_FALSE(particleBurst.draw(nullptr));
}

}  // namespace
