// Exclusive full-screen loss: the flip chain and video-memory surfaces lose
// their bytes until Restore; system-memory surfaces keep theirs.
#include "platform/ddraw/fixture.h"

namespace {

using Pixels = std::vector<uint8_t>;

TEST_F(DirectDrawTest, LossTakesTheFlipChainAndVideoMemoryOnly) {
    createFlipChain();
    LPDIRECTDRAWSURFACE video = keyedOffscreen(90, 100, 0);
    LPDIRECTDRAWSURFACE system = offscreen(64, 8);
    write(primary, pattern(640, 480));
    write(video, pattern(90, 100));
    write(system, pattern(64, 8));

    platform::loseSurfaces();
    EXPECT_EQ(primary->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(back->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(video->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(system->IsLost(), DD_OK);
    EXPECT_EQ(read(system), pattern(64, 8));

    // Restore gives usable surfaces whose old bytes are gone.
    EXPECT_EQ(video->Restore(), DD_OK);
    EXPECT_EQ(video->IsLost(), DD_OK);
    EXPECT_EQ(read(video), Pixels(90 * 100, 0));
    DDCOLORKEY key{};
    EXPECT_EQ(video->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);  // the key survives
    EXPECT_EQ(key.dwColorSpaceLowValue, 253u);
    EXPECT_EQ(system->Restore(), DD_OK);  // not lost: nothing to do

    // The front of the chain restores the whole chain.
    EXPECT_EQ(primary->Restore(), DD_OK);
    EXPECT_EQ(back->IsLost(), DD_OK);
    EXPECT_EQ(read(primary), Pixels(640 * 480, 0));
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
}

TEST_F(DirectDrawTest, EveryCallOnALostSurfaceReportsTheLoss) {
    createFlipChain();
    LPDIRECTDRAWSURFACE video = keyedOffscreen(16, 16, 0);
    LPDIRECTDRAWSURFACE system = keyedOffscreen(16, 16);
    write(system, pattern(16, 16));
    platform::loseSurfaces();

    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    HDC dc = nullptr;
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    EXPECT_EQ(video->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_SURFACELOST);
    EXPECT_EQ(video->GetDC(&dc), DDERR_SURFACELOST);
    EXPECT_EQ(video->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_SURFACELOST);
    EXPECT_EQ(video->Blt(nullptr, system, nullptr, DDBLT_KEYSRC, nullptr), DDERR_SURFACELOST);
    EXPECT_EQ(system->Blt(nullptr, video, nullptr, DDBLT_KEYSRC, nullptr), DDERR_SURFACELOST);
    EXPECT_EQ(video->BltFast(0, 0, system, nullptr, DDBLTFAST_WAIT), DDERR_SURFACELOST);
    EXPECT_EQ(system->BltFast(0, 0, video, nullptr, DDBLTFAST_WAIT), DDERR_SURFACELOST);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
    EXPECT_EQ(back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_SURFACELOST);
    EXPECT_EQ(read(system), pattern(16, 16));  // the failed copies drew nothing
}

TEST_F(DirectDrawTest, LossWhileLockedKeepsTheMemoryValid) {
    LPDIRECTDRAWSURFACE video = offscreen(8, 8, 0);
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(video->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    platform::loseSurfaces();
    static_cast<uint8_t*>(desc.lpSurface)[7 * desc.lPitch + 7] = 1;  // a program finishing its loop
    EXPECT_EQ(video->Unlock(nullptr), DD_OK);
    EXPECT_EQ(video->IsLost(), DDERR_SURFACELOST);
}

TEST_F(DirectDrawTest, ALostPrimaryShowsNothingNew) {
    createFlipChain();
    platform::visiblePicture();
    const uint64_t count = platform::presentCount();
    platform::loseSurfaces();
    LPDIRECTDRAWPALETTE palette = makePalette();
    ASSERT_EQ(primary->SetPalette(palette), DD_OK);
    platform::visiblePicture();
    EXPECT_EQ(platform::presentCount(), count);
    ASSERT_EQ(primary->Restore(), DD_OK);
    platform::visiblePicture();
    EXPECT_EQ(platform::presentCount(), count + 1);
}

TEST_F(DirectDrawSetupTest, SurfacesOfANormalLevelDeviceAreNeverLost) {
    LPDIRECTDRAW device = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &device, nullptr), DD_OK);
    ASSERT_EQ(device->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = desc.dwHeight = 4;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    LPDIRECTDRAWSURFACE surface = nullptr;
    ASSERT_EQ(device->CreateSurface(&desc, &surface, nullptr), DD_OK);
    platform::loseSurfaces();
    EXPECT_EQ(surface->IsLost(), DD_OK);
    device->Release();
}

}  // namespace
