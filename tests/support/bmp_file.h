// Writing 8-bit BMP files for the picture-loading tests, including broken ones.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace testbmp {

struct Colour {
    uint8_t red, green, blue;
};

struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;  // rows top-down, width bytes each
    std::vector<Colour> palette = std::vector<Colour>(256, Colour{0, 0, 0});
    uint16_t bitCount = 8;
    uint8_t paddingByte = 0xEE;  // what the file holds between a row's end and the next row
};

inline void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// The bytes of the file: headers, a full colour table, rows bottom-up padded to 4.
inline std::vector<uint8_t> encode(const Picture& picture) {
    std::vector<uint8_t> out;
    int64_t stride = (static_cast<int64_t>(picture.width) + 3) & ~int64_t{3};
    put16(out, 0x4D42);
    put32(out, 0);  // bfSize: never consulted
    put32(out, 0);
    put32(out, 1078);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(picture.width));
    put32(out, static_cast<uint32_t>(picture.height));
    put16(out, 1);
    put16(out, picture.bitCount);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 256);
    put32(out, 0);
    for (const Colour& c : picture.palette) {
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        out.push_back(0);
    }
    if (picture.pixels.size() != static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height)) return out;
    for (int32_t y = picture.height - 1; y >= 0; --y) {
        for (int64_t x = 0; x < stride; ++x) {
            out.push_back(x < picture.width ? picture.pixels[static_cast<size_t>(y) * picture.width + x]
                                            : picture.paddingByte);
        }
    }
    return out;
}

// A file of its own for each test process, removed by the caller when done.
inline std::string tempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("qm_" + std::to_string(getpid()) + "_" + name)).string();
}

inline bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

// A picture whose pixel at (x, y) is (x + 16 * y) & 0xFF with a grey-ramp palette.
inline Picture pattern(int32_t width, int32_t height) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<size_t>(width) * height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) picture.pixels[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>(x + 16 * y);
    }
    for (int i = 0; i < 256; ++i) picture.palette[i] = Colour{static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i)};
    return picture;
}

}  // namespace testbmp
