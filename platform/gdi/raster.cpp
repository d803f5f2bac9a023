#include "gdi/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace qmp::gdi {
namespace {

int64_t floorDiv(int64_t a, int64_t b) {  // b > 0
    int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}
int64_t ceilDiv(int64_t a, int64_t b) {  // b > 0
    int64_t q = a / b;
    return (a % b != 0 && a > 0) ? q + 1 : q;
}

// --- Wide lines ------------------------------------------------------------

// Whether the pixel at doubled coordinates (px, py) lies in the capsule of
// radius w (doubled) around A-B. A centre exactly on the edge counts as inside
// when it would be inside after an infinitesimal nudge down and right, which
// keeps the top and left edges and leaves the bottom and right ones.
template <typename T>
bool inCapsule(T px, T py, T ax, T ay, T bx, T by, T w) {
    const T w2 = w * w;
    const T ex = px - ax, ey = py - ay;
    const T dA = ex * ex + ey * ey - w2;
    if (dA < 0 || (dA == 0 && ex + ey < 0)) return true;
    const T fx = px - bx, fy = py - by;
    const T dB = fx * fx + fy * fy - w2;
    if (dB < 0 || (dB == 0 && fx + fy < 0)) return true;
    const T dx = bx - ax, dy = by - ay;
    const T length2 = dx * dx + dy * dy;
    if (length2 == 0) return false;
    const T along = ex * dx + ey * dy;
    if (along < 0 || along > length2) return false;
    const T cross = ex * dy - ey * dx;
    const T d = cross * cross - w2 * length2;
    if (d != 0) return d < 0;
    return cross * (dy - dx) <= 0;
}

template <typename T>
struct Capsule {
    T ax, ay, bx, by, w;
    int64_t left, right, top, bottom;  // the pixels it can reach, clipped to the target

    Capsule(const Raster& r, int64_t x0, int64_t y0, int64_t x1, int64_t y1, int64_t width) {
        const int64_t shift = (width % 2 == 0) ? 1 : 0;
        ax = T(2 * x0 - shift), ay = T(2 * y0 - shift), bx = T(2 * x1 - shift), by = T(2 * y1 - shift);
        w = T(width);
        const int64_t reach = width / 2 + 1;
        left = std::max<int64_t>(0, std::min(x0, x1) - reach);
        right = std::min<int64_t>(r.width - 1, std::max(x0, x1) + reach);
        top = std::max<int64_t>(0, std::min(y0, y1) - reach);
        bottom = std::min<int64_t>(r.height - 1, std::max(y0, y1) + reach);
    }
    bool inside(int64_t x, int64_t y) const { return inCapsule<T>(T(2 * x), T(2 * y), ax, ay, bx, by, w); }

    // Row y's run, searched from both ends of the reach. False when the row is empty.
    bool scanRow(int64_t y, int64_t* first, int64_t* last) const {
        int64_t f = left;
        while (f <= right && !inside(f, y)) ++f;
        if (f > right) return false;
        int64_t l = right;
        while (l > f && !inside(l, y)) --l;
        *first = f;
        *last = l;
        return true;
    }

    // Row y's run found from the run [pf, pl] of the row before. The capsule is
    // convex, so each row is one run and its ends move little from row to row;
    // when the runs do not meet, the row is searched whole.
    bool followRow(int64_t y, int64_t pf, int64_t pl, int64_t* first, int64_t* last) const {
        const bool firstIn = inside(pf, y), lastIn = inside(pl, y);
        int64_t f = pf, l = pl;
        if (firstIn) {
            while (f > left && inside(f - 1, y)) --f;
        } else {
            while (f < pl && !inside(f + 1, y)) ++f;
            if (f >= pl && !lastIn) return scanRow(y, first, last);
            ++f;
        }
        if (lastIn) {
            while (l < right && inside(l + 1, y)) ++l;
        } else {
            while (l > f && !inside(l - 1, y)) --l;
            --l;
        }
        *first = f;
        *last = l;
        return true;
    }
};

template <typename T>
void fillCapsule(const Raster& r, int64_t x0, int64_t y0, int64_t x1, int64_t y1, int64_t width, uint8_t index,
                 bool followRows) {
    const Capsule<T> capsule(r, x0, y0, x1, y1, width);
    bool previous = false;
    int64_t first = 0, last = 0;
    for (int64_t y = capsule.top; y <= capsule.bottom; ++y) {
        previous = previous && followRows ? capsule.followRow(y, first, last, &first, &last)
                                          : capsule.scanRow(y, &first, &last);
        if (previous) r.span(y, first, last + 1, index);
    }
}

// --- Ellipses --------------------------------------------------------------

using Wide = __int128;

// The run [first, last + 1) of row y inside the ellipse inscribed in
// [left, right) x [top, bottom), tested at pixel centres in doubled coordinates:
// u = 2x + 1 - (left + right), v = 2y + 1 - (top + bottom), inside when
// u^2 H^2 + v^2 W^2 <= W^2 H^2. Empty when first > last.
struct Run {
    int64_t first = 1, last = 0;
    bool empty() const { return first > last; }
};

Run ellipseRun(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t y) {
    Run run;
    const int64_t w = right - left, h = bottom - top;
    if (w <= 0 || h <= 0) return run;
    const int64_t v = 2 * y + 1 - (top + bottom);
    if (v < -h || v > h) return run;
    const Wide room = Wide(w) * w * (Wide(h) * h - Wide(v) * v);  // u^2 h^2 must not exceed this
    const Wide h2 = Wide(h) * h;
    int64_t m = static_cast<int64_t>(std::sqrt(static_cast<long double>(room) / static_cast<long double>(h2)));
    while (Wide(m + 1) * (m + 1) * h2 <= room) ++m;
    while (m > 0 && Wide(m) * m * h2 > room) --m;
    const int64_t c = left + right - 1;  // u = 2x - c
    run.first = ceilDiv(c - m, 2);
    run.last = floorDiv(c + m, 2);
    return run;
}

void fillRun(const Raster& r, int64_t y, int64_t first, int64_t last, int index) {
    if (index >= 0 && first <= last) r.span(y, first, last + 1, static_cast<uint8_t>(index));
}

}  // namespace

void Raster::span(int64_t y, int64_t x0, int64_t x1, uint8_t index) const {
    if (y < 0 || y >= height) return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, width);
    if (x0 >= x1) return;
    std::memset(bits + static_cast<size_t>(y) * static_cast<size_t>(pitch) + static_cast<size_t>(x0), index,
                static_cast<size_t>(x1 - x0));
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
    // axis at minorStart + minorStep * f(i), f(i) = floor((2 i minor + major) / (2 major)),
    // the exact position rounded half away from the start. Clip the steps first.
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
        firstStep = std::max(firstStep, ceilDiv(2 * major * lowOffset - major, 2 * minor));
        lastStep = std::min(lastStep, ceilDiv(2 * major * (highOffset + 1) - major, 2 * minor) - 1);
    }
    for (int64_t i = firstStep; i <= lastStep; ++i) {
        const int64_t m = majorStart + majorStep * i;
        const int64_t n = minorStart + minorStep * ((2 * i * minor + major) / (2 * major));
        if (xMajor) r.plot(m, n, index);
        else r.plot(n, m, index);
    }
}

namespace {

// Short wide lines come back again and again: a fireworks frame draws two
// thousand of a few hundred shapes. Moving both ends by whole pixels moves
// every pixel of the line alike, so the rows of a short line are kept by its
// shape (the offset between its ends and its width) and only placed and
// clipped when drawn again.
class ShortLineShapes {
public:
    static constexpr int64_t kLongest = 32;  // |dx| and |dy| up to this
    static constexpr int64_t kWidest = 16;

    static bool covers(int64_t dx, int64_t dy, int64_t width) {
        return std::llabs(dx) <= kLongest && std::llabs(dy) <= kLongest && width <= kWidest;
    }

    void draw(const Raster& r, int64_t x0, int64_t y0, int64_t dx, int64_t dy, int64_t width, uint8_t index) {
        const Shape& shape = find(dx, dy, width);
        int64_t y = y0 + shape.top;
        for (size_t i = 0; i + 1 < shape.runs.size(); i += 2, ++y)
            if (shape.runs[i] <= shape.runs[i + 1]) r.span(y, x0 + shape.runs[i], x0 + shape.runs[i + 1] + 1, index);
    }

private:
    struct Shape {
        int64_t top = 0;               // the first row, from the line's start
        std::vector<int16_t> runs;     // first and last pixel of each row, from the start; empty when first > last
    };
    // Room for every shape: the start sits this far from the pixel store's edges.
    static constexpr int64_t kMargin = kLongest + kWidest;
    static constexpr size_t kMostShapes = 8192;  // then start afresh, so memory stays bounded

    const Shape& find(int64_t dx, int64_t dy, int64_t width) {
        const int64_t key = (width * (2 * kLongest + 1) + dy + kLongest) * (2 * kLongest + 1) + dx + kLongest;
        auto found = shapes_.find(key);
        if (found != shapes_.end()) return found->second;
        if (shapes_.size() >= kMostShapes) shapes_.clear();
        return shapes_.emplace(key, make(dx, dy, width)).first->second;
    }

    static Shape make(int64_t dx, int64_t dy, int64_t width) {
        const Raster room{nullptr, 0, static_cast<int>(2 * kMargin + 1), static_cast<int>(2 * kMargin + 1)};
        const Capsule<int64_t> capsule(room, kMargin, kMargin, kMargin + dx, kMargin + dy, width);
        Shape shape;
        shape.top = capsule.top - kMargin;
        bool previous = false;
        int64_t first = 0, last = 0;
        for (int64_t y = capsule.top; y <= capsule.bottom; ++y) {
            previous = previous ? capsule.followRow(y, first, last, &first, &last) : capsule.scanRow(y, &first, &last);
            shape.runs.push_back(static_cast<int16_t>(previous ? first - kMargin : 1));
            shape.runs.push_back(static_cast<int16_t>(previous ? last - kMargin : 0));
        }
        return shape;
    }

    std::unordered_map<int64_t, Shape> shapes_;
};

}  // namespace

void wideLine(const Raster& r, int64_t x0, int64_t y0, int64_t x1, int64_t y1, int64_t width, uint8_t index) {
    width = std::min<int64_t>(std::max<int64_t>(width, 1), kCoordinateLimit * 2);
    if (ShortLineShapes::covers(x1 - x0, y1 - y0, width)) {
        static ShortLineShapes shortLines;
        shortLines.draw(r, x0, y0, x1 - x0, y1 - y0, width, index);
        return;
    }
    const int64_t small = 1 << 12;  // below this every product fits in 64 bits
    const bool fits = std::llabs(x0) < small && std::llabs(y0) < small && std::llabs(x1) < small &&
                      std::llabs(y1) < small && width < small && r.width < small && r.height < small;
    if (fits) fillCapsule<int64_t>(r, x0, y0, x1, y1, width, index, true);
    else fillCapsule<Wide>(r, x0, y0, x1, y1, width, index, true);
}

void wideLineRowByRow(const Raster& r, int64_t x0, int64_t y0, int64_t x1, int64_t y1, int64_t width, uint8_t index) {
    width = std::min<int64_t>(std::max<int64_t>(width, 1), kCoordinateLimit * 2);
    fillCapsule<Wide>(r, x0, y0, x1, y1, width, index, false);
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

void ellipse(const Raster& r, int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t penWidth,
             int fillIndex, int penIndex) {
    const int64_t firstRow = std::max<int64_t>(0, top);
    const int64_t lastRow = std::min<int64_t>(r.height - 1, bottom - 1);
    if (penIndex < 0 || penWidth < 1) penIndex = -1;
    penWidth = std::min(penWidth, (right - left + bottom - top) / 2 + 1);
    for (int64_t y = firstRow; y <= lastRow; ++y) {
        const Run outer = ellipseRun(left, top, right, bottom, y);
        if (outer.empty()) continue;
        fillRun(r, y, outer.first, outer.last, fillIndex);
        if (penIndex < 0) continue;
        // The pen covers the part of the row outside the interior: for a one-pixel pen
        // the pixels with a neighbour outside the ellipse, for wider pens what lies
        // outside the ellipse shrunk by the pen's width on every side.
        Run inner;
        if (penWidth == 1) {
            const Run above = ellipseRun(left, top, right, bottom, y - 1);
            const Run below = ellipseRun(left, top, right, bottom, y + 1);
            inner.first = std::max({outer.first + 1, above.first, below.first});
            inner.last = std::min({outer.last - 1, above.last, below.last});
            if (above.empty() || below.empty()) inner = Run{};
        } else {
            inner = ellipseRun(left + penWidth, top + penWidth, right - penWidth, bottom - penWidth, y);
        }
        if (inner.empty()) {
            fillRun(r, y, outer.first, outer.last, penIndex);
        } else {
            fillRun(r, y, outer.first, inner.first - 1, penIndex);
            fillRun(r, y, inner.last + 1, outer.last, penIndex);
        }
    }
}

}  // namespace qmp::gdi
