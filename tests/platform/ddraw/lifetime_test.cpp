// Reference counting, the demo's release order, reset, and tracing with fault injection.
#include <algorithm>

#include "core/dc.h"
#include "platform/ddraw/fixture.h"

namespace {

TEST_F(DirectDrawTest, ReleaseReturnsTheNewCountAndDestroysAtZero) {
    LPDIRECTDRAWSURFACE surface = offscreen(8, 8);
    EXPECT_EQ(platform::liveDirectDrawObjects(), 2);
    EXPECT_EQ(surface->AddRef(), 2u);
    EXPECT_EQ(surface->Release(), 1u);
    EXPECT_EQ(platform::liveDirectDrawObjects(), 2);
    EXPECT_EQ(surface->Release(), 0u);
    EXPECT_EQ(platform::liveDirectDrawObjects(), 1);
    EXPECT_EQ(device->AddRef(), 2u);
    EXPECT_EQ(device->Release(), 1u);
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(platform::liveDirectDrawObjects(), 0);
}

TEST_F(DirectDrawTest, TheDemosReleaseOrderLeavesNothingBehind) {
    // What start-up makes: the chain with a palette on each surface, the message
    // surface, and the canvas with a clipper of which the program keeps no reference.
    createFlipChain();
    ASSERT_EQ(primary->SetPalette(makePalette()), DD_OK);
    ASSERT_EQ(back->SetPalette(makePalette()), DD_OK);
    LPDIRECTDRAWSURFACE message = keyedOffscreen(300, 120);
    LPDIRECTDRAWSURFACE canvas = keyedOffscreen(640, 480);
    LPDIRECTDRAWCLIPPER clipper = nullptr;
    ASSERT_EQ(device->CreateClipper(0, &clipper, nullptr), DD_OK);
    ASSERT_EQ(clipper->SetHWnd(0, fakeWindow()), DD_OK);
    ASSERT_EQ(canvas->SetClipper(clipper), DD_OK);
    LPDIRECTDRAWSURFACE frame = keyedOffscreen(90, 100, 0);
    EXPECT_EQ(platform::liveDirectDrawObjects(), 9);

    EXPECT_EQ(back->Release(), 1u);  // the chain still holds it
    EXPECT_EQ(primary->Release(), 0u);
    EXPECT_EQ(message->Release(), 0u);
    EXPECT_EQ(canvas->Release(), 0u);
    EXPECT_EQ(frame->Release(), 0u);
    EXPECT_EQ(platform::liveDirectDrawObjects(), 4);  // the device, two palettes and the clipper
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(platform::liveDirectDrawObjects(), 0);
}

TEST_F(DirectDrawTest, AHeldBackBufferOutlivesItsPrimary) {
    createFlipChain();
    EXPECT_EQ(back->AddRef(), 3u);  // the chain's, GetAttachedSurface's and this one
    EXPECT_EQ(back->Release(), 2u);
    EXPECT_EQ(primary->Release(), 0u);
    EXPECT_EQ(platform::liveDirectDrawObjects(), 2);
    write(back, pattern(640, 480));  // still a usable surface
    EXPECT_EQ(back->Flip(nullptr, 0), DDERR_NOTFLIPPABLE);
    EXPECT_EQ(back->Release(), 0u);
    EXPECT_EQ(platform::liveDirectDrawObjects(), 1);
}

TEST_F(DirectDrawTest, OverReleasingTheBackBufferKeepsTheChain) {
    createFlipChain();
    EXPECT_EQ(back->Release(), 1u);
    EXPECT_EQ(back->Release(), 1u);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
}

TEST_F(DirectDrawTest, TheDeviceTakesItsObjectsAndOpenContextsWithIt) {
    createFlipChain();
    LPDIRECTDRAWSURFACE surface = offscreen(8, 8);
    ASSERT_EQ(surface->SetPalette(makePalette()), DD_OK);
    HDC dc = nullptr;
    ASSERT_EQ(surface->GetDC(&dc), DD_OK);
    ASSERT_EQ(qmp::openDCCount(), 1);
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(platform::liveDirectDrawObjects(), 0);
    EXPECT_EQ(qmp::openDCCount(), 0);
    EXPECT_EQ(qmp::contextOf(dc), nullptr);
}

TEST_F(DirectDrawTest, ResetDestroysEveryObjectAndTheScreenSource) {
    createFlipChain();
    offscreen(16, 16);
    makePalette();
    platform::reset();
    EXPECT_EQ(platform::liveDirectDrawObjects(), 0);
    EXPECT_EQ(platform::visiblePicture().width, 0);
    platform::loseSurfaces();  // no handler left to call into freed objects
}

TEST_F(DirectDrawTest, AnInjectedFailureReturnsItsErrorAndDoesNothingElse) {
    LPDIRECTDRAWSURFACE first = offscreen(8, 8);
    platform::failCall("IDirectDraw::CreateSurface", 2, DDERR_OUTOFVIDEOMEMORY);
    DDSURFACEDESC desc = offscreenDesc(8, 8);
    LPDIRECTDRAWSURFACE made = nullptr;
    EXPECT_EQ(device->CreateSurface(&desc, &made, nullptr), DD_OK);
    LPDIRECTDRAWSURFACE untouched = first;
    EXPECT_EQ(device->CreateSurface(&desc, &untouched, nullptr), DDERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(untouched, first);
    EXPECT_EQ(platform::liveDirectDrawObjects(), 3);

    fill(first, 5);
    platform::failCall("IDirectDrawSurface::Blt", 1);
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 6;
    EXPECT_EQ(first->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_GENERIC);
    EXPECT_EQ(read(first), std::vector<uint8_t>(64, 5));

    platform::failCall("IDirectDrawSurface::Release", 1);
    EXPECT_EQ(made->Release(), 0u);  // counting never fails
    EXPECT_EQ(platform::liveDirectDrawObjects(), 2);
}

TEST_F(DirectDrawTest, EveryMethodIsLoggedByItsName) {
    createFlipChain();
    platform::setCallLogging(true);
    LPDIRECTDRAWPALETTE palette = makePalette();
    ASSERT_EQ(primary->SetPalette(palette), DD_OK);
    PALETTEENTRY entry{};
    ASSERT_EQ(palette->SetEntries(0, 1, 1, &entry), DD_OK);
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    palette->Release();
    std::vector<std::string> names;
    for (const platform::CallRecord& record : platform::callLog()) names.push_back(record.name);
    EXPECT_EQ(names, (std::vector<std::string>{"IDirectDraw::CreatePalette", "IDirectDrawSurface::SetPalette",
                                               "IDirectDrawPalette::SetEntries", "IDirectDrawSurface::Flip",
                                               "IDirectDrawPalette::Release"}));
}

}  // namespace
