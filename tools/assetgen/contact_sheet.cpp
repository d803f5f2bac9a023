#include "contact_sheet.h"

#include <algorithm>
#include <vector>

#include "background_sheet.h"
#include "palette.h"
#include "png_writer.h"

namespace assetgen {

namespace {

struct RgbCanvas {
    int width, height;
    std::vector<uint8_t> rgb;
    RgbCanvas(int w, int h, Rgb fill) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3) {
        for (size_t i = 0; i < rgb.size(); i += 3) {
            rgb[i] = fill.r;
            rgb[i + 1] = fill.g;
            rgb[i + 2] = fill.b;
        }
    }
    void put(int x, int y, Rgb c) {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
    }
    // Transparent pixels show as a dark checkerboard laid in output pixels.
    void draw(const IndexedImage& image, const ColourTable& colours, int x0, int y0, int scale) {
        for (int y = 0; y < image.height * scale; ++y)
            for (int x = 0; x < image.width * scale; ++x) {
                const uint8_t i = image.at(x / scale, y / scale);
                Rgb c = colours[i];
                if (i == kKeyIndex) c = ((x / 4 + y / 4) & 1) ? Rgb{40, 38, 46} : Rgb{26, 24, 30};
                put(x0 + x, y0 + y, c);
            }
    }
};

void blitKeyed(IndexedImage& target, const IndexedImage& piece, int x0, int y0) {
    for (int y = 0; y < piece.height; ++y)
        for (int x = 0; x < piece.width; ++x)
            if (piece.at(x, y) != kKeyIndex) target.set(x0 + x, y0 + y, piece.at(x, y));
}

}  // namespace

IndexedImage renderCavePreview(const IndexedImage& sheet, const IndexedImage& sprites) {
    struct Span {
        int left, right;
    };
    const Span rows[] = {{0, 2}, {0, 1}};  // row 0 at the bottom
    const int rowCount = 2, columns = 3;
    IndexedImage pieces[kPieceCount];
    for (int p = 0; p < kPieceCount; ++p) {
        const PieceRect r = pieceRect(static_cast<Piece>(p));
        pieces[p] = sheet.crop(r.x, r.y, r.w, r.h);
    }
    const int cw = pieces[kFloor].width, ch = pieces[kFloor].height;
    IndexedImage canvas(columns * cw + 2 * kBand, rowCount * ch + 2 * kBand, kBlackIndex);
    auto screenX = [&](int worldX) { return kBand + worldX; };
    auto screenY = [&](int worldY) { return kBand + rowCount * ch - worldY; };
    auto open = [&](int row, int column) { return rows[row].left <= column && column <= rows[row].right; };
    // The whole cave is on the screen, so every neighbour row counts as visible.
    for (int i = 0; i < rowCount; ++i) {
        const int rowBottom = screenY(i * ch), rowTop = rowBottom - ch;
        for (int j = rows[i].left; j <= rows[i].right; ++j) {
            const int cellLeft = screenX(j * cw);
            blitKeyed(canvas, pieces[kFloor], cellLeft, rowTop);
            const bool bottom = i == 0 || !open(i - 1, j);
            const bool top = i == rowCount - 1 || !open(i + 1, j);
            if (bottom) blitKeyed(canvas, pieces[kBottom], cellLeft, rowBottom);
            if (top) blitKeyed(canvas, pieces[kTop], cellLeft, rowTop - kBand);
        }
        int sx = screenX(rows[i].left * cw);
        blitKeyed(canvas, pieces[kLeft], sx - kBand, rowTop);
        if (i == 0 || rows[i].left < rows[i - 1].left) blitKeyed(canvas, pieces[kBottomLeft], sx - kBand, rowBottom);
        if (i == rowCount - 1 || rows[i].left < rows[i + 1].left)
            blitKeyed(canvas, pieces[kTopLeft], sx - kBand, rowTop - kBand);
        sx = screenX((rows[i].right + 1) * cw);
        blitKeyed(canvas, pieces[kRight], sx, rowTop);
        if (i == 0 || rows[i].right > rows[i - 1].right) blitKeyed(canvas, pieces[kBottomRight], sx, rowBottom);
        if (i == rowCount - 1 || rows[i].right > rows[i + 1].right) blitKeyed(canvas, pieces[kTopRight], sx, rowTop - kBand);
    }
    // Figures: torch-bearers and explorers of several headings, cut where the
    // demo cuts them, placed by their bottom-centre.
    struct Figure {
        int sx, sy, w, h, x, y;
    } figures[] = {
        {1, 1, 90, 100, 330, 470},      {183, 1, 90, 100, 900, 860},    {301, 203, 49, 49, 420, 500},
        {1, 103, 49, 49, 520, 620},     {201, 103, 49, 49, 640, 700},   {301, 103, 49, 49, 760, 820},
        {51, 153, 49, 49, 300, 780},    {151, 203, 49, 49, 1000, 700},  {351, 153, 49, 49, 600, 380},
    };
    for (const Figure& f : figures) blitKeyed(canvas, sprites.crop(f.sx, f.sy, f.w, f.h), f.x - f.w / 2, f.y - f.h);
    return canvas;
}

bool writeContactSheet(const std::string& path, const PictureSet& pics) {
    const int gap = 16;
    const IndexedImage cave = renderCavePreview(pics.background, pics.sprites);
    const int leftWidth = std::max(pics.background.width, 256 + gap + std::max(pics.message.width, pics.sprites.width));
    const int underHeight = std::max(256, pics.message.height + gap + pics.sprites.height);
    const int topHeight = std::max(pics.background.height + gap + underHeight, cave.height);
    const int width = gap + leftWidth + gap + cave.width + gap;
    const int height = gap + topHeight + gap + pics.sprites.height * 3 + gap;
    RgbCanvas out(width, height, Rgb{72, 72, 80});
    out.draw(pics.background, pics.colours, gap, gap, 1);
    // The palette, 16 x 16 swatches; the key shows as the checkerboard.
    const int py = gap + pics.background.height + gap;
    for (int i = 0; i < 256; ++i) {
        IndexedImage swatch(16, 16, static_cast<uint8_t>(i));
        out.draw(swatch, pics.colours, gap + (i % 16) * 16, py + (i / 16) * 16, 1);
    }
    out.draw(pics.message, pics.colours, gap + 256 + gap, py, 1);
    out.draw(pics.sprites, pics.colours, gap + 256 + gap, py + pics.message.height + gap, 1);
    out.draw(cave, pics.colours, gap + leftWidth + gap, gap, 1);
    out.draw(pics.sprites, pics.colours, gap, gap + topHeight + gap, 3);
    return writePng(path, width, height, out.rgb);
}

}  // namespace assetgen
