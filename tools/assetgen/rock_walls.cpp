// Wall bands and corners. All nine pieces sample one rock relief that repeats
// every cell in both directions, at the position the piece takes in the world,
// so pieces that meet in the cave continue each other's boulders. What a piece
// adds of its own is how deep each pixel lies behind the open floor: solid rock
// at the floor's edge, breaking up into loose boulders and then nothing (253)
// further back.
#include <vector>

#include "background_sheet.h"
#include "noise.h"
#include "palette.h"
#include "rng.h"

namespace assetgen {

namespace {

// Where a piece's top-left pixel falls in the repeating relief, and which of
// its sides touch the floor.
struct PieceFrame {
    int worldX, worldY;
    int w, h;
    bool floorLeft, floorRight, floorAbove, floorBelow;
};

PieceFrame frameOf(Piece p) {
    // Left pieces start 150 pixels left of a cell boundary (320 - 150 = 170);
    // upper pieces 150 above a row boundary (400 - 150 = 250).
    switch (p) {
        case kLeft: return {170, 0, kBand, kCellHeight, false, true, false, false};
        case kRight: return {0, 0, kBand, kCellHeight, true, false, false, false};
        case kTop: return {0, 250, kCellWidth, kBand, false, false, false, true};
        case kBottom: return {0, 0, kCellWidth, kBand, false, false, true, false};
        case kTopLeft: return {170, 250, kBand, kBand, false, true, false, true};
        case kTopRight: return {0, 250, kBand, kBand, true, false, false, true};
        case kBottomLeft: return {170, 0, kBand, kBand, false, true, true, false};
        case kBottomRight: return {0, 0, kBand, kBand, true, false, true, false};
        default: return {0, 0, 0, 0, false, false, false, false};
    }
}

constexpr int kSolidDepth = 26;   // every pixel this close to the floor is rock
constexpr int kBreakDepth = 98;   // where the rock mass ends on average
constexpr int kMaxDepth = 142;    // nothing is drawn further back than this

// The offset of a pixel from the nearest floor point, pointing into the rock.
void floorOffset(const PieceFrame& f, int x, int y, int& vx, int& vy) {
    vx = vy = 0;
    if (f.floorRight) vx = x - (f.w - 1);
    if (f.floorLeft) vx = x;
    if (f.floorBelow) vy = y - (f.h - 1);
    if (f.floorAbove) vy = y;
}

// The relief of the rock at world pixel (wx, wy), in sixteenths of a pixel:
// domed boulders whose seams are deep cracks between some neighbours and
// shallow joints between others, with a rough surface.
struct Relief {
    int height;
    int seam;      // 0 in a crevice, up to 16 away from it
    int boulder;   // cell id of the boulder
};

Relief relief(int wx, int wy) {
    const int warpX = (fractalNoise(211, wx, wy, 40, 40, 8, 10, 2) - 512) * 10 / 512;
    const int warpY = (fractalNoise(212, wx, wy, 40, 40, 8, 10, 2) - 512) * 10 / 512;
    const CellSample c = cellNoise(213, wx + warpX, wy + warpY, kCellWidth, kCellHeight, 8, 8);
    const int a = c.id < c.secondId ? c.id : c.secondId, b = c.id < c.secondId ? c.secondId : c.id;
    const bool deep = (hash2(214, a, b) % 100) < 70;  // some seams are only joints
    const int edge16 = c.edge;                         // sixteenths of a pixel from the seam
    const int reach = deep ? 18 : 10;
    const int t = edge16 < reach * 16 ? edge16 / reach : 16;
    const int dome = 16 * 16 - (16 - t) * (16 - t);    // 0..256, rounded shoulder
    const int rough = fractalNoise(216, wx, wy, 20, 20, 16, 20, 3) - 512;
    const int domeHeight = deep ? 18 : 8;
    Relief r;
    r.height = dome * domeHeight / 16 + rough * 16 * 4 / 512;
    r.seam = deep ? (edge16 < 16 * 6 ? edge16 / 6 : 16) : 16;
    r.boulder = c.id;
    return r;
}

struct PieceSample {
    bool rock;
    int depth;
    int height;
    int seam;
    int boulder;
};

PieceSample sample(const PieceFrame& f, int x, int y) {
    int vx, vy;
    floorOffset(f, x, y, vx, vy);
    const int depth = isqrt(int64_t(vx) * vx + int64_t(vy) * vy);
    const int wx = wrap(x + f.worldX, kCellWidth), wy = wrap(y + f.worldY, kCellHeight);
    const Relief r = relief(wx, wy);
    const int bias = static_cast<int>(hash2(217, r.boulder, 1) % 61) - 30;
    const int rough = (fractalNoise(218, wx, wy, 40, 40, 8, 10, 3) - 512) * 22 / 512;
    const int reach = depth + bias + rough + (16 - r.seam) * 2;
    PieceSample s;
    s.rock = depth < kSolidDepth || (reach < kBreakDepth && depth < kMaxDepth);
    s.depth = depth;
    // The wall rises away from the floor, so its face looks toward the light.
    s.height = r.height + depth * 6;
    s.seam = r.seam;
    s.boulder = r.boulder;
    return s;
}

}  // namespace

IndexedImage drawWallPiece(Piece p) {
    const Palette& pal = palette();
    const PieceFrame f = frameOf(p);
    const int gw = f.w + 2, gh = f.h + 2;  // one pixel of border for the slopes
    std::vector<PieceSample> grid(static_cast<size_t>(gw) * gh);
    for (int y = 0; y < gh; ++y)
        for (int x = 0; x < gw; ++x) grid[static_cast<size_t>(y) * gw + x] = sample(f, x - 1, y - 1);
    auto at = [&](int x, int y) -> const PieceSample& { return grid[static_cast<size_t>(y + 1) * gw + (x + 1)]; };

    IndexedImage out(f.w, f.h, kKeyIndex);
    for (int y = 0; y < f.h; ++y)
        for (int x = 0; x < f.w; ++x) {
            const PieceSample& s = at(x, y);
            if (!s.rock) continue;
            // Surface normal from the relief's slope; the light comes from the
            // open floor, tipped toward the upper left of the screen.
            const int64_t nx = -(at(x + 1, y).height - at(x - 1, y).height);
            const int64_t ny = -(at(x, y + 1).height - at(x, y - 1).height);
            const int64_t nz = 2 * 16;
            int vx, vy;
            floorOffset(f, x, y, vx, vy);
            int64_t lx = -9, ly = -9;
            if (s.depth > 0) {
                lx -= vx * 16 / s.depth;
                ly -= vy * 16 / s.depth;
            } else {
                lx += f.floorLeft ? -16 : (f.floorRight ? 16 : 0);
                ly += f.floorAbove ? -16 : (f.floorBelow ? 16 : 0);
            }
            const int64_t lz = 14;
            const int64_t nLen = isqrt(nx * nx + ny * ny + nz * nz), lLen = isqrt(lx * lx + ly * ly + lz * lz);
            const int64_t diffuse = (nx * lx + ny * ly + nz * lz) * 256 / (nLen * lLen);  // -256..256
            int shade = 16 * 1 + static_cast<int>((diffuse > 0 ? diffuse : diffuse / 4) * 16 * 8 / 256);
            shade += static_cast<int>(hash2(221, s.boulder, 2) % 25) - 12;  // boulders differ in tone
            // Crevices hold shadow; the light fades with depth into the wall.
            shade -= (16 - s.seam) * 2;
            shade -= s.depth * 16 * 5 / kMaxDepth;
            shade += static_cast<int>(hash2(219, x + f.worldX, y + f.worldY) & 15) - 8;
            if (s.depth < 3 && s.seam > 8) shade += 24 - s.depth * 6;  // the lip where rock meets floor
            bool rim = false;              // rock that borders the dark gets a dark edge
            for (int k = 0; k < 4 && !rim; ++k) {
                const int ax = x + (k == 0) - (k == 1), ay = y + (k == 2) - (k == 3);
                if (!at(ax, ay).rock) rim = true;
            }
            if (s.seam < 4) shade = 4 + s.seam * 3;
            const int wx = wrap(x + f.worldX, kCellWidth), wy = wrap(y + f.worldY, kCellHeight);
            out.at(x, y) = rim ? pal.rock[0] : pal.rock[(shade < 0 ? 0 : shade + bayer4(wx, wy)) / 16];
        }
    return out;
}

}  // namespace assetgen
