#include "gdi/wide_line.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

#include "gdi/digital_ellipse.h"
#include "gdi/shape_cache.h"

namespace qmp::gdi {
namespace {

using Wide = __int128;

// Sorts a handful of values in place (std::sort on tiny arrays trips GCC 12's bounds warnings).
template <typename T, typename Less>
void sortFew(T* values, int count, Less less) {
    for (int i = 1; i < count; ++i)
        for (int j = i; j > 0 && less(values[j], values[j - 1]); --j) std::swap(values[j], values[j - 1]);
}

// The pen's dot: the rows of the ellipse in a width x width box whose top-left
// corner sits width / 2 up and left of the point (even widths lean up and left).
class PenDot {
public:
    explicit PenDot(int64_t width) : width_(width) {
        if (width > kKept) {
            ellipse_.emplace(width, width);
            return;
        }
        static std::unique_ptr<std::vector<PixelRun>> kept[kKept + 1];
        if (kept[width] == nullptr) {
            ellipse_.emplace(width, width);
            kept[width] = std::make_unique<std::vector<PixelRun>>();
            for (int64_t row = 0; row < width; ++row) kept[width]->push_back(compute(row));
        }
        rows_ = kept[width]->data();
    }

    int64_t top() const { return -(width_ / 2); }
    int64_t bottom() const { return width_ - width_ / 2 - 1; }
    // Columns [first, last] of row dy (top() .. bottom()) from the point.
    PixelRun row(int64_t dy) const { return rows_ != nullptr ? rows_[dy - top()] : compute(dy - top()); }

private:
    static constexpr int64_t kKept = 64;  // widths whose rows are worked out once

    PixelRun compute(int64_t row) const {
        const PixelRun right = ellipse_->rightRun(row);
        return PixelRun{width_ - 1 - right.last + top(), right.last + top()};
    }

    int64_t width_;
    std::optional<DigitalEllipse> ellipse_;
    const PixelRun* rows_ = nullptr;
};

// One component of the half-width offset across the line, v = n w / (2 |d|)
// for the component n of the normal: away from zero on the side that bounds
// the line's rows on the right, to nearest (halves up) on the other. T holds
// the squares exactly: 64 bits for the demo's short lines, 128 beyond.
template <typename T>
int64_t awayFromZero(int64_t n, int64_t width, T length2) {
    // ceil(|v|): the smallest k with 4 k^2 length2 >= (n w)^2.
    const T nw = T(n < 0 ? -n : n) * width, nw2 = nw * nw;
    auto enough = [&](T k) { return 4 * k * k * length2 >= nw2; };
    T k = static_cast<T>(std::ceil(static_cast<double>(nw) / (2 * std::sqrt(static_cast<double>(length2)))));
    while (k > 0 && enough(k - 1)) --k;
    while (!enough(k)) ++k;
    return n < 0 ? -static_cast<int64_t>(k) : static_cast<int64_t>(k);
}
template <typename T>
int64_t nearestHalfUp(int64_t n, int64_t width, T length2) {
    // floor(v + 1/2): for v >= 0 the largest k with (2k - 1) sqrt(length2) <= |n| w,
    // for v < 0 minus the smallest k with (2k + 1) sqrt(length2) >= |n| w.
    const T nw = T(n < 0 ? -n : n) * width, nw2 = nw * nw;
    const double guess = std::floor(static_cast<double>(nw) / std::sqrt(static_cast<double>(length2)) / 2 + 0.5);
    T k = static_cast<T>(std::max(guess, 0.0));
    if (n >= 0) {
        auto within = [&](T j) { return j == 0 || (2 * j - 1) * (2 * j - 1) * length2 <= nw2; };
        while (!within(k)) --k;
        while (within(k + 1)) ++k;
        return static_cast<int64_t>(k);
    }
    auto reaches = [&](T j) { return (2 * j + 1) * (2 * j + 1) * length2 >= nw2; };
    while (k > 0 && reaches(k - 1)) --k;
    while (!reaches(k)) ++k;
    return -static_cast<int64_t>(k);
}

template <typename T>
int64_t offset(int64_t n, int64_t width, T length2, bool right) {
    return right ? awayFromZero(n, width, length2) : nearestHalfUp(n, width, length2);
}

// The band between the two ends: a four-cornered polygon filled as Polygon fills.
class Band {
public:
    Band(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int64_t width) {
        const int64_t dx = x1 - x0, dy = y1 - y0;
        // The normal (dy, -dx) points to side A, (-dy, dx) to side B.
        const bool aIsRight = dy > 0, bIsRight = dy < 0;
        int64_t ax, ay, bx, by;
        constexpr int64_t small = int64_t(1) << 13;
        if (std::llabs(dx) < small && std::llabs(dy) < small && width < small) {
            const int64_t length2 = dx * dx + dy * dy;
            ax = offset(dy, width, length2, aIsRight), ay = offset(-dx, width, length2, aIsRight);
            bx = offset(-dy, width, length2, bIsRight), by = offset(dx, width, length2, bIsRight);
        } else {
            const Wide length2 = Wide(dx) * dx + Wide(dy) * dy;
            ax = offset(dy, width, length2, aIsRight), ay = offset(-dx, width, length2, aIsRight);
            bx = offset(-dy, width, length2, bIsRight), by = offset(dx, width, length2, bIsRight);
        }
        const int64_t xs[4] = {x0 + ax, x1 + ax, x1 + bx, x0 + bx}, ys[4] = {y0 + ay, y1 + ay, y1 + by, y0 + by};
        for (int i = 0; i < 4; ++i) {
            const int j = (i + 1) % 4;
            if (ys[i] == ys[j]) continue;
            edges_[count_++] = ys[i] < ys[j] ? Edge{xs[i], ys[i], xs[j], ys[j]} : Edge{xs[j], ys[j], xs[i], ys[i]};
        }
    }

    // The band's pixels in `row`: left crossing included, right one left out.
    PixelRun row(int64_t row) const {
        int64_t starts[4];
        int n = 0;
        for (int i = 0; i < count_; ++i) {
            const Edge& e = edges_[i];
            if (row < e.topY || row >= e.bottomY) continue;
            const int64_t d = e.bottomY - e.topY;
            starts[n++] = ceilDivide(e.topX * d + (row - e.topY) * (e.bottomX - e.topX), d);
        }
        if (n < 2) return PixelRun{};
        sortFew(starts, n, [](int64_t p, int64_t q) { return p < q; });
        return PixelRun{starts[0], starts[n - 1] - 1};  // convex: one run
    }

private:
    struct Edge {
        int64_t topX, topY, bottomX, bottomY;
    };
    static int64_t ceilDivide(int64_t a, int64_t b) {  // b > 0
        const int64_t q = a / b;
        return (a % b != 0 && a > 0) ? q + 1 : q;
    }
    Edge edges_[4]{};
    int count_ = 0;
};

// Fills the union of up to three runs of one row.
void unionRow(const Raster& r, int64_t y, PixelRun* runs, int count, uint8_t index) {
    sortFew(runs, count, [](const PixelRun& p, const PixelRun& q) { return p.first < q.first; });
    PixelRun current{};
    for (int i = 0; i < count; ++i) {
        if (runs[i].empty()) continue;
        if (!current.empty() && runs[i].first <= current.last + 1) {
            current.last = std::max(current.last, runs[i].last);
            continue;
        }
        if (!current.empty()) r.span(y, current.first, current.last + 1, index);
        current = runs[i];
    }
    if (!current.empty()) r.span(y, current.first, current.last + 1, index);
}


void drawWideLine(const Raster& r, int64_t x0, int64_t y0, int64_t x1, int64_t y1, int64_t width, uint8_t index) {
    const PenDot dot(width);
    const bool point = x0 == x1 && y0 == y1;
    std::optional<Band> band;
    if (!point) band.emplace(x0, y0, x1, y1, width);
    const int64_t reach = width - width / 2;  // no part lies further from the end points
    const int64_t firstRow = std::max<int64_t>(0, std::min(y0, y1) - reach);
    const int64_t lastRow = std::min<int64_t>(r.height - 1, std::max(y0, y1) + reach);
    for (int64_t y = firstRow; y <= lastRow; ++y) {
        PixelRun runs[3];
        int count = 0;
        for (const auto& [x, py] : {std::pair{x0, y0}, std::pair{x1, y1}}) {
            if (y - py < dot.top() || y - py > dot.bottom() || (point && count > 0)) continue;
            const PixelRun d = dot.row(y - py);
            runs[count++] = PixelRun{x + d.first, x + d.last};
        }
        if (band) runs[count++] = band->row(y);
        unionRow(r, y, runs, count, index);
    }
}

}  // namespace

void wideLine(const Raster& r, int64_t x0, int64_t y0, int64_t x1, int64_t y1, int64_t width, uint8_t index) {
    width = std::clamp<int64_t>(width, 2, kCoordinateLimit * 2);
    const int64_t dx = x1 - x0, dy = y1 - y0;
    constexpr int64_t kLongest = 32, kWidest = 16;  // the short lines whose shapes are kept
    if (std::llabs(dx) > kLongest || std::llabs(dy) > kLongest || width > kWidest) {
        drawWideLine(r, x0, y0, x1, y1, width, index);
        return;
    }
    static ShapeCache shortLines;
    const int64_t margin = width - width / 2;
    const int64_t left = std::min<int64_t>(0, dx) - margin, top = std::min<int64_t>(0, dy) - margin;
    const int across = static_cast<int>(std::llabs(dx) + 2 * margin + 1);
    const int down = static_cast<int>(std::llabs(dy) + 2 * margin + 1);
    const uint64_t key = static_cast<uint64_t>(((width * 65) + dy + kLongest) * 65 + dx + kLongest);
    const std::vector<ShapeRun>& runs = shortLines.find(key, across, down, [&](const Raster& scratch) {
        drawWideLine(scratch, -left, -top, dx - left, dy - top, width, 1);
    });
    stamp(r, runs, x0 + left, y0 + top, {-1, index, -1});
}

}  // namespace qmp::gdi
