#include "platform/gdi/raster_reference.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace gdi_test {
namespace {

using Wide = __int128;

// The value of the given parity nearest sqrt(num / den), a tie to the smaller.
int64_t nearest(Wide num, Wide den, int64_t parity) {
    int64_t v = parity;
    while (Wide(v + 2) * (v + 2) * den <= num) v += 2;
    return num > Wide(v + 1) * (v + 1) * den ? v + 2 : v;
}

}  // namespace

std::set<std::pair<int64_t, int64_t>> walkEllipseOutline(int64_t width, int64_t height) {
    const int64_t a = width - 1, b = height - 1;  // doubled half axes; offsets from the centre are doubled too
    const Wide aa = Wide(a) * a, bb = Wide(b) * b;
    std::set<std::pair<int64_t, int64_t>> pixels;
    auto add = [&](int64_t u, int64_t v) {
        for (int64_t su : {-1, 1})
            for (int64_t sv : {-1, 1}) pixels.insert({(a + su * u) / 2, (b + sv * v) / 2});
    };
    int64_t u = a % 2, v = nearest(aa * bb - bb * u * u, aa, b % 2);
    while (true) {
        add(u, v);
        if (bb * u >= aa * v || u + 2 > a) break;
        u += 2;
        if (!(aa * Wide(v - 1) * (v - 1) < aa * bb - bb * Wide(u) * u)) v -= 2;
    }
    while (v > b % 2) {
        v -= 2;
        if (aa * bb - aa * Wide(v) * v > bb * Wide(u + 1) * (u + 1)) u += 2;
        add(u, v);
    }
    return pixels;
}

void referenceWideLine(const qmp::gdi::Raster& r, int64_t x0, int64_t y0, int64_t x1, int64_t y1, int64_t width,
                       uint8_t index) {
    std::map<int64_t, std::pair<int64_t, int64_t>> dotRows;  // row -> first and last column
    for (const auto& [c, row] : walkEllipseOutline(width, width)) {
        auto [it, fresh] = dotRows.try_emplace(row, c, c);
        it->second = {std::min(it->second.first, c), std::max(it->second.second, c)};
    }
    for (const auto& [px, py] : {std::pair{x0, y0}, std::pair{x1, y1}})
        for (const auto& [row, run] : dotRows)
            r.span(py + row - width / 2, px + run.first - width / 2, px + run.second - width / 2 + 1, index);
    if (x0 == x1 && y0 == y1) return;
    const double length = std::hypot(double(x1 - x0), double(y1 - y0));
    const double vx = double(y1 - y0) * width / (2 * length), vy = -double(x1 - x0) * width / (2 * length);
    auto away = [](double v) { return v < 0 ? -std::ceil(-v) : std::ceil(v); };
    auto nearestUp = [](double v) { return std::floor(v + 0.5); };
    // Side A lies along (vx, vy), side B opposite; the side facing +x bounds the rows on the right.
    const double ax = vx > 0 ? away(vx) : nearestUp(vx), ay = vx > 0 ? away(vy) : nearestUp(vy);
    const double bx = vx < 0 ? away(-vx) : nearestUp(-vx), by = vx < 0 ? away(-vy) : nearestUp(-vy);
    const POINT band[] = {{LONG(x0 + ax), LONG(y0 + ay)}, {LONG(x1 + ax), LONG(y1 + ay)},
                          {LONG(x1 + bx), LONG(y1 + by)}, {LONG(x0 + bx), LONG(y0 + by)}};
    qmp::gdi::fillPolygon(r, band, 4, index);
}

}  // namespace gdi_test
