// Fuzzes the picture loader. Each input is the whole content of a picture
// file, read by PalettedBitmap::load through the platform's CreateFileA and
// ReadFile as the demo reads "bckgnd.bmp", "Sprites.bmp" and "MsgWnd.bmp". A
// picture that loads is then copied every way the demo copies its pictures:
// whole (the message picture), the eleven sprite strips' frames, the nine cave
// pieces, screen-door copies, and one rectangle taken from the input's last
// bytes. Besides the sanitizers, the loader's promises are checked: a picture
// that loads had every row in the file, a failed load holds no pixels, and a
// copy succeeds exactly when its rectangle lies inside the picture and fits
// the surface.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "assets/bitmap.h"
#include "memory_surfaces.h"

namespace {

constexpr size_t HEADERS_AND_PALETTE = 14 + 40 + 1024;
// Surfaces above this many bytes are not made; the fuzzer's inputs stay far below.
constexpr int64_t MAX_SURFACE_BYTES = int64_t{1} << 24;

[[noreturn]] void broken(const char* promise) {
    std::fprintf(stderr, "bitmap_fuzzer: broken promise: %s\n", promise);
    std::abort();
}

// The input as a file the platform can open: one memory file, rewritten each time.
const std::string& inputFile(const uint8_t* data, size_t size) {
    static int fd = memfd_create("picture.bmp", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ftruncate(fd, 0) != 0 || (size > 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)))
        broken("the memory file can be written");
    return path;
}

int64_t pitchFor(int64_t width) { return (width + 3) & ~int64_t{3}; }

bool inside(const PalettedBitmap& image, int64_t x, int64_t y, int64_t w, int64_t h) {
    return x >= 0 && y >= 0 && w >= 0 && h >= 0 && x + w <= image.width() && y + h <= image.height();
}

// A copy of the w x h rectangle at (x, y) into a surface of exactly that size,
// plain or screened; its result must say whether the rectangle was inside.
void copyRect(const SheetBitmap& image, int64_t x, int64_t y, int64_t w, int64_t h, bool screened, int32_t level) {
    // A negative size gets an empty surface: the copy must refuse it all the same.
    const int64_t surfaceW = w < 0 ? 0 : w;
    const int64_t surfaceH = h < 0 ? 0 : h;
    if (pitchFor(surfaceW) * surfaceH > MAX_SURFACE_BYTES) return;
    MemorySurface surface(static_cast<uint32_t>(surfaceW), static_cast<uint32_t>(surfaceH),
                          static_cast<uint32_t>(pitchFor(surfaceW)));
    bool copied = screened ? image.copyScreenedRectToSurface(&surface, static_cast<int32_t>(w), static_cast<int32_t>(h),
                                                             static_cast<int32_t>(x), static_cast<int32_t>(y), level)
                           : image.copyRectToSurface(&surface, static_cast<int32_t>(w), static_cast<int32_t>(h),
                                                     static_cast<int32_t>(x), static_cast<int32_t>(y));
    if (copied != inside(image, x, y, w, h)) broken("a rectangle copy succeeds exactly when it lies inside the picture");
    if (surface.locked()) broken("a copy leaves its surface unlocked");
}

void copyWholePicture(const SheetBitmap& image, int32_t level) {
    int64_t w = image.width();
    int64_t h = image.height();
    if (pitchFor(w) * h > MAX_SURFACE_BYTES) return;
    MemorySurface exact(static_cast<uint32_t>(w), static_cast<uint32_t>(h), static_cast<uint32_t>(pitchFor(w)));
    if (!image.copyToSurface(&exact)) broken("a loaded picture copies into a surface of its size");
    if (!image.copyScreenedRectToSurface(&exact, static_cast<int32_t>(w), static_cast<int32_t>(h), 0, 0, level))
        broken("a loaded picture copies screened into its size");
    if (w > 0 && h > 0) {
        // One row short, and one column narrower in both width and pitch: refused.
        MemorySurface shortOne(static_cast<uint32_t>(w), static_cast<uint32_t>(h - 1),
                               static_cast<uint32_t>(pitchFor(w)));
        if (image.copyToSurface(&shortOne)) broken("a picture does not copy into a surface with fewer rows");
        MemorySurface narrow(static_cast<uint32_t>(w - 1), static_cast<uint32_t>(h), static_cast<uint32_t>(w - 1));
        if (image.copyToSurface(&narrow)) broken("a picture does not copy into a narrower surface");
    }
}

// Where the demo cuts its frames and pieces from its sheets.
void copyDemoLayouts(const SheetBitmap& image, int32_t level) {
    struct Strip {
        int32_t x, y, frames, w, h;
    };
    const Strip strips[] = {{1, 1, 5, 90, 100},  {301, 203, 3, 49, 49}, {1, 103, 3, 49, 49},  {151, 103, 3, 49, 49},
                            {301, 103, 3, 49, 49}, {1, 153, 3, 49, 49}, {151, 153, 3, 49, 49}, {301, 153, 3, 49, 49},
                            {1, 203, 3, 49, 49},  {151, 203, 3, 49, 49}};
    for (const Strip& strip : strips) {
        for (int32_t i = 0; i < strip.frames; ++i) {
            int64_t x = strip.x + int64_t{i} * (strip.w + 1);
            copyRect(image, x, strip.y, strip.w, strip.h, false, 0);
            if (&strip == &strips[0]) copyRect(image, x, strip.y, strip.w, strip.h, true, level);
        }
    }
    // The cave's nine pieces: bands 150 wide around a floor tile at (152, 152).
    const int64_t ws = image.width();
    const int64_t hs = image.height();
    const int64_t pieces[9][4] = {{152, 152, ws - 304, hs - 304}, {1, 152, 150, hs - 304},  {ws - 151, 152, 150, hs - 304},
                                  {152, 1, ws - 304, 150},        {152, hs - 151, ws - 304, 150}, {ws - 151, 1, 150, 150},
                                  {1, 1, 150, 150},               {1, hs - 151, 150, 150},  {ws - 151, hs - 151, 150, 150}};
    for (const auto& piece : pieces) copyRect(image, piece[0], piece[1], piece[2], piece[3], false, 0);
}

void checkPalette(const SheetBitmap& image) {
    MemoryPalette palette;
    if (!image.applyPaletteTo(&palette)) broken("the palette applies to a palette object");
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD& file = image.palette[i];
        const PALETTEENTRY& entry = palette.entries[i];
        if (entry.peRed != file.rgbRed || entry.peGreen != file.rgbGreen || entry.peBlue != file.rgbBlue ||
            entry.peFlags != 0)
            broken("the palette entries are the file's colours");
    }
    if (image.paletteColor(-1) != 0 || image.paletteColor(256) != 0) broken("colours outside 0..255 are black");
    if (image.applyPaletteTo(nullptr)) broken("no palette object, no success");
}

int16_t tail16(const uint8_t* data, size_t size, size_t fromEnd) {
    return static_cast<int16_t>(data[size - fromEnd] | (data[size - fromEnd + 1] << 8));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SheetBitmap image;
    bool loaded = image.load(inputFile(data, size).c_str());
    if (!loaded) {
        if (image.pixels) broken("a failed load holds no pixels");
        return 0;
    }
    const int64_t w = image.width();
    const int64_t h = image.height();
    if (w < 0 || h < 0) broken("a loaded picture has no negative side");
    if (!image.pixels) broken("a loaded picture holds its pixels");
    if (image.infoHeader.biBitCount != 8) broken("only 8-bit pictures load");
    if (HEADERS_AND_PALETTE + static_cast<uint64_t>(pitchFor(w)) * static_cast<uint64_t>(h) > size)
        broken("a picture loads only when the file holds all its rows");

    int32_t level = size > 0 ? data[size - 1] : 0;
    copyWholePicture(image, level);
    copyDemoLayouts(image, level);
    checkPalette(image);
    if (size >= HEADERS_AND_PALETTE + 8) {
        copyRect(image, tail16(data, size, 8), tail16(data, size, 6), tail16(data, size, 4), tail16(data, size, 2), false, 0);
        copyRect(image, tail16(data, size, 8), tail16(data, size, 6), tail16(data, size, 4), tail16(data, size, 2), true,
                 level);
    }
    return 0;
}
