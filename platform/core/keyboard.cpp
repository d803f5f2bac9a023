#include "core/keyboard.h"

#include <bitset>

#include "core/clock.h"
#include "core/platform_keys.h"
#include "core/reset.h"
#include "user/input.h"

namespace qmp::keyboard {
namespace {

struct KeyboardState {
    std::bitset<256> held;  // keys down, as the host and the script reported them
    std::bitset<256> kept;  // pressed keys the platform kept for itself
    int repeating = 0;      // the key that repeats (the last one pressed), 0 when none
    uint32_t pressedAt = 0;
    uint32_t repeatsMade = 0;
    std::function<void(int)> boxKeys;
};

KeyboardState& state() {
    static KeyboardState s;
    return s;
}

const ResetHook resetKeyboard([] { state() = KeyboardState{}; });

bool isKey(int virtualKey) { return virtualKey >= 1 && virtualKey <= 254; }

// The n-th repeat (from 0) after the press: the delay, then 30 a second
// without drift (100/3 ms apart, rounded down).
uint32_t repeatTime(uint32_t pressedAt, uint32_t n) {
    return pressedAt + kRepeatDelayMs + static_cast<uint32_t>(uint64_t(n) * 1000 / kRepeatsPerSecond);
}

// `repeats`: 0 for a press, else the auto-repeats one message stands for.
void down(int virtualKey, unsigned repeats) {
    if (state().boxKeys) {
        state().boxKeys(virtualKey);  // a box takes a burst of repeats as one key
        return;
    }
    input::keyDown(virtualKey, repeats);
}

void up(int virtualKey) {
    if (!state().boxKeys) input::keyUp(virtualKey);
}

void press(int virtualKey) {
    KeyboardState& s = state();
    s.held[virtualKey] = true;
    s.repeating = virtualKey;
    s.pressedAt = clock::now();
    s.repeatsMade = 0;
    down(virtualKey, 0);
}

void release(int virtualKey) {
    KeyboardState& s = state();
    s.held[virtualKey] = false;
    if (s.repeating == virtualKey) s.repeating = 0;  // the others held do not take over
    up(virtualKey);
}

}  // namespace

void hostKeyDown(int virtualKey, bool alt) {
    if (!isKey(virtualKey)) return;
    KeyboardState& s = state();
    if (s.kept[virtualKey] || s.held[virtualKey]) return;  // the host's own repeat
    if (platform_keys::handle(virtualKey, alt)) {
        s.kept[virtualKey] = true;
        s.repeating = 0;  // the keyboard repeats the last key pressed, which acts once
        return;
    }
    press(virtualKey);
}

void hostKeyUp(int virtualKey) {
    if (!isKey(virtualKey)) return;
    KeyboardState& s = state();
    if (s.kept[virtualKey]) {
        s.kept[virtualKey] = false;
        return;
    }
    release(virtualKey);
}

void scriptKeyDown(int virtualKey) {
    if (!isKey(virtualKey)) return;
    if (state().held[virtualKey]) {
        down(virtualKey, 0);  // one extra key down, now (bit 30 set); the platform's repeats go on as they were
        return;
    }
    press(virtualKey);
}

void scriptKeyUp(int virtualKey) {
    if (isKey(virtualKey)) release(virtualKey);
}

std::optional<uint32_t> nextRepeat() {
    const KeyboardState& s = state();
    if (s.repeating == 0) return std::nullopt;
    return repeatTime(s.pressedAt, s.repeatsMade);
}

int repeatingKey() { return state().repeating; }

bool deliverDueRepeats() {
    KeyboardState& s = state();
    if (s.repeating == 0) return false;
    // Repeat n is due once floor(n * 1000 / rate) <= elapsed - delay.
    const uint32_t elapsed = clock::now() - s.pressedAt;
    if (static_cast<int32_t>(elapsed) < static_cast<int32_t>(kRepeatDelayMs)) return false;
    const uint64_t dueTotal = (uint64_t(elapsed - kRepeatDelayMs + 1) * kRepeatsPerSecond + 999) / 1000;
    if (dueTotal <= s.repeatsMade) return false;
    const uint32_t count = static_cast<uint32_t>(dueTotal - s.repeatsMade);
    s.repeatsMade += count;
    down(s.repeating, count);  // repeats the program was too busy to take come as one message
    return true;
}

void stopRepeating() { state().repeating = 0; }

void setBoxKeys(std::function<void(int virtualKey)> handler) { state().boxKeys = std::move(handler); }

}  // namespace qmp::keyboard
