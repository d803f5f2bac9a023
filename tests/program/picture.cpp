#include "picture.h"

#include <png.h>

#include <algorithm>
#include <fstream>
#include <set>

Picture Picture::load(const std::string& path) {
    Picture picture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return picture;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return picture;
    }
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb = std::move(pixels);
    return picture;
}

Rgb Picture::at(int x, int y) const {
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
}

namespace {
Region clip(Region region, int width, int height) {
    region.left = std::max(region.left, 0);
    region.top = std::max(region.top, 0);
    region.right = std::min(region.right, width);
    region.bottom = std::min(region.bottom, height);
    return region;
}
}  // namespace

int Picture::count(const Rgb& colour, Region region) const {
    region = clip(region, width, height);
    int n = 0;
    for (int y = region.top; y < region.bottom; ++y)
        for (int x = region.left; x < region.right; ++x) n += at(x, y) == colour;
    return n;
}

int Picture::lit(Region region) const {
    region = clip(region, width, height);
    int n = 0;
    for (int y = region.top; y < region.bottom; ++y)
        for (int x = region.left; x < region.right; ++x) n += !(at(x, y) == Rgb{});
    return n;
}

double Picture::meanBrightness(Region region) const {
    double r = 0, g = 0, b = 0;
    meanChannels(r, g, b, region);
    return (r + g + b) / 3.0;
}

void Picture::meanChannels(double& r, double& g, double& b, Region region) const {
    region = clip(region, width, height);
    double sr = 0, sg = 0, sb = 0;
    int n = 0;
    for (int y = region.top; y < region.bottom; ++y)
        for (int x = region.left; x < region.right; ++x) {
            Rgb c = at(x, y);
            sr += c.r;
            sg += c.g;
            sb += c.b;
            ++n;
        }
    r = n ? sr / n : 0;
    g = n ? sg / n : 0;
    b = n ? sb / n : 0;
}

Box Picture::boundsOf(const Rgb& colour, Region region) const {
    region = clip(region, width, height);
    Box box{width, height, -1, -1};
    for (int y = region.top; y < region.bottom; ++y)
        for (int x = region.left; x < region.right; ++x)
            if (at(x, y) == colour) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

int Picture::differences(const Picture& other, Region region) const {
    region = clip(region, std::min(width, other.width), std::min(height, other.height));
    int n = 0;
    for (int y = region.top; y < region.bottom; ++y)
        for (int x = region.left; x < region.right; ++x) n += !(at(x, y) == other.at(x, y));
    return n;
}

std::vector<uint32_t> Picture::colours() const {
    std::set<uint32_t> seen;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
        seen.insert((uint32_t{rgb[i]} << 16) | (uint32_t{rgb[i + 1]} << 8) | rgb[i + 2]);
    return {seen.begin(), seen.end()};
}

std::vector<uint32_t> bmpPalette(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> table(1024);
    file.seekg(54);
    if (!file.read(reinterpret_cast<char*>(table.data()), 1024)) return {};
    std::vector<uint32_t> colours;
    for (int i = 0; i < 256; ++i)  // blue, green, red, reserved
        colours.push_back((uint32_t{table[i * 4 + 2]} << 16) | (uint32_t{table[i * 4 + 1]} << 8) | table[i * 4]);
    return colours;
}
