// Animation strips: one off-screen surface per frame, cut from the sprite sheet
// and copied in again whenever the surfaces were lost.
#include "assets/sprite_strip.h"

#include "assets/bitmap.h"
#include "assets/picture_bounds.h"
#include "display/display.h"
#include "display/translucency.h"

namespace {

// Frames stand side by side in the sheet with one pixel column between them.
int32_t frameColumn(int32_t sourceX, int32_t frameWidth, int32_t index) {
    return sourceX + index * (frameWidth + 1);
}

bool framesInsideSheet(const SheetBitmap& sheet, int32_t sourceX, int32_t sourceY, int32_t frameCount,
                       int32_t frameWidth, int32_t frameHeight) {
    if (frameCount < 0 || frameWidth <= 0 || frameHeight <= 0) return false;
    if (frameCount == 0) return true;
    int64_t span = static_cast<int64_t>(frameCount) * (static_cast<int64_t>(frameWidth) + 1) - 1;
    return rectInsidePicture(sheet, sourceX, sourceY, span, frameHeight);
}

// Restores every frame surface, also one that was not lost, and copies the
// frames in again until one copy fails; the rest are then only restored.
template <typename CopyFrame>
bool restoreAndCopy(LPDIRECTDRAWSURFACE* surfaces, int32_t frameCount, CopyFrame copyFrame) {
    if (!surfaces) return false;
    bool ok = true;
    for (int32_t i = 0; i < frameCount; ++i) {
        if (!surfaces[i] || FAILED(surfaces[i]->Restore())) return false;
        if (ok) ok = copyFrame(surfaces[i], i);
    }
    return ok;
}

}  // namespace

// A sheet too small for the frames is refused before anything is released or made.
bool SpriteStrip::create(const SheetBitmap* image, int32_t sourceX, int32_t sourceY, int32_t frameCount,
                         int32_t frameWidth, int32_t frameHeight) {
    if (!image || !directDraw) return false;
    if (!framesInsideSheet(*image, sourceX, sourceY, frameCount, frameWidth, frameHeight)) return false;

    release();
    sourceImage_ = image;
    sourceX_ = sourceX;
    sourceY_ = sourceY;
    frameCount_ = frameCount;
    frameWidth_ = frameWidth;
    frameHeight_ = frameHeight;
    sourceRect_ = {0, 0, frameWidth, frameHeight};
    frameSurfaces_ = std::make_unique<LPDIRECTDRAWSURFACE[]>(static_cast<size_t>(frameCount));

    for (int32_t i = 0; i < frameCount; ++i) {
        // Frame surfaces may live in video memory: they can be lost, and reload() brings them back.
        DDSURFACEDESC desc = offscreenSurfaceDesc(frameWidth, frameHeight, false);
        LPDIRECTDRAWSURFACE surface = nullptr;
        if (FAILED(directDraw->CreateSurface(&desc, &surface, nullptr))) return false;
        frameSurfaces_[i] = surface;
        DDCOLORKEY key{TRANSPARENT_INDEX, TRANSPARENT_INDEX};
        surface->SetColorKey(DDCKEY_SRCBLT, &key);
    }
    // A frame that could not be copied shows whatever the surface held; the strip still stands.
    reload();
    return true;
}

bool SpriteStrip::reload() {
    return restoreAndCopy(frameSurfaces_.get(), frameCount_, [this](LPDIRECTDRAWSURFACE surface, int32_t i) {
        return sourceImage_->copyRectToSurface(surface, frameWidth_, frameHeight_,
                                               frameColumn(sourceX_, frameWidth_, i), sourceY_);
    });
}

bool ScreenedSpriteStrip::reload() {
    return restoreAndCopy(frameSurfaces_.get(), frameCount_, [this](LPDIRECTDRAWSURFACE surface, int32_t i) {
        return sourceImage_->copyScreenedRectToSurface(surface, frameWidth_, frameHeight_,
                                                       frameColumn(sourceX_, frameWidth_, i), sourceY_, level);
    });
}

bool ScreenedSpriteStrip::setLevel(uint8_t newLevel) {
    level = newLevel;
    return reload();
}

// The frame count and sizes keep their values; only the surfaces go.
void SpriteStrip::release() {
    if (!frameSurfaces_) return;
    for (int32_t i = 0; i < frameCount_; ++i) {
        if (frameSurfaces_[i]) {
            frameSurfaces_[i]->Release();
            frameSurfaces_[i] = nullptr;
        }
    }
    frameSurfaces_.reset();
}

// A frame index outside the strip, or a strip without surfaces, draws nothing.
HRESULT SpriteStrip::blitFrame(LPDIRECTDRAWSURFACE destination, int32_t x, int32_t y, int32_t index) {
    LPDIRECTDRAWSURFACE frame = (index >= 0 && index < frameCount_) ? frameSurface(index) : nullptr;
    if (!frame) return DDERR_INVALIDPARAMS;
    RECT target{x, y, x + frameWidth_, y + frameHeight_};
    return destination->Blt(&target, frame, &sourceRect_, DDBLT_KEYSRC | DDBLT_WAIT, nullptr);
}

bool SpriteStrip::blendFrame(LPDIRECTDRAWSURFACE destination, int32_t x, int32_t y, int32_t index) {
    LPDIRECTDRAWSURFACE frame = (index >= 0 && index < frameCount_) ? frameSurface(index) : nullptr;
    if (!frame) return false;
    return translucentCopy(destination, x, y, frame, frameWidth_, frameHeight_);
}
