// 8-bit palettized BMP pictures, read whole and copied into surfaces:
// reading and colours in bitmap.cpp, the copies in bitmap_copy.cpp, the
// screen-door pattern in screen_door.cpp. The three pictures are defined in
// app/globals.cpp, with every other global of the demo.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>
#include <memory>

class PalettedBitmap {
public:
    PalettedBitmap() = default;
    ~PalettedBitmap() = default;
    PalettedBitmap(const PalettedBitmap&) = delete;
    PalettedBitmap& operator=(const PalettedBitmap&) = delete;

    bool load(const char* fileName);
    int32_t width() const { return infoHeader.biWidth; }
    int32_t height() const { return infoHeader.biHeight; }

    bool copyToSurface(LPDIRECTDRAWSURFACE surface) const;
    bool copyRectToSurface(LPDIRECTDRAWSURFACE surface, int32_t width, int32_t height, int32_t sourceX,
                           int32_t sourceY) const;
    bool applyPaletteTo(LPDIRECTDRAWPALETTE palette) const;
    COLORREF paletteColor(int32_t index) const;

    BITMAPFILEHEADER fileHeader{};
    BITMAPINFOHEADER infoHeader{};
    RGBQUAD palette[256]{};
    // width x height palette indices, rows bottom-up as in the file; null when no picture is held.
    std::unique_ptr<uint8_t[]> pixels;
};

class SheetBitmap : public PalettedBitmap {
public:
    bool copyScreenedRectToSurface(LPDIRECTDRAWSURFACE surface, int32_t width, int32_t height,
                                   int32_t sourceX, int32_t sourceY, int32_t level) const;
};

// The screen-door pattern over locked surface memory: an area `areaWidth` bytes
// wide and `rows` rows high at the top-left of memory `pitch` bytes per row.
void applyScreenDoor(uint8_t* base, int32_t pitch, int32_t areaWidth, int32_t rows, int32_t level);

extern PalettedBitmap messageImage;   // "MsgWnd.bmp"
extern SheetBitmap backgroundImage;   // "bckgnd.bmp"
extern SheetBitmap spriteSheet;       // "Sprites.bmp"
