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
    if (sym >= SDLK_F1 && sym <= SDLK_F11) return VK_F1 + (sym - SDLK_F1);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0) return '0';
    if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
    // A layout without Latin letters: the key's position names it.
    if (sym >= 0x80 && scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return 'A' + (scancode - SDL_SCANCODE_A);
    return 0;
}

KeyAction KeyTranslator::down(SDL_Keycode sym, SDL_Scancode scancode, Uint16 modifiers, bool repeat) {
    const bool alt = (modifiers & KMOD_ALT) != 0;
    KeyAction action;
    if (sym == SDLK_F12 || sym == SDLK_PRINTSCREEN)
        action.kind = KeyAction::Screenshot;
    else if (sym == SDLK_F10)
        action.kind = KeyAction::ToggleRecording;
    else if (alt && (sym == SDLK_RETURN || sym == SDLK_KP_ENTER))
        action.kind = KeyAction::ToggleFullscreen;
    else if (alt && sym == SDLK_F4)
        action.kind = KeyAction::Close;

    if (action.kind != KeyAction::None) {
        kept_.insert(scancode);
        // Held down, these act once: one picture, one toggle.
        return repeat ? KeyAction{} : action;
    }
    if (kept_.count(scancode) != 0) return {};  // still held since the window kept it
    if (int key = virtualKeyOf(sym, scancode)) return {KeyAction::Key, key};
    return {};
}

KeyAction KeyTranslator::up(SDL_Keycode sym, SDL_Scancode scancode) {
    if (kept_.erase(scancode) != 0) return {};
    if (int key = virtualKeyOf(sym, scancode)) return {KeyAction::Key, key};
    return {};
}

}  // namespace qmp::sdl
