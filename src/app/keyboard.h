// The keyboard: switches, steps, palettes, the cave, and the quit prompt.
#pragma once

#include <windows.h>

// True only when the quit prompt was answered yes.
bool onKeyDown(WPARAM key);
void onKeyUp(WPARAM key);
// Turns the held arrows into the player's step; first in every update pass.
void updateDirection();

// The quit prompt's texts, Big5-encoded (code page 950).
extern const char QUIT_BOX_TEXT[];    // "ESC 鍵按下了！確定退出？"
extern const char QUIT_DRAWN_TEXT[];  // "ESC 鍵按下了！確定退出？Y/N"
