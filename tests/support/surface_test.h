// A DirectDraw device in normal cooperative mode with off-screen surfaces and
// palettes, for the tests of what draws into surfaces.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "display/display.h"
#include "support/platform_test.h"

class SurfaceTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        ASSERT_EQ(DirectDrawCreate(nullptr, &device, nullptr), DD_OK);
        ASSERT_EQ(device->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
        directDraw = device;  // the sprite strips make their surfaces on the global device
    }

    // An 8-bit system-memory surface, all zero. The platform's reset releases it.
    LPDIRECTDRAWSURFACE makeSurface(int32_t width, int32_t height,
                                    DWORD caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY) {
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof(DDSURFACEDESC);
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.dwWidth = static_cast<DWORD>(width);
        desc.dwHeight = static_cast<DWORD>(height);
        desc.ddsCaps.dwCaps = caps;
        LPDIRECTDRAWSURFACE surface = nullptr;
        EXPECT_EQ(device->CreateSurface(&desc, &surface, nullptr), DD_OK);
        if (surface) fill(surface, 0);
        return surface;
    }

    LPDIRECTDRAWPALETTE makePalette(const PALETTEENTRY* entries) {
        PALETTEENTRY copy[256];
        for (int i = 0; i < 256; ++i) copy[i] = entries[i];
        LPDIRECTDRAWPALETTE palette = nullptr;
        EXPECT_EQ(device->CreatePalette(DDPCAPS_8BIT, copy, &palette, nullptr), DD_OK);
        return palette;
    }

public:
    // Byte access to a surface's memory, through its lock.
    struct Locked {
        uint8_t* bits = nullptr;
        int32_t pitch = 0;
        int32_t width = 0;
        int32_t height = 0;
    };
    static Locked lock(LPDIRECTDRAWSURFACE surface) {
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof(DDSURFACEDESC);
        EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
        return Locked{static_cast<uint8_t*>(desc.lpSurface), desc.lPitch, static_cast<int32_t>(desc.dwWidth),
                      static_cast<int32_t>(desc.dwHeight)};
    }

    // Every byte of the surface's memory, padding included, rows pitch apart.
    static std::vector<uint8_t> memory(LPDIRECTDRAWSURFACE surface, int32_t* pitch = nullptr) {
        Locked l = lock(surface);
        std::vector<uint8_t> bytes(l.bits, l.bits + static_cast<size_t>(l.pitch) * l.height);
        surface->Unlock(nullptr);
        if (pitch) *pitch = l.pitch;
        return bytes;
    }

    // The pixels, width x height, rows top-down without padding.
    static std::vector<uint8_t> pixels(LPDIRECTDRAWSURFACE surface) {
        Locked l = lock(surface);
        std::vector<uint8_t> out;
        for (int32_t y = 0; y < l.height; ++y) out.insert(out.end(), l.bits + y * l.pitch, l.bits + y * l.pitch + l.width);
        surface->Unlock(nullptr);
        return out;
    }

    static void setPixels(LPDIRECTDRAWSURFACE surface, const std::vector<uint8_t>& values) {
        Locked l = lock(surface);
        for (int32_t y = 0; y < l.height; ++y) {
            for (int32_t x = 0; x < l.width; ++x) l.bits[y * l.pitch + x] = values[static_cast<size_t>(y) * l.width + x];
        }
        surface->Unlock(nullptr);
    }

    // Every byte of the memory, padding included.
    static void fill(LPDIRECTDRAWSURFACE surface, uint8_t value) {
        Locked l = lock(surface);
        std::fill(l.bits, l.bits + static_cast<size_t>(l.pitch) * l.height, value);
        surface->Unlock(nullptr);
    }

    static uint8_t pixel(LPDIRECTDRAWSURFACE surface, int32_t x, int32_t y) {
        Locked l = lock(surface);
        uint8_t value = l.bits[y * l.pitch + x];
        surface->Unlock(nullptr);
        return value;
    }

protected:
    LPDIRECTDRAW device = nullptr;
};
