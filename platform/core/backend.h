// What shows the program: the SDL2 window or nothing at all (headless). The
// USER and DirectDraw code talks to the current backend only through this.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "core/picture.h"

namespace qmp {

class Backend {
public:
    virtual ~Backend() = default;

    virtual const char* name() const = 0;

    // Delivers what is due (input, focus changes, scripted events) into the
    // message queue. When `timeoutMs` is not 0 and nothing was delivered, waits
    // for something to deliver, at most `timeoutMs` (INFINITE: without limit).
    virtual void pump(uint32_t timeoutMs) = 0;

    // A new picture is on the screen.
    virtual void show(const Picture& picture) = 0;

    // A modal message box over the program's picture; returns the answer
    // (IDOK, IDYES, IDNO, IDCANCEL). The text and caption are UTF-8.
    virtual int messageBox(const std::string& text, const std::string& caption, unsigned type) = 0;

    // ShowCursor's display count crossed zero.
    virtual void setCursorVisible(bool visible) = 0;

    // SM_CXSCREEN / SM_CYSCREEN.
    virtual SIZE desktopSize() const = 0;

    // The main window was created or destroyed (a backend with a real window opens or closes it).
    virtual void windowCreated(HWND window, const char* title) = 0;
    virtual void windowDestroyed(HWND window) = 0;
};

Backend& backend();
void setBackend(std::unique_ptr<Backend> backend);

// The headless backend (platform/backend/headless).
std::unique_ptr<Backend> makeHeadlessBackend();

// The SDL2 window (platform/backend/sdl); null when no window can be opened.
struct LaunchOptions;
std::unique_ptr<Backend> makeWindowBackend(const LaunchOptions& options);

}  // namespace qmp
