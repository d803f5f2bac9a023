// The software presenter (backend/sdl/presenter.h): the frame scaled into the
// window's surface, and only the rows that changed sent to the display.
#include <algorithm>
#include <vector>

#include "backend/sdl/presenter.h"
#include "core/overlay.h"
#include "core/scaler.h"

namespace qmp::sdl {
namespace {

Rect clipped(const Rect& r, int w, int h) {
    const int x0 = std::max(r.x, 0);
    const int y0 = std::max(r.y, 0);
    const int x1 = std::min(r.x + r.w, w);
    const int y1 = std::min(r.y + r.h, h);
    return x1 > x0 && y1 > y0 ? Rect{x0, y0, x1 - x0, y1 - y0} : Rect{};
}

bool inside(const Rect& inner, const Rect& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
           inner.y + inner.h <= outer.y + outer.h;
}

class SoftwarePresenter final : public Presenter {
public:
    SoftwarePresenter(SDL_Window* window, ScaleMode mode, PixelFormat format)
        : window_(window), mode_(mode), format_(format) {}

    const char* name() const override { return "software"; }
    PixelFormat format() const override { return format_; }
    Rect placed() const override { return scaler_.placement().target; }
    void outputSize(int* w, int* h) const override {
        *w = outW_;
        *h = outH_;
    }
    void setScaleMode(ScaleMode mode) override {
        mode_ = mode;
        picW_ = 0;  // placed anew at the next presentation
    }

    void present(const Frame& frame, bool whole) override {
        SDL_Surface* surface = SDL_GetWindowSurface(window_);
        if (surface == nullptr || surface->format->BytesPerPixel != 4) {
            SDL_Log("window surface: %s", surface == nullptr ? SDL_GetError() : "not 32 bits a pixel");
            return;
        }
        if (surface->w != outW_ || surface->h != outH_ || frame.width != picW_ || frame.height != picH_) {
            outW_ = surface->w;
            outH_ = surface->h;
            picW_ = frame.width;
            picH_ = frame.height;
            scaler_.prepare(picW_, picH_, placePicture(outW_, outH_, picW_, picH_, mode_));
            whole = true;
        }
        std::vector<overlay::Stamp> stamps = overlay::layOut(frame.overlay, outW_, outH_);
        std::vector<Rect> dirty;
        if (whole) {
            dirty.push_back({0, 0, outW_, outH_});
        } else {
            for (const Rect& r : frame.changed) dirty.push_back(scaler_.outputRect(r));
            for (const overlay::Stamp& s : stamps_) dirty.push_back(s.at);  // what they covered
            for (const overlay::Stamp& s : stamps) dirty.push_back(s.at);
        }
        stamps_ = std::move(stamps);

        if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
        uint32_t* pixels = static_cast<uint32_t*>(surface->pixels);
        const int pitch = surface->pitch / 4;
        std::vector<SDL_Rect> sent;
        for (const Rect& d : dirty) {
            const Rect r = clipped(d, outW_, outH_);
            if (r.empty()) continue;
            drawRect(frame, r, pixels, pitch);
            overlay::composite(stamps_, pixels, pitch, format_.opaque, r);
            sent.push_back({r.x, r.y, r.w, r.h});
        }
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
        // One upload of everything that changed.
        if (!sent.empty() && SDL_UpdateWindowSurfaceRects(window_, sent.data(), static_cast<int>(sent.size())) != 0)
            SDL_Log("SDL_UpdateWindowSurfaceRects: %s", SDL_GetError());
    }

private:
    // An output rectangle: the picture where it is placed, black around it.
    void drawRect(const Frame& frame, const Rect& r, uint32_t* pixels, int pitch) {
        if (!inside(r, scaler_.placement().target)) {
            const uint32_t black = format_.pack(0, 0, 0);
            for (int y = r.y; y < r.y + r.h; ++y) std::fill_n(pixels + int64_t(y) * pitch + r.x, r.w, black);
        }
        scaler_.draw(frame, r, pixels, pitch);
    }

    SDL_Window* window_;
    ScaleMode mode_;
    PixelFormat format_;
    Scaler scaler_;
    int outW_ = 0;
    int outH_ = 0;
    int picW_ = 0;
    int picH_ = 0;
    std::vector<overlay::Stamp> stamps_;  // the overlay as last drawn
};

}  // namespace

std::unique_ptr<Presenter> makeSoftwarePresenter(SDL_Window* window, ScaleMode mode, std::string* error) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface == nullptr) {
        *error = std::string("SDL_GetWindowSurface: ") + SDL_GetError();
        return nullptr;
    }
    const SDL_PixelFormat* f = surface->format;
    if (f->BytesPerPixel != 4 || f->Rloss != 0 || f->Gloss != 0 || f->Bloss != 0) {
        *error = std::string("the window's pixels are ") + SDL_GetPixelFormatName(f->format) + ", not 8 bits a channel";
        return nullptr;
    }
    const PixelFormat format{f->Rshift, f->Gshift, f->Bshift, f->Amask};
    return std::make_unique<SoftwarePresenter>(window, mode, format);
}

}  // namespace qmp::sdl
