#include "noise.h"

#include "rng.h"

namespace assetgen {

int floorDiv(int a, int b) {
    int q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

int wrap(int a, int period) {
    int m = a % period;
    return m < 0 ? m + period : m;
}

int isqrt(int64_t v) {
    if (v <= 0) return 0;
    int64_t r = 0, bit = int64_t(1) << 62;
    while (bit > v) bit >>= 2;
    while (bit != 0) {
        if (v >= r + bit) {
            v -= r + bit;
            r = (r >> 1) + bit;
        } else {
            r >>= 1;
        }
        bit >>= 2;
    }
    return static_cast<int>(r);
}

namespace {

// 0..1024 -> 0..1024 with zero slope at both ends.
int smooth(int t) { return static_cast<int>((int64_t(t) * t * (3 * 1024 - 2 * t)) >> 20); }

int lerp(int a, int b, int t) { return a + (((b - a) * t) >> 10); }

}  // namespace

int valueNoise(uint32_t seed, int x, int y, int cellW, int cellH, int periodX, int periodY) {
    const int cx = floorDiv(x, cellW), cy = floorDiv(y, cellH);
    const int tx = smooth((x - cx * cellW) * 1024 / cellW);
    const int ty = smooth((y - cy * cellH) * 1024 / cellH);
    auto corner = [&](int ix, int iy) {
        return static_cast<int>(hash2(seed, wrap(ix, periodX), wrap(iy, periodY)) & 1023);
    };
    int top = lerp(corner(cx, cy), corner(cx + 1, cy), tx);
    int bottom = lerp(corner(cx, cy + 1), corner(cx + 1, cy + 1), tx);
    return lerp(top, bottom, ty);
}

int fractalNoise(uint32_t seed, int x, int y, int cellW, int cellH, int periodX, int periodY, int octaves) {
    int sum = 0, weight = 0, w = 256;
    for (int o = 0; o < octaves && cellW > 0 && cellH > 0; ++o) {
        sum += valueNoise(seed + 7919u * static_cast<uint32_t>(o), x, y, cellW, cellH, periodX, periodY) * w;
        weight += w;
        w /= 2;
        cellW /= 2;
        cellH /= 2;
        periodX *= 2;
        periodY *= 2;
    }
    return weight ? sum / weight : 0;
}

CellSample cellNoise(uint32_t seed, int x, int y, int width, int height, int gridX, int gridY) {
    const int cw = width / gridX, ch = height / gridY;
    const int gx = floorDiv(x, cw), gy = floorDiv(y, ch);
    struct Candidate {
        int id, px, py;
        int64_t d2;
    } first{0, 0, 0, INT64_MAX}, second{0, 0, 0, INT64_MAX};
    for (int oy = -2; oy <= 2; ++oy)
        for (int ox = -2; ox <= 2; ++ox) {
            const int cx = gx + ox, cy = gy + oy;
            const int wx = wrap(cx, gridX), wy = wrap(cy, gridY);
            const uint32_t h = hash2(seed, wx, wy);
            // Jitter inside the middle 80% of the cell keeps the cells even in size.
            const int px = cx * cw + cw / 10 + static_cast<int>(h % static_cast<uint32_t>(cw * 8 / 10 + 1));
            const int py = cy * ch + ch / 10 + static_cast<int>((h >> 16) % static_cast<uint32_t>(ch * 8 / 10 + 1));
            const int64_t d2 = int64_t(x - px) * (x - px) + int64_t(y - py) * (y - py);
            Candidate c{wy * gridX + wx, px, py, d2};
            if (d2 < first.d2) {
                second = first;
                first = c;
            } else if (d2 < second.d2) {
                second = c;
            }
        }
    CellSample s;
    s.id = first.id;
    s.secondId = second.id;
    s.dx = x - first.px;
    s.dy = y - first.py;
    s.nearest = isqrt(first.d2);
    // Distance to the bisector of the two nearest points: (d2^2 - d1^2) / (2 |p2 - p1|).
    const int64_t sep = isqrt((int64_t(second.px - first.px) * (second.px - first.px) +
                               int64_t(second.py - first.py) * (second.py - first.py)) * 256);
    s.edge = sep > 0 ? static_cast<int>((second.d2 - first.d2) * 16 * 16 / (2 * sep)) : 1 << 20;
    return s;
}

int bayer4(int x, int y) {
    static const int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return m[wrap(y, 4)][wrap(x, 4)];
}

}  // namespace assetgen
