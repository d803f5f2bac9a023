// Animations cut from the sprite sheet, one off-screen surface per frame. The
// strips are defined in app/globals.cpp, with every other global of the demo.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>
#include <memory>

class SheetBitmap;

class SpriteStrip {
public:
    SpriteStrip() = default;
    ~SpriteStrip() = default;  // frees the array; the surfaces are released by release()
    SpriteStrip(const SpriteStrip&) = delete;
    SpriteStrip& operator=(const SpriteStrip&) = delete;

    bool create(const SheetBitmap* image, int32_t sourceX, int32_t sourceY, int32_t frameCount, int32_t frameWidth,
                int32_t frameHeight);
    virtual bool reload();
    void release();
    HRESULT blitFrame(LPDIRECTDRAWSURFACE destination, int32_t x, int32_t y, int32_t index);
    bool blendFrame(LPDIRECTDRAWSURFACE destination, int32_t x, int32_t y, int32_t index);

    int32_t frameCount() const { return frameCount_; }
    int32_t frameWidth() const { return frameWidth_; }
    int32_t frameHeight() const { return frameHeight_; }
    LPDIRECTDRAWSURFACE frameSurface(int32_t index) const { return frameSurfaces_ ? frameSurfaces_[index] : nullptr; }

protected:
    const SheetBitmap* sourceImage_ = nullptr;
    int32_t sourceX_ = 0;
    int32_t sourceY_ = 0;
    std::unique_ptr<LPDIRECTDRAWSURFACE[]> frameSurfaces_;
    int32_t frameCount_ = 0;
    int32_t frameWidth_ = 0;
    int32_t frameHeight_ = 0;
    RECT sourceRect_{};
};

// Frames copied in with the screen-door pattern, so they look see-through.
class ScreenedSpriteStrip : public SpriteStrip {
public:
    explicit ScreenedSpriteStrip(uint8_t level) : level(level) {}
    bool reload() override;
    bool setLevel(uint8_t newLevel);

    uint8_t level;
};

extern SpriteStrip fixedActorStrip;
extern SpriteStrip directionStrips[9];
extern ScreenedSpriteStrip screenedStrip;
