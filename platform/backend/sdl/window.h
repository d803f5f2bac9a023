// The SDL window: full screen or a window of a whole multiple of the picture,
// its presenter (backend/sdl/presenter.h), and where the picture sits in it.
#pragma once

#include <SDL.h>

#include <memory>
#include <optional>
#include <string>

#include "backend/sdl/presenter.h"
#include "core/frame.h"
#include "core/placement.h"

namespace qmp::sdl {

struct WindowSettings {
    bool windowed = false;  // a window instead of the whole screen
    ScaleMode scale = ScaleMode::Fit;
};

class Window {
public:
    // Hidden until show(). Null with the reason in `error` when SDL cannot make it.
    static std::unique_ptr<Window> open(const std::string& title, const WindowSettings& settings, std::string* error);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    SDL_Window* sdlWindow() const { return window_; }
    const char* presenterName() const { return presenter_->name(); }
    PixelFormat pixelFormat() const { return presenter_->format(); }

    void show(const std::string& title);
    void toggleFullscreen();
    void setFullscreen(bool full);

    // Puts a new frame on the screen: its changed rows, or all when `whole`.
    void present(const Frame& frame, bool whole = false);
    // Everything again (the window was exposed, resized, or lost its contents).
    void redraw();

    // The picture pixel under a point given in window coordinates (mouse events).
    std::optional<Point> pictureAt(int x, int y) const;

private:
    Window(SDL_Window* window, std::unique_ptr<Presenter> presenter) : window_(window), presenter_(std::move(presenter)) {}
    void restoreWindowSize();

    SDL_Window* window_;
    std::unique_ptr<Presenter> presenter_;
    bool fullscreen_ = false;
    const Frame* last_ = nullptr;  // the frame last presented; its owner keeps it alive
};

}  // namespace qmp::sdl
