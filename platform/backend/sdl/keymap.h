// SDL key events to what the window does with them: a Windows virtual-key code
// for the program, or one of the window's own keys (screenshot, full screen
// toggle, recording, close) that the program never sees.
#pragma once

#include <SDL.h>

#include <set>

namespace qmp::sdl {

struct KeyAction {
    enum Kind {
        None,              // not a key the program knows: dropped
        Key,               // deliver `virtualKey`
        Screenshot,        // F12 or Print Screen
        ToggleFullscreen,  // Alt+Enter
        ToggleRecording,   // F10: start or stop a GIF recording
        Close,             // Alt+F4
    };
    Kind kind = None;
    int virtualKey = 0;

    bool operator==(const KeyAction&) const = default;
};

// The virtual-key code of a key, 0 when the program has no use for it. Letters
// follow the keyboard layout; the digit row is read by position, as Windows
// gives '0'..'9' for it on every layout.
int virtualKeyOf(SDL_Keycode sym, SDL_Scancode scancode);

// Turns key presses and releases into actions. A key whose press the window
// kept for itself has its release kept too, so the program never gets an up
// without its down.
class KeyTranslator {
public:
    KeyAction down(SDL_Keycode sym, SDL_Scancode scancode, Uint16 modifiers, bool repeat);
    KeyAction up(SDL_Keycode sym, SDL_Scancode scancode);

private:
    std::set<SDL_Scancode> kept_;
};

}  // namespace qmp::sdl
