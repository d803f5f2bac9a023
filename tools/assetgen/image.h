// Pictures as the generator draws them: palette indices, rows top-down.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace assetgen {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    IndexedImage() = default;
    IndexedImage(int w, int h, uint8_t fill) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    uint8_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    void set(int x, int y, uint8_t v) {
        if (contains(x, y)) at(x, y) = v;
    }
    // Copies `piece` with its top-left corner at (x, y); pixels outside are dropped.
    void paste(const IndexedImage& piece, int x, int y);
    IndexedImage crop(int x, int y, int w, int h) const;
};

inline void IndexedImage::paste(const IndexedImage& piece, int x0, int y0) {
    for (int y = 0; y < piece.height; ++y)
        for (int x = 0; x < piece.width; ++x) set(x0 + x, y0 + y, piece.at(x, y));
}

inline IndexedImage IndexedImage::crop(int x0, int y0, int w, int h) const {
    IndexedImage out(w, h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (contains(x0 + x, y0 + y)) out.at(x, y) = at(x0 + x, y0 + y);
    return out;
}

}  // namespace assetgen
