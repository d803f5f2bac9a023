// The SDL2 window: shows the program's picture, turns the keyboard, focus
// changes and the close button into USER's input, draws message boxes, and
// delivers scripted events on the real clock so a script can drive a window.
#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>

#include "backend/sdl/keymap.h"
#include "backend/sdl/message_box.h"
#include "backend/sdl/screenshot.h"
#include "backend/sdl/window.h"
#include "core/backend.h"
#include "core/clock.h"
#include "core/data_folder.h"
#include "core/gif_recorder.h"
#include "core/input.h"
#include "core/launch.h"
#include "core/script.h"

namespace qmp {
namespace {

using platform::EventKind;
using platform::ScriptEvent;
using sdl::KeyAction;

constexpr int kBlankWidth = 640;  // what a box opens over before the program has shown a picture
constexpr int kBlankHeight = 480;

platform::RgbImage blank(int width, int height) {
    platform::RgbImage image;
    image.width = width;
    image.height = height;
    image.rgb.assign(size_t(width) * size_t(height) * 3, 0);
    return image;
}

int fit(int answer, unsigned type) { return input::boxOffers(type, answer) ? answer : input::boxDefaultAnswer(type); }

class SdlBackend final : public Backend {
public:
    SdlBackend(std::unique_ptr<sdl::Window> window, bool windowed) : window_(std::move(window)), windowed_(windowed) {}

    ~SdlBackend() override {
        window_.reset();
        SDL_Quit();
    }

    const char* name() const override { return "sdl"; }

    void pump(uint32_t timeoutMs) override {
        bool delivered = deliverDueScript();
        SDL_Event event;
        while (SDL_PollEvent(&event)) delivered |= handle(event);
        if (delivered || timeoutMs == 0) return;

        uint32_t wait = timeoutMs;
        if (const ScriptEvent* next = script::next())
            wait = script::isDue(*next, clock::now()) ? 0 : std::min(wait, next->time - clock::now());
        if (waitForEvent(wait, &event)) {
            handle(event);
            while (SDL_PollEvent(&event)) handle(event);
        }
        deliverDueScript();
    }

    void show(const Picture& picture) override {
        frame_ = picture.toRgb();
        if (window_ && shown_) window_->present(frame_);
    }

    int messageBox(const std::string& text, const std::string& caption, unsigned type) override {
        if (std::optional<int> answer = script::takeAnswer()) return fit(*answer, type);
        const bool temporary = !shown_;
        if (temporary && !openWindow(title_.empty() ? "Quillmere Demo" : title_)) {
            std::fprintf(stderr, "sdl: no window for the message box \"%s\"; it gets its default answer\n",
                         caption.c_str());
            return input::boxDefaultAnswer(type);
        }
        const platform::RgbImage before = frame_;
        const platform::RgbImage background = before.width > 0 ? before : blank(kBlankWidth, kBlankHeight);
        const sdl::BoxLayout layout = sdl::layoutBox(text, caption, type, background.width, background.height);
        sdl::BoxInteraction box(layout, type);
        auto draw = [&] {
            frame_ = background;
            sdl::dim(frame_);
            sdl::drawBox(layout, box.focused(), box.pressed(), frame_);
            window_->present(frame_);
        };

        boxOpen_ = true;
        applyCursor();
        draw();
        int answer = 0;
        while (answer == 0) {
            answer = scriptAnswer(box, type);
            SDL_Event event;
            uint32_t wait = INFINITE;
            if (const ScriptEvent* next = script::next())
                wait = script::isDue(*next, clock::now()) ? 0 : next->time - clock::now();
            if (answer == 0 && waitForEvent(wait, &event)) {
                do {
                    if (answer == 0) answer = handleInBox(event, box, type, draw);
                } while (SDL_PollEvent(&event));
            }
        }
        boxOpen_ = false;
        applyCursor();
        frame_ = before;
        if (temporary) {
            closeWindow();
        } else {
            window_->present(before.width > 0 ? before : background);
        }
        return answer;
    }

    void setCursorVisible(bool visible) override {
        cursorWanted_ = visible;
        applyCursor();
    }

    SIZE desktopSize() const override {
        SDL_DisplayMode mode{};
        const int display = window_ ? std::max(SDL_GetWindowDisplayIndex(window_->sdlWindow()), 0) : 0;
        if (SDL_GetDesktopDisplayMode(display, &mode) != 0 || mode.w <= 0 || mode.h <= 0)
            return {kBlankWidth, kBlankHeight};  // no mode reported: the picture's own size
        return {mode.w, mode.h};
    }

    void windowCreated(HWND, const char* title) override {
        title_ = title != nullptr ? title : "";
        if (!openWindow(title_)) std::fprintf(stderr, "sdl: the window could not be opened\n");
    }

    void windowDestroyed(HWND) override { closeWindow(); }

private:
    bool openWindow(const std::string& title) {
        if (!window_) {
            std::string error;
            window_ = sdl::Window::open(title, windowed_, &error);
            if (!window_) {
                std::fprintf(stderr, "sdl: %s\n", error.c_str());
                return false;
            }
        }
        window_->show(title);
        shown_ = true;
        if (frame_.width > 0) window_->present(frame_);
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

    // Delivers every scripted event that is due; true when there was one.
    bool deliverDueScript() {
        bool delivered = false;
        while (const ScriptEvent* next = script::next()) {
            if (!script::isDue(*next, clock::now())) break;
            script::deliver(script::take());
            delivered = true;
        }
        return delivered;
    }

    // The due scripted events while a box is open: keys go to the box, an
    // answer or the end of the run closes it; 0 while it stays open.
    int scriptAnswer(sdl::BoxInteraction& box, unsigned type) {
        while (const ScriptEvent* next = script::next()) {
            if (!script::isDue(*next, clock::now())) break;
            ScriptEvent event = script::take();
            switch (event.kind) {
            case EventKind::Answer: return fit(event.value, type);
            case EventKind::KeyDown:
                if (int answer = box.key(event.value)) return answer;
                break;
            case EventKind::KeyUp: break;
            case EventKind::End: script::deliver(event); return input::boxDefaultAnswer(type);
            default: script::deliver(event);
            }
        }
        return 0;
    }

    // An event while no box is open; true when it gave the program a message.
    bool handle(const SDL_Event& event) {
        switch (event.type) {
        case SDL_KEYDOWN: {
            const SDL_Keysym& key = event.key.keysym;
            const KeyAction action = keys_.down(key.sym, key.scancode, key.mod, event.key.repeat != 0);
            switch (action.kind) {
            case KeyAction::Key: input::keyDown(action.virtualKey); return true;
            case KeyAction::Close: input::close(); return true;
            case KeyAction::Screenshot: screenshot(); return false;
            case KeyAction::ToggleRecording: toggleRecording(); return false;
            case KeyAction::ToggleFullscreen: toggleFullscreen(); return false;
            case KeyAction::None: return false;
            }
            return false;
        }
        case SDL_KEYUP: {
            const KeyAction action = keys_.up(event.key.keysym.sym, event.key.keysym.scancode);
            if (action.kind != KeyAction::Key) return false;
            input::keyUp(action.virtualKey);
            return true;
        }
        case SDL_WINDOWEVENT: return handleWindowEvent(event.window);
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET:
            if (window_ && shown_ && frame_.width > 0) window_->present(frame_);
            return false;
        default: return false;
        }
    }

    bool handleWindowEvent(const SDL_WindowEvent& event) {
        switch (event.event) {
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (window_ && shown_) window_->redraw();
            return false;
        case SDL_WINDOWEVENT_FOCUS_GAINED: input::activate(true); return true;
        case SDL_WINDOWEVENT_FOCUS_LOST: input::activate(false); return true;
        case SDL_WINDOWEVENT_CLOSE: input::close(); return true;
        default: return false;
        }
    }

    // An event while a box is open; the answer it gives, 0 when none.
    template <typename Draw>
    int handleInBox(const SDL_Event& event, sdl::BoxInteraction& box, unsigned type, Draw& draw) {
        switch (event.type) {
        case SDL_KEYDOWN: {
            const SDL_Keysym& key = event.key.keysym;
            const KeyAction action = keys_.down(key.sym, key.scancode, key.mod, event.key.repeat != 0);
            switch (action.kind) {
            case KeyAction::Key: {
                const size_t focused = box.focused();
                if (int answer = box.key(action.virtualKey)) return answer;
                if (box.focused() != focused) draw();
                return 0;
            }
            case KeyAction::Close: return closeWithBox(type);
            case KeyAction::Screenshot: screenshot(); return 0;
            case KeyAction::ToggleRecording: toggleRecording(); return 0;
            case KeyAction::ToggleFullscreen: toggleFullscreen(); return 0;
            case KeyAction::None: return 0;
            }
            return 0;
        }
        case SDL_KEYUP: keys_.up(event.key.keysym.sym, event.key.keysym.scancode); return 0;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button != SDL_BUTTON_LEFT) return 0;
            box.mouseDown(window_->pictureAt(event.button.x, event.button.y).value_or(sdl::Point{-1, -1}));
            draw();
            return 0;
        case SDL_MOUSEBUTTONUP: {
            if (event.button.button != SDL_BUTTON_LEFT) return 0;
            const bool wasPressed = box.pressed() >= 0;
            int answer = box.mouseUp(window_->pictureAt(event.button.x, event.button.y).value_or(sdl::Point{-1, -1}));
            if (answer == 0 && wasPressed) draw();
            return answer;
        }
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) return closeWithBox(type);
            handleWindowEvent(event.window);
            return 0;
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET: draw(); return 0;
        default: return 0;
        }
    }

    // The window is closed while a box is open: the box gets its default
    // answer, then the program is asked to close.
    static int closeWithBox(unsigned type) {
        input::close();
        return input::boxDefaultAnswer(type);
    }

    void toggleFullscreen() {
        if (window_ && shown_) window_->toggleFullscreen();
    }

    void screenshot() {
        std::string path;
        std::string error;
        if (frame_.width <= 0)
            std::fprintf(stderr, "sdl: no picture to save yet\n");
        else if (shots_.save(frame_, &path, &error))
            std::printf("Quillmere: screenshot %s\n", path.c_str());
        else
            std::fprintf(stderr, "sdl: screenshot not saved: %s\n", error.c_str());
        std::fflush(stdout);
    }

    // F10: a recording into the next free Quillmere-NNNN.gif beside the screenshots, or its end.
    void toggleRecording() {
        std::string error;
        if (recorder::recording()) {
            const std::string path = recorder::path();
            int frames = 0;
            if (recorder::stop(&error, &frames))
                std::printf("Quillmere: recording %s: %d frames\n", path.c_str(), frames);
            else
                std::fprintf(stderr, "sdl: recording not written: %s\n", error.c_str());
        } else {
            std::string path;
            for (int number = 1; number <= 9999 && path.empty(); ++number) {
                char name[32];
                std::snprintf(name, sizeof name, "Quillmere-%04d.gif", number);
                std::error_code ignored;
                if (!std::filesystem::exists(data::startFolder() / name, ignored)) path = (data::startFolder() / name).string();
            }
            if (!path.empty() && recorder::start(path, 1, &error))
                std::printf("Quillmere: recording to %s (F10 stops it)\n", path.c_str());
            else
                std::fprintf(stderr, "sdl: no recording: %s\n", path.empty() ? "every name is taken" : error.c_str());
        }
        std::fflush(stdout);
    }

    std::unique_ptr<sdl::Window> window_;  // made hidden at start, shown for the program's window
    bool windowed_;
    bool shown_ = false;
    std::string title_;
    bool cursorWanted_ = true;  // ShowCursor's count is not negative
    bool boxOpen_ = false;
    sdl::KeyTranslator keys_;
    sdl::ScreenshotWriter shots_{data::startFolder()};
    platform::RgbImage frame_;  // what the window shows
};

}  // namespace

std::unique_ptr<Backend> makeWindowBackend(const LaunchOptions& options) {
    // Ctrl+C and kill end the program as usual instead of becoming SDL_QUIT events.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "sdl: no video device: %s\n", SDL_GetError());
        return nullptr;
    }
    // Without a display that answers, SDL settles for a driver that shows
    // nothing; a window there would run unseen on the real clock until killed.
    // Such a driver counts only when asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    const bool showsNothing = driver != nullptr && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
    if (showsNothing && (asked == nullptr || SDL_strcasecmp(asked, driver) != 0)) {
        std::fprintf(stderr, "sdl: no display answers (only the %s video driver)\n", driver);
        SDL_Quit();
        return nullptr;
    }
    SDL_StopTextInput();  // keys only: no input method windows, no text events
    // The window is made now, hidden, so that a display that cannot show one
    // sends the program headless instead of failing it later.
    std::string error;
    std::unique_ptr<sdl::Window> window = sdl::Window::open("Quillmere Demo", options.windowed, &error);
    if (!window) {
        std::fprintf(stderr, "sdl: %s\n", error.c_str());
        SDL_Quit();
        return nullptr;
    }
    return std::make_unique<SdlBackend>(std::move(window), options.windowed);
}

}  // namespace qmp
