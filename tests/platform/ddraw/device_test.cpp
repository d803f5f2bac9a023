// The device: cooperative level, display mode and what CreateSurface accepts.
#include "platform/ddraw/fixture.h"

namespace {

TEST_F(DirectDrawSetupTest, DisplayModeNeedsExclusiveLevelAndIsOnly640x480x8) {
    LPDIRECTDRAW device = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &device, nullptr), DD_OK);
    EXPECT_EQ(device->SetDisplayMode(640, 480, 8), DDERR_NOEXCLUSIVEMODE);
    ASSERT_EQ(device->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(device->SetDisplayMode(640, 480, 8), DDERR_NOEXCLUSIVEMODE);

    EXPECT_EQ(device->SetCooperativeLevel(nullptr, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->SetCooperativeLevel(fakeWindow(), DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
    ASSERT_EQ(device->SetCooperativeLevel(fakeWindow(), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    EXPECT_EQ(device->SetDisplayMode(800, 600, 8), DDERR_UNSUPPORTEDMODE);
    EXPECT_EQ(device->SetDisplayMode(640, 480, 16), DDERR_UNSUPPORTEDMODE);
    EXPECT_EQ(device->SetDisplayMode(640, 480, 8), DD_OK);
    EXPECT_EQ(device->RestoreDisplayMode(), DD_OK);
    EXPECT_EQ(device->Release(), 0u);
}

TEST_F(DirectDrawSetupTest, DirectDrawCreateTakesOnlyTheDisplay) {
    LPDIRECTDRAW device = nullptr;
    GUID other{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(DirectDrawCreate(&other, &device, nullptr), DDERR_INVALIDDIRECTDRAWGUID);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(DirectDrawCreate(nullptr, nullptr, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(platform::liveDirectDrawObjects(), 0);
}

TEST_F(DirectDrawTest, OnlyOneDeviceHoldsExclusiveMode) {
    LPDIRECTDRAW second = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &second, nullptr), DD_OK);
    EXPECT_EQ(second->SetCooperativeLevel(fakeWindow(), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN),
              DDERR_EXCLUSIVEMODEALREADYSET);
    EXPECT_EQ(second->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
    // Once the first device leaves, the second may take it.
    ASSERT_EQ(device->Release(), 0u);
    EXPECT_EQ(second->SetCooperativeLevel(fakeWindow(), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    EXPECT_EQ(second->Release(), 0u);
}

TEST_F(DirectDrawSetupTest, SurfacesNeedACooperativeLevelAndPrimariesTheMode) {
    LPDIRECTDRAW device = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &device, nullptr), DD_OK);
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    LPDIRECTDRAWSURFACE surface = nullptr;
    EXPECT_EQ(device->CreateSurface(&desc, &surface, nullptr), DDERR_NOCOOPERATIVELEVELSET);
    ASSERT_EQ(device->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(device->CreateSurface(&desc, &surface, nullptr), DDERR_NOEXCLUSIVEMODE);
    ASSERT_EQ(device->SetCooperativeLevel(fakeWindow(), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    EXPECT_EQ(device->CreateSurface(&desc, &surface, nullptr), DDERR_UNSUPPORTEDMODE);
    ASSERT_EQ(device->SetDisplayMode(640, 480, 8), DD_OK);
    ASSERT_EQ(device->CreateSurface(&desc, &surface, nullptr), DD_OK);
    LPDIRECTDRAWSURFACE second = nullptr;
    EXPECT_EQ(device->CreateSurface(&desc, &second, nullptr), DDERR_PRIMARYSURFACEALREADYEXISTS);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(platform::liveDirectDrawObjects(), 3);  // device, primary, back buffer
    device->Release();
}

TEST_F(DirectDrawTest, CreateSurfaceRejectsBadDescriptionsAndMakesNothing) {
    LPDIRECTDRAWSURFACE surface = nullptr;
    DDSURFACEDESC desc = offscreenDesc(10, 10);
    desc.dwSize = 100;
    EXPECT_EQ(device->CreateSurface(&desc, &surface, nullptr), DDERR_INVALIDPARAMS);
    for (auto [w, h] : {std::pair{0, 10}, {10, 0}, {16385, 1}, {1, 16385}, {-1, 5}}) {
        desc = offscreenDesc(w, h);
        EXPECT_EQ(device->CreateSurface(&desc, &surface, nullptr), DDERR_INVALIDPARAMS) << w << " x " << h;
    }
    desc = offscreenDesc(10, 10);
    desc.dwFlags &= ~DDSD_HEIGHT;
    EXPECT_EQ(device->CreateSurface(&desc, &surface, nullptr), DDERR_INVALIDPARAMS);
    desc = offscreenDesc(10, 10, DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY);
    EXPECT_EQ(device->CreateSurface(&desc, &surface, nullptr), DDERR_INVALIDCAPS);
    desc = offscreenDesc(10, 10);
    desc.dwFlags |= DDSD_PIXELFORMAT;
    desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    desc.ddpfPixelFormat.dwFlags = DDPF_RGB;
    desc.ddpfPixelFormat.dwRGBBitCount = 16;
    EXPECT_EQ(device->CreateSurface(&desc, &surface, nullptr), DDERR_INVALIDPIXELFORMAT);
    desc = flipChainDesc();
    desc.dwBackBufferCount = 0;
    EXPECT_EQ(device->CreateSurface(&desc, &surface, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface, nullptr);
    EXPECT_EQ(platform::liveDirectDrawObjects(), 1);

    desc = offscreenDesc(16384, 1);
    EXPECT_EQ(device->CreateSurface(&desc, &surface, nullptr), DD_OK);
}

TEST_F(DirectDrawTest, PitchIsTheWidthRoundedUpToFour) {
    for (auto [width, pitch] : {std::pair{90, 92}, {213, 216}, {1, 4}, {640, 640}, {49, 52}}) {
        LPDIRECTDRAWSURFACE surface = offscreen(width, 3);
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof desc;
        ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
        EXPECT_EQ(desc.lPitch, pitch) << width;
        EXPECT_EQ(desc.dwWidth, DWORD(width));
        EXPECT_EQ(desc.dwHeight, 3u);
        ASSERT_EQ(surface->Unlock(desc.lpSurface), DD_OK);
        surface->Release();
    }
}

TEST_F(DirectDrawTest, LockDescribesAnEightBitPalettizedSurface) {
    LPDIRECTDRAWSURFACE surface = keyedOffscreen(33, 7);
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    EXPECT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DD_OK);
    EXPECT_NE(desc.lpSurface, nullptr);
    EXPECT_EQ(desc.dwFlags & (DDSD_LPSURFACE | DDSD_PITCH | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT | DDSD_CAPS),
              DWORD(DDSD_LPSURFACE | DDSD_PITCH | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT | DDSD_CAPS));
    EXPECT_EQ(desc.ddpfPixelFormat.dwSize, sizeof(DDPIXELFORMAT));
    EXPECT_TRUE(desc.ddpfPixelFormat.dwFlags & DDPF_PALETTEINDEXED8);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 8u);
    EXPECT_EQ(desc.ddsCaps.dwCaps, DWORD(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY));
    EXPECT_EQ(desc.ddckCKSrcBlt.dwColorSpaceLowValue, 253u);
    // New surfaces are zeroed, padding included.
    const auto* bytes = static_cast<const uint8_t*>(desc.lpSurface);
    EXPECT_EQ(std::count(bytes, bytes + desc.lPitch * 7, 0), desc.lPitch * 7);
    EXPECT_EQ(surface->Unlock(nullptr), DD_OK);

    desc.dwSize = sizeof desc - 4;
    EXPECT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface->GetSurfaceDesc(&desc), DDERR_INVALIDPARAMS);
}

TEST_F(DirectDrawTest, ColourKeysAreSourceKeysOnly) {
    LPDIRECTDRAWSURFACE surface = offscreen(4, 4);
    DDCOLORKEY key{};
    EXPECT_EQ(surface->GetColorKey(DDCKEY_SRCBLT, &key), DDERR_NOCOLORKEY);
    DDCOLORKEY wanted{10, 20};
    EXPECT_EQ(surface->SetColorKey(DDCKEY_SRCBLT, &wanted), DD_OK);
    EXPECT_EQ(surface->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    EXPECT_EQ(key.dwColorSpaceLowValue, 10u);
    EXPECT_EQ(key.dwColorSpaceHighValue, 20u);
    EXPECT_EQ(surface->SetColorKey(0x2 /* DDCKEY_DESTBLT */, &wanted), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface->SetColorKey(DDCKEY_SRCBLT, nullptr), DD_OK);
    EXPECT_EQ(surface->GetColorKey(DDCKEY_SRCBLT, &key), DDERR_NOCOLORKEY);
}

TEST_F(DirectDrawTest, ClipperKeepsItsWindow) {
    LPDIRECTDRAWCLIPPER clipper = nullptr;
    EXPECT_EQ(device->CreateClipper(1, &clipper, nullptr), DDERR_INVALIDPARAMS);
    ASSERT_EQ(device->CreateClipper(0, &clipper, nullptr), DD_OK);
    HWND window = fakeWindow();
    EXPECT_EQ(clipper->GetHWnd(&window), DD_OK);
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(clipper->SetHWnd(1, fakeWindow()), DDERR_INVALIDPARAMS);
    EXPECT_EQ(clipper->SetHWnd(0, fakeWindow()), DD_OK);
    EXPECT_EQ(clipper->GetHWnd(&window), DD_OK);
    EXPECT_EQ(window, fakeWindow());

    LPDIRECTDRAWSURFACE surface = offscreen(8, 8);
    LPDIRECTDRAWCLIPPER attached = nullptr;
    EXPECT_EQ(surface->GetClipper(&attached), DDERR_NOCLIPPERATTACHED);
    EXPECT_EQ(surface->SetClipper(clipper), DD_OK);
    EXPECT_EQ(surface->GetClipper(&attached), DD_OK);
    EXPECT_EQ(attached, clipper);
    EXPECT_EQ(attached->Release(), 2u);  // the program's and the surface's
}

}  // namespace
