// The GPU presenter (backend/sdl/presenter.h): the frame's changed rows go up
// into a streaming texture; the renderer makes the whole-number upscale into
// a target texture with crisp pixels, then the smooth step to the final size.
#include <vector>

#include "backend/sdl/presenter.h"
#include "core/overlay.h"

namespace qmp::sdl {
namespace {

class GpuPresenter final : public Presenter {
public:
    GpuPresenter(SDL_Renderer* renderer, ScaleMode mode) : renderer_(renderer), mode_(mode) {}

    ~GpuPresenter() override {
        dropTextures();
        SDL_DestroyRenderer(renderer_);
    }

    const char* name() const override { return "gpu"; }
    PixelFormat format() const override { return PixelFormat{16, 8, 0, 0xFF000000u}; }  // ARGB8888
    Rect placed() const override { return placement_.target; }
    void outputSize(int* w, int* h) const override {
        *w = outW_;
        *h = outH_;
    }
    void setScaleMode(ScaleMode mode) override { mode_ = mode; }

    void present(const Frame& frame, bool whole) override {
        if (frame.width <= 0 || frame.height <= 0) return;
        if (whole || picture_ == nullptr || frame.width != picW_ || frame.height != picH_) {
            dropTextures();
            picW_ = frame.width;
            picH_ = frame.height;
            picture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, picW_, picH_);
            if (picture_ == nullptr) {
                SDL_Log("SDL_CreateTexture: %s", SDL_GetError());
                return;
            }
            SDL_SetTextureScaleMode(picture_, SDL_ScaleModeNearest);
            whole = true;
        }
        const std::vector<Rect> all{{0, 0, frame.width, frame.height}};
        for (const Rect& r : whole ? all : frame.changed) {
            const SDL_Rect area{r.x, r.y, r.w, r.h};
            if (SDL_UpdateTexture(picture_, &area, frame.row(r.y) + r.x, frame.width * 4) != 0)
                SDL_Log("SDL_UpdateTexture: %s", SDL_GetError());
        }
        SDL_GetRendererOutputSize(renderer_, &outW_, &outH_);
        placement_ = placePicture(outW_, outH_, picW_, picH_, mode_);
        updateOverlay(frame.overlay);
        draw();
    }

private:
    void draw() {
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        const Rect& t = placement_.target;
        const SDL_Rect target{t.x, t.y, t.w, t.h};
        const int upW = picW_ * placement_.factorX;
        const int upH = picH_ * placement_.factorY;
        if (upW == t.w && upH == t.h) {
            SDL_RenderCopy(renderer_, picture_, nullptr, &target);  // whole multiples: crisp as it is
        } else if (SDL_Texture* upscaled = upscaledTexture(upW, upH)) {
            SDL_SetRenderTarget(renderer_, upscaled);
            SDL_RenderCopy(renderer_, picture_, nullptr, nullptr);
            SDL_SetRenderTarget(renderer_, nullptr);
            SDL_RenderCopy(renderer_, upscaled, nullptr, &target);
        } else {
            SDL_RenderCopy(renderer_, picture_, nullptr, &target);  // no target textures: one nearest step
        }
        for (size_t i = 0; i < stamps_.size(); ++i) {
            const SDL_Rect at{stamps_[i].at.x, stamps_[i].at.y, stamps_[i].at.w, stamps_[i].at.h};
            SDL_RenderCopy(renderer_, stampTextures_[i], nullptr, &at);
        }
        SDL_RenderPresent(renderer_);
    }

    SDL_Texture* upscaledTexture(int w, int h) {
        if (upscaled_ != nullptr && upW_ == w && upH_ == h) return upscaled_;
        if (upscaled_ != nullptr) SDL_DestroyTexture(upscaled_);
        upscaled_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, w, h);
        if (upscaled_ != nullptr) SDL_SetTextureScaleMode(upscaled_, SDL_ScaleModeLinear);
        upW_ = w;
        upH_ = h;
        return upscaled_;
    }

    // The overlay's textures, made anew only when its lines or the output change.
    void updateOverlay(const std::vector<OverlayLine>& lines) {
        if (sameLines(lines) && overlayW_ == outW_ && overlayH_ == outH_) return;
        lines_ = lines;
        overlayW_ = outW_;
        overlayH_ = outH_;
        for (SDL_Texture* t : stampTextures_) SDL_DestroyTexture(t);
        stampTextures_.clear();
        stamps_ = overlay::layOut(lines, outW_, outH_);
        for (const overlay::Stamp& s : stamps_) {
            SDL_Texture* t = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, s.at.w, s.at.h);
            if (t != nullptr) {
                SDL_UpdateTexture(t, nullptr, s.pixels.data(), s.at.w * 4);
                SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
            }
            stampTextures_.push_back(t);
        }
    }

    bool sameLines(const std::vector<OverlayLine>& lines) const {
        if (lines.size() != lines_.size()) return false;
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].text != lines_[i].text || lines[i].opacity != lines_[i].opacity) return false;
        return true;
    }

    void dropTextures() {
        if (picture_ != nullptr) SDL_DestroyTexture(picture_);
        if (upscaled_ != nullptr) SDL_DestroyTexture(upscaled_);
        for (SDL_Texture* t : stampTextures_) SDL_DestroyTexture(t);
        picture_ = upscaled_ = nullptr;
        stampTextures_.clear();
        stamps_.clear();
        lines_.clear();
        overlayW_ = overlayH_ = 0;
    }

    SDL_Renderer* renderer_;
    ScaleMode mode_;
    SDL_Texture* picture_ = nullptr;
    SDL_Texture* upscaled_ = nullptr;
    int picW_ = 0, picH_ = 0, upW_ = 0, upH_ = 0, outW_ = 0, outH_ = 0;
    Placement placement_;
    std::vector<OverlayLine> lines_;
    int overlayW_ = 0, overlayH_ = 0;
    std::vector<overlay::Stamp> stamps_;
    std::vector<SDL_Texture*> stampTextures_;
};

}  // namespace

std::unique_ptr<Presenter> makeGpuPresenter(SDL_Window* window, ScaleMode mode, std::string* error) {
    // No vsync: a present must not hold up the program's loop.
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
    if (renderer == nullptr) renderer = SDL_CreateRenderer(window, -1, 0);
    if (renderer == nullptr) {
        *error = std::string("SDL_CreateRenderer: ") + SDL_GetError();
        return nullptr;
    }
    return std::make_unique<GpuPresenter>(renderer, mode);
}

}  // namespace qmp::sdl
