// Windows' MemoryTarget for the shared GDI and AlphaBlend tests: an 8-bit DIB
// section with its own 256-colour table, selected into a memory context. The
// same interface as the platform's (tests/platform/gdi/memory_target.h); the
// guard bytes are those of each row's padding, as Windows lays the rows out.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

namespace gdi_test {

enum : uint8_t { BLACK = 0, WHITE = 1, RED = 2, GREEN = 3, BLUE = 4, CYAN = 5, OLIVE = 6, GREY = 7, YELLOW = 8 };
constexpr uint8_t BACKGROUND = 200;
constexpr uint8_t GUARD = 0xA5;

class MemoryTarget {
public:
    explicit MemoryTarget(int width, int height, int pitch = 0);  // a pitch is Windows' own: DWORD-aligned rows
    ~MemoryTarget();
    MemoryTarget(const MemoryTarget&) = delete;
    MemoryTarget& operator=(const MemoryTarget&) = delete;

    void setColour(int index, uint8_t red, uint8_t green, uint8_t blue);
    void fill(uint8_t index);
    uint8_t at(int x, int y) const {
        GdiFlush();
        return bits_[static_cast<size_t>(y) * pitch_ + x];
    }
    void set(int x, int y, uint8_t index) {
        GdiFlush();
        bits_[static_cast<size_t>(y) * pitch_ + x] = index;
    }
    int count(uint8_t index) const;
    bool guardsIntact() const;
    HDC dc() { return dc_; }
    std::string picture(int left, int top, int right, int bottom) const;

private:
    int width_, height_, pitch_;
    uint8_t* bits_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HDC dc_ = nullptr;
};

class GdiTest : public ::testing::Test {};

}  // namespace gdi_test
