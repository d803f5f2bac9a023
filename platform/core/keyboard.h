// The keyboard as the platform sees it, whatever the host: keys from the
// host's keyboard and from the script go to the program (or to an open
// message box), the platform's own keys are kept from the program, and a key
// whose press was kept has its release kept too, so the program never gets an
// up without its down.
//
// Held keys repeat as on a fresh Windows install, made here on every host
// (the host's own repeats are ignored, so keys behave alike everywhere):
// keyboard delay setting 1 (of 0-3, 250 ms steps) is 500 ms before the first
// repeat, speed setting 31 (of 0-31) is about 30 repeats a second. As a PC
// keyboard does it, only the key pressed last repeats, modifiers included,
// and releasing it stops the repeats even when other keys are still held.
// Each repeat is a WM_KEYDOWN with bit 30 (previous state) set and the repeat
// count in bits 0-15: repeats that fell due while the program was busy come as
// one message with their count.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace qmp::keyboard {

constexpr uint32_t kRepeatDelayMs = 500;
constexpr uint32_t kRepeatsPerSecond = 30;

// A key of the host's keyboard went down or up. `alt`: an Alt key was held.
void hostKeyDown(int virtualKey, bool alt);
void hostKeyUp(int virtualKey);

// A scripted key (the script drives the program, not the platform's keys).
// A scripted down of a key already held is one extra key down at once.
void scriptKeyDown(int virtualKey);
void scriptKeyUp(int virtualKey);

// When the next repeat falls due; none while no key repeats.
std::optional<uint32_t> nextRepeat();
// The key that repeats, 0 when none.
int repeatingKey();
// Delivers the repeats due by now; true when there were any.
bool deliverDueRepeats();
// The application lost the focus: its keys stop repeating.
void stopRepeating();

// While a message box is open its key handler gets every key down; key ups
// go nowhere. An empty function gives the keys back to the program.
void setBoxKeys(std::function<void(int virtualKey)> handler);

}  // namespace qmp::keyboard
