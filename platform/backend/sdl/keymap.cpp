#include "backend/sdl/keymap.h"

#include <windows.h>

namespace qmp::sdl {

int virtualKeyOf(SDL_Keycode sym, SDL_Scancode scancode) {
    switch (sym) {
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_TAB: return VK_TAB;
    case SDLK_BACKSPACE: return VK_BACK;
    default: break;
    }
    if (sym >= SDLK_F1 && sym <= SDLK_F12) return VK_F1 + (sym - SDLK_F1);
    if (sym == SDLK_PRINTSCREEN) return VK_SNAPSHOT;
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0) return '0';
    if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
    // A layout without Latin letters: the key's position names it.
    if (sym >= 0x80 && scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return 'A' + (scancode - SDL_SCANCODE_A);
    return 0;
}

std::optional<HostEvent> keyEvent(const SDL_KeyboardEvent& key) {
    const int code = virtualKeyOf(key.keysym.sym, key.keysym.scancode);
    if (code == 0) return std::nullopt;
    HostEvent event;
    event.kind = key.type == SDL_KEYUP ? HostEvent::KeyUp : HostEvent::KeyDown;
    event.virtualKey = code;
    event.alt = (key.keysym.mod & KMOD_ALT) != 0;
    return event;
}

}  // namespace qmp::sdl
