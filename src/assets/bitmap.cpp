// Reading 8-bit palettized BMP files, and their colours.
#include "assets/bitmap.h"

#include <new>

namespace {

// Larger pictures are refused: nothing the demo shows comes near this, and it
// keeps width x height far from overflowing.
constexpr int32_t maxPictureSide = 16384;

static_assert(sizeof(BITMAPFILEHEADER) == 14 && sizeof(BITMAPINFOHEADER) == 40 && sizeof(RGBQUAD) * 256 == 1024,
              "the BMP records are read as they lie in the file");

// A read counts only when it delivered every byte asked for: a file that ends
// early reports success with fewer bytes.
bool readExactly(HANDLE file, void* buffer, DWORD size) {
    DWORD delivered = 0;
    return ReadFile(file, buffer, size, &delivered, nullptr) && delivered == size;
}

}  // namespace

// Any failure once the file is open leaves no pixels, so that the pixels held
// always match the size in the headers.
bool PalettedBitmap::load(const char* fileName) {
    HANDLE file = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;

    auto fail = [&] {
        pixels.reset();
        CloseHandle(file);
        return false;
    };
    if (!readExactly(file, &fileHeader, sizeof(fileHeader))) return fail();
    if (!readExactly(file, &infoHeader, sizeof(infoHeader))) return fail();
    if (infoHeader.biBitCount != 8) return fail();
    // Always a full colour table, whatever biClrUsed says; the rows follow it.
    if (!readExactly(file, palette, sizeof(palette))) return fail();

    pixels.reset();
    int32_t w = infoHeader.biWidth;
    int32_t h = infoHeader.biHeight;
    if (w < 0 || h < 0 || w > maxPictureSide || h > maxPictureSide) return fail();
    pixels.reset(new (std::nothrow) uint8_t[static_cast<size_t>(w) * static_cast<size_t>(h)]);
    if (!pixels) return fail();

    // Rows stay bottom-up as in the file; each is padded there to a multiple of 4 bytes.
    DWORD padding = static_cast<DWORD>(((w + 3) & ~3) - w);
    uint8_t scratch[4];
    for (int32_t row = 0; row < h; ++row) {
        if (!readExactly(file, pixels.get() + static_cast<size_t>(row) * w, static_cast<DWORD>(w))) return fail();
        if (!readExactly(file, scratch, padding)) return fail();
    }
    CloseHandle(file);
    return true;
}

bool PalettedBitmap::applyPaletteTo(LPDIRECTDRAWPALETTE target) const {
    if (!target) return false;
    // The file stores blue, green, red; a palette entry holds red, green, blue.
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; ++i) {
        entries[i].peRed = palette[i].rgbRed;
        entries[i].peGreen = palette[i].rgbGreen;
        entries[i].peBlue = palette[i].rgbBlue;
        entries[i].peFlags = 0;
    }
    target->SetEntries(0, 0, 256, entries);
    return true;
}

COLORREF PalettedBitmap::paletteColor(int32_t index) const {
    if (index < 0 || index > 255) return 0;
    const RGBQUAD& entry = palette[index];
    return RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
}
