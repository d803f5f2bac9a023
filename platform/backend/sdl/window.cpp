#include "backend/sdl/window.h"

#include <SDL_syswm.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace qmp::sdl {
namespace {

constexpr int kPictureWidth = 640;  // the size windows are whole multiples of
constexpr int kPictureHeight = 480;

// Whether the display is likely drawn by a GPU: an X server offering direct
// rendering (DRI3 or DRI2; Xvfb and remote displays do not), or Wayland with
// a render node. Asked of the libX11 SDL has loaded, so nothing new is loaded.
bool gpuLikely(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info)) return false;
    std::error_code ignored;
    const bool renderNode = std::filesystem::exists("/dev/dri/renderD128", ignored);
    if (info.subsystem == SDL_SYSWM_WAYLAND) return renderNode;
    if (info.subsystem != SDL_SYSWM_X11) return false;
    void* x11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (x11 == nullptr) return false;
    using QueryExtension = int (*)(Display*, const char*, int*, int*, int*);
    auto query = reinterpret_cast<QueryExtension>(dlsym(x11, "XQueryExtension"));
    int opcode = 0, event = 0, error = 0;
    const bool direct = query != nullptr && (query(info.info.x11.display, "DRI3", &opcode, &event, &error) ||
                                             query(info.info.x11.display, "DRI2", &opcode, &event, &error));
    dlclose(x11);
    return direct;
}

// The window surface and the GL stack cost about the same at a whole
// multiple; the smooth step to a large screen is where a GPU pays. So the GPU
// path is taken where a GPU is likely and the screen is more than twice the
// picture's size across. QUILLMERE_PRESENT=software|gpu decides instead.
bool wantsGpu(SDL_Window* window) {
    const char* asked = std::getenv("QUILLMERE_PRESENT");
    if (asked != nullptr && std::strcmp(asked, "gpu") == 0) return true;
    if (asked != nullptr && std::strcmp(asked, "software") == 0) return false;
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(window), 0), &bounds) != 0) return false;
    const bool large = bounds.w > 2 * kPictureWidth && bounds.h > 2 * kPictureHeight;
    return large && gpuLikely(window);
}

}  // namespace

std::unique_ptr<Window> Window::open(const std::string& title, const WindowSettings& settings, std::string* error) {
    const Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    SDL_Window* window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kPictureWidth,
                                          kPictureHeight, flags);
    if (window == nullptr) {
        *error = std::string("SDL_CreateWindow: ") + SDL_GetError();
        return nullptr;
    }
    // The window's surface straight, never through a renderer that SDL would
    // otherwise put behind it (and with it the GL stack).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    std::string why;
    std::unique_ptr<Presenter> presenter;
    if (wantsGpu(window)) presenter = makeGpuPresenter(window, settings.scale, &why);
    if (!presenter) presenter = makeSoftwarePresenter(window, settings.scale, &why);
    if (!presenter) presenter = makeGpuPresenter(window, settings.scale, &why);  // a display of 16-bit pixels
    if (!presenter) {
        *error = why;
        SDL_DestroyWindow(window);
        return nullptr;
    }
    std::unique_ptr<Window> result(new Window(window, std::move(presenter)));
    if (settings.windowed)
        result->restoreWindowSize();
    else
        result->setFullscreen(true);
    return result;
}

Window::~Window() {
    presenter_.reset();
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
    if (full) {
        // A borderless window over the whole display first: without a window
        // manager the full-screen request alone would leave the window as it was.
        SDL_Rect bounds{};
        if (SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(window_), 0), &bounds) == 0) {
            SDL_SetWindowBordered(window_, SDL_FALSE);
            SDL_SetWindowPosition(window_, bounds.x, bounds.y);
            SDL_SetWindowSize(window_, bounds.w, bounds.h);
        }
        if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
            SDL_Log("full screen: %s", SDL_GetError());
    } else {
        if (SDL_SetWindowFullscreen(window_, 0) != 0) SDL_Log("leaving full screen: %s", SDL_GetError());
        SDL_SetWindowBordered(window_, SDL_TRUE);
        restoreWindowSize();
    }
    fullscreen_ = full;
    redraw();
}

// The largest whole multiple of the picture that fits comfortably on the desktop, centred.
void Window::restoreWindowSize() {
    const int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
    SDL_Rect usable{0, 0, kPictureWidth, kPictureHeight};
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) SDL_GetDisplayBounds(display, &usable);
    const int factor = comfortableFactor(usable.w, usable.h, kPictureWidth, kPictureHeight);
    SDL_SetWindowSize(window_, kPictureWidth * factor, kPictureHeight * factor);
    const int centred = SDL_WINDOWPOS_CENTERED_DISPLAY(display);
    SDL_SetWindowPosition(window_, centred, centred);
}

void Window::present(const Frame& frame, bool whole) {
    if (frame.width <= 0 || frame.height <= 0) return;
    last_ = &frame;
    presenter_->present(frame, whole);
}

void Window::redraw() {
    if (last_ != nullptr) presenter_->present(*last_, true);
}

std::optional<Point> Window::pictureAt(int x, int y) const {
    int winW = 0;
    int winH = 0;
    int outW = 0;
    int outH = 0;
    SDL_GetWindowSize(window_, &winW, &winH);
    presenter_->outputSize(&outW, &outH);
    if (winW <= 0 || winH <= 0 || last_ == nullptr) return std::nullopt;
    const Point output{int(int64_t(x) * outW / winW), int(int64_t(y) * outH / winH)};
    return outputToPicture(output, presenter_->placed(), last_->width, last_->height);
}

}  // namespace qmp::sdl
