// Start-up: the window, then the stages that bring up the display, load the
// pictures and build every table, surface, strip and actor.
#pragma once

#include <windows.h>

// What WinMain does; the thin program's WinMain calls it.
int runDemo(HINSTANCE instance, int showCommand);

HWND createMainWindow(const char* className, HINSTANCE instance);
// The stages after the window, in order; the caption of the stage that failed, or null.
const char* runStartupStages();
bool LoadImages();
bool DrawImageToSurfaces();

// Texts of the start-up failures.
extern const char* const STARTUP_FAILED_TEXT;  // "Game initial Failed!"
