// The message loop and the frame driver: a frame every frameInterval ms while
// the program is active, a presentation (fade step and flip) at most every
// presentInterval ms.
#include "app/frame_driver.h"

#include <windows.h>

#include "app/clock.h"
#include "app/globals.h"
#include "app/passes.h"
#include "assets/fades.h"
#include "assets/sprite_strip.h"
#include "display/display.h"

namespace {

// Milliseconds until the next frame is due (0 when it is due now).
DWORD timeToNextFrame() {
    int32_t since = static_cast<int32_t>(static_cast<uint32_t>(gameClock.elapsed()) - static_cast<uint32_t>(frameMark));
    return since >= frameInterval || since < 0 ? 0 : static_cast<DWORD>(frameInterval - since);
}

}  // namespace

int runMessageLoop() {
    MSG message{};
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            BOOL got = GetMessageA(&message, nullptr, 0, 0);
            if (got == 0) return static_cast<int>(message.wParam);
            if (got > 0) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        } else if (appActive) {
            if (!frameMarkSet) {
                // The first frame runs at once.
                frameMark = gameClock.elapsed() - frameInterval;
                frameMarkSet = true;
            }
            if (gameClock.intervalElapsed(frameMark, frameInterval)) {
                runFrame();
            } else {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, timeToNextFrame(), QS_ALLINPUT);
            }
        } else {
            WaitMessage();
        }
    }
}

bool runFrame() {
    if (!presentMarkSet) {
        presentMark = gameClock.elapsed();
        presentMarkSet = true;
    }
    updatePass();
    drawPass();
    if (!gameClock.intervalElapsed(presentMark, presentInterval)) return true;
    if (switches.fadeMode == 1) {
        if (stepFadeIn(switches.fireworksMode)) switches.fadeMode = 0;
    } else if (switches.fadeMode == 2) {
        if (stepFadeOut(switches.fireworksMode)) switches.fadeMode = 0;
    }
    return present();
}

bool present() {
    if (primarySurface == nullptr) return false;
    if (primarySurface->Flip(nullptr, DDFLIP_WAIT) != DDERR_SURFACELOST) return true;
    if (!restoreSurfaces()) return false;
    return applyPalettes(switches.fireworksMode);
}

bool restoreSurfaces() {
    primarySurface->Restore();
    backBuffer->Restore();
    if (!fixedActorStrip.reload() || !screenedStrip.reload()) return false;
    for (SpriteStrip& strip : directionStrips) {
        if (!strip.reload()) return false;
    }
    // The canvas, the message surface and the cave's pieces live in system memory: never lost.
    return true;
}
