#include "gdi/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace qmp::gdi {
namespace {

int64_t ceilDiv(int64_t a, int64_t b) {  // b > 0
    int64_t q = a / b;
    return (a % b != 0 && a > 0) ? q + 1 : q;
}

}  // namespace

void Raster::span(int64_t y, int64_t x0, int64_t x1, uint8_t index) const {
    if (y < 0 || y >= height) return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, width);
    if (x0 >= x1) return;
    uint8_t* at = bits + static_cast<size_t>(y) * static_cast<size_t>(pitch) + static_cast<size_t>(x0);
    const size_t n = static_cast<size_t>(x1 - x0);
    // Most spans are a few pixels of a short line: two overlapping stores of a
    // word cost less than a call to memset.
    if (n >= 4 && n <= 16) {
        const uint64_t eight = 0x0101010101010101ull * index;
        if (n >= 8) {
            std::memcpy(at, &eight, 8);
            std::memcpy(at + n - 8, &eight, 8);
        } else {
            std::memcpy(at, &eight, 4);
            std::memcpy(at + n - 4, &eight, 4);
        }
    } else if (n < 4) {
        at[0] = index;
        at[n / 2] = index;
        at[n - 1] = index;
    } else {
        std::memset(at, index, n);
    }
}

void thinLine(const Raster& r, int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint8_t index) {
    const int64_t dx = x1 - x0, dy = y1 - y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t major = xMajor ? std::llabs(dx) : std::llabs(dy);
    const int64_t minor = xMajor ? std::llabs(dy) : std::llabs(dx);
    if (major == 0) return;  // a line to its own start draws nothing
    const int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const int64_t majorStart = xMajor ? x0 : y0, minorStart = xMajor ? y0 : x0;
    const int64_t majorSize = xMajor ? r.width : r.height, minorSize = xMajor ? r.height : r.width;

    // Step i (0 <= i < major) draws at majorStart + majorStep * i, and on the minor
    // axis at minorStart + minorStep * f(i), f(i) = floor((2 i minor + bias) / (2 major)):
    // the exact position rounded to the nearest pixel, an exact half to the smaller
    // coordinate (up or left) whichever way the line runs, as Windows does.
    // Clip the steps first.
    const int64_t bias = minorStep > 0 ? major - 1 : major;
    int64_t firstStep = 0, lastStep = major - 1;
    if (majorStep > 0) {
        firstStep = std::max(firstStep, -majorStart);
        lastStep = std::min(lastStep, majorSize - 1 - majorStart);
    } else {
        firstStep = std::max(firstStep, majorStart - (majorSize - 1));
        lastStep = std::min(lastStep, majorStart);
    }
    const int64_t lowOffset = minorStep > 0 ? -minorStart : minorStart - (minorSize - 1);
    const int64_t highOffset = minorStep > 0 ? minorSize - 1 - minorStart : minorStart;
    if (minor == 0) {
        if (lowOffset > 0 || highOffset < 0) return;
    } else {
        firstStep = std::max(firstStep, ceilDiv(2 * major * lowOffset - bias, 2 * minor));
        lastStep = std::min(lastStep, ceilDiv(2 * major * (highOffset + 1) - bias, 2 * minor) - 1);
    }
    for (int64_t i = firstStep; i <= lastStep; ++i) {
        const int64_t m = majorStart + majorStep * i;
        const int64_t n = minorStart + minorStep * ((2 * i * minor + bias) / (2 * major));
        if (xMajor) r.plot(m, n, index);
        else r.plot(n, m, index);
    }
}

void fillPolygon(const Raster& r, const POINT* points, int count, uint8_t index) {
    if (count < 3) return;
    // Pixel centres are the integer points, as for lines, so the outline drawn
    // through the vertices lies on the fill's edge. An edge counts for the rows
    // from its top vertex to just above its bottom one, and a row's pixels run
    // from a left crossing (included) to a right one (excluded).
    struct Edge {
        int64_t topX, topY, bottomX, bottomY;
    };
    std::vector<Edge> edges;
    edges.reserve(static_cast<size_t>(count));
    int64_t minY = INT64_MAX, maxY = INT64_MIN;
    for (int i = 0; i < count; ++i) {
        const POINT& a = points[i];
        const POINT& b = points[(i + 1) % count];
        minY = std::min<int64_t>(minY, a.y);
        maxY = std::max<int64_t>(maxY, a.y);
        if (a.y == b.y) continue;
        edges.push_back(a.y < b.y ? Edge{a.x, a.y, b.x, b.y} : Edge{b.x, b.y, a.x, a.y});
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.topY < b.topY; });

    const int64_t firstRow = std::max<int64_t>(0, minY);
    const int64_t lastRow = std::min<int64_t>(r.height - 1, maxY - 1);
    std::vector<const Edge*> active;
    std::vector<int64_t> starts;  // first pixel at or right of each crossing
    size_t next = 0;
    for (int64_t row = firstRow; row <= lastRow; ++row) {
        while (next < edges.size() && edges[next].topY <= row) active.push_back(&edges[next++]);
        std::erase_if(active, [&](const Edge* e) { return e->bottomY <= row; });
        starts.clear();
        for (const Edge* e : active) {
            // Crossing x = topX + (row - topY) * (bottomX - topX) / (bottomY - topY) = n / d.
            const int64_t d = e->bottomY - e->topY;
            const int64_t n = e->topX * d + (row - e->topY) * (e->bottomX - e->topX);
            starts.push_back(ceilDiv(n, d));
        }
        std::sort(starts.begin(), starts.end());
        for (size_t i = 0; i + 1 < starts.size(); i += 2) r.span(row, starts[i], starts[i + 1], index);
    }
}

}  // namespace qmp::gdi
