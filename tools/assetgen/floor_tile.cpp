// The cave floor: packed earth in plates with a few cracks, pebbles and small
// glowing crystals. Every feature wraps around the tile's edges, so cells laid
// side by side and row above row show no seams.
#include <vector>

#include "background_sheet.h"
#include "noise.h"
#include "palette.h"
#include "rng.h"

namespace assetgen {

namespace {

constexpr int W = kCellWidth;
constexpr int H = kCellHeight;

enum Material : uint8_t { kEarth, kStone, kCrystal, kMoss };

// Shades are kept in sixteenths so the final step can dither between them.
struct FloorCanvas {
    std::vector<uint8_t> material = std::vector<uint8_t>(W * H, kEarth);
    std::vector<int> shade = std::vector<int>(W * H, 0);
    int& at(int x, int y) { return shade[static_cast<size_t>(wrap(y, H) * W + wrap(x, W))]; }
    uint8_t& mat(int x, int y) { return material[static_cast<size_t>(wrap(y, H) * W + wrap(x, W))]; }
};

void paintEarth(FloorCanvas& c) {
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const int body = fractalNoise(101, x, y, 80, 80, 4, 5, 4);  // mottled earth
            const int pools = valueNoise(102, x, y, 160, 200, 2, 2);    // slow light and shadow
            const int clumps = valueNoise(112, x, y, 4, 4, 80, 100);    // packed grains
            const int grain = static_cast<int>(hash2(103, x, y) & 15);
            int s = 16 * 5 + (body - 512) * 44 / 512 + (pools - 512) * 36 / 512 + (clumps - 512) * 10 / 512 + (grain - 8);
            // A few jagged cracks where the packed earth dried out.
            const int warpX = (valueNoise(113, x, y, 10, 10, 32, 40) - 512) * 5 / 512;
            const int warpY = (valueNoise(114, x, y, 10, 10, 32, 40) - 512) * 5 / 512;
            const CellSample plate = cellNoise(104, x + warpX, y + warpY, W, H, 5, 5);
            const int crackMask = valueNoise(106, x, y, 40, 40, 8, 10);
            if (plate.edge < 14 && crackMask > 600) s = 16 * 1 + 4;
            else if (plate.edge < 30 && crackMask > 600) s -= 8;
            c.at(x, y) = s;
        }
    // A lit lip on the lower side of every crack reads as depth.
    std::vector<int> copy = c.shade;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (copy[static_cast<size_t>(wrap(y - 1, H) * W + x)] <= 16 * 1 + 4 && copy[static_cast<size_t>(y * W + x)] > 16 * 2)
                c.at(x, y) += 14;
}

void paintMossPatches(FloorCanvas& c) {
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const int m = fractalNoise(107, x, y, 40, 40, 8, 10, 3);
            if (m > 720 && static_cast<int>(hash2(108, x, y) & 1023) < (m - 720) * 3) {
                c.mat(x, y) = kMoss;
                c.at(x, y) = 8 + (m - 720) / 6;
            }
        }
}

void paintPebble(FloorCanvas& c, int cx, int cy, int rx, int ry, int base) {
    // Contact shadow first, offset down and right, then the stone over it.
    for (int dy = -ry - 1; dy <= ry + 2; ++dy)
        for (int dx = -rx - 1; dx <= rx + 2; ++dx) {
            const int sx = dx - 1, sy = dy - 1;
            if (sx * sx * ry * ry + sy * sy * rx * rx <= rx * rx * ry * ry && c.mat(cx + dx, cy + dy) == kEarth)
                c.at(cx + dx, cy + dy) -= 22;
        }
    for (int dy = -ry; dy <= ry; ++dy)
        for (int dx = -rx; dx <= rx; ++dx) {
            const int64_t e = int64_t(dx) * dx * ry * ry + int64_t(dy) * dy * rx * rx;
            const int64_t r2 = int64_t(rx) * rx * ry * ry;
            if (e > r2) continue;
            // Lit from the upper left; the rim darkens.
            int s = base * 16 - (dx * 24 / rx) - (dy * 28 / ry);
            if (e * 10 > r2 * 7) s -= 10;
            if (dy == ry || (int64_t(dx) * dx * ry * ry + int64_t(dy + 1) * (dy + 1) * rx * rx > r2)) s -= 18;
            c.mat(cx + dx, cy + dy) = kStone;
            c.at(cx + dx, cy + dy) = s;
        }
}

void paintPebbles(FloorCanvas& c) {
    Rng rng(109);
    for (int i = 0; i < 110; ++i) {
        const int big = rng.chance(12);
        const int rx = big ? rng.range(4, 7) : rng.range(1, 3);
        const int ry = big ? rng.range(3, 5) : rng.range(1, 2);
        paintPebble(c, rng.below(W), rng.below(H), rx, ry, rng.range(4, 7));
    }
}

// A cluster of crystal shards with a soft glow on the earth around it.
void paintCrystals(FloorCanvas& c, int cx, int cy, Rng& rng) {
    const int glow = 18;
    for (int dy = -glow; dy <= glow; ++dy)
        for (int dx = -glow; dx <= glow; ++dx) {
            const int d = isqrt(int64_t(dx) * dx * 4 + int64_t(dy) * dy * 9) / 2;  // squashed: seen from above
            if (d >= glow) continue;
            c.at(cx + dx, cy + dy) += (glow - d) * 40 / glow;
            if (c.mat(cx + dx, cy + dy) == kEarth && d < glow / 2 && static_cast<int>(hash2(110, dx, dy) & 7) == 0) {
                c.mat(cx + dx, cy + dy) = kCrystal;
                c.at(cx + dx, cy + dy) = 16;
            }
        }
    const int shards = rng.range(3, 5);
    for (int s = 0; s < shards; ++s) {
        const int bx = cx + rng.range(-5, 5), by = cy + rng.range(-1, 3);
        const int height = rng.range(5, 11), half = rng.range(1, 2), lean = rng.range(-3, 3);
        for (int t = 0; t <= height; ++t) {
            const int y = by - t;
            const int mid = bx + lean * t / height;
            const int w = (t < height * 2 / 3) ? half : half * (height - t) * 3 / (height + 1);
            for (int x = mid - w; x <= mid + w; ++x) {
                int shade = (x < mid) ? 4 : (x == mid ? 3 : 2);
                if (t >= height - 1) shade = 5;
                if (x == mid + w && w > 0) shade = 1;
                c.mat(x, y) = kCrystal;
                c.at(x, y) = shade * 16 + 8;
            }
        }
        c.mat(bx, by + 1) = kEarth;  // a dark foot grounds the shard
        c.at(bx, by + 1) = 16;
    }
}

}  // namespace

IndexedImage drawFloorTile() {
    const Palette& pal = palette();
    FloorCanvas c;
    paintEarth(c);
    paintMossPatches(c);
    paintPebbles(c);
    Rng rng(111);
    for (int i = 0; i < 3; ++i) paintCrystals(c, rng.below(W), rng.below(H), rng);

    IndexedImage tile(W, H, 0);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const int s = (c.at(x, y) + bayer4(x, y)) / 16;
            switch (c.mat(x, y)) {
                case kStone: tile.at(x, y) = pal.rock[s]; break;
                case kCrystal: tile.at(x, y) = pal.crystal[s]; break;
                case kMoss: tile.at(x, y) = pal.moss[s]; break;
                default: tile.at(x, y) = pal.earth[s]; break;
            }
        }
    return tile;
}

}  // namespace assetgen
