// FixedActor (actors.h): figures that stand where they were put and loop their
// strip's frames.
#include "actors/actors.h"
#include "app/clock.h"
#include "assets/sprite_strip.h"
#include "world/cave.h"

bool FixedActor::init(SpriteStrip* newStrip, int32_t atX, int32_t atY, int32_t startFrame, int32_t interval) {
    if (newStrip == nullptr) return false;
    strip = newStrip;
    frameCount = newStrip->frameCount();
    frameWidth = newStrip->frameWidth();
    frameHeight = newStrip->frameHeight();
    x = atX;
    y = atY;
    currentFrame = startFrame;
    frameInterval = interval;
    frameMark = gameClock.elapsed();
    return true;
}

HRESULT FixedActor::draw(LPDIRECTDRAWSURFACE destination) {
    animate();
    return drawFrom(strip, destination);
}

void FixedActor::animate() {
    if (!gameClock.intervalElapsed(frameMark, frameInterval)) return;
    if (++currentFrame >= frameCount) currentFrame = 0;
}

HRESULT FixedActor::drawFrom(SpriteStrip* drawStrip, LPDIRECTDRAWSURFACE destination) {
    // An actor that was never set up, or a frame the strip does not hold, draws nothing.
    if (drawStrip == nullptr || currentFrame < 0 || currentFrame >= drawStrip->frameCount()) return 0;
    POINT foot = {Quillmere.worldToScreenX(x), Quillmere.worldToScreenY(y)};
    if (!PtInRect(&visibleRect, foot)) return 0;
    // The frame's bottom edge centre stands on the foot point.
    return drawStrip->blitFrame(destination, foot.x - frameWidth / 2, foot.y - frameHeight, currentFrame);
}
