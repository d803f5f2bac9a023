// What the tests of the Win32 API need from the system they run on, so that
// one test file checks both the platform and a real Win32 (the same files are
// built with mingw and run under Wine). The platform's half is host_platform.cpp,
// Windows' half is win32/host_win32.cpp.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <gtest/gtest.h>

namespace test_host {

// True on the platform, false on Windows.
bool onThePlatform();

// A window for DirectDraw's cooperative level and clippers: on the platform a
// handle the level only keeps, on Windows a real pop-up window over the screen.
HWND displayWindow();

// Ends a device a DirectDraw test opened: on the platform the reset after
// each test does it, on Windows the display mode goes back and the device
// (with its surfaces) is released.
void endDirectDraw(LPDIRECTDRAW device);

}  // namespace test_host

// Skips the rest of a test that needs the platform's control interface
// (fault plans, object counts, the virtual clock): Windows has none.
#define SKIP_UNLESS_ON_THE_PLATFORM(what)                                        \
    do {                                                                         \
        if (!test_host::onThePlatform()) GTEST_SKIP() << "needs the platform: " << what; \
    } while (false)
