// The message loop and the frame driver: frames, presentations, and the
// surfaces brought back after a loss.
#pragma once

// Runs until WM_QUIT; returns its wParam.
int runMessageLoop();

bool runFrame();
bool present();
bool restoreSurfaces();
