// The display device, the flip chain, off-screen surfaces and colour fills,
// and what each of them does when a DirectDraw call fails.
#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/startup.h"
#include "display/display.h"
#include "support/surface_test.h"

namespace {

class DisplayTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        applyDefaults();
        window = createMainWindow("Quillmere Demo", nullptr);
        ASSERT_NE(window, nullptr);
        mainWindow = window;
    }
    bool createFlipChain() {
        return CreateDirectDraw(window, directDraw, 640, 480, 8) &&
               CreateFlipSurfaces(directDraw, primarySurface, primaryPalette, backBuffer, backPalette);
    }
    HWND window = nullptr;
};

TEST_F(DisplayTest, TheFlipChainHasTwoBlackPalettes) {
    ASSERT_TRUE(createFlipChain());
    ASSERT_NE(primarySurface, nullptr);
    ASSERT_NE(backBuffer, nullptr);
    for (LPDIRECTDRAWPALETTE palette : {primaryPalette, backPalette}) {
        ASSERT_NE(palette, nullptr);
        PALETTEENTRY entries[256];
        std::fill(std::begin(entries), std::end(entries), PALETTEENTRY{1, 1, 1, 1});
        ASSERT_EQ(palette->GetEntries(0, 0, 256, entries), DD_OK);
        // All black, entries 0 and 255 too: the palettes are the demo's in all 256.
        for (int i = 0; i < 256; ++i) {
            EXPECT_EQ(entries[i].peRed | entries[i].peGreen | entries[i].peBlue | entries[i].peFlags, 0);
        }
    }
    EXPECT_NE(primaryPalette, backPalette);
    LPDIRECTDRAWPALETTE attached = nullptr;
    ASSERT_EQ(backBuffer->GetPalette(&attached), DD_OK);
    EXPECT_EQ(attached, backPalette);
    platform::RgbImage screen = platform::visiblePicture();
    EXPECT_EQ(screen.width, 640);
    EXPECT_EQ(screen.height, 480);
}

TEST_F(DisplayTest, EachFailingStepOfTheDeviceEndsCreateDirectDraw) {
    for (const char* call : {"DirectDrawCreate", "IDirectDraw::SetCooperativeLevel", "IDirectDraw::SetDisplayMode"}) {
        platform::reset();
        applyDefaults();
        window = createMainWindow("Quillmere Demo", nullptr);
        platform::failCall(call, 1);
        EXPECT_FALSE(CreateDirectDraw(window, directDraw, 640, 480, 8)) << call;
    }
}

TEST_F(DisplayTest, TheFlipChainFailsWithoutItsSurfacesButNotWithoutAPalette) {
    ASSERT_TRUE(CreateDirectDraw(window, directDraw, 640, 480, 8));
    platform::failCall("IDirectDraw::CreateSurface", 1);
    EXPECT_FALSE(CreateFlipSurfaces(directDraw, primarySurface, primaryPalette, backBuffer, backPalette));
    EXPECT_EQ(primarySurface, nullptr);

    platform::failCall("IDirectDrawSurface::GetAttachedSurface", 1);
    EXPECT_FALSE(CreateFlipSurfaces(directDraw, primarySurface, primaryPalette, backBuffer, backPalette));
    EXPECT_NE(primarySurface, nullptr);  // kept for the release at shutdown
    EXPECT_EQ(backBuffer, nullptr);
}

TEST_F(DisplayTest, AFailedPaletteStaysNullAndTheChainStillStands) {
    ASSERT_TRUE(CreateDirectDraw(window, directDraw, 640, 480, 8));
    platform::failCall("IDirectDraw::CreatePalette", 1);
    ASSERT_TRUE(CreateFlipSurfaces(directDraw, primarySurface, primaryPalette, backBuffer, backPalette));
    EXPECT_EQ(primaryPalette, nullptr);
    EXPECT_NE(backPalette, nullptr);
    EXPECT_NE(backBuffer, nullptr);
    LPDIRECTDRAWPALETTE attached = nullptr;
    EXPECT_TRUE(FAILED(primarySurface->GetPalette(&attached)));

    LPDIRECTDRAWPALETTE another = nullptr;
    platform::failCall("IDirectDraw::CreatePalette", 1);
    EXPECT_FALSE(attachBlackPalette(directDraw, primarySurface, another));
    EXPECT_EQ(another, nullptr);
    EXPECT_TRUE(FAILED(primarySurface->GetPalette(&attached)));
}

TEST_F(DisplayTest, OffscreenSurfacesAreKeyedSystemMemoryAndOnlyTheCanvasHasAClipper) {
    ASSERT_TRUE(createFlipChain());
    ASSERT_TRUE(createOffscreenSurface(false, window, directDraw, messageSurface, 90, 30));
    ASSERT_TRUE(createOffscreenSurface(true, window, directDraw, canvas, 640, 480));
    for (LPDIRECTDRAWSURFACE surface : {messageSurface, canvas}) {
        DDCOLORKEY key{};
        ASSERT_EQ(surface->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
        EXPECT_EQ(key.dwColorSpaceLowValue, 253u);
        EXPECT_EQ(key.dwColorSpaceHighValue, 253u);
        DDSCAPS caps{};
        ASSERT_EQ(surface->GetCaps(&caps), DD_OK);
        EXPECT_TRUE(caps.dwCaps & DDSCAPS_SYSTEMMEMORY);
    }
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(DDSURFACEDESC);
    ASSERT_EQ(messageSurface->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwWidth, 90u);
    EXPECT_EQ(desc.dwHeight, 30u);
    LPDIRECTDRAWCLIPPER clipper = nullptr;
    EXPECT_TRUE(FAILED(messageSurface->GetClipper(&clipper)));
    ASSERT_EQ(canvas->GetClipper(&clipper), DD_OK);
    HWND bound = nullptr;
    ASSERT_EQ(clipper->GetHWnd(&bound), DD_OK);
    EXPECT_EQ(bound, window);
}

TEST_F(DisplayTest, AFailingClipperStepFailsAlthoughTheKeyedSurfaceExists) {
    ASSERT_TRUE(createFlipChain());
    for (const char* call : {"IDirectDraw::CreateClipper", "IDirectDrawClipper::SetHWnd", "IDirectDrawSurface::SetClipper"}) {
        LPDIRECTDRAWSURFACE surface = nullptr;
        platform::failCall(call, 1);
        EXPECT_FALSE(createOffscreenSurface(true, window, directDraw, surface, 64, 64)) << call;
        ASSERT_NE(surface, nullptr) << call;
        DDCOLORKEY key{};
        EXPECT_EQ(surface->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK) << call;
        EXPECT_EQ(key.dwColorSpaceLowValue, 253u);
    }
    LPDIRECTDRAWSURFACE surface = nullptr;
    platform::failCall("IDirectDraw::CreateSurface", 1);
    EXPECT_FALSE(createOffscreenSurface(false, window, directDraw, surface, 64, 64));
}

TEST_F(DisplayTest, FillSurfaceSetsEveryPixelAndAlwaysReportsSuccess) {
    ASSERT_TRUE(createFlipChain());
    ASSERT_TRUE(createOffscreenSurface(false, window, directDraw, messageSurface, 13, 7));
    ASSERT_TRUE(fillSurface(messageSurface, 253));
    EXPECT_EQ(SurfaceTest::pixels(messageSurface), std::vector<uint8_t>(13 * 7, 253));
    ASSERT_TRUE(fillSurface(messageSurface, 0));
    EXPECT_EQ(SurfaceTest::pixels(messageSurface), std::vector<uint8_t>(13 * 7, 0));
    platform::failCall("IDirectDrawSurface::Blt", 1);
    EXPECT_TRUE(fillSurface(messageSurface, 5));
    EXPECT_EQ(SurfaceTest::pixel(messageSurface, 0, 0), 0);
}

}  // namespace
