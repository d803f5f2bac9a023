// An 8-bit pixel target in memory for the GDI and AlphaBlend tests, with guard
// bytes around the pixels and in each row's padding that catch any stray write.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/dc.h"
#include "core/reset.h"

namespace gdi_test {

// Test palette: named colours at fixed indices, distinct filler elsewhere.
enum : uint8_t { BLACK = 0, WHITE = 1, RED = 2, GREEN = 3, BLUE = 4, CYAN = 5, OLIVE = 6, GREY = 7, YELLOW = 8 };
constexpr uint8_t BACKGROUND = 200;  // what a fresh target is filled with
constexpr uint8_t GUARD = 0xA5;

class MemoryTarget final : public qmp::PixelTarget {
public:
    explicit MemoryTarget(int width, int height, int pitch = 0);
    ~MemoryTarget();
    MemoryTarget(const MemoryTarget&) = delete;
    MemoryTarget& operator=(const MemoryTarget&) = delete;

    uint8_t* bits() override { return memory_.data() + kGuard; }
    int pitch() const override { return pitch_; }
    int width() const override { return width_; }
    int height() const override { return height_; }
    const PALETTEENTRY* colours() const override { return palette_.data(); }
    uint64_t coloursVersion() const override { return version_; }

    void setColour(int index, uint8_t red, uint8_t green, uint8_t blue);
    void fill(uint8_t index);
    uint8_t at(int x, int y) const { return memory_[kGuard + static_cast<size_t>(y) * pitch_ + x]; }
    void set(int x, int y, uint8_t index) { memory_[kGuard + static_cast<size_t>(y) * pitch_ + x] = index; }
    int count(uint8_t index) const;  // pixels of this index
    bool guardsIntact() const;

    // A context on this target, opened on first use and closed with the target.
    HDC dc();

    // The pixels of a rectangle as text, '.' for BACKGROUND, for failure messages.
    std::string picture(int left, int top, int right, int bottom) const;

private:
    static constexpr size_t kGuard = 256;
    int width_, height_, pitch_;
    std::vector<uint8_t> memory_;
    std::array<PALETTEENTRY, 256> palette_{};
    uint64_t version_;
    HDC dc_ = nullptr;
};

// A fresh platform state for GDI: no objects but the stock ones, no contexts,
// no call log or fault plans. (The reset hooks are what platform::reset() runs
// for these modules; GDI needs no window backend.)
class GdiTest : public ::testing::Test {
protected:
    void SetUp() override { qmp::runResetHooks(); }
    void TearDown() override { qmp::runResetHooks(); }
};

}  // namespace gdi_test
