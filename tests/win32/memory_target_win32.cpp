#include "platform/gdi/memory_target.h"

#include <vector>

namespace gdi_test {

MemoryTarget::MemoryTarget(int width, int height, int)
    : width_(width), height_(height), pitch_((width + 3) / 4 * 4) {
    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = -height;  // rows top-down, as a surface's
    header->biPlanes = 1;
    header->biBitCount = 8;
    header->biCompression = BI_RGB;
    header->biClrUsed = 256;
    // The same test palette as the platform's MemoryTarget.
    auto* colours = reinterpret_cast<RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
    const uint8_t named[][3] = {{0, 0, 0},     {255, 255, 255}, {255, 0, 0},     {0, 255, 0},  {0, 0, 255},
                                {0, 255, 255}, {125, 125, 0},   {128, 128, 128}, {255, 255, 0}};
    for (int i = 0; i < 256; ++i) {
        const uint8_t r = i < 9 ? named[i][0] : static_cast<uint8_t>(i);
        const uint8_t g = i < 9 ? named[i][1] : static_cast<uint8_t>(i / 2);
        const uint8_t b = i < 9 ? named[i][2] : static_cast<uint8_t>(255 - i);
        colours[i] = RGBQUAD{b, g, r, 0};
    }
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits, nullptr, 0);
    EXPECT_NE(bitmap_, nullptr);
    bits_ = static_cast<uint8_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    oldBitmap_ = SelectObject(dc_, bitmap_);
    for (size_t i = 0; i < static_cast<size_t>(pitch_) * height_; ++i) bits_[i] = GUARD;
    fill(BACKGROUND);
}

MemoryTarget::~MemoryTarget() {
    SelectObject(dc_, oldBitmap_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
}

void MemoryTarget::setColour(int index, uint8_t red, uint8_t green, uint8_t blue) {
    const RGBQUAD colour{blue, green, red, 0};
    SetDIBColorTable(dc_, static_cast<UINT>(index), 1, &colour);
}

void MemoryTarget::fill(uint8_t index) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) set(x, y, index);
}

int MemoryTarget::count(uint8_t index) const {
    int n = 0;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) n += at(x, y) == index;
    return n;
}

bool MemoryTarget::guardsIntact() const {
    GdiFlush();
    for (int y = 0; y < height_; ++y)
        for (int x = width_; x < pitch_; ++x)
            if (bits_[static_cast<size_t>(y) * pitch_ + x] != GUARD) return false;
    return true;
}

std::string MemoryTarget::picture(int left, int top, int right, int bottom) const {
    static const char symbols[] = "KWRGBCOgY";
    std::string out = "\n";
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const uint8_t v = at(x, y);
            out += v == BACKGROUND ? '.' : v < 9 ? symbols[v] : '#';
        }
        out += '\n';
    }
    return out;
}

}  // namespace gdi_test
