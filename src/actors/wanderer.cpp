// Wanderer (actors.h): figures that move at a constant speed and bounce off
// the cave walls.
#include <cmath>
#include <cstdint>
#include <limits>

#include "actors/actors.h"
#include "app/clock.h"
#include "assets/sprite_strip.h"
#include "world/cave.h"

namespace {

int32_t clampToInt32(int64_t value) {
    constexpr int64_t lowest = std::numeric_limits<int32_t>::min();
    constexpr int64_t highest = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value < lowest ? lowest : value > highest ? highest : value);
}

// A target this far out is already far beyond any cave; keeping it there leaves
// room for the wall reflection's arithmetic (2 x wall - target).
constexpr int64_t TARGET_LIMIT = int64_t{1} << 29;

// The step of elapsedMs at velocity, truncated toward zero, with what earlier
// truncations dropped: over any span the distance is velocity x time / 1000
// to within one unit, whatever the frame interval.
int32_t targetAfter(int32_t from, int32_t elapsedMs, int32_t velocity, int32_t& carry) {
    // 64 bits: dt is not capped, and after ~24 minutes without an update
    // dt x velocity no longer fits in 32 bits.
    const int64_t travel = int64_t{elapsedMs} * velocity + carry;
    const int64_t step = travel / 1000;
    carry = static_cast<int32_t>(travel - step * 1000);
    const int64_t target = from + step;
    return static_cast<int32_t>(target < -TARGET_LIMIT ? -TARGET_LIMIT : target > TARGET_LIMIT ? TARGET_LIMIT : target);
}

}  // namespace

bool Wanderer::init(SpriteStrip* const directionStrips[DIRECTION_COUNT], int32_t atX, int32_t atY,
                    int32_t startFrame, int32_t interval, int32_t vx, int32_t vy) {
    for (int i = 0; i < DIRECTION_COUNT; ++i) {
        if (directionStrips[i] == nullptr) return false;
        strips[i] = directionStrips[i];
    }
    frameCount = strips[0]->frameCount();
    frameWidth = strips[0]->frameWidth();
    frameHeight = strips[0]->frameHeight();
    x = atX;
    y = atY;
    currentFrame = startFrame;
    frameInterval = interval;
    frameMark = gameClock.elapsed();

    // A still axis gets a small positive speed, so every wanderer moves.
    if (vx == 0) vx = gameRandom.range(5, 20);
    if (vy == 0) vy = gameRandom.range(5, 20);
    velocityX = vx;
    velocityY = vy;
    speed = clampToInt32(static_cast<int64_t>(std::hypot(static_cast<double>(vx), static_cast<double>(vy))));

    motionMark = gameClock.elapsed();
    carryX = 0;
    carryY = 0;
    setDirection(vx, vy);
    return true;
}

HRESULT Wanderer::draw(LPDIRECTDRAWSURFACE destination) {
    animate();
    return drawFrom(strips[direction], destination);
}

void Wanderer::update() { moveByVelocity(); }

void Wanderer::setDirection(int32_t vx, int32_t vy) {
    if (vy == 0) {
        direction = vx == 0 ? 0 : vx < 0 ? 1 : 2;
    } else if (vx == 0) {
        direction = vy > 0 ? 3 : 4;
    } else if (vy > 0) {
        direction = vx > 0 ? 5 : 6;
    } else {
        direction = vx < 0 ? 7 : 8;
    }
}

void Wanderer::moveByVelocity() {
    int32_t now = gameClock.elapsed();
    int32_t dt = static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(motionMark));
    motionMark = gameClock.elapsed();

    int32_t targetX = targetAfter(x, dt, velocityX, carryX);
    int32_t targetY = targetAfter(y, dt, velocityY, carryY);
    // Less than a unit so far: no step to take yet. A step of no length on a
    // wall line would count as a hit, and a slow mover crossing the lines
    // between open rows would bounce there.
    if (targetX == x && targetY == y) return;
    int32_t hitX = 0;
    int32_t hitY = 0;
    if (!Quillmere.moveWithCollision(x, y, targetX, targetY, hitX, hitY)) {
        x = targetX;
        y = targetY;
        return;
    }

    // Bounce: stand at the hit point and head for the reflected target at the
    // same speed. What the old heading carried does not belong to the new one.
    x = hitX;
    y = hitY;
    carryX = 0;
    carryY = 0;
    int64_t awayX = int64_t{targetX} - hitX;
    int64_t awayY = int64_t{targetY} - hitY;
    double distance = std::sqrt(static_cast<double>(awayX * awayX + awayY * awayY));
    int32_t vx = 0;
    int32_t vy = 0;
    // When the pull-back lands the hit point on the reflected target there is no
    // heading to keep; both components then go through the zero rule below.
    if (distance > 0.0) {
        vx = clampToInt32(static_cast<int64_t>(static_cast<double>(awayX * speed) / distance));
        vy = clampToInt32(static_cast<int64_t>(static_cast<double>(awayY * speed) / distance));
    }
    if (vx == 0) vx = speed * gameRandom.sign();
    if (vy == 0) vy = speed * gameRandom.sign();
    velocityX = vx;
    velocityY = vy;
    setDirection(vx, vy);
}
