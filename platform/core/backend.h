// What shows the program: a window, a page, or nothing at all (headless). A
// backend does only presentation, input and waiting; everything the backends
// share (scripted events, key repeats, message boxes, the platform's own keys
// and messages) is in core/ and talks to the backend only through this.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/frame.h"
#include "core/placement.h"

namespace qmp {

// One thing the host reported, in Windows' terms.
struct HostEvent {
    enum Kind {
        KeyDown,      // a key went down (never the host's own repeats: the platform makes those)
        KeyUp,
        FocusGained,  // the application became the active one
        FocusLost,
        Close,        // the window's close button
        MouseDown,    // the left button, over `at`
        MouseUp,
    };
    Kind kind = KeyDown;
    int virtualKey = 0;       // KeyDown, KeyUp: the Windows virtual-key code
    bool alt = false;         // KeyDown: an Alt key was held (Alt+Enter, Alt+F4)
    std::optional<Point> at;  // MouseDown, MouseUp: the picture pixel under the pointer; none off the picture
};

class Backend {
public:
    virtual ~Backend() = default;

    virtual const char* name() const = 0;

    // Whether a person can answer (a window or a page). Headless, nothing but
    // the script can: a box with no scripted answer gets its default at once.
    virtual bool interactive() const = 0;

    // Waiting and input: appends what the host reported to `events`, waiting at
    // most `timeoutMs` for the first report (0: only what is already there;
    // INFINITE: without limit). Headless, waiting advances the virtual clock.
    virtual void wait(uint32_t timeoutMs, std::vector<HostEvent>& events) = 0;

    // The pixel layout frames should have; none when nothing is shown (then no
    // frame is ever converted).
    virtual std::optional<PixelFormat> pixelFormat() const = 0;

    // Presentation: a new frame (frame.changed says what differs from the last
    // one) or the same frame with new overlay lines (nothing changed).
    virtual void present(const Frame& frame) = 0;

    // A message box opens with this caption (UTF-8) and closes. A backend
    // whose window is not open yet opens one for the box; false when it cannot
    // show the box at all (the box then gets its default answer).
    virtual bool boxOpening(const std::string& caption) = 0;
    virtual void boxClosed() = 0;

    // ShowCursor's display count crossed zero.
    virtual void setCursorVisible(bool visible) = 0;

    // SM_CXSCREEN / SM_CYSCREEN.
    virtual SIZE desktopSize() const = 0;

    // The main window was created (its title in UTF-8) or destroyed.
    virtual void windowCreated(HWND window, const std::string& title) = 0;
    virtual void windowDestroyed(HWND window) = 0;

    // Alt+Enter: between full screen and a window; nothing where there is no window.
    virtual void toggleFullscreen() {}

    // F12 saved the screenshot at `path`; a page offers it as a download.
    virtual void screenshotSaved(const std::string& /*path*/) {}
};

Backend& backend();
void setBackend(std::unique_ptr<Backend> backend);

// The headless backend (platform/backend/headless).
std::unique_ptr<Backend> makeHeadlessBackend();

// The SDL2 window (platform/backend/sdl); null when no window can be opened,
// with the reason in one line in `why` (SDL's own messages kept off stderr).
struct LaunchOptions;
// In a web page the page is the window (platform/backend/web).
std::unique_ptr<Backend> makeWindowBackend(const LaunchOptions& options, std::string* why);

}  // namespace qmp
