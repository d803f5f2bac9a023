// The program icon: the explorer at 32 x 32 and 16 x 16, 32 bits per pixel
// with alpha and the classic AND mask, in one .ico file.
#include <vector>

#include "bmp_writer.h"
#include "palette.h"
#include "png_writer.h"
#include "pictures.h"
#include "sprite_sheet.h"

namespace assetgen {

namespace {

// One icon image: BITMAPINFOHEADER (height doubled for the mask), BGRA rows
// bottom-up, then the 1-bit AND mask with rows padded to 4 bytes.
std::vector<uint8_t> iconImage(const IndexedImage& img) {
    const ColourTable& colours = palette().colours;
    std::vector<uint8_t> out;
    const int maskStride = ((img.width + 31) / 32) * 4;
    put32(out, 40);
    put32(out, static_cast<uint32_t>(img.width));
    put32(out, static_cast<uint32_t>(img.height * 2));
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, static_cast<uint32_t>(img.width * img.height * 4 + maskStride * img.height));
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    for (int y = img.height - 1; y >= 0; --y)
        for (int x = 0; x < img.width; ++x) {
            const uint8_t i = img.at(x, y);
            const Rgb& c = colours[i];
            const bool clear = i == kKeyIndex;
            out.push_back(clear ? 0 : c.b);
            out.push_back(clear ? 0 : c.g);
            out.push_back(clear ? 0 : c.r);
            out.push_back(clear ? 0 : 255);
        }
    for (int y = img.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(maskStride), 0);
        for (int x = 0; x < img.width; ++x)
            if (img.at(x, y) == kKeyIndex) row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

bool writeIcon(const std::string& path) {
    const IndexedImage images[] = {drawExplorerIcon(32), drawExplorerIcon(16)};
    std::vector<std::vector<uint8_t>> data;
    for (const IndexedImage& img : images) data.push_back(iconImage(img));
    std::vector<uint8_t> out;
    put16(out, 0);  // reserved
    put16(out, 1);  // icon
    put16(out, static_cast<uint32_t>(data.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(data.size());
    for (size_t i = 0; i < data.size(); ++i) {
        out.push_back(static_cast<uint8_t>(images[i].width));
        out.push_back(static_cast<uint8_t>(images[i].height));
        out.push_back(0);  // no colour count: true colour
        out.push_back(0);
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<uint32_t>(data[i].size()));
        put32(out, offset);
        offset += static_cast<uint32_t>(data[i].size());
    }
    for (const auto& d : data) out.insert(out.end(), d.begin(), d.end());
    return writeFileBytes(path, out);
}

bool writeIconPng(const std::string& path, int size) {
    const IndexedImage img = drawExplorerIcon(size);
    const ColourTable& colours = palette().colours;
    std::vector<uint8_t> rgba;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            const uint8_t i = img.at(x, y);
            const bool clear = i == kKeyIndex;
            rgba.insert(rgba.end(), {clear ? uint8_t{0} : colours[i].r, clear ? uint8_t{0} : colours[i].g,
                                     clear ? uint8_t{0} : colours[i].b, clear ? uint8_t{0} : uint8_t{255}});
        }
    return writePngRgba(path, img.width, img.height, rgba);
}

}  // namespace assetgen
