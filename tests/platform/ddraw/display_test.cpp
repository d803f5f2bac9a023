// The flip chain and what the screen shows: the primary surface's bytes
// through the primary palette.
#include <png.h>

#include <cstdio>
#include <string>

#include "platform/ddraw/fixture.h"

namespace {

using Pixels = std::vector<uint8_t>;

std::vector<PALETTEENTRY> distinctColours() {
    std::vector<PALETTEENTRY> table(256);
    for (int i = 0; i < 256; ++i) table[i] = {uint8_t(i), uint8_t(i ^ 0x55), uint8_t(255 - i), 0};
    return table;
}

// The RGB the screen should show for these indices through this palette.
std::vector<uint8_t> rgbOf(const Pixels& indices, const std::vector<PALETTEENTRY>& palette) {
    std::vector<uint8_t> rgb;
    for (uint8_t i : indices) rgb.insert(rgb.end(), {palette[i].peRed, palette[i].peGreen, palette[i].peBlue});
    return rgb;
}

TEST_F(DirectDrawTest, FlipExchangesPrimaryAndBackBuffer) {
    createFlipChain();
    const Pixels front = pattern(640, 480);
    const Pixels behind(640 * 480, 17);
    write(primary, front);
    write(back, behind);
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(read(primary), behind);
    EXPECT_EQ(read(back), front);
    ASSERT_EQ(primary->Flip(back, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(read(primary), front);

    EXPECT_EQ(back->Flip(nullptr, DDFLIP_WAIT), DDERR_NOTFLIPPABLE);
    EXPECT_EQ(offscreen(8, 8)->Flip(nullptr, 0), DDERR_NOTFLIPPABLE);
    DDSCAPS caps{};
    EXPECT_EQ(primary->GetCaps(&caps), DD_OK);
    EXPECT_TRUE(caps.dwCaps & DDSCAPS_PRIMARYSURFACE);
    EXPECT_EQ(back->GetCaps(&caps), DD_OK);
    EXPECT_TRUE(caps.dwCaps & DDSCAPS_BACKBUFFER);
}

TEST_F(DirectDrawTest, FlipWaitsForLocksAndContexts) {
    createFlipChain();
    HDC dc = nullptr;
    ASSERT_EQ(back->GetDC(&dc), DD_OK);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY);
    ASSERT_EQ(back->ReleaseDC(dc), DD_OK);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
}

TEST_F(DirectDrawTest, NewPalettesShowBlackUntilWritten) {
    createFlipChain();
    LPDIRECTDRAWPALETTE primaryPalette = makePalette();
    LPDIRECTDRAWPALETTE backPalette = makePalette();
    ASSERT_EQ(primary->SetPalette(primaryPalette), DD_OK);
    ASSERT_EQ(back->SetPalette(backPalette), DD_OK);
    write(back, pattern(640, 480));
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);

    platform::RgbImage shown = platform::visiblePicture();
    ASSERT_EQ(shown.width, 640);
    ASSERT_EQ(shown.height, 480);
    EXPECT_EQ(shown.rgb, std::vector<uint8_t>(640 * 480 * 3, 0));
}

TEST_F(DirectDrawTest, ScreenShowsTheFlippedPictureThroughThePrimaryPalette) {
    createFlipChain();
    const std::vector<PALETTEENTRY> colours = distinctColours();
    LPDIRECTDRAWPALETTE primaryPalette = makePalette(colours);
    LPDIRECTDRAWPALETTE backPalette = makePalette();
    ASSERT_EQ(primary->SetPalette(primaryPalette), DD_OK);
    ASSERT_EQ(back->SetPalette(backPalette), DD_OK);
    const Pixels picture = pattern(640, 480);
    write(back, picture);

    const uint64_t before = platform::presentCount();
    EXPECT_EQ(platform::visiblePicture().rgb, rgbOf(Pixels(640 * 480, 0), colours));  // the black primary
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(platform::visiblePicture().rgb, rgbOf(picture, colours));
    EXPECT_EQ(platform::presentCount(), before + 2);

    // The back buffer's palette and bytes are not on the screen.
    PALETTEENTRY white{255, 255, 255, 0};
    ASSERT_EQ(backPalette->SetEntries(0, 0, 1, &white), DD_OK);
    fill(back, 3);
    platform::visiblePicture();
    EXPECT_EQ(platform::presentCount(), before + 2);

    // The primary's palette is shown at once.
    ASSERT_EQ(primaryPalette->SetEntries(0, 0, 1, &white), DD_OK);
    std::vector<PALETTEENTRY> changed = colours;
    changed[0] = white;
    EXPECT_EQ(platform::visiblePicture().rgb, rgbOf(picture, changed));
    EXPECT_EQ(platform::presentCount(), before + 3);
}

TEST_F(DirectDrawTest, DrawingStraightIntoThePrimaryIsShown) {
    createFlipChain();
    const std::vector<PALETTEENTRY> colours = distinctColours();
    ASSERT_EQ(primary->SetPalette(makePalette(colours)), DD_OK);
    platform::visiblePicture();

    LPDIRECTDRAWSURFACE prompt = offscreen(100, 50);
    fill(prompt, 200);
    RECT where{270, 215, 370, 265};
    ASSERT_EQ(primary->Blt(&where, prompt, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    platform::RgbImage shown = platform::visiblePicture();
    const size_t inside = (240u * 640u + 300u) * 3u;
    EXPECT_EQ(shown.rgb[inside], colours[200].peRed);
    EXPECT_EQ(shown.rgb[0], colours[0].peRed);

    const uint64_t count = platform::presentCount();
    HDC dc = nullptr;
    ASSERT_EQ(primary->GetDC(&dc), DD_OK);
    ASSERT_EQ(primary->ReleaseDC(dc), DD_OK);
    platform::visiblePicture();
    EXPECT_EQ(platform::presentCount(), count + 1);
}

TEST_F(DirectDrawTest, SavedPictureDecodesToTheSamePixels) {
    createFlipChain();
    ASSERT_EQ(primary->SetPalette(makePalette(distinctColours())), DD_OK);
    write(primary, pattern(640, 480));
    const platform::RgbImage shown = platform::visiblePicture();

    const std::string path = ::testing::TempDir() + "ddraw_screen.png";
    std::string error;
    ASSERT_TRUE(platform::savePng(shown, path, &error)) << error;

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> decoded(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, decoded.data(), 0, nullptr)) << image.message;
    std::remove(path.c_str());
    EXPECT_EQ(image.width, 640u);
    EXPECT_EQ(image.height, 480u);
    EXPECT_EQ(decoded, shown.rgb);
}

}  // namespace
