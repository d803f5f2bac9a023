#include "platform/gdi/memory_target.h"

namespace gdi_test {
namespace {
// One counter for every target, so a target at a reused address never repeats a version.
uint64_t nextVersion() {
    static uint64_t version = 0;
    return ++version;
}
}  // namespace

MemoryTarget::MemoryTarget(int width, int height, int pitch)
    : width_(width), height_(height), pitch_(pitch > 0 ? pitch : (width + 3) / 4 * 4 + 4), version_(nextVersion()) {
    memory_.assign(kGuard * 2 + static_cast<size_t>(pitch_) * height_, GUARD);
    fill(BACKGROUND);
    const uint8_t named[][3] = {{0, 0, 0},     {255, 255, 255}, {255, 0, 0},     {0, 255, 0},  {0, 0, 255},
                                {0, 255, 255}, {125, 125, 0},   {128, 128, 128}, {255, 255, 0}};
    for (int i = 0; i < 256; ++i) {
        if (i < 9) palette_[i] = PALETTEENTRY{named[i][0], named[i][1], named[i][2], 0};
        else palette_[i] = PALETTEENTRY{static_cast<BYTE>(i), static_cast<BYTE>(i / 2), static_cast<BYTE>(255 - i), 0};
    }
}

MemoryTarget::~MemoryTarget() {
    if (dc_ != nullptr) qmp::closeDC(dc_);
}

HDC MemoryTarget::dc() {
    if (dc_ == nullptr || qmp::contextOf(dc_) == nullptr) dc_ = qmp::openDC(this);
    return dc_;
}

void MemoryTarget::setColour(int index, uint8_t red, uint8_t green, uint8_t blue) {
    palette_[index] = PALETTEENTRY{red, green, blue, 0};
    version_ = nextVersion();
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
    for (size_t i = 0; i < kGuard; ++i)
        if (memory_[i] != GUARD || memory_[memory_.size() - 1 - i] != GUARD) return false;
    for (int y = 0; y < height_; ++y)
        for (int x = width_; x < pitch_; ++x)
            if (memory_[kGuard + static_cast<size_t>(y) * pitch_ + x] != GUARD) return false;
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
