// CreateObjects (actors.h), the scene's population: every actor at a random
// open point of the cave, the view on the player, and the particle burst around it.
#include "actors/actors.h"
#include "actors/particles.h"
#include "app/clock.h"
#include "assets/sprite_strip.h"
#include "world/cave.h"

namespace {
constexpr int32_t FIXED_ACTOR_FRAME_INTERVAL = 500;
constexpr int32_t PLAYER_FRAME_INTERVAL = 500;
constexpr int32_t PLAYER_AXIS_SPEED = 200;
constexpr int32_t BURST_RADIUS = 10;
constexpr int32_t BURST_COUNT = 2000;
}  // namespace

bool CreateObjects() {
    for (FixedActor& actor : fixedActors) {
        int32_t x = 0;
        int32_t y = 0;
        Quillmere.randomOpenPoint(x, y);
        int32_t startFrame = gameRandom.range(0, fixedActorStrip.frameCount() - 1);
        if (!actor.init(&fixedActorStrip, x, y, startFrame, FIXED_ACTOR_FRAME_INTERVAL)) return false;
    }

    SpriteStrip* strips[DIRECTION_COUNT];
    for (int i = 0; i < DIRECTION_COUNT; ++i) strips[i] = &directionStrips[i];

    // The random draws are made in this order, one statement each.
    for (Wanderer& wanderer : wanderers) {
        int32_t x = 0;
        int32_t y = 0;
        Quillmere.randomOpenPoint(x, y);
        int32_t startFrame = gameRandom.range(0, strips[0]->frameCount() - 1);
        int32_t speedY = gameRandom.range(100, 800);
        int32_t signY = gameRandom.sign();
        int32_t speedX = gameRandom.range(100, 800);
        int32_t signX = gameRandom.sign();
        int32_t interval = gameRandom.range(300, 1000);
        if (!wanderer.init(strips, x, y, startFrame, interval, speedX * signX, speedY * signY)) return false;
    }

    int32_t x = 0;
    int32_t y = 0;
    Quillmere.randomOpenPoint(x, y);
    int32_t startFrame = gameRandom.range(0, strips[0]->frameCount() - 1);
    int32_t signY = gameRandom.sign();
    int32_t signX = gameRandom.sign();
    if (!player.init(strips, x, y, startFrame, PLAYER_FRAME_INTERVAL, PLAYER_AXIS_SPEED * signX,
                     PLAYER_AXIS_SPEED * signY))
        return false;

    Quillmere.setView(player.x, player.y);
    particleBurst.create(Quillmere.viewX, Quillmere.viewY, BURST_RADIUS, BURST_COUNT);
    return true;
}
