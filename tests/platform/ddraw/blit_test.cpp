// Blt and BltFast: fills, keyed copies, stretching and the rectangle rules.
#include "platform/ddraw/fixture.h"

namespace {

using Pixels = std::vector<uint8_t>;

// Pixel (x, y) of a w-wide picture.
uint8_t at(const Pixels& p, int w, int x, int y) { return p[static_cast<size_t>(y) * w + x]; }

TEST_F(DirectDrawTest, ColourFillCoversTheRectangleOnly) {
    LPDIRECTDRAWSURFACE surface = offscreen(213, 9);
    fill(surface, 7);
    EXPECT_EQ(read(surface), Pixels(213 * 9, 7));
    RECT area{10, 2, 20, 5};
    fill(surface, 253, &area);
    Pixels pixels = read(surface);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 213; ++x)
            ASSERT_EQ(at(pixels, 213, x, y), (x >= 10 && x < 20 && y >= 2 && y < 5) ? 253 : 7) << x << "," << y;
    EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, nullptr), DDERR_INVALIDPARAMS);
}

// DDBLTFX must say its size; Wine does not check (docs/wine-differences.md).
TEST_F(DirectDrawTest, AFillNeedsTheEffectsSize) {
    SKIP_UNLESS_ON_THE_PLATFORM("Wine ignores dwSize, see docs/wine-differences.md");
    LPDIRECTDRAWSURFACE surface = offscreen(8, 8);
    DDBLTFX fx{};
    fx.dwSize = sizeof fx - 4;
    EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDPARAMS);
}

TEST_F(DirectDrawTest, KeyedCopyLeavesKeyedPixelsUntouched) {
    // 37 wide: whole sixteen-pixel groups and a ragged end.
    const int w = 37, h = 5;
    Pixels sprite = pattern(w, h);
    for (size_t i = 0; i < sprite.size(); i += 3) sprite[i] = 253;
    LPDIRECTDRAWSURFACE source = keyedOffscreen(w, h);
    write(source, sprite);
    LPDIRECTDRAWSURFACE dest = offscreen(w, h);
    fill(dest, 9);

    ASSERT_EQ(dest->Blt(nullptr, source, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DD_OK);
    Pixels keyed = read(dest);
    for (size_t i = 0; i < sprite.size(); ++i) ASSERT_EQ(keyed[i], sprite[i] == 253 ? 9 : sprite[i]) << i;

    // Without the flag the key is just another colour.
    ASSERT_EQ(dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(read(dest), sprite);
}

// Repeated keyed copies move the opaque runs found in the source; every way of
// changing its bytes or its key must be seen by the next copies. The expected
// source is kept aside: reading it back would lock it.
TEST_F(DirectDrawTest, RepeatedKeyedCopiesFollowEveryChangeOfTheSource) {
    const int w = 37, h = 5;
    LPDIRECTDRAWSURFACE source = keyedOffscreen(w, h), other = offscreen(w, h), dest = offscreen(w, h);
    Pixels sprite = pattern(w, h);
    for (size_t i = 0; i < sprite.size(); i += 3) sprite[i] = 253;
    write(source, sprite);
    fill(other, 253);
    uint8_t key = 253;
    RECT area{5, 1, 30, 3};
    auto changeTo = [&](int step) {
        if (step == 1) write(source, Pixels(sprite.rbegin(), sprite.rend()));
        if (step == 2) fill(source, 40, &area);
        if (step == 3) {
            ASSERT_EQ(source->BltFast(0, 0, other, &area, DDBLTFAST_WAIT), DD_OK);
        }
        if (step == 4) {
            DDCOLORKEY other{40, 40};
            ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &other), DD_OK);
        }
        if (step == 1) std::reverse(sprite.begin(), sprite.end());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                bool inArea = x >= 5 && x < 30 && y >= 1 && y < 3, inCorner = x < 25 && y < 2;
                if (step == 2 && inArea) sprite[static_cast<size_t>(y) * w + x] = 40;
                if (step == 3 && inCorner) sprite[static_cast<size_t>(y) * w + x] = 253;
            }
        if (step == 4) key = 40;
    };
    for (int step = 0; step <= 4; ++step) {
        changeTo(step);
        for (int copy = 0; copy < 3; ++copy) {
            fill(dest, 9);
            ASSERT_EQ(dest->BltFast(0, 0, source, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
            Pixels got = read(dest);
            for (size_t i = 0; i < sprite.size(); ++i)
                ASSERT_EQ(got[i], sprite[i] == key ? 9 : sprite[i]) << "step " << step << " copy " << copy << " at " << i;
        }
    }
}

// A key set without DDCKEY_COLORSPACE is one colour: its low value.
TEST_F(DirectDrawTest, AKeyWithoutColourSpaceSkipsItsLowValueOnly) {
    LPDIRECTDRAWSURFACE source = offscreen(256, 1);
    Pixels ramp(256);
    for (int i = 0; i < 256; ++i) ramp[i] = static_cast<uint8_t>(i);
    write(source, ramp);
    LPDIRECTDRAWSURFACE dest = offscreen(256, 1);

    DDCOLORKEY range{100, 140};
    ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &range), DD_OK);
    fill(dest, 1);
    ASSERT_EQ(dest->BltFast(0, 0, source, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
    Pixels got = read(dest);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(got[i], i == 100 ? 1 : i) << i;

    DDCOLORKEY backwards{200, 3};  // a high value below the low one keys the low value alone
    ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &backwards), DD_OK);
    fill(dest, 1);
    ASSERT_EQ(dest->Blt(nullptr, source, nullptr, DDBLT_KEYSRC, nullptr), DD_OK);
    got = read(dest);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(got[i], i == 200 ? 1 : i) << i;
}

TEST_F(DirectDrawTest, KeyedCopyFromASourceWithoutKey) {
    LPDIRECTDRAWSURFACE source = offscreen(4, 4);
    write(source, pattern(4, 4));
    LPDIRECTDRAWSURFACE dest = offscreen(4, 4);
    fill(dest, 7);
    EXPECT_EQ(dest->Blt(nullptr, source, nullptr, DDBLT_KEYSRC, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(read(dest), Pixels(16, 7));
    // BltFast keys such a source by its initial key, 0.
    EXPECT_EQ(dest->BltFast(0, 0, source, nullptr, DDBLTFAST_SRCCOLORKEY), DD_OK);
    Pixels want = pattern(4, 4);
    want[0] = 7;  // the pattern's one 0
    EXPECT_EQ(read(dest), want);
    EXPECT_EQ(dest->Blt(nullptr, nullptr, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(DirectDrawTest, DifferentSizesStretchNearestNeighbour) {
    LPDIRECTDRAWSURFACE source = offscreen(2, 2);
    write(source, {1, 2, 3, 4});
    LPDIRECTDRAWSURFACE dest = offscreen(6, 5);
    fill(dest, 0);
    RECT big{1, 1, 5, 5};
    ASSERT_EQ(dest->Blt(&big, source, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(read(dest), (Pixels{0, 0, 0, 0, 0, 0,  //
                                  0, 1, 1, 2, 2, 0,  //
                                  0, 1, 1, 2, 2, 0,  //
                                  0, 3, 3, 4, 4, 0,  //
                                  0, 3, 3, 4, 4, 0}));

    // Shrinking takes the pixel under each destination pixel's top-left corner.
    LPDIRECTDRAWSURFACE wide = offscreen(6, 1);
    write(wide, {10, 11, 12, 13, 14, 15});
    LPDIRECTDRAWSURFACE narrow = offscreen(3, 1);
    ASSERT_EQ(narrow->Blt(nullptr, wide, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(read(narrow), (Pixels{10, 12, 14}));
}

TEST_F(DirectDrawTest, StretchedKeyedCopyKeepsTheKey) {
    LPDIRECTDRAWSURFACE source = keyedOffscreen(2, 1);
    write(source, {253, 8});
    LPDIRECTDRAWSURFACE dest = offscreen(4, 2);
    fill(dest, 5);
    ASSERT_EQ(dest->Blt(nullptr, source, nullptr, DDBLT_KEYSRC, nullptr), DD_OK);
    EXPECT_EQ(read(dest), (Pixels{5, 5, 8, 8, 5, 5, 8, 8}));
}

TEST_F(DirectDrawTest, RectanglesOutsideWithoutClipperFailAndDrawNothing) {
    LPDIRECTDRAWSURFACE source = offscreen(10, 10);
    write(source, pattern(10, 10));
    LPDIRECTDRAWSURFACE dest = offscreen(20, 20);
    fill(dest, 3);
    const Pixels before = read(dest);

    for (RECT bad : {RECT{15, 0, 25, 10}, RECT{-1, 0, 9, 10}, RECT{0, 15, 10, 25}, RECT{5, 5, 2, 8}}) {
        EXPECT_EQ(dest->Blt(&bad, source, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
        DDBLTFX fx{};
        fx.dwSize = sizeof fx;
        fx.dwFillColor = 99;
        EXPECT_EQ(dest->Blt(&bad, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDRECT);
    }
    RECT sourceOutside{5, 5, 11, 10};
    EXPECT_EQ(dest->Blt(nullptr, source, &sourceOutside, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
    EXPECT_EQ(dest->BltFast(11, 0, source, nullptr, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    EXPECT_EQ(dest->BltFast(0, 0xFFFFFFFFu, source, nullptr, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    EXPECT_EQ(dest->BltFast(0, 0, source, &sourceOutside, DDBLTFAST_WAIT), DDERR_INVALIDRECT);

    // An empty rectangle on either side is refused as well, fills included.
    RECT empty{4, 4, 4, 9};
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 99;
    EXPECT_EQ(dest->Blt(&empty, source, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
    EXPECT_EQ(dest->Blt(nullptr, source, &empty, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
    EXPECT_EQ(dest->Blt(&empty, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDRECT);
    EXPECT_EQ(dest->BltFast(0, 0, source, &empty, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    EXPECT_EQ(read(dest), before);
}

TEST_F(DirectDrawTest, BltFastCopiesToAPoint) {
    LPDIRECTDRAWSURFACE source = offscreen(5, 4);
    write(source, pattern(5, 4));
    LPDIRECTDRAWSURFACE dest = offscreen(9, 7);
    fill(dest, 0);
    RECT part{1, 1, 4, 3};
    ASSERT_EQ(dest->BltFast(6, 5, source, &part, DDBLTFAST_NOCOLORKEY | DDBLTFAST_WAIT), DD_OK);
    Pixels got = read(dest);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) {
            const bool inside = x >= 6 && y >= 5;
            ASSERT_EQ(at(got, 9, x, y), inside ? at(pattern(5, 4), 5, x - 5, y - 4) : 0) << x << "," << y;
        }
}

TEST_F(DirectDrawTest, OverlappingCopyWithinOneSurfaceReadsBeforeWriting) {
    LPDIRECTDRAWSURFACE surface = offscreen(8, 1);
    write(surface, {1, 2, 3, 4, 5, 6, 7, 8});
    RECT from{0, 0, 6, 1};
    RECT to{2, 0, 8, 1};
    ASSERT_EQ(surface->Blt(&to, surface, &from, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(read(surface), (Pixels{1, 2, 1, 2, 3, 4, 5, 6}));
    ASSERT_EQ(surface->BltFast(0, 0, surface, &to, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(read(surface), (Pixels{1, 2, 3, 4, 5, 6, 5, 6}));
}

TEST_F(DirectDrawTest, ClipperWithoutWindowHasNoClipList) {
    LPDIRECTDRAWSURFACE dest = offscreen(8, 8);
    LPDIRECTDRAWCLIPPER clipper = nullptr;
    ASSERT_EQ(device->CreateClipper(0, &clipper, nullptr), DD_OK);
    ASSERT_EQ(dest->SetClipper(clipper), DD_OK);
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    EXPECT_EQ(dest->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_NOCLIPLIST);
}

}  // namespace
