// The SDL2 window: shows the frames, reports the keyboard, the mouse, focus
// changes and the close button, and waits for them. What the keys do, the
// script, key repeats and message boxes are core's.
#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cstdio>

#include "backend/sdl/keymap.h"
#include "backend/sdl/window.h"
#include "core/backend.h"
#include "core/launch.h"

namespace qmp {
namespace {

constexpr int kBlankWidth = 640;  // the desktop's size when SDL reports none: the picture's own
constexpr int kBlankHeight = 480;

class SdlBackend final : public Backend {
public:
    SdlBackend(std::unique_ptr<sdl::Window> window, const sdl::WindowSettings& settings)
        : window_(std::move(window)), settings_(settings), format_(window_->pixelFormat()) {}

    ~SdlBackend() override {
        window_.reset();
        SDL_Quit();
    }

    const char* name() const override { return "sdl"; }
    bool interactive() const override { return true; }

    void wait(uint32_t timeoutMs, std::vector<HostEvent>& events) override {
        const size_t before = events.size();
        SDL_Event event;
        while (SDL_PollEvent(&event)) translate(event, events);
        if (events.size() != before || timeoutMs == 0) return;
        if (waitForEvent(timeoutMs, &event)) {
            translate(event, events);
            while (SDL_PollEvent(&event)) translate(event, events);
        }
    }

    // A window opened again (for a box) has the same presenter, hence the same layout.
    std::optional<PixelFormat> pixelFormat() const override { return format_; }

    void present(const Frame& frame) override {
        last_ = &frame;
        if (window_ && shown_) window_->present(frame);
    }

    bool boxOpening(const std::string& caption) override {
        temporary_ = !shown_;
        if (temporary_ && !openWindow(caption)) return false;  // a box of its own: its caption is the title
        boxOpen_ = true;
        applyCursor();
        return true;
    }

    void boxClosed() override {
        boxOpen_ = false;
        applyCursor();
        if (temporary_) closeWindow();
        temporary_ = false;
    }

    void setCursorVisible(bool visible) override {
        cursorWanted_ = visible;
        applyCursor();
    }

    SIZE desktopSize() const override {
        SDL_DisplayMode mode{};
        const int display = window_ ? std::max(SDL_GetWindowDisplayIndex(window_->sdlWindow()), 0) : 0;
        if (SDL_GetDesktopDisplayMode(display, &mode) != 0 || mode.w <= 0 || mode.h <= 0)
            return {kBlankWidth, kBlankHeight};
        return {mode.w, mode.h};
    }

    void windowCreated(HWND, const std::string& title) override {
        if (!openWindow(title)) std::fprintf(stderr, "sdl: the window could not be opened\n");
    }

    void windowDestroyed(HWND) override { closeWindow(); }

    void toggleFullscreen() override {
        if (window_ && shown_) window_->toggleFullscreen();
    }

private:
    bool openWindow(const std::string& title) {
        if (!window_) {
            std::string error;
            window_ = sdl::Window::open(title, settings_, &error);
            if (!window_) {
                std::fprintf(stderr, "sdl: %s\n", error.c_str());
                return false;
            }
        }
        window_->show(title);
        shown_ = true;
        if (last_ != nullptr) window_->present(*last_, true);
        return true;
    }

    void closeWindow() {
        window_.reset();
        shown_ = false;
    }

    void applyCursor() { SDL_ShowCursor(boxOpen_ || cursorWanted_ ? SDL_ENABLE : SDL_DISABLE); }

    static bool waitForEvent(uint32_t ms, SDL_Event* event) {
        if (ms == INFINITE) return SDL_WaitEvent(event) != 0;
        return SDL_WaitEventTimeout(event, static_cast<int>(std::min<uint32_t>(ms, INT_MAX))) != 0;
    }

    // What the host reports, in Windows' terms; the window's own events
    // (exposed, resized, renderer reset) are dealt with here.
    void translate(const SDL_Event& event, std::vector<HostEvent>& events) {
        switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (std::optional<HostEvent> key = sdl::keyEvent(event.key)) events.push_back(*key);
            return;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            if (event.button.button != SDL_BUTTON_LEFT || !window_) return;
            HostEvent click;
            click.kind = event.type == SDL_MOUSEBUTTONDOWN ? HostEvent::MouseDown : HostEvent::MouseUp;
            click.at = window_->pictureAt(event.button.x, event.button.y);
            events.push_back(click);
            return;
        }
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
            case SDL_WINDOWEVENT_EXPOSED:
            case SDL_WINDOWEVENT_SIZE_CHANGED:  // resizing rescales
                if (window_ && shown_) window_->redraw();
                return;
            case SDL_WINDOWEVENT_FOCUS_GAINED: events.push_back(HostEvent{HostEvent::FocusGained, 0, false, std::nullopt}); return;
            case SDL_WINDOWEVENT_FOCUS_LOST: events.push_back(HostEvent{HostEvent::FocusLost, 0, false, std::nullopt}); return;
            case SDL_WINDOWEVENT_CLOSE: events.push_back(HostEvent{HostEvent::Close, 0, false, std::nullopt}); return;
            default: return;
            }
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET:
            if (window_ && shown_ && last_ != nullptr) window_->present(*last_, true);
            return;
        default: return;
        }
    }

    std::unique_ptr<sdl::Window> window_;  // made hidden at start, shown for the program's window
    sdl::WindowSettings settings_;
    PixelFormat format_;
    bool shown_ = false;
    bool temporary_ = false;    // opened only for a message box
    bool cursorWanted_ = true;  // ShowCursor's count is not negative
    bool boxOpen_ = false;
    const Frame* last_ = nullptr;  // the frame last presented (core keeps it alive)
};

}  // namespace

std::unique_ptr<Backend> makeWindowBackend(const LaunchOptions& options, std::string* why) {
    // Ctrl+C and kill end the program as usual instead of becoming SDL_QUIT events.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    const char* x11 = SDL_getenv("DISPLAY");
    const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
    const bool x11Named = x11 != nullptr && *x11 != '\0';
    const bool waylandNamed = wayland != nullptr && *wayland != '\0';
    const bool x11Only = asked == nullptr && x11Named && !waylandNamed;
    // Only the X display that DISPLAY names, or with none named the console:
    // other drivers would print their own complaints (Wayland's about
    // XDG_RUNTIME_DIR) or show nothing.
    if (x11Only) SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    if (asked == nullptr && !x11Named && !waylandNamed) SDL_SetHint(SDL_HINT_VIDEODRIVER, "kmsdrm");
    const char* noDisplay = "there is no display (DISPLAY and WAYLAND_DISPLAY are not set)";
    auto declined = [&](const std::string& reason) -> std::unique_ptr<Backend> {
        *why = reason;
        SDL_Quit();
        return nullptr;
    };
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        const bool x11Asked = x11Only || (asked != nullptr && SDL_strcasecmp(asked, "x11") == 0);
        if (x11Asked && x11Named)
            return declined(std::string("the display ") + x11 + " (DISPLAY) does not answer: " + SDL_GetError());
        if (!x11Named && !waylandNamed) return declined(noDisplay);
        return declined(std::string("no video device: ") + SDL_GetError());
    }
    // Without a display that answers, SDL settles for a driver that shows
    // nothing; a window there would run unseen on the real clock until killed.
    // Such a driver counts only when asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool showsNothing = driver != nullptr && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
    if (showsNothing && (asked == nullptr || SDL_strcasecmp(asked, driver) != 0)) {
        if (!x11Named && !waylandNamed) return declined(noDisplay);
        return declined(std::string("no display answers (only SDL's ") + driver + " video driver)");
    }
    SDL_StopTextInput();  // keys only: no input method windows, no text events
    // The window is made now, hidden, so that a display that cannot show one
    // sends the program headless instead of failing it later. Its title comes
    // with the program's window.
    std::string error;
    const sdl::WindowSettings settings{options.windowed, options.scale};
    std::unique_ptr<sdl::Window> window = sdl::Window::open("", settings, &error);
    if (!window) return declined(error);
    return std::make_unique<SdlBackend>(std::move(window), settings);
}

}  // namespace qmp
