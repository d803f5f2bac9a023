// The window's keyboard: SDL keys to the virtual-key codes the program reads,
// and the keys the window keeps for itself.
#include <gtest/gtest.h>

#include <windows.h>

#include "backend/sdl/keymap.h"

using qmp::sdl::KeyAction;
using qmp::sdl::KeyTranslator;
using qmp::sdl::virtualKeyOf;

namespace {

KeyAction key(int virtualKey) { return {KeyAction::Key, virtualKey}; }
KeyAction kept(KeyAction::Kind kind) { return {kind, 0}; }

struct Named {
    SDL_Keycode sym;
    SDL_Scancode scancode;
    int virtualKey;
};

}  // namespace

TEST(SdlKeymap, TheProgramsKeysGetTheirWindowsCodes) {
    const Named keys[] = {
        {SDLK_LEFT, SDL_SCANCODE_LEFT, VK_LEFT},       {SDLK_RIGHT, SDL_SCANCODE_RIGHT, VK_RIGHT},
        {SDLK_UP, SDL_SCANCODE_UP, VK_UP},             {SDLK_DOWN, SDL_SCANCODE_DOWN, VK_DOWN},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, VK_ESCAPE}, {SDLK_SPACE, SDL_SCANCODE_SPACE, VK_SPACE},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, VK_RETURN}, {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, VK_RETURN},
        {SDLK_TAB, SDL_SCANCODE_TAB, VK_TAB},          {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, VK_BACK},
        {SDLK_F1, SDL_SCANCODE_F1, VK_F1},             {SDLK_F9, SDL_SCANCODE_F9, VK_F9},
        {SDLK_F11, SDL_SCANCODE_F11, VK_F11},          {SDLK_1, SDL_SCANCODE_1, '1'},
        {SDLK_2, SDL_SCANCODE_2, '2'},                 {SDLK_0, SDL_SCANCODE_0, '0'},
        {SDLK_a, SDL_SCANCODE_A, 'A'},                 {SDLK_y, SDL_SCANCODE_Y, 'Y'},
        {SDLK_z, SDL_SCANCODE_Z, 'Z'},
    };
    for (const Named& k : keys) EXPECT_EQ(virtualKeyOf(k.sym, k.scancode), k.virtualKey) << SDL_GetKeyName(k.sym);
}

TEST(SdlKeymap, BothKeysOfAPairGiveTheGenericCode) {
    EXPECT_EQ(virtualKeyOf(SDLK_LSHIFT, SDL_SCANCODE_LSHIFT), VK_SHIFT);
    EXPECT_EQ(virtualKeyOf(SDLK_RSHIFT, SDL_SCANCODE_RSHIFT), VK_SHIFT);
    EXPECT_EQ(virtualKeyOf(SDLK_LCTRL, SDL_SCANCODE_LCTRL), VK_CONTROL);
    EXPECT_EQ(virtualKeyOf(SDLK_RCTRL, SDL_SCANCODE_RCTRL), VK_CONTROL);
    EXPECT_EQ(virtualKeyOf(SDLK_LALT, SDL_SCANCODE_LALT), VK_MENU);
    EXPECT_EQ(virtualKeyOf(SDLK_RALT, SDL_SCANCODE_RALT), VK_MENU);
}

TEST(SdlKeymap, OtherLayoutsKeepDigitsByPositionAndLettersByName) {
    // French layout: the digit row gives '&', 'é', ... unshifted; Windows still says '1', '2'.
    EXPECT_EQ(virtualKeyOf(SDLK_AMPERSAND, SDL_SCANCODE_1), '1');
    EXPECT_EQ(virtualKeyOf(0xE9, SDL_SCANCODE_2), '2');
    EXPECT_EQ(virtualKeyOf(SDLK_q, SDL_SCANCODE_A), 'Q') << "a letter is the one printed on the key";
    // Russian layout: letters that are not Latin fall back to the key's position.
    EXPECT_EQ(virtualKeyOf(0x0444, SDL_SCANCODE_A), 'A');
    EXPECT_EQ(virtualKeyOf(0x043D, SDL_SCANCODE_Y), 'Y');
}

TEST(SdlKeymap, KeysTheProgramDoesNotKnowAreDropped) {
    EXPECT_EQ(virtualKeyOf(SDLK_HOME, SDL_SCANCODE_HOME), 0);
    EXPECT_EQ(virtualKeyOf(SDLK_KP_1, SDL_SCANCODE_KP_1), 0) << "the keypad's digits are not the digit row's";
    EXPECT_EQ(virtualKeyOf(SDLK_MINUS, SDL_SCANCODE_MINUS), 0);
    EXPECT_EQ(virtualKeyOf(SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK), 0);
    EXPECT_EQ(virtualKeyOf(SDLK_F13, SDL_SCANCODE_F13), 0);
    KeyTranslator keys;
    EXPECT_EQ(keys.down(SDLK_HOME, SDL_SCANCODE_HOME, KMOD_NONE, false), KeyAction{});
    EXPECT_EQ(keys.up(SDLK_HOME, SDL_SCANCODE_HOME), KeyAction{});
}

TEST(SdlKeymap, RepeatsReachTheProgramLikeFirstPresses) {
    KeyTranslator keys;
    EXPECT_EQ(keys.down(SDLK_F2, SDL_SCANCODE_F2, KMOD_NONE, false), key(VK_F2));
    EXPECT_EQ(keys.down(SDLK_F2, SDL_SCANCODE_F2, KMOD_NONE, true), key(VK_F2));
    EXPECT_EQ(keys.down(SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT, true), key(VK_SHIFT));
    EXPECT_EQ(keys.up(SDLK_F2, SDL_SCANCODE_F2), key(VK_F2));
}

TEST(SdlKeymap, ScreenshotAndRecordingKeysAreKeptFromTheProgram) {
    KeyTranslator keys;
    EXPECT_EQ(keys.down(SDLK_F10, SDL_SCANCODE_F10, KMOD_NONE, false), kept(KeyAction::ToggleRecording));
    EXPECT_EQ(keys.down(SDLK_F10, SDL_SCANCODE_F10, KMOD_NONE, true), KeyAction{}) << "held down: one toggle";
    EXPECT_EQ(keys.up(SDLK_F10, SDL_SCANCODE_F10), KeyAction{});
    EXPECT_EQ(keys.down(SDLK_F12, SDL_SCANCODE_F12, KMOD_NONE, false), kept(KeyAction::Screenshot));
    EXPECT_EQ(keys.down(SDLK_F12, SDL_SCANCODE_F12, KMOD_NONE, true), KeyAction{}) << "held down: one picture";
    EXPECT_EQ(keys.up(SDLK_F12, SDL_SCANCODE_F12), KeyAction{});
    EXPECT_EQ(keys.down(SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN, KMOD_NONE, false), kept(KeyAction::Screenshot));
    EXPECT_EQ(keys.up(SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN), KeyAction{});
    EXPECT_EQ(keys.down(SDLK_F12, SDL_SCANCODE_F12, KMOD_LSHIFT, false), kept(KeyAction::Screenshot));
}

TEST(SdlKeymap, AltEnterTogglesTheScreenAndItsEnterNeverArrives) {
    KeyTranslator keys;
    EXPECT_EQ(keys.down(SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT, false), key(VK_MENU));
    EXPECT_EQ(keys.down(SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT, false), kept(KeyAction::ToggleFullscreen));
    EXPECT_EQ(keys.down(SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT, true), KeyAction{}) << "one toggle per press";
    // Alt let go before Enter: the Enter still belongs to the toggle.
    EXPECT_EQ(keys.up(SDLK_LALT, SDL_SCANCODE_LALT), key(VK_MENU));
    EXPECT_EQ(keys.down(SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_NONE, true), KeyAction{});
    EXPECT_EQ(keys.up(SDLK_RETURN, SDL_SCANCODE_RETURN), KeyAction{});
    // The next Enter is the program's again.
    EXPECT_EQ(keys.down(SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_NONE, false), key(VK_RETURN));
    EXPECT_EQ(keys.up(SDLK_RETURN, SDL_SCANCODE_RETURN), key(VK_RETURN));
    EXPECT_EQ(keys.down(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, KMOD_RALT, false), kept(KeyAction::ToggleFullscreen));
}

TEST(SdlKeymap, AltF4ClosesAndPlainF4IsTheProgramsKey) {
    KeyTranslator keys;
    EXPECT_EQ(keys.down(SDLK_F4, SDL_SCANCODE_F4, KMOD_NONE, false), key(VK_F4));
    EXPECT_EQ(keys.up(SDLK_F4, SDL_SCANCODE_F4), key(VK_F4));
    EXPECT_EQ(keys.down(SDLK_F4, SDL_SCANCODE_F4, KMOD_RALT, false), kept(KeyAction::Close));
    EXPECT_EQ(keys.up(SDLK_F4, SDL_SCANCODE_F4), KeyAction{});
    EXPECT_EQ(keys.down(SDLK_F4, SDL_SCANCODE_F4, KMOD_LCTRL, false), key(VK_F4)) << "only Alt makes it close";
}
