// The cave drawn from the real "bckgnd.bmp" at telling views, with the minimap
// overlay in both styles, saved as one PNG beside the program for a look.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "app/clock.h"
#include "assets/bitmap.h"
#include "assets/palettes.h"
#include "display/display.h"
#include "display/translucency.h"
#include "support/surface_test.h"
#include "world/cave.h"

namespace {

struct View {
    const char* name;
    int32_t x, y;
    bool translucentMinimap;
};

// The overlap of rows r and r + 1, in columns.
int overlap(const CaveWorld& cave, int r) {
    return std::min(cave.rows[r].right, cave.rows[r + 1].right) - std::max(cave.rows[r].left, cave.rows[r + 1].left) + 1;
}

class CavePicturesTest : public SurfaceTest {};

TEST_F(CavePicturesTest, ViewsOfTheRealSheetWithBothMinimaps) {
    ASSERT_TRUE(backgroundImage.load(QM_RUNTIME_DIR "/bckgnd.bmp"));
    LPDIRECTDRAWPALETTE palette = makePalette(workingPalette);
    ASSERT_TRUE(backgroundImage.applyPaletteTo(palette));
    ASSERT_TRUE(buildBlendTable(palette));

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "CavePictures";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "CavePictures", "CavePictures", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                                  nullptr, nullptr);
    LPDIRECTDRAWSURFACE screen = nullptr;
    ASSERT_TRUE(createOffscreenSurface(true, window, device, screen, 640, 480));
    screen->SetPalette(palette);

    platform::setTime(20240611);
    gameRandom.reseed();
    CaveWorld cave;
    ASSERT_TRUE(cave.generate(&backgroundImage, 6400, 6400));
    cave.minimapSurface->SetPalette(palette);
    cave.redrawMinimap();

    const int32_t cw = cave.cellWidth(), ch = cave.cellHeight();
    const int top = cave.rowCount() - 1;
    int wide = 0, narrow = 0;
    for (int r = 0; r + 1 < cave.rowCount(); ++r) {
        if (overlap(cave, r) > overlap(cave, wide)) wide = r;
        if (overlap(cave, r) < overlap(cave, narrow)) narrow = r;
    }
    auto overlapLeft = [&](int r) { return std::max(cave.rows[r].left, cave.rows[r + 1].left) * cw; };
    auto overlapRight = [&](int r) { return (std::min(cave.rows[r].right, cave.rows[r + 1].right) + 1) * cw; };
    // Each view near the end of a row or an opening, where bands and corners show.
    const View views[] = {
        {"left end of the bottom row", cave.rows[0].left * cw + 150, 200, true},
        {"right end of the top row", (cave.rows[top].right + 1) * cw - 150, top * ch + 250, true},
        {"left edge of the widest opening", overlapLeft(wide) + 100, (wide + 1) * ch, false},
        {"right edge of the narrowest opening", overlapRight(narrow) - 100, (narrow + 1) * ch, false},
    };

    platform::RgbImage mosaic;
    mosaic.width = 1280;
    mosaic.height = 960;
    mosaic.rgb.assign(static_cast<size_t>(mosaic.width) * mosaic.height * 3, 0);
    for (int v = 0; v < 4; ++v) {
        const View& view = views[v];
        fill(screen, 0);
        cave.viewX = view.x;
        cave.viewY = view.y;
        ASSERT_TRUE(cave.draw(screen)) << view.name;
        const int32_t ox = 320 - cave.worldToMinimapX(cave.viewX), oy = 240 - cave.worldToMinimapY(cave.viewY);
        if (view.translucentMinimap) EXPECT_TRUE(cave.drawMinimap(screen, ox, oy));
        else EXPECT_TRUE(cave.drawOutline(screen, ox, oy, true));

        const std::vector<uint8_t> indices = pixels(screen);
        EXPECT_GT(std::set<uint8_t>(indices.begin(), indices.end()).size(), 3u) << view.name << " shows the cave";
        const int baseX = (v % 2) * 640, baseY = (v / 2) * 480;
        for (int32_t y = 0; y < 480; ++y) {
            for (int32_t x = 0; x < 640; ++x) {
                const RGBQUAD& c = backgroundImage.palette[indices[static_cast<size_t>(y) * 640 + x]];
                uint8_t* out = &mosaic.rgb[(static_cast<size_t>(baseY + y) * mosaic.width + baseX + x) * 3];
                out[0] = c.rgbRed;
                out[1] = c.rgbGreen;
                out[2] = c.rgbBlue;
            }
        }
    }
    std::string error;
    EXPECT_TRUE(platform::savePng(mosaic, QM_RUNTIME_DIR "/cave_views.png", &error)) << error;
    cave.releaseSurfaces();
    directDraw = nullptr;
}

}  // namespace
