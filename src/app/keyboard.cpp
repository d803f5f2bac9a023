#include "app/keyboard.h"
#include "app/unbuilt.h"
const char QUIT_BOX_TEXT[] = "";
const char QUIT_DRAWN_TEXT[] = "";
bool onKeyDown(WPARAM) { QM_UNBUILT(); }
void onKeyUp(WPARAM) { QM_UNBUILT(); }
void updateDirection() { QM_UNBUILT(); }
