// SDL key events to the keys of Windows: the virtual-key codes that the
// platform's keyboard (core/keyboard.h) hands on to the program or keeps.
#pragma once

#include <SDL.h>

#include <optional>

#include "core/backend.h"

namespace qmp::sdl {

// The virtual-key code of a key, 0 when neither the program nor the platform
// has a use for it. Letters follow the keyboard layout; the digit row is read
// by position, as Windows gives '0'..'9' for it on every layout.
int virtualKeyOf(SDL_Keycode sym, SDL_Scancode scancode);

// A key press or release as the host reports it; none for a key without a code.
std::optional<HostEvent> keyEvent(const SDL_KeyboardEvent& key);

}  // namespace qmp::sdl
