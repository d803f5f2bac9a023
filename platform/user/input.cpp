// The keys, focus changes and close of user/input.h: what the platform's input
// delivers, turned into messages for the program's windows.
#include "user/input.h"

#include "core/exclusive.h"
#include "user/user_state.h"

namespace qmp::input {
namespace {

HWND keyTarget() {
    user::UserState& s = user::state();
    if (s.focus != nullptr && user::findWindow(s.focus) != nullptr) return s.focus;
    return s.mainWindow;
}

// WM_KEYDOWN/WM_KEYUP lParam: the repeat count in bits 0-15; bit 30 the key's
// previous state; bit 31 set on release.
LPARAM keyParam(bool wasDown, bool release, unsigned repeatCount = 1) {
    uint32_t bits = repeatCount < 1 ? 1 : repeatCount > 0xFFFF ? 0xFFFF : repeatCount;
    if (wasDown) bits |= 1u << 30;
    if (release) bits |= 1u << 31;
    return static_cast<LPARAM>(bits);
}

}  // namespace

void keyDown(int virtualKey, unsigned repeats) {
    if (virtualKey < 1 || virtualKey > 254) return;  // not a key
    user::UserState& s = user::state();
    bool wasDown = s.keyDown[virtualKey] || repeats > 0;
    s.keyDown[virtualKey] = true;
    if (HWND target = keyTarget())
        user::postMessage(target, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), keyParam(wasDown, false, repeats));
}

void keyUp(int virtualKey) {
    if (virtualKey < 1 || virtualKey > 254) return;
    user::UserState& s = user::state();
    s.keyDown[virtualKey] = false;
    if (HWND target = keyTarget())
        user::postMessage(target, WM_KEYUP, static_cast<WPARAM>(virtualKey), keyParam(true, true));
}

void activate(bool active) {
    user::UserState& s = user::state();
    if (s.appActive == active) return;  // Windows reports changes only
    s.appActive = active;
    if (s.mainWindow != nullptr) user::postMessage(s.mainWindow, WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
    if (!active) exclusive::loseSurfaces();
}

void close() {
    if (HWND main = user::state().mainWindow) user::postMessage(main, WM_CLOSE, 0, 0);
}

HWND mainWindow() { return user::state().mainWindow; }

}  // namespace qmp::input
