// The window procedure, and the release of the display when the window goes.
#pragma once

#include <windows.h>

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void resizeWindow(HWND window);
void releaseDisplay();
