// The rasteriser's own pieces against plain statements of what they draw:
// wide lines against their definition, the ellipse's rows against the walk
// along its curve.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "gdi/digital_ellipse.h"
#include "gdi/wide_line.h"
#include "platform/gdi/raster_reference.h"

// The platform finds a wide line's rows one by one, with exact arithmetic; the
// pixels must be those the line's plain statement gives, for short lines as
// the fireworks draw them, long ones, nearly straight ones and ones off the target.
TEST(WideLineDefinition, RowsMatchTheDotsAndTheBandOfTheDefinition) {
    constexpr int W = 96, H = 80;
    std::vector<uint8_t> drawn(W * H), defined(W * H);
    qmp::gdi::Raster drawnRaster{drawn.data(), W, W, H};
    qmp::gdi::Raster definedRaster{defined.data(), W, W, H};
    uint32_t state = 12345;
    auto next = [&](int range) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % static_cast<uint32_t>(range));
    };
    for (int i = 0; i < 20000; ++i) {
        int x0 = next(W + 40) - 20, y0 = next(H + 40) - 20;
        int reach = i % 10 == 0 ? 90 : 24;
        int x1 = x0 + next(2 * reach + 1) - reach, y1 = y0 + next(2 * reach + 1) - reach;
        if (i % 7 == 0) y1 = y0 + next(3) - 1;  // nearly horizontal
        if (i % 11 == 0) x1 = x0 + next(3) - 1;  // nearly vertical
        if (i % 13 == 0) x1 = x0, y1 = y0;       // a newborn particle
        int width = 2 + next(i % 50 == 0 ? 80 : 11);
        std::fill(drawn.begin(), drawn.end(), 0);
        std::fill(defined.begin(), defined.end(), 0);
        qmp::gdi::wideLine(drawnRaster, x0, y0, x1, y1, width, 1);
        gdi_test::referenceWideLine(definedRaster, x0, y0, x1, y1, width, 1);
        ASSERT_EQ(drawn, defined) << "(" << x0 << "," << y0 << ")-(" << x1 << "," << y1 << ") width " << width;
    }
}

// Each row of the ellipse is worked out on its own; together the rows must be
// the outline the walk along the curve finds, for every box up to 48 x 48.
TEST(DigitalEllipse, RowsMatchTheWalkAlongTheCurve) {
    for (int64_t w = 2; w <= 48; ++w) {
        for (int64_t h = 2; h <= 48; ++h) {
            const qmp::gdi::DigitalEllipse e(w, h);
            std::set<std::pair<int64_t, int64_t>> rows;
            for (int64_t row = 0; row < h; ++row) {
                const qmp::gdi::PixelRun run = e.rightRun(row);
                for (int64_t c = run.first; c <= run.last; ++c) rows.insert({c, row}), rows.insert({w - 1 - c, row});
            }
            ASSERT_EQ(rows, gdi_test::walkEllipseOutline(w, h)) << w << " x " << h;
        }
    }
}

// Spans of every length up to past the word-sized stores, clipped at both
// ends: exactly the pixels [x0, x1) inside the row change.
TEST(RasterSpan, FillsExactlyItsPixelsAtEveryLength) {
    constexpr int W = 48;
    std::vector<uint8_t> row(W * 3);
    const qmp::gdi::Raster raster{row.data(), W, W, 3};
    for (int x0 = -3; x0 < W; x0 += 5) {
        for (int n = 0; n <= 40; ++n) {
            std::fill(row.begin(), row.end(), 0);
            raster.span(1, x0, x0 + n, 7);
            for (int x = 0; x < W * 3; ++x) {
                const bool inside = x / W == 1 && x % W >= x0 && x % W < x0 + n;
                ASSERT_EQ(row[x], inside ? 7 : 0) << "x0 " << x0 << ", length " << n << ", pixel " << x;
            }
        }
    }
}
