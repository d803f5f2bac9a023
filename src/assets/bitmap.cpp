// Reading palettized BMP files, and their colours.
#include "assets/bitmap.h"

#include <new>
#include <vector>

#include "assets/bitmap_decoders.h"
#include "assets/file_reading.h"

namespace {

// Larger pictures are refused: nothing the demo shows comes near this, and it
// keeps width x height far from overflowing.
constexpr int32_t maxPictureSide = 16384;

static_assert(sizeof(BITMAPFILEHEADER) == 14 && sizeof(BITMAPINFOHEADER) == 40 && sizeof(RGBQUAD) == 4,
              "the BMP records are read as they lie in the file");

// Where the parts of a file lie and how its pixels are stored, from its headers.
struct FileLayout {
    uint16_t bitCount = 0;
    DWORD compression = BI_RGB;
    bool topDown = false;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t colours = 0;     // entries in the colour table
    uint64_t headerRest = 0;  // info header bytes after the 40 that every version starts with
    uint64_t pixelGap = 0;    // bytes between the colour table and the pixel data
};

// The info header versions in use: BITMAPINFOHEADER, its two extensions with
// colour masks, BITMAPV4HEADER and BITMAPV5HEADER. Their first 40 bytes are
// the same. The OS/2 headers (12 and 64 bytes) are laid out differently.
bool knownInfoHeaderSize(DWORD size) { return size == 40 || size == 52 || size == 56 || size == 108 || size == 124; }

bool knownEncoding(uint16_t bitCount, DWORD compression) {
    if (bitCount != 1 && bitCount != 4 && bitCount != 8) return false;
    return compression == BI_RGB || (compression == BI_RLE8 && bitCount == 8) ||
           (compression == BI_RLE4 && bitCount == 4);
}

// False for every file this loader does not read; see bitmap.h for those it does.
bool layoutOf(const BITMAPFILEHEADER& file, const BITMAPINFOHEADER& info, FileLayout* layout) {
    if (!knownInfoHeaderSize(info.biSize) || !knownEncoding(info.biBitCount, info.biCompression)) return false;
    layout->bitCount = info.biBitCount;
    layout->compression = info.biCompression;
    // Compressed rows are always bottom-up.
    layout->topDown = info.biHeight < 0;
    if (layout->topDown && info.biCompression != BI_RGB) return false;
    if (info.biWidth < 0 || info.biWidth > maxPictureSide || info.biHeight < -maxPictureSide ||
        info.biHeight > maxPictureSide)
        return false;
    layout->width = info.biWidth;
    layout->height = layout->topDown ? -info.biHeight : info.biHeight;

    const uint32_t tableSize = 1u << info.biBitCount;
    layout->colours = info.biClrUsed == 0 ? tableSize : info.biClrUsed;
    if (layout->colours > tableSize) return false;
    layout->headerRest = info.biSize - sizeof(BITMAPINFOHEADER);

    // An offset of 0 means the pixels follow the colour table; one that points
    // into the headers or the table is broken.
    const uint64_t tableEnd = sizeof(BITMAPFILEHEADER) + uint64_t{info.biSize} + 4 * uint64_t{layout->colours};
    const uint64_t pixelStart = file.bfOffBits == 0 ? tableEnd : file.bfOffBits;
    if (pixelStart < tableEnd) return false;
    layout->pixelGap = pixelStart - tableEnd;
    return true;
}

bool readColourTable(HANDLE file, uint32_t colours, RGBQUAD (&palette)[256]) {
    RGBQUAD table[256]{};
    if (!readExactly(file, table, static_cast<DWORD>(colours * sizeof(RGBQUAD)))) return false;
    for (int i = 0; i < 256; ++i) palette[i] = table[i];
    return true;
}

std::unique_ptr<uint8_t[]> allocatePixels(const FileLayout& layout, bool zeroed) {
    const size_t count = static_cast<size_t>(layout.width) * static_cast<size_t>(layout.height);
    return std::unique_ptr<uint8_t[]>(zeroed ? new (std::nothrow) uint8_t[count]() : new (std::nothrow) uint8_t[count]);
}

bool readUncompressed(HANDLE file, const FileLayout& layout, PalettedBitmap& image) {
    image.pixels = allocatePixels(layout, false);
    if (!image.pixels) return false;
    return readUncompressedRows(file, layout.bitCount, layout.topDown, {image.pixels.get(), layout.width, layout.height});
}

// The compressed data runs for biSizeImage bytes, or to the end of the file
// when that is 0. It is read before the picture is allocated, so a header
// claiming a huge picture over a few bytes of data costs little.
bool readCompressed(HANDLE file, const FileLayout& layout, PalettedBitmap& image) {
    const DWORD claimed = image.infoHeader.biSizeImage;
    std::vector<uint8_t> data;
    if (!readUpTo(file, claimed == 0 ? UINT64_MAX : claimed, &data)) return false;
    image.pixels = allocatePixels(layout, true);  // what the stream skips is index 0
    if (!image.pixels) return false;
    const PixelGrid grid{image.pixels.get(), layout.width, layout.height};
    return layout.compression == BI_RLE8 ? decodeRle8(data.data(), data.size(), grid)
                                         : decodeRle4(data.data(), data.size(), grid);
}

bool readPicture(HANDLE file, PalettedBitmap& image) {
    if (!readExactly(file, &image.fileHeader, sizeof(image.fileHeader))) return false;
    if (!readExactly(file, &image.infoHeader, sizeof(image.infoHeader))) return false;
    FileLayout layout;
    if (!layoutOf(image.fileHeader, image.infoHeader, &layout)) return false;
    if (!skipBytes(file, layout.headerRest)) return false;
    if (!readColourTable(file, layout.colours, image.palette)) return false;
    if (!skipBytes(file, layout.pixelGap)) return false;
    return layout.compression == BI_RGB ? readUncompressed(file, layout, image) : readCompressed(file, layout, image);
}

}  // namespace

// Any failure once the file is open leaves no pixels, so that the pixels held
// always match the size in the headers.
bool PalettedBitmap::load(const char* fileName) {
    HANDLE file = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    pixels.reset();
    const bool loaded = readPicture(file, *this);
    if (!loaded) pixels.reset();
    CloseHandle(file);
    return loaded;
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
