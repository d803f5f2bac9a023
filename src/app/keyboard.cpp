// The keyboard: each key down acts once (repeats included), the arrows only
// record what is held, and Esc asks whether to quit.
#include "app/keyboard.h"

#include "actors/actors.h"
#include "app/clock.h"
#include "app/globals.h"
#include "assets/bitmap.h"
#include "assets/fades.h"
#include "assets/palettes.h"
#include "assets/sprite_strip.h"
#include "display/display.h"
#include "display/text.h"
#include "world/cave.h"

// "ESC 鍵按下了！確定退出？" and the same with "Y/N", in code page 950.
const char QUIT_BOX_TEXT[] = "ESC \xC1\xE4\xAB\xF6\xA4\x55\xA4\x46\xA1\x49\xBD\x54\xA9\x77\xB0\x68\xA5\x58\xA1\x48";
const char QUIT_DRAWN_TEXT[] =
    "ESC \xC1\xE4\xAB\xF6\xA4\x55\xA4\x46\xA1\x49\xBD\x54\xA9\x77\xB0\x68\xA5\x58\xA1\x48Y/N";

namespace {

const char* const QUIT_CAPTION = "Keyboard";
constexpr int32_t VEC_MIN = 2;
constexpr int32_t VEC_MAX = 400;
constexpr int32_t VEC_STEP = 2;
constexpr uint8_t QUIT_ALPHA = 125;
constexpr int32_t KEY_ONE = '1';
constexpr int32_t KEY_TWO = '2';

template <typename T>
void toggle(T& field) {
    field = field == 0 ? 1 : 0;
}

// Shift and Ctrl: the throttle in drive mode, "Vec" in walk mode; the screened
// strip's level follows "Vec" in both.
void changeSpeed(int32_t direction) {
    if (player.driveMode) {
        throttleDirection = direction;
    } else if (direction > 0) {
        vec = vec > VEC_MAX - VEC_STEP ? VEC_MAX : vec + VEC_STEP;  // no overflow past the limit
    } else {
        vec = vec < VEC_MIN + VEC_STEP ? VEC_MIN : vec - VEC_STEP;
    }
    screenedStrip.setLevel(static_cast<uint8_t>(vec & 0xFF));
}

void showPalette(void (*generate)(PALETTEENTRY*)) {
    generate(workingPalette);
    showOnScreen(workingPalette);
}

void jumpToRandomPoint() {
    int32_t x = player.x;  // a cave without rows leaves the player where it is
    int32_t y = player.y;
    Quillmere.randomOpenPoint(x, y);
    switches.cursorStyle = static_cast<uint8_t>((switches.cursorStyle + 1) % 2);
    player.teleport(x, y);
}

bool askToQuit() {
    if (primarySurface != nullptr)
        drawMessageWindow(primarySurface, screenWidth / 3, screenHeight / 3, messageSurface, messageImage.width(),
                          messageImage.height(), QUIT_DRAWN_TEXT, QUIT_ALPHA);
    return MessageBoxA(mainWindow, QUIT_BOX_TEXT, QUIT_CAPTION, MB_YESNO) == IDYES;
}

void regenerateCave() {
    Quillmere.generate(&backgroundImage, screenWidth * 10, screenWidth * 10);
    CreateObjects();
    debugId = 0;
}

}  // namespace

bool onKeyDown(WPARAM key) {
    switch (key) {
        case VK_SHIFT: changeSpeed(+1); break;
        case VK_CONTROL: changeSpeed(-1); break;
        case VK_ESCAPE: return askToQuit();
        case VK_SPACE: jumpToRandomPoint(); break;
        case VK_LEFT: arrowHeld[ARROW_LEFT] = true; break;
        case VK_UP: arrowHeld[ARROW_UP] = true; break;
        case VK_RIGHT: arrowHeld[ARROW_RIGHT] = true; break;
        case VK_DOWN: arrowHeld[ARROW_DOWN] = true; break;
        case KEY_ONE: showPalette(generateWarmPalette); break;
        case KEY_TWO: showPalette(generateCoolPalette); break;
        case VK_F1:
            Quillmere.outlineColour = backgroundImage.paletteColor(gameRandom.range(0, 200));
            toggle(switches.hudVisible);
            break;
        case VK_F2: toggle(Quillmere.minimapVisible); break;
        case VK_F3: toggle(switches.cursorVisible); break;
        case VK_F4: toggle(switches.minimapStyle); break;
        case VK_F5: regenerateCave(); break;
        case VK_F6: toggle(player.driveMode); break;
        case VK_F7: switches.fadeMode = 1; break;
        case VK_F8: switches.fadeMode = 2; break;
        case VK_F9:
            toggle(switches.fireworksMode);
            applyPalettes(switches.fireworksMode);
            break;
        default: break;
    }
    return false;
}

void onKeyUp(WPARAM key) {
    switch (key) {
        case VK_SHIFT:
        case VK_CONTROL: throttleDirection = 0; break;
        case VK_LEFT: arrowHeld[ARROW_LEFT] = false; break;
        case VK_UP: arrowHeld[ARROW_UP] = false; break;
        case VK_RIGHT: arrowHeld[ARROW_RIGHT] = false; break;
        case VK_DOWN: arrowHeld[ARROW_DOWN] = false; break;
        default: break;
    }
}

namespace {
// +step when only the positive key is held, -step when only the negative one, else 0.
int32_t axisStep(bool positive, bool negative, int32_t step) {
    if (positive == negative) return 0;
    return positive ? step : -step;
}
}  // namespace

void updateDirection() {
    int32_t dy = axisStep(arrowHeld[ARROW_UP], arrowHeld[ARROW_DOWN], vec);
    int32_t dx = axisStep(arrowHeld[ARROW_RIGHT], arrowHeld[ARROW_LEFT], vec);
    // While the player drives itself the arrows move nothing.
    if (!player.driveMode) player.steer(dx, dy);
}
