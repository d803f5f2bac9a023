#include "backend/sdl/window.h"

#include <algorithm>

namespace qmp::sdl {
namespace {
// The windowed size, and the size a full-screen window returns to.
constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;
}  // namespace

std::unique_ptr<Window> Window::open(const std::string& title, bool windowed, std::string* error) {
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    SDL_Window* window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWindowWidth,
                                          kWindowHeight, flags);
    if (window == nullptr) {
        *error = std::string("SDL_CreateWindow: ") + SDL_GetError();
        return nullptr;
    }
    // No vsync: a present must not hold up the program's loop.
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (renderer == nullptr) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (renderer == nullptr) {
        *error = std::string("SDL_CreateRenderer: ") + SDL_GetError();
        SDL_DestroyWindow(window);
        return nullptr;
    }
    std::unique_ptr<Window> result(new Window(window, renderer));
    if (!windowed) result->setFullscreen(true);
    return result;
}

Window::~Window() {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    SDL_DestroyRenderer(renderer_);
    SDL_DestroyWindow(window_);
}

void Window::show(const std::string& title) {
    SDL_SetWindowTitle(window_, title.c_str());
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
    redraw();
}

void Window::toggleFullscreen() { setFullscreen(!fullscreen_); }

void Window::setFullscreen(bool full) {
    const int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
    if (full) {
        // A borderless window over the whole display first: without a window
        // manager the full-screen request alone would leave the window as it was.
        SDL_Rect bounds{};
        if (SDL_GetDisplayBounds(display, &bounds) == 0) {
            SDL_SetWindowBordered(window_, SDL_FALSE);
            SDL_SetWindowPosition(window_, bounds.x, bounds.y);
            SDL_SetWindowSize(window_, bounds.w, bounds.h);
        }
        if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
            SDL_Log("full screen: %s", SDL_GetError());
    } else {
        if (SDL_SetWindowFullscreen(window_, 0) != 0) SDL_Log("leaving full screen: %s", SDL_GetError());
        SDL_SetWindowBordered(window_, SDL_TRUE);
        SDL_SetWindowSize(window_, kWindowWidth, kWindowHeight);
        const int centred = SDL_WINDOWPOS_CENTERED_DISPLAY(display);
        SDL_SetWindowPosition(window_, centred, centred);
    }
    fullscreen_ = full;
    redraw();
}

void Window::present(const Frame& frame, bool whole) {
    if (frame.width <= 0 || frame.height <= 0) return;
    bool all = whole;
    if (texture_ == nullptr || pictureW_ != frame.width || pictureH_ != frame.height) {
        if (texture_ != nullptr) SDL_DestroyTexture(texture_);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, frame.width,
                                     frame.height);
        if (texture_ == nullptr) {
            SDL_Log("SDL_CreateTexture: %s", SDL_GetError());
            return;
        }
        SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
        pictureW_ = frame.width;
        pictureH_ = frame.height;
        all = true;
    }
    const int top = all ? 0 : frame.changedTop;
    const int bottom = all ? frame.height : frame.changedBottom;
    if (bottom > top) {
        const SDL_Rect rows{0, top, frame.width, bottom - top};
        if (SDL_UpdateTexture(texture_, &rows, frame.row(top), frame.width * 4) != 0)
            SDL_Log("SDL_UpdateTexture: %s", SDL_GetError());
    }
    redraw();
}

void Window::redraw() {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    if (texture_ != nullptr) {
        const Rect r = placed();
        const SDL_Rect target{r.x, r.y, r.w, r.h};
        SDL_RenderCopy(renderer_, texture_, nullptr, &target);
    }
    SDL_RenderPresent(renderer_);
}

Rect Window::placed() const {
    int outW = 0;
    int outH = 0;
    SDL_GetRendererOutputSize(renderer_, &outW, &outH);
    return fitPicture(outW, outH, pictureW_, pictureH_);
}

std::optional<Point> Window::pictureAt(int x, int y) const {
    int winW = 0;
    int winH = 0;
    int outW = 0;
    int outH = 0;
    SDL_GetWindowSize(window_, &winW, &winH);
    SDL_GetRendererOutputSize(renderer_, &outW, &outH);
    if (winW <= 0 || winH <= 0) return std::nullopt;
    const Point output{int(int64_t(x) * outW / winW), int(int64_t(y) * outH / winH)};
    return outputToPicture(output, placed(), pictureW_, pictureH_);
}

}  // namespace qmp::sdl
