// Runs the built asset generator and reads its pictures back, independently of
// the generator's own code.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tools_test {

struct Colour {
    int r, g, b;
    bool operator==(const Colour&) const = default;
};

// An 8-bit BMP as the demo reads it, with the header fields kept for checks.
struct Bmp {
    std::vector<uint8_t> bytes;
    int width = 0, height = 0;
    std::array<Colour, 256> palette{};
    std::vector<uint8_t> pixels;  // top-down
    uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t u16(size_t at) const { return bytes[at] | (bytes[at + 1] << 8); }
    uint32_t u32(size_t at) const { return u16(at) | (u16(at + 2) << 16); }
};

struct Pictures {
    Bmp background, sprites, message;
};

std::string assetgenPath();
std::string makeTempDir();
std::vector<uint8_t> readBytes(const std::string& path);
// Runs assetgen with the arguments; returns its exit status (-1 if it did not run).
int runAssetgen(const std::string& arguments);
// Parses a BMP; fails the current test (and returns false) on anything malformed.
bool parseBmp(const std::vector<uint8_t>& bytes, Bmp& out);

// The three pictures drawn by the built generator into a temporary folder;
// drawn once per generator binary and shared between the test processes.
const Pictures& generatedPictures();

constexpr uint8_t kKey = 253;
inline int luma(const Colour& c) { return (299 * c.r + 587 * c.g + 114 * c.b) / 1000; }

}  // namespace tools_test
