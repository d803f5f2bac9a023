// The web page: shows the frames in the page's canvas and reports the
// keyboard, the mouse and the page's focus and visibility; waiting hands the
// browser its turn (ASYNCIFY), so the page stays responsive while the demo
// keeps its pace. What the keys do, key repeats and message boxes are core's;
// the page's own side (drawing, scaling, downloads) is page.js.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "backend/web/keymap.h"
#include "core/backend.h"
#include "core/clock.h"
#include "core/launch.h"
#include "core/text.h"

// The page's side, in page.js.
EM_JS(void, pageShow, (const uint32_t* pixels, int width, int height, int top, int bottom),
      { Module.quillmere.show(pixels, width, height, top, bottom); });
EM_JS(void, pageOverlay, (const char* text, int opacity), { Module.quillmere.overlay(UTF8ToString(text), opacity); });
EM_JS(void, pageTitle, (const char* title), { document.title = UTF8ToString(title); });
EM_JS(void, pageCursor, (int visible), { Module.quillmere.cursor(visible); });
EM_JS(void, pageOffer, (const char* path), { Module.quillmere.offer(UTF8ToString(path)); });
EM_JS(void, pageToggleFullscreen, (), { Module.quillmere.toggleFullscreen(); });
EM_JS(int, pageScreenWidth, (), { return screen.width | 0; });
EM_JS(int, pageScreenHeight, (), { return screen.height | 0; });
EM_JS(int, pageActive, (), { return document.visibilityState === 'visible' && document.hasFocus() ? 1 : 0; });
EM_JS(void, pageWake, (), { Module.quillmere.wake(); });
// Resolves after `ms`, or at once when the page reports something (pageWake).
EM_ASYNC_JS(void, pageWait, (double ms), { await Module.quillmere.wait(ms); });

namespace qmp {
namespace {

constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;
// A program that does not wait (a frame longer than its interval) still hands
// the browser a turn this often, or no key and no picture would get through.
constexpr uint32_t kLongestTurnMs = 20;
constexpr const char* kCanvas = "#screen";

class WebBackend;
WebBackend* page = nullptr;  // the one page, for the browser's event handlers

class WebBackend final : public Backend {
public:
    WebBackend() {
        page = this;
        emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, true, &WebBackend::onKey);
        emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, true, &WebBackend::onKey);
        emscripten_set_mousedown_callback(kCanvas, this, true, &WebBackend::onMouse);
        emscripten_set_mouseup_callback(kCanvas, this, true, &WebBackend::onMouse);
        emscripten_set_focus_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, true, &WebBackend::onFocus);
        emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, true, &WebBackend::onFocus);
        emscripten_set_visibilitychange_callback(this, true, &WebBackend::onVisibility);
        active_ = pageActive() != 0;
        lastTurn_ = clock::now();
    }

    ~WebBackend() override { page = nullptr; }

    const char* name() const override { return "web"; }
    bool interactive() const override { return true; }

    void wait(uint32_t timeoutMs, std::vector<HostEvent>& events) override {
        if (pending_.empty() && timeoutMs != 0) {
            if (timeoutMs == INFINITE) {
                while (pending_.empty()) turn(1000);
            } else {
                turn(timeoutMs);
            }
        } else if (clock::now() - lastTurn_ >= kLongestTurnMs) {
            turn(0);
        }
        events.insert(events.end(), pending_.begin(), pending_.end());
        pending_.clear();
    }

    // RGBA bytes, as the canvas takes them.
    std::optional<PixelFormat> pixelFormat() const override { return PixelFormat{0, 8, 16, 0xFF000000u}; }

    void present(const Frame& frame) override {
        // The page puts whole rows: from the first changed row to the last.
        if (!frame.changed.empty()) {
            int top = frame.height, bottom = 0;
            for (const Rect& area : frame.changed) {
                top = std::min(top, area.y);
                bottom = std::max(bottom, area.y + area.h);
            }
            if (bottom > top) pageShow(frame.pixels.data(), frame.width, frame.height, top, bottom);
        }
        std::u32string lines;
        int opacity = 0;
        for (const OverlayLine& line : frame.overlay) {
            if (!lines.empty()) lines += U'\n';
            lines += line.text;
            opacity = std::max<int>(opacity, line.opacity);
        }
        // The page's line is touched only when it changes, not with every picture.
        std::string utf8 = text::toUtf8(lines);
        if (utf8 == shownOverlay_ && opacity == shownOpacity_) return;
        pageOverlay(utf8.c_str(), opacity);
        shownOverlay_ = std::move(utf8);
        shownOpacity_ = opacity;
    }

    bool boxOpening(const std::string&) override { return true; }  // drawn in the canvas by core
    void boxClosed() override {}
    void setCursorVisible(bool visible) override { pageCursor(visible ? 1 : 0); }

    SIZE desktopSize() const override {
        const int width = pageScreenWidth();
        const int height = pageScreenHeight();
        if (width <= 0 || height <= 0) return {kPictureWidth, kPictureHeight};
        return {width, height};
    }

    void windowCreated(HWND, const std::string& title) override { pageTitle(title.c_str()); }
    void windowDestroyed(HWND) override {}

    // Done in the key's own handler: a page may go full screen only there.
    void toggleFullscreen() override {}

    void screenshotSaved(const std::string& path) override { pageOffer(path.c_str()); }

    // A key from the page's own buttons (for keys the browser keeps).
    void buttonKey(int virtualKey, bool down) {
        report(HostEvent{down ? HostEvent::KeyDown : HostEvent::KeyUp, virtualKey, false, std::nullopt});
    }

private:
    void turn(uint32_t ms) {
        pageWait(static_cast<double>(ms));
        lastTurn_ = clock::now();
    }

    void report(const HostEvent& event) {
        pending_.push_back(event);
        pageWake();
    }

    void setActive(bool active) {
        if (active == active_) return;
        active_ = active;
        if (!active) {
            // The page gets no key ups while it is away: the keys held go up now, as in a window.
            for (int key : held_) pending_.push_back(HostEvent{HostEvent::KeyUp, key, false, std::nullopt});
            held_.clear();
        }
        report(HostEvent{active ? HostEvent::FocusGained : HostEvent::FocusLost, 0, false, std::nullopt});
    }

    static EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* key, void* self) {
        WebBackend& backend = *static_cast<WebBackend*>(self);
        const int virtualKey = web::virtualKeyOf(key->code, key->key);
        if (virtualKey == 0) return EM_FALSE;
        const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
        if (down && key->altKey && virtualKey == VK_RETURN && !key->repeat) pageToggleFullscreen();
        if (down && key->repeat) return EM_TRUE;  // the platform makes the repeats
        if (down) {
            backend.held_.insert(virtualKey);
        } else if (backend.held_.erase(virtualKey) == 0) {
            return EM_TRUE;  // its down went before the page had the focus
        }
        backend.report(HostEvent{down ? HostEvent::KeyDown : HostEvent::KeyUp, virtualKey, key->altKey != 0, std::nullopt});
        return web::leaveToBrowser(virtualKey, key->ctrlKey || key->metaKey) ? EM_FALSE : EM_TRUE;
    }

    static EM_BOOL onMouse(int type, const EmscriptenMouseEvent* mouse, void* self) {
        if (mouse->button != 0) return EM_FALSE;
        double width = 0;
        double height = 0;
        if (emscripten_get_element_css_size(kCanvas, &width, &height) != EMSCRIPTEN_RESULT_SUCCESS || width <= 0 ||
            height <= 0)
            return EM_FALSE;
        HostEvent click;
        click.kind = type == EMSCRIPTEN_EVENT_MOUSEDOWN ? HostEvent::MouseDown : HostEvent::MouseUp;
        const int x = static_cast<int>(mouse->targetX * kPictureWidth / width);
        const int y = static_cast<int>(mouse->targetY * kPictureHeight / height);
        if (x >= 0 && y >= 0 && x < kPictureWidth && y < kPictureHeight) click.at = Point{x, y};
        static_cast<WebBackend*>(self)->report(click);
        return EM_TRUE;
    }

    static EM_BOOL onFocus(int type, const EmscriptenFocusEvent*, void* self) {
        static_cast<WebBackend*>(self)->setActive(type == EMSCRIPTEN_EVENT_FOCUS && pageActive() != 0);
        return EM_FALSE;
    }

    static EM_BOOL onVisibility(int, const EmscriptenVisibilityChangeEvent* visibility, void* self) {
        static_cast<WebBackend*>(self)->setActive(!visibility->hidden && pageActive() != 0);
        return EM_FALSE;
    }

    std::vector<HostEvent> pending_;  // reported by the page, not yet taken by wait()
    std::set<int> held_;              // keys down in the page
    bool active_ = true;
    uint32_t lastTurn_ = 0;
    std::string shownOverlay_;  // the page's overlay line as last set (empty at first)
    int shownOpacity_ = 0;
};

}  // namespace

std::unique_ptr<Backend> makeWindowBackend(const LaunchOptions&, std::string*) { return std::make_unique<WebBackend>(); }

}  // namespace qmp

// The page's key buttons (F5, F11, F12 and the others a browser may keep for itself).
extern "C" EMSCRIPTEN_KEEPALIVE void quillmereButtonKey(int virtualKey, int down) {
    if (qmp::page != nullptr) qmp::page->buttonKey(virtualKey, down != 0);
}
