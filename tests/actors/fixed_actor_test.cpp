// Fixed actors: the frame animation and where an actor counts as on the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "actors/actors.h"
#include "app/globals.h"
#include "assets/sprite_strip.h"
#include "display/display.h"
#include "support/demo_startup.h"
#include "support/platform_test.h"
#include "world/cave.h"

namespace {

// A strip with frames but no surfaces, for actors that are never on the screen.
class CountedStrip : public SpriteStrip {
public:
    explicit CountedStrip(int32_t frames) {
        frameCount_ = frames;
        frameWidth_ = 90;
        frameHeight_ = 100;
    }
};

class FixedActorAnimation : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        applyDefaults();
        Quillmere.viewX = 0;
        Quillmere.viewY = 0;
    }
    CountedStrip strip{5};
    FixedActor actor;
};

TEST_F(FixedActorAnimation, InitCopiesTheStripsSizeAndFailsWithoutAStrip) {
    EXPECT_FALSE(actor.init(nullptr, 1, 2, 0, 500));
    EXPECT_EQ(actor.strip, nullptr);
    platform::setTime(1234);
    ASSERT_TRUE(actor.init(&strip, 100000, 100000, 3, 500));
    EXPECT_EQ(actor.frameCount, 5);
    EXPECT_EQ(actor.frameWidth, 90);
    EXPECT_EQ(actor.frameHeight, 100);
    EXPECT_EQ(actor.currentFrame, 3);
    EXPECT_EQ(actor.frameMark, 1234);
}

TEST_F(FixedActorAnimation, AdvancesOneFrameAtMostPerIntervalAndWraps) {
    ASSERT_TRUE(actor.init(&strip, 100000, 100000, 3, 500));  // far off the screen
    platform::setTime(499);
    actor.draw(nullptr);
    EXPECT_EQ(actor.currentFrame, 3);
    platform::setTime(500);
    actor.draw(nullptr);
    EXPECT_EQ(actor.currentFrame, 4);
    actor.draw(nullptr);  // same time: no second advance
    EXPECT_EQ(actor.currentFrame, 4);
    platform::setTime(5000);  // a long wait is not made up
    actor.draw(nullptr);
    EXPECT_EQ(actor.currentFrame, 0);
    actor.draw(nullptr);
    EXPECT_EQ(actor.currentFrame, 0);
    platform::setTime(5499);
    actor.draw(nullptr);
    EXPECT_EQ(actor.currentFrame, 0);
    platform::setTime(5500);
    actor.draw(nullptr);
    EXPECT_EQ(actor.currentFrame, 1);
}

TEST_F(FixedActorAnimation, AnActorNeverSetUpDrawsNothing) {
    EXPECT_EQ(actor.draw(nullptr), 0);
    Wanderer wanderer;
    EXPECT_EQ(wanderer.draw(nullptr), 0);
}

// With the demo started, counts the keyed copies an actor makes into the canvas.
class FixedActorOnScreen : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        const char* failed = qmtest::startDemoInProcess();
        ASSERT_EQ(failed, nullptr) << failed;
        ASSERT_TRUE(actor.init(&fixedActorStrip, 0, 0, 0, 500));
    }

    int bltsWhenAt(int32_t screenX, int32_t screenY) {
        // Screen (sx, sy) is world (viewX - 320 + sx, viewY + 240 - sy).
        actor.x = Quillmere.viewX - screenWidth / 2 + screenX;
        actor.y = Quillmere.viewY + screenHeight / 2 - screenY;
        platform::clearCallLog();
        platform::setCallLogging(true);
        actor.draw(canvas);
        platform::setCallLogging(false);
        const auto& log = platform::callLog();
        return static_cast<int>(std::count_if(log.begin(), log.end(), [](const platform::CallRecord& call) {
            return call.name == "IDirectDrawSurface::Blt";
        }));
    }
    FixedActor actor;
};

TEST_F(FixedActorOnScreen, TheRightAndBottomEdgesAreOutside) {
    EXPECT_EQ(bltsWhenAt(0, 0), 1);
    EXPECT_EQ(bltsWhenAt(screenWidth - 2, screenHeight - 2), 1);
    EXPECT_EQ(bltsWhenAt(screenWidth - 1, 100), 0);
    EXPECT_EQ(bltsWhenAt(100, screenHeight - 1), 0);
    EXPECT_EQ(bltsWhenAt(-1, 100), 0);
    EXPECT_EQ(bltsWhenAt(100, -1), 0);
}

TEST_F(FixedActorOnScreen, AStartFrameBeyondTheStripDrawsNothingUntilItWraps) {
    ASSERT_TRUE(actor.init(&fixedActorStrip, 0, 0, 9, 500));
    EXPECT_EQ(bltsWhenAt(100, 100), 0);
    platform::advanceTime(500);
    EXPECT_EQ(bltsWhenAt(100, 100), 1);
    EXPECT_EQ(actor.currentFrame, 0);
}

TEST_F(FixedActorOnScreen, TheFramesBottomCentreStandsOnTheFootPoint) {
    // A foot point at (320, 300): the 90 x 100 frame covers x 275..364, y 200..299.
    fillSurface(canvas, 0);
    actor.x = Quillmere.viewX;
    actor.y = Quillmere.viewY - 60;
    actor.draw(canvas);
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(DDSURFACEDESC);
    ASSERT_EQ(canvas->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    const auto* pixels = static_cast<const uint8_t*>(desc.lpSurface);
    int minX = 640, maxX = -1, minY = 480, maxY = -1;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (pixels[y * desc.lPitch + x] != 0) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    canvas->Unlock(nullptr);
    ASSERT_GE(maxX, 0) << "nothing drawn";
    EXPECT_GE(minX, 275);
    EXPECT_LE(maxX, 364);
    EXPECT_GE(minY, 200);
    EXPECT_LE(maxY, 299);
}

}  // namespace
