// Brings the demo up in-process the way runDemo does, without the message loop:
// the window, every start-up stage in order, and the scene. For tests and
// benchmarks that drive the passes directly. Run from the folder that holds the
// picture files (the tests' working directory).
#pragma once

#include "actors/actors.h"
#include "actors/particles.h"
#include "app/clock.h"
#include "app/globals.h"
#include "app/startup.h"
#include "assets/bitmap.h"
#include "assets/palettes.h"
#include "display/display.h"
#include "display/translucency.h"

namespace qmtest {

// The caption of the stage that failed, or null when the whole start-up succeeded.
inline const char* startDemoInProcess() {
    applyDefaults();
    mainWindow = createMainWindow("Quillmere Demo", nullptr);
    if (mainWindow == nullptr) return "createMainWindow";
    ShowWindow(mainWindow, SW_SHOW);
    UpdateWindow(mainWindow);
    SetFocus(mainWindow);
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
        !createOffscreenSurface(true, mainWindow, directDraw, canvas, screenWidth, screenHeight) ||
        !DrawImageToSurfaces())
        return "DrawImageToSurfaces()";
    if (!buildBlendTable(backPalette)) return "Quillmere Msg Box";
    gameClock.reset();
    if (!CreateObjects()) return "CreateObjects()";
    return nullptr;
}

}  // namespace qmtest
