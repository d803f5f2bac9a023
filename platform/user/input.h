// What the platform's input (core/delivery.h, core/keyboard.h) hands to USER:
// keys, focus changes and the close button, which user/input.cpp turns into
// messages for the program's windows; and the message boxes' buttons and
// answers, in user/message_box.cpp.
#pragma once

#include <windows.h>

namespace qmp::input {

// WM_KEYDOWN / WM_KEYUP with the virtual-key code to the focus window (the main
// window when nothing has the focus). A key-down while the key is already down
// is a repeat: bit 30 of lParam is set, as the keyboard's auto-repeat gives it.
// `repeats` > 0: that many auto-repeats in one message (the repeat count in
// bits 0-15, bit 30 set); 0: a press (count 1).
void keyDown(int virtualKey, unsigned repeats = 0);
void keyUp(int virtualKey);

// The application gains or loses the focus: WM_ACTIVATEAPP(TRUE/FALSE) to the
// main window, only on a change. Losing it in exclusive full-screen mode loses
// the surfaces (qmp::exclusive::loseSurfaces).
void activate(bool active);

// The window's close button (or Alt+F4): WM_CLOSE to the main window.
void close();

// The first top-level window created and not yet destroyed; null when none.
HWND mainWindow();

// Message boxes: MB_OK, MB_OKCANCEL, MB_YESNOCANCEL and MB_YESNO are offered.
bool boxTypeSupported(unsigned type);
// Whether a box of `type` has the button that gives `answer` (IDOK, IDYES, ...).
bool boxOffers(unsigned type, int answer);
// The answer of a box that nothing else answers: OK, Cancel where there is one, else No.
int boxDefaultAnswer(unsigned type);
// The answer a key gives in a box, 0 when the key does nothing there: Enter the
// default button (MB_DEFBUTTONn), Y and N the Yes and No buttons, Esc Cancel
// where there is one (an OK box takes it as OK, a Yes/No box as No).
int boxKeyAnswer(unsigned type, int virtualKey);

}  // namespace qmp::input
