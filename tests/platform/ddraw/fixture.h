// A DirectDraw device in exclusive full-screen 640 x 480 x 8, as the demo opens
// it, and helpers that read and write surfaces through Lock.
#pragma once

#include <ddraw.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "support/platform_test.h"

// The cooperative level only keeps the handle, so most tests need no real window.
inline HWND fakeWindow() { return reinterpret_cast<HWND>(uintptr_t{0x5150}); }

// No device yet: tests that open it themselves.
class DirectDrawSetupTest : public PlatformTest {};

class DirectDrawTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        ASSERT_EQ(DirectDrawCreate(nullptr, &device, nullptr), DD_OK);
        ASSERT_EQ(device->SetCooperativeLevel(fakeWindow(), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
        ASSERT_EQ(device->SetDisplayMode(640, 480, 8), DD_OK);
    }
    // platform::reset() in PlatformTest::TearDown destroys whatever a test leaves.

    static DDSURFACEDESC offscreenDesc(int width, int height, DWORD caps = DDSCAPS_SYSTEMMEMORY) {
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.dwWidth = static_cast<DWORD>(width);
        desc.dwHeight = static_cast<DWORD>(height);
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | caps;
        return desc;
    }

    LPDIRECTDRAWSURFACE offscreen(int width, int height, DWORD caps = DDSCAPS_SYSTEMMEMORY) {
        DDSURFACEDESC desc = offscreenDesc(width, height, caps);
        LPDIRECTDRAWSURFACE surface = nullptr;
        EXPECT_EQ(device->CreateSurface(&desc, &surface, nullptr), DD_OK);
        return surface;
    }

    // An off-screen surface with the demo's transparent key 253..253.
    LPDIRECTDRAWSURFACE keyedOffscreen(int width, int height, DWORD caps = DDSCAPS_SYSTEMMEMORY) {
        LPDIRECTDRAWSURFACE surface = offscreen(width, height, caps);
        DDCOLORKEY key{253, 253};
        EXPECT_EQ(surface->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
        return surface;
    }

    static DDSURFACEDESC flipChainDesc() {
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        desc.dwBackBufferCount = 1;
        return desc;
    }

    // The primary surface and its back buffer (the back buffer AddRef'd, as GetAttachedSurface gives it).
    void createFlipChain() {
        DDSURFACEDESC desc = flipChainDesc();
        ASSERT_EQ(device->CreateSurface(&desc, &primary, nullptr), DD_OK);
        DDSCAPS caps{DDSCAPS_BACKBUFFER};
        ASSERT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
    }

    // A palette whose 256 entries are all the caller's (DDPCAPS_ALLOW256 unless told otherwise).
    LPDIRECTDRAWPALETTE makePalette(const std::vector<PALETTEENTRY>& entries = std::vector<PALETTEENTRY>(256),
                                    DWORD caps = DDPCAPS_8BIT | DDPCAPS_ALLOW256) {
        std::vector<PALETTEENTRY> table = entries;
        LPDIRECTDRAWPALETTE palette = nullptr;
        EXPECT_EQ(device->CreatePalette(caps, table.data(), &palette, nullptr), DD_OK);
        return palette;
    }

    // The surface's pixels, unpadded, rows top-down.
    static std::vector<uint8_t> read(LPDIRECTDRAWSURFACE surface) {
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof desc;
        std::vector<uint8_t> out;
        EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
        if (desc.lpSurface == nullptr) return out;
        const auto* bytes = static_cast<const uint8_t*>(desc.lpSurface);
        for (DWORD y = 0; y < desc.dwHeight; ++y)
            out.insert(out.end(), bytes + y * desc.lPitch, bytes + y * desc.lPitch + desc.dwWidth);
        EXPECT_EQ(surface->Unlock(nullptr), DD_OK);
        return out;
    }

    static void write(LPDIRECTDRAWSURFACE surface, const std::vector<uint8_t>& pixels) {
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof desc;
        ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
        ASSERT_EQ(pixels.size(), size_t{desc.dwWidth} * desc.dwHeight);
        auto* bytes = static_cast<uint8_t*>(desc.lpSurface);
        for (DWORD y = 0; y < desc.dwHeight; ++y)
            std::copy_n(pixels.data() + y * desc.dwWidth, desc.dwWidth, bytes + y * desc.lPitch);
        ASSERT_EQ(surface->Unlock(nullptr), DD_OK);
    }

    static void fill(LPDIRECTDRAWSURFACE surface, uint8_t index, RECT* area = nullptr) {
        DDBLTFX fx{};
        fx.dwSize = sizeof fx;
        fx.dwFillColor = index;
        ASSERT_EQ(surface->Blt(area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    }

    // A w x h picture whose pixel (x, y) is (x + 7 * y) % 251, never the key 253.
    static std::vector<uint8_t> pattern(int width, int height) {
        std::vector<uint8_t> out(static_cast<size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                out[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>((x + 7 * y) % 251);
        return out;
    }

    LPDIRECTDRAW device = nullptr;
    LPDIRECTDRAWSURFACE primary = nullptr;
    LPDIRECTDRAWSURFACE back = nullptr;
};
