#include "bmp_writer.h"

#include <cstdio>

namespace assetgen {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

namespace {

constexpr uint32_t kPixelOffset = 14 + 40 + 256 * 4;

}  // namespace

std::vector<uint8_t> encodeBmp(const IndexedImage& image, const ColourTable& colours) {
    const uint32_t stride = (static_cast<uint32_t>(image.width) + 3) & ~3u;
    const uint32_t imageSize = stride * static_cast<uint32_t>(image.height);
    std::vector<uint8_t> out;
    out.reserve(kPixelOffset + imageSize);
    // BITMAPFILEHEADER
    put16(out, 0x4D42);
    put32(out, kPixelOffset + imageSize);
    put32(out, 0);
    put32(out, kPixelOffset);
    // BITMAPINFOHEADER
    put32(out, 40);
    put32(out, static_cast<uint32_t>(image.width));
    put32(out, static_cast<uint32_t>(image.height));  // positive: bottom-up rows
    put16(out, 1);
    put16(out, 8);
    put32(out, 0);  // BI_RGB
    put32(out, imageSize);
    put32(out, 2835);  // 72 dpi
    put32(out, 2835);
    put32(out, 256);
    put32(out, 256);
    for (const Rgb& c : colours) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) out.push_back(image.at(x, y));
        for (uint32_t x = static_cast<uint32_t>(image.width); x < stride; ++x) out.push_back(0);
    }
    return out;
}

bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return (std::fclose(f) == 0) && ok;
}

bool readBmp(const std::string& path, IndexedImage& image, ColourTable& colours, std::string& error) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = "cannot open " + path;
        return false;
    }
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    auto u16 = [&](size_t at) { return static_cast<uint32_t>(bytes[at] | (bytes[at + 1] << 8)); };
    auto u32 = [&](size_t at) { return u16(at) | (u16(at + 2) << 16); };
    if (bytes.size() < kPixelOffset || u16(0) != 0x4D42 || u32(14) != 40 || u16(28) != 8 || u32(30) != 0) {
        error = path + " is not an uncompressed 8-bit BMP";
        return false;
    }
    const int32_t width = static_cast<int32_t>(u32(18)), height = static_cast<int32_t>(u32(22));
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
        error = path + " has an unsupported size";
        return false;
    }
    const size_t stride = (static_cast<size_t>(width) + 3) & ~size_t(3);
    if (bytes.size() < kPixelOffset + stride * static_cast<size_t>(height)) {
        error = path + " ends early";
        return false;
    }
    for (size_t i = 0; i < 256; ++i)
        colours[i] = Rgb{bytes[54 + 4 * i + 2], bytes[54 + 4 * i + 1], bytes[54 + 4 * i]};
    image = IndexedImage(width, height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.at(x, y) = bytes[kPixelOffset + static_cast<size_t>(height - 1 - y) * stride + static_cast<size_t>(x)];
    return true;
}

}  // namespace assetgen
