// The scene's actors: figures that stand, figures that wander and bounce, and
// the player. FixedActor is in fixed_actor.cpp, Wanderer in wanderer.cpp,
// PlayerActor in player.cpp and CreateObjects in scene.cpp; the globals are
// defined in app/globals.cpp, with every other global of the demo.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>

class SpriteStrip;

// (0, 0, W-1, H-1): the screen rectangle in which actors and particles are drawn.
extern RECT visibleRect;

constexpr int FIXED_ACTOR_COUNT = 50;
constexpr int WANDERER_COUNT = 50;
constexpr int DIRECTION_COUNT = 9;

class FixedActor {
public:
    bool init(SpriteStrip* strip, int32_t x, int32_t y, int32_t startFrame, int32_t frameInterval);
    virtual HRESULT draw(LPDIRECTDRAWSURFACE destination);

    SpriteStrip* strip = nullptr;
    int32_t frameCount = 0;
    int32_t frameWidth = 0;
    int32_t frameHeight = 0;
    int32_t frameMark = 0;
    int32_t currentFrame = 0;
    int32_t frameInterval = 0;
    int32_t x = 0;  // world position of the foot point
    int32_t y = 0;

protected:
    // Advances the frame when the interval has passed; at most one frame per call.
    void animate();
    // Draws `drawStrip` at the foot point when it lies in visibleRect; 0 when nothing is drawn.
    HRESULT drawFrom(SpriteStrip* drawStrip, LPDIRECTDRAWSURFACE destination);
};

class Wanderer : public FixedActor {
public:
    bool init(SpriteStrip* const directionStrips[DIRECTION_COUNT], int32_t x, int32_t y, int32_t startFrame,
              int32_t frameInterval, int32_t velocityX, int32_t velocityY);
    HRESULT draw(LPDIRECTDRAWSURFACE destination) override;
    virtual void update();
    void setDirection(int32_t vx, int32_t vy);

    SpriteStrip* strips[DIRECTION_COUNT] = {};
    int32_t minimumSpeed = 50;
    int32_t maximumSpeed = 1500;
    int32_t speed = 0;
    int32_t velocityX = 0;
    int32_t velocityY = 0;  // positive = up
    int32_t motionMark = 0;
    int32_t direction = 0;
    // What the truncation of the last steps dropped, in units x ms (under 1000
    // either way), carried into the next step so that slow movers move too.
    int32_t carryX = 0;
    int32_t carryY = 0;

protected:
    // The time-based step with collision and bounce shared with the player.
    void moveByVelocity();
};

class PlayerActor : public Wanderer {
public:
    void update() override;
    void throttle(int32_t delta);
    void steer(int32_t dx, int32_t dy);
    void teleport(int32_t x, int32_t y);

    bool driveMode = false;
};

extern FixedActor fixedActors[FIXED_ACTOR_COUNT];
extern Wanderer wanderers[WANDERER_COUNT];
extern PlayerActor player;

bool CreateObjects();
