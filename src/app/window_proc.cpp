// The window procedure and the release of the display at shutdown.
#include "app/window_proc.h"

#include "app/globals.h"
#include "app/keyboard.h"
#include "assets/sprite_strip.h"
#include "display/display.h"
#include "world/cave.h"

namespace {

void releaseSurface(LPDIRECTDRAWSURFACE& surface) {
    if (surface != nullptr) {
        surface->Release();
        surface = nullptr;
    }
}

}  // namespace

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATEAPP:
            appActive = static_cast<int32_t>(wParam);
            return 0;
        case WM_CREATE:
            return 0;
        case WM_DESTROY:
            releaseDisplay();
            ShowCursor(TRUE);
            PostQuitMessage(0);
            return 0;
        case WM_SIZE:
            resizeWindow(window);
            return 0;
        case WM_KEYDOWN:
            if (onKeyDown(wParam)) DestroyWindow(window);
            return 0;
        case WM_KEYUP:
            onKeyUp(wParam);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

void resizeWindow(HWND window) { MoveWindow(window, 0, 0, screenWidth, screenHeight, TRUE); }

void releaseDisplay() {
    if (directDraw == nullptr) return;
    releaseSurface(backBuffer);
    releaseSurface(primarySurface);
    releaseSurface(messageSurface);
    releaseSurface(canvas);
    Quillmere.releaseSurfaces();
    fixedActorStrip.release();
    screenedStrip.release();
    for (SpriteStrip& strip : directionStrips) strip.release();
    directDraw->Release();
    directDraw = nullptr;
    // The palettes and the canvas's clipper went with the device.
    primaryPalette = nullptr;
    backPalette = nullptr;
    canvasPalette = nullptr;
}
