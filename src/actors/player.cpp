// PlayerActor (actors.h): the player walks the view with the arrows, or drives
// itself with a throttle.
#include <cstdint>

#include "actors/actors.h"
#include "world/cave.h"

void PlayerActor::update() {
    moveByVelocity();
    // The view follows the player without the open-cell test of setView.
    Quillmere.viewX = x;
    Quillmere.viewY = y;
}

void PlayerActor::throttle(int32_t delta) {
    int64_t oldSpeed = speed;
    int64_t newSpeed = oldSpeed + delta;
    if (newSpeed > maximumSpeed) {
        newSpeed = maximumSpeed;
    } else if (newSpeed < minimumSpeed) {
        newSpeed = minimumSpeed;
    }
    speed = static_cast<int32_t>(newSpeed);
    // A player that was never set up has no speed to scale its heading from.
    if (oldSpeed <= 0) return;
    velocityX = static_cast<int32_t>(newSpeed * velocityX / oldSpeed);
    velocityY = static_cast<int32_t>(velocityY * newSpeed / oldSpeed);
}

void PlayerActor::steer(int32_t dx, int32_t dy) {
    setDirection(dx, dy);
    Quillmere.moveViewBy(dx, dy);
    x = Quillmere.viewX;
    y = Quillmere.viewY;
}

void PlayerActor::teleport(int32_t atX, int32_t atY) {
    x = atX;
    y = atY;
}
