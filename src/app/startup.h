// The program's spine: start-up, the message loop, the frame driver, the window
// procedure and shutdown.
#pragma once

#include <windows.h>

// What WinMain does; the thin program's WinMain calls it.
int runDemo(HINSTANCE instance, int showCommand);

HWND createMainWindow(const char* className, HINSTANCE instance);
// The stages after the window, in order; the caption of the stage that failed, or null.
const char* runStartupStages();
bool LoadImages();
bool DrawImageToSurfaces();
void fillSmoothingTable();

// Runs until WM_QUIT; returns its wParam.
int runMessageLoop();

bool runFrame();
bool present();
bool restoreSurfaces();
void releaseDisplay();

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void resizeWindow(HWND window);

// Texts of the start-up failures.
extern const char* const STARTUP_FAILED_TEXT;  // "Game initial Failed!"
