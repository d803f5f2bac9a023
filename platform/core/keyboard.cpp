#include "core/keyboard.h"

#include <bitset>

#include "core/input.h"
#include "core/platform_keys.h"
#include "core/reset.h"

namespace qmp::keyboard {
namespace {

struct KeyboardState {
    std::bitset<256> kept;  // pressed keys the platform kept for itself
    std::function<void(int)> boxKeys;
};

KeyboardState& state() {
    static KeyboardState s;
    return s;
}

const ResetHook resetKeyboard([] { state() = KeyboardState{}; });

bool isKey(int virtualKey) { return virtualKey >= 1 && virtualKey <= 254; }

void down(int virtualKey) {
    if (state().boxKeys) {
        state().boxKeys(virtualKey);
        return;
    }
    input::keyDown(virtualKey);
}

void up(int virtualKey) {
    if (!state().boxKeys) input::keyUp(virtualKey);
}

}  // namespace

void hostKeyDown(int virtualKey, bool alt) {
    if (!isKey(virtualKey)) return;
    KeyboardState& s = state();
    if (s.kept[virtualKey]) return;  // held since the platform took it: acts once
    if (platform_keys::handle(virtualKey, alt)) {
        s.kept[virtualKey] = true;
        return;
    }
    down(virtualKey);
}

void hostKeyUp(int virtualKey) {
    if (!isKey(virtualKey)) return;
    KeyboardState& s = state();
    if (s.kept[virtualKey]) {
        s.kept[virtualKey] = false;
        return;
    }
    up(virtualKey);
}

void scriptKeyDown(int virtualKey) {
    if (isKey(virtualKey)) down(virtualKey);
}

void scriptKeyUp(int virtualKey) {
    if (isKey(virtualKey)) up(virtualKey);
}

void setBoxKeys(std::function<void(int virtualKey)> handler) { state().boxKeys = std::move(handler); }

}  // namespace qmp::keyboard
