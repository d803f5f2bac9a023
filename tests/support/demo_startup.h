// Brings the demo up in-process the way runDemo does, without the message loop:
// the window, every start-up stage in order, and the scene. For tests and
// benchmarks that drive the passes directly. Run from the folder that holds the
// picture files (the tests' working directory).
#pragma once

#include "actors/actors.h"
#include "app/globals.h"
#include "app/startup.h"

namespace qmtest {

// The caption of the stage that failed, or null when the whole start-up succeeded.
inline const char* startDemoInProcess() {
    applyDefaults();
    mainWindow = createMainWindow("Quillmere Demo", nullptr);
    if (mainWindow == nullptr) return "createMainWindow";
    ShowWindow(mainWindow, SW_SHOW);
    UpdateWindow(mainWindow);
    SetFocus(mainWindow);
    return runStartupStages();
}

}  // namespace qmtest
