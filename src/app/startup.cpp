// Start-up: the window, then the stages that bring up the display, load the
// pictures and build every table, surface, strip and actor. The first stage
// that fails is reported once, with its caption, and the program ends.
#include "app/startup.h"

#include <mmsystem.h>

#include "actors/actors.h"
#include "actors/trig_tables.h"
#include "app/clock.h"
#include "app/frame_driver.h"
#include "app/globals.h"
#include "app/window_proc.h"
#include "assets/bitmap.h"
#include "assets/palettes.h"
#include "assets/sprite_strip.h"
#include "display/display.h"
#include "display/translucency.h"
#include "world/cave.h"

const char* const STARTUP_FAILED_TEXT = "Game initial Failed!";

namespace {

const char* const WINDOW_NAME = "Quillmere Demo";
const int ICON_RESOURCE = 101;

// Where each strip's frames lie in the sprite sheet.
struct StripLayout {
    SpriteStrip* strip;
    int32_t sheetX;
    int32_t sheetY;
    int32_t frames;
    int32_t width;
    int32_t height;
};

bool cutSpriteStrips() {
    const StripLayout layouts[] = {
        {&fixedActorStrip, 1, 1, 5, 90, 100},
        {&screenedStrip, 1, 1, 5, 90, 100},
        {&directionStrips[0], 301, 203, 3, 49, 49},  // standing
        {&directionStrips[1], 1, 103, 3, 49, 49},    // left
        {&directionStrips[2], 151, 103, 3, 49, 49},  // right
        {&directionStrips[3], 301, 103, 3, 49, 49},  // up
        {&directionStrips[4], 1, 153, 3, 49, 49},    // down
        {&directionStrips[5], 151, 153, 3, 49, 49},  // up and right
        {&directionStrips[6], 301, 153, 3, 49, 49},  // up and left
        {&directionStrips[7], 1, 203, 3, 49, 49},    // down and left
        {&directionStrips[8], 151, 203, 3, 49, 49},  // down and right
    };
    for (const StripLayout& layout : layouts) {
        if (!layout.strip->create(&spriteSheet, layout.sheetX, layout.sheetY, layout.frames, layout.width,
                                  layout.height))
            return false;
    }
    return true;
}

}  // namespace

const char* runStartupStages() {
    if (!CreateDirectDraw(mainWindow, directDraw, static_cast<uint16_t>(screenWidth),
                          static_cast<uint16_t>(screenHeight), 8))
        return "CreateDirectDraw()";
    if (!CreateFlipSurfaces(directDraw, primarySurface, primaryPalette, backBuffer, backPalette))
        return "CreateFlipSurfaces()";
    if (!LoadImages()) return "LoadImages()";

    generateWarmPalette(workingPalette);
    fillSmoothingTable();
    buildTrigTables();

    if (!createOffscreenSurface(false, mainWindow, directDraw, messageSurface, messageImage.width(),
                                messageImage.height()) ||
        !createOffscreenSurface(true, mainWindow, directDraw, canvas, screenWidth, screenHeight))
        return "DrawImageToSurfaces()";
    // GDI maps what each frame draws into the canvas against the canvas's own
    // palette, which a fade leaves at full brightness. Without it the canvas
    // maps against the primary palette, as before.
    attachBlackPalette(directDraw, canvas, canvasPalette);
    if (!DrawImageToSurfaces()) return "DrawImageToSurfaces()";

    if (!buildBlendTable(backPalette)) return "Quillmere Msg Box";

    gameClock.reset();
    if (!CreateObjects()) return "CreateObjects()";
    return nullptr;
}

int runDemo(HINSTANCE instance, int showCommand) {
    applyDefaults();
    mainWindow = createMainWindow(WINDOW_NAME, instance);
    if (mainWindow == nullptr) return 0;

    // The loop waits in 10 ms steps; Windows' default timer resolution is coarser.
    timeBeginPeriod(1);
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
    SetFocus(mainWindow);
    ShowCursor(FALSE);

    int exitCode = 0;
    if (const char* failedStage = runStartupStages()) {
        MessageBoxA(nullptr, STARTUP_FAILED_TEXT, failedStage, MB_OK);
        DestroyWindow(mainWindow);
    } else {
        exitCode = runMessageLoop();
    }
    timeEndPeriod(1);
    return exitCode;
}

HWND createMainWindow(const char* className, HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(ICON_RESOURCE));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);

    // The desktop size, read before the display mode changes it.
    return CreateWindowExA(0, className, className, WS_POPUP | WS_MAXIMIZE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                           GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
}

bool LoadImages() {
    return backgroundImage.load("bckgnd.bmp") && spriteSheet.load("Sprites.bmp") && messageImage.load("MsgWnd.bmp");
}

bool DrawImageToSurfaces() {
    // The display palettes come first; the minimap paints against a palette of
    // its own, so its colours do not depend on this order.
    if (!backgroundImage.applyPaletteTo(primaryPalette) || !backgroundImage.applyPaletteTo(backPalette))
        return false;
    if (canvasPalette) backgroundImage.applyPaletteTo(canvasPalette);
    if (!Quillmere.generate(&backgroundImage, screenWidth * 10, screenWidth * 10)) return false;
    if (!cutSpriteStrips()) return false;
    return messageImage.copyToSurface(messageSurface);
}
