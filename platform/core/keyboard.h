// The keyboard as the platform sees it, whatever the host: keys from the
// host's keyboard and from the script go to the program (or to an open
// message box), the platform's own keys are kept from the program, and a key
// whose press was kept has its release kept too, so the program never gets an
// up without its down.
#pragma once

#include <functional>

namespace qmp::keyboard {

// A key of the host's keyboard went down or up. `alt`: an Alt key was held.
void hostKeyDown(int virtualKey, bool alt);
void hostKeyUp(int virtualKey);

// A scripted key (the script drives the program, not the platform's keys).
void scriptKeyDown(int virtualKey);
void scriptKeyUp(int virtualKey);

// While a message box is open its key handler gets every key down; key ups
// go nowhere. An empty function gives the keys back to the program.
void setBoxKeys(std::function<void(int virtualKey)> handler);

}  // namespace qmp::keyboard
