// Locks, device contexts and palettes: who may touch a surface's bytes, and
// which colours GDI sees through them.
#include "core/dc.h"
#include "platform/ddraw/fixture.h"

namespace {

TEST_F(DirectDrawTest, LockAndDeviceContextExcludeEachOther) {
    LPDIRECTDRAWSURFACE surface = offscreen(16, 16);
    LPDIRECTDRAWSURFACE other = offscreen(16, 16);
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    HDC dc = nullptr;

    EXPECT_EQ(surface->Unlock(nullptr), DDERR_NOTLOCKED);
    ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(surface->GetDC(&dc), DDERR_SURFACEBUSY);
    EXPECT_EQ(other->Blt(nullptr, surface, nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(surface->Unlock(nullptr), DD_OK);
    EXPECT_EQ(surface->Unlock(nullptr), DDERR_NOTLOCKED);

    ASSERT_EQ(surface->GetDC(&dc), DD_OK);
    HDC second = nullptr;
    EXPECT_EQ(surface->GetDC(&second), DDERR_DCALREADYCREATED);
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(surface->BltFast(0, 0, other, nullptr, DDBLTFAST_WAIT), DDERR_SURFACEBUSY);
    HDC otherDc = nullptr;
    ASSERT_EQ(other->GetDC(&otherDc), DD_OK);
    EXPECT_EQ(surface->ReleaseDC(otherDc), DDERR_INVALIDPARAMS);
    EXPECT_EQ(other->ReleaseDC(otherDc), DD_OK);
    EXPECT_EQ(surface->ReleaseDC(dc), DD_OK);
    EXPECT_EQ(surface->ReleaseDC(dc), DDERR_NODC);
    EXPECT_EQ(qmp::openDCCount(), 0);
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
}

TEST_F(DirectDrawTest, LockOfARectanglePointsAtItsCorner) {
    LPDIRECTDRAWSURFACE surface = offscreen(10, 6);
    write(surface, pattern(10, 6));
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    RECT outside{5, 2, 11, 4};
    EXPECT_EQ(surface->Lock(&outside, &desc, DDLOCK_WAIT, nullptr), DDERR_INVALIDRECT);
    RECT area{3, 2, 8, 5};
    ASSERT_EQ(surface->Lock(&area, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(*static_cast<uint8_t*>(desc.lpSurface), pattern(10, 6)[2 * 10 + 3]);
    EXPECT_EQ(surface->Unlock(desc.lpSurface), DD_OK);
}

TEST_F(DirectDrawTest, DeviceContextDrawsIntoTheSurfaceBytes) {
    LPDIRECTDRAWSURFACE surface = offscreen(90, 4);
    HDC dc = nullptr;
    ASSERT_EQ(surface->GetDC(&dc), DD_OK);
    qmp::DeviceContext* context = qmp::contextOf(dc);
    ASSERT_NE(context, nullptr);
    qmp::PixelTarget* target = context->target;
    EXPECT_EQ(target->width(), 90);
    EXPECT_EQ(target->height(), 4);
    EXPECT_EQ(target->pitch(), 92);
    target->bits()[3 * 92 + 89] = 77;  // last pixel of the last row
    ASSERT_EQ(surface->ReleaseDC(dc), DD_OK);
    EXPECT_EQ(read(surface)[3 * 90 + 89], 77);
}

TEST_F(DirectDrawTest, PixelTargetColoursComeFromOwnThenPrimaryPalette) {
    createFlipChain();
    LPDIRECTDRAWSURFACE surface = offscreen(8, 8);
    HDC dc = nullptr;
    ASSERT_EQ(surface->GetDC(&dc), DD_OK);
    const qmp::PixelTarget* target = qmp::contextOf(dc)->target;
    EXPECT_EQ(target->colours()[200].peRed, 0);  // no palette anywhere: black

    std::vector<PALETTEENTRY> red(256, PALETTEENTRY{200, 0, 0, 0});
    LPDIRECTDRAWPALETTE primaryPalette = makePalette(red);
    uint64_t version = target->coloursVersion();
    ASSERT_EQ(primary->SetPalette(primaryPalette), DD_OK);
    EXPECT_NE(target->coloursVersion(), version);
    EXPECT_EQ(target->colours()[5].peRed, 200);

    std::vector<PALETTEENTRY> green(256, PALETTEENTRY{0, 150, 0, 0});
    LPDIRECTDRAWPALETTE own = makePalette(green);
    ASSERT_EQ(surface->SetPalette(own), DD_OK);
    EXPECT_EQ(target->colours()[5].peGreen, 150);

    version = target->coloursVersion();
    PALETTEENTRY blue{0, 0, 99, 0};
    ASSERT_EQ(own->SetEntries(0, 5, 1, &blue), DD_OK);
    EXPECT_NE(target->coloursVersion(), version);
    EXPECT_EQ(target->colours()[5].peBlue, 99);

    version = target->coloursVersion();
    ASSERT_EQ(surface->SetPalette(nullptr), DD_OK);
    EXPECT_NE(target->coloursVersion(), version);
    EXPECT_EQ(target->colours()[5].peRed, 200);
    ASSERT_EQ(surface->ReleaseDC(dc), DD_OK);
}

TEST_F(DirectDrawTest, WithoutAllow256TheFirstAndLastEntriesStayBlackAndWhite) {
    std::vector<PALETTEENTRY> table(256, PALETTEENTRY{10, 20, 30, 0});
    LPDIRECTDRAWPALETTE palette = makePalette(table, DDPCAPS_8BIT);
    std::vector<PALETTEENTRY> got(256);
    ASSERT_EQ(palette->GetEntries(0, 0, 256, got.data()), DD_OK);
    EXPECT_EQ(got[0].peRed + got[0].peGreen + got[0].peBlue, 0);
    EXPECT_EQ(got[255].peRed & got[255].peGreen & got[255].peBlue, 255);
    EXPECT_EQ(got[1].peRed, 10);
    EXPECT_EQ(got[254].peBlue, 30);

    // Writes to them are ignored; the entries between take theirs.
    ASSERT_EQ(palette->SetEntries(0, 0, 256, table.data()), DD_OK);
    ASSERT_EQ(palette->GetEntries(0, 0, 256, got.data()), DD_OK);
    EXPECT_EQ(got[0].peGreen, 0);
    EXPECT_EQ(got[255].peGreen, 255);
    EXPECT_EQ(got[128].peGreen, 20);
}

TEST_F(DirectDrawTest, PaletteEntriesRoundTripWithinRange) {
    std::vector<PALETTEENTRY> table(256);
    for (int i = 0; i < 256; ++i) table[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), 0};
    LPDIRECTDRAWPALETTE palette = makePalette(table);
    table[0].peRed = 42;  // the palette copied the table
    std::vector<PALETTEENTRY> got(256);
    ASSERT_EQ(palette->GetEntries(0, 0, 256, got.data()), DD_OK);
    EXPECT_EQ(got[0].peRed, 0);
    EXPECT_EQ(got[100].peGreen, 155);

    std::vector<PALETTEENTRY> written(10, PALETTEENTRY{1, 2, 3, 0});
    ASSERT_EQ(palette->SetEntries(0, 246, 10, written.data()), DD_OK);
    ASSERT_EQ(palette->GetEntries(0, 245, 11, got.data()), DD_OK);
    EXPECT_EQ(got[0].peRed, 245);
    EXPECT_EQ(got[1].peBlue, 3);
    EXPECT_EQ(got[10].peGreen, 2);

    EXPECT_EQ(palette->SetEntries(0, 250, 7, written.data()), DDERR_INVALIDPARAMS);
    EXPECT_EQ(palette->GetEntries(0, 0xFFFFFFFFu, 2, got.data()), DDERR_INVALIDPARAMS);
    EXPECT_EQ(palette->GetEntries(0, 0, 257, got.data()), DDERR_INVALIDPARAMS);
    EXPECT_EQ(palette->GetEntries(0, 0, 1, nullptr), DDERR_INVALIDPARAMS);
    LPDIRECTDRAWPALETTE none = nullptr;
    EXPECT_EQ(device->CreatePalette(0, table.data(), &none, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->CreatePalette(DDPCAPS_8BIT, nullptr, &none, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(DirectDrawTest, GetPaletteAddsAReference) {
    LPDIRECTDRAWSURFACE surface = offscreen(4, 4);
    LPDIRECTDRAWPALETTE got = nullptr;
    EXPECT_EQ(surface->GetPalette(&got), DDERR_NOPALETTEATTACHED);
    LPDIRECTDRAWPALETTE palette = makePalette();
    ASSERT_EQ(surface->SetPalette(palette), DD_OK);
    ASSERT_EQ(surface->GetPalette(&got), DD_OK);
    EXPECT_EQ(got, palette);
    EXPECT_EQ(got->Release(), 2u);      // the program's and the surface's
    EXPECT_EQ(palette->Release(), 1u);  // the surface keeps it
    std::vector<PALETTEENTRY> entries(256);
    EXPECT_EQ(palette->GetEntries(0, 0, 256, entries.data()), DD_OK);
    EXPECT_EQ(surface->Release(), 0u);  // and lets it go
    EXPECT_EQ(platform::liveDirectDrawObjects(), 1);
}

}  // namespace
