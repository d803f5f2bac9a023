// Writing BMP files for the picture-loading tests: 1, 4 and 8 bits, RLE8 and
// RLE4, top-down rows, other header versions, and broken ones.
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
    // The colour table as written; biClrUsed is its size unless clrUsed is set.
    std::vector<Colour> palette = std::vector<Colour>(256, Colour{0, 0, 0});
    int64_t clrUsed = -1;
    uint16_t bitCount = 8;        // 1, 4 and 8 are packed as such; other depths get 8-bit rows
    uint32_t compression = 0;     // BI_RGB; with BI_RLE8 (1) or BI_RLE4 (2) `data` replaces the rows
    std::vector<uint8_t> data;
    uint32_t infoSize = 40;       // the info header's version; bytes past the first 40 are zero
    bool topDown = false;         // rows top row first, height negative
    uint8_t paddingByte = 0xEE;   // what the file holds between a row's end and the next row
};

inline void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// One row of pixels at 1, 4 or 8 bits, padded to a multiple of 4 bytes.
inline void putRow(std::vector<uint8_t>& out, const Picture& picture, int32_t y) {
    const int bits = picture.bitCount == 1 || picture.bitCount == 4 ? picture.bitCount : 8;
    const int64_t rowBits = static_cast<int64_t>(picture.width) * bits;
    const size_t start = out.size();
    const size_t stride = static_cast<size_t>((rowBits + 31) / 32 * 4);
    out.resize(start + static_cast<size_t>((rowBits + 7) / 8), 0);
    for (int32_t x = 0; x < picture.width; ++x) {
        const uint8_t index = picture.pixels[static_cast<size_t>(y) * picture.width + x];
        const int64_t bit = static_cast<int64_t>(x) * bits;
        out[start + static_cast<size_t>(bit / 8)] |= static_cast<uint8_t>(index << (8 - bits - bit % 8));
    }
    out.resize(start + stride, picture.paddingByte);
}

// The bytes of the file: headers, the colour table, then the rows (bottom-up
// unless top-down) or the compressed data.
inline std::vector<uint8_t> encode(const Picture& picture) {
    std::vector<uint8_t> out;
    const uint32_t pixelOffset = 14 + picture.infoSize + 4 * static_cast<uint32_t>(picture.palette.size());
    put16(out, 0x4D42);
    put32(out, 0);  // bfSize: never consulted
    put32(out, 0);
    put32(out, pixelOffset);
    put32(out, picture.infoSize);
    put32(out, static_cast<uint32_t>(picture.width));
    put32(out, static_cast<uint32_t>(picture.topDown ? -picture.height : picture.height));
    put16(out, 1);
    put16(out, picture.bitCount);
    put32(out, picture.compression);
    put32(out, static_cast<uint32_t>(picture.data.size()));
    put32(out, 0);
    put32(out, 0);
    put32(out, static_cast<uint32_t>(picture.clrUsed >= 0 ? picture.clrUsed : static_cast<int64_t>(picture.palette.size())));
    put32(out, 0);
    out.resize(14 + picture.infoSize, 0);
    for (const Colour& c : picture.palette) {
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        out.push_back(0);
    }
    if (picture.compression != 0) {
        out.insert(out.end(), picture.data.begin(), picture.data.end());
        return out;
    }
    if (picture.pixels.size() != static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height)) return out;
    for (int32_t i = 0; i < picture.height; ++i) putRow(out, picture, picture.topDown ? i : picture.height - 1 - i);
    return out;
}

// The pixels as an RLE8 (bits 8) or RLE4 (bits 4) stream: runs of one index,
// literal blocks where nothing repeats, an end of line after every row and the
// end mark. RLE4 runs here repeat one index, the simplest of its runs.
inline std::vector<uint8_t> runLengthEncode(const Picture& picture, int bits) {
    std::vector<uint8_t> out;
    auto at = [&](int32_t x, int32_t y) { return picture.pixels[static_cast<size_t>(y) * picture.width + x]; };
    auto literal = [&](int32_t x, int32_t y, int32_t n) {
        out.push_back(0);
        out.push_back(static_cast<uint8_t>(n));
        const size_t start = out.size();
        for (int32_t i = 0; i < n; ++i) {
            if (bits == 8) out.push_back(at(x + i, y));
            else if (i % 2 == 0) out.push_back(static_cast<uint8_t>(at(x + i, y) << 4));
            else out.back() |= at(x + i, y);
        }
        if ((out.size() - start) % 2 != 0) out.push_back(0);
    };
    for (int32_t y = picture.height - 1; y >= 0; --y) {
        int32_t x = 0;
        while (x < picture.width) {
            int32_t run = 1;
            while (x + run < picture.width && run < 255 && at(x + run, y) == at(x, y)) ++run;
            if (run >= 2) {
                out.push_back(static_cast<uint8_t>(run));
                out.push_back(static_cast<uint8_t>(bits == 8 ? at(x, y) : at(x, y) * 0x11));
                x += run;
                continue;
            }
            int32_t n = 1;  // up to the next repeat
            while (x + n < picture.width && n < 255 && (x + n + 1 >= picture.width || at(x + n, y) != at(x + n + 1, y))) ++n;
            if (n >= 3) {
                literal(x, y, n);
            } else {
                for (int32_t i = 0; i < n; ++i) {
                    out.push_back(1);
                    out.push_back(static_cast<uint8_t>(bits == 8 ? at(x + i, y) : at(x + i, y) << 4));
                }
            }
            x += n;
        }
        out.push_back(0);
        out.push_back(0);
    }
    out.push_back(0);
    out.push_back(1);
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
