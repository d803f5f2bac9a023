// The SDL window and its presentation: a streaming texture of the picture,
// drawn scaled with its shape kept and black bars around it.
#pragma once

#include <SDL.h>

#include <memory>
#include <optional>
#include <string>

#include "core/frame.h"
#include "core/placement.h"

namespace qmp::sdl {

class Window {
public:
    // Full screen on the desktop, or a resizable window of the picture's size;
    // hidden until show(). Null with the reason in `error` when SDL cannot make it.
    static std::unique_ptr<Window> open(const std::string& title, bool windowed, std::string* error);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    SDL_Window* sdlWindow() const { return window_; }
    void show(const std::string& title);
    void toggleFullscreen();
    void setFullscreen(bool full);

    // The layout of the frames the window takes.
    static PixelFormat pixelFormat() { return PixelFormat{16, 8, 0, 0xFF000000u}; }

    // Puts a new frame on the screen: its changed rows are uploaded, or every
    // row when `whole` (the renderer lost its textures).
    void present(const Frame& frame, bool whole = false);
    // Draws the last picture again (the window was exposed or resized).
    void redraw();

    // The picture pixel under a point given in window coordinates (mouse events).
    std::optional<Point> pictureAt(int x, int y) const;

private:
    Window(SDL_Window* window, SDL_Renderer* renderer) : window_(window), renderer_(renderer) {}
    Rect placed() const;

    SDL_Window* window_;
    SDL_Renderer* renderer_;
    SDL_Texture* texture_ = nullptr;
    bool fullscreen_ = false;
    int pictureW_ = 0;
    int pictureH_ = 0;
};

}  // namespace qmp::sdl
