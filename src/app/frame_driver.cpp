// The message loop and the frame driver: a frame every frameInterval ms while
// the program is active, and a presentation (fade step and flip) every
// presentInterval ms, with a frame of its own when it falls between two.
#include "app/frame_driver.h"

#include <windows.h>

#include <algorithm>

#include "app/clock.h"
#include "app/globals.h"
#include "app/passes.h"
#include "assets/fades.h"
#include "assets/sprite_strip.h"
#include "display/display.h"

namespace {

// Milliseconds until `interval` has passed since `mark` (0 when it has).
DWORD timeUntil(int32_t mark, int32_t interval) {
    int32_t since = static_cast<int32_t>(static_cast<uint32_t>(gameClock.elapsed()) - static_cast<uint32_t>(mark));
    return since >= interval || since < 0 ? 0 : static_cast<DWORD>(interval - since);
}

// The first frame sets the presentation mark; from then on a presentation falls
// due every presentInterval ms.
bool presentationDue() { return presentMarkSet && timeUntil(presentMark, presentInterval) == 0; }

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
            // A frame every frameInterval ms, and one more when a presentation
            // falls due in between, which leaves the frame mark where it is: the
            // pictures come every presentInterval ms, not at the next frame after.
            if (gameClock.intervalElapsed(frameMark, frameInterval) || presentationDue()) {
                runFrame();
            } else {
                DWORD wait = timeUntil(frameMark, frameInterval);
                if (presentMarkSet) wait = std::min(wait, timeUntil(presentMark, presentInterval));
                MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
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
