// Captured screens as a person would look at them: read back from PNG and
// measured by colour and region.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Region {
    int left = 0;
    int top = 0;
    int right = 640;   // exclusive
    int bottom = 480;  // exclusive
};

struct Box {
    int left = 0;
    int top = 0;
    int right = -1;  // inclusive; right < left when empty
    int bottom = -1;
    bool empty() const { return right < left; }
};

class Picture {
public:
    // Reads a PNG as RGB; an empty picture when it cannot be read.
    static Picture load(const std::string& path);

    bool valid() const { return width > 0 && height > 0; }
    Rgb at(int x, int y) const;
    int count(const Rgb& colour, Region region = {}) const;
    // Pixels that are not black.
    int lit(Region region = {}) const;
    double meanBrightness(Region region = {}) const;
    // Mean of each channel over the region.
    void meanChannels(double& r, double& g, double& b, Region region = {}) const;
    Box boundsOf(const Rgb& colour, Region region = {}) const;
    // Pixels that differ from the other picture's.
    int differences(const Picture& other, Region region = {}) const;
    // Every colour used, packed 0xRRGGBB.
    std::vector<uint32_t> colours() const;

    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

// The 256 colours of a BMP file's colour table, packed 0xRRGGBB.
std::vector<uint32_t> bmpPalette(const std::string& path);
