// One frame: the update pass moves the world, the draw pass composes the picture.
#pragma once

#include <ddraw.h>

void updatePass();
bool drawPass();
void drawMinimapOverlay(LPDIRECTDRAWSURFACE surface);
void drawHud(LPDIRECTDRAWSURFACE surface);
