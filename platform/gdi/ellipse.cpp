#include "gdi/ellipse.h"

#include <algorithm>

#include "gdi/digital_ellipse.h"
#include "gdi/shape_cache.h"
#include "gdi/wide_line.h"

namespace qmp::gdi {
namespace {

// The outline's two runs in one row of the box, in target columns.
struct Row {
    PixelRun left, right;
};

Row rowOf(const DigitalEllipse& e, int64_t left, int64_t row) {
    const PixelRun right = e.rightRun(row);
    if (right.empty()) return Row{};
    return Row{PixelRun{left + e.width() - 1 - right.last, left + e.width() - 1 - right.first},
               PixelRun{left + right.first, left + right.last}};
}

void fillRun(const Raster& r, int64_t y, const PixelRun& run, int index) {
    if (index >= 0 && !run.empty()) r.span(y, run.first, run.last + 1, static_cast<uint8_t>(index));
}

// A wide pen follows the outline from pixel to pixel: along each row's run,
// then to the nearest end of the next row's run. Only rows within the pen's
// reach of the target are walked.
void wideOutline(const Raster& r, const DigitalEllipse& e, int64_t left, int64_t top, int64_t penWidth,
                 uint8_t index) {
    const int64_t rows = e.height();
    const int64_t first = std::max<int64_t>(0, -top - penWidth);
    const int64_t last = std::min<int64_t>(rows - 1, r.height - 1 - top + penWidth);
    auto stroke = [&](int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
        wideLine(r, x0, top + y0, x1, top + y1, penWidth, index);
    };
    for (int64_t row = first; row <= last; ++row) {
        const Row here = rowOf(e, left, row);
        if (here.right.empty()) continue;
        if (row == 0 || row == rows - 1) {
            stroke(here.left.first, row, here.right.last, row);  // the top and bottom runs cross the middle
        } else {
            stroke(here.left.first, row, here.left.last, row);
            stroke(here.right.first, row, here.right.last, row);
        }
        if (row + 1 >= rows) continue;
        const Row next = rowOf(e, left, row + 1);
        if (next.right.empty()) continue;
        // Above the middle the runs move outwards as the rows go down, below it inwards;
        // the two middle rows of an even box meet at their outer ends.
        const bool upper = 2 * (row + 1) < rows, lower = 2 * row >= rows;
        const int64_t fromRight = upper ? here.right.last : here.right.first;
        const int64_t toRight = lower ? next.right.last : next.right.first;
        const int64_t fromLeft = upper ? here.left.first : here.left.last;
        const int64_t toLeft = lower ? next.left.first : next.left.last;
        if (!upper && !lower) {  // the middle pair
            stroke(here.right.last, row, next.right.last, row + 1);
            stroke(here.left.first, row, next.left.first, row + 1);
        } else {
            stroke(fromRight, row, toRight, row + 1);
            stroke(fromLeft, row, toLeft, row + 1);
        }
    }
}

void drawEllipse(const Raster& r, int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t penWidth,
                 int fillIndex, int penIndex) {
    if (right - left == 1 || bottom - top == 1) {
        if (penIndex < 0) return;
        if (penWidth <= 1) thinLine(r, left, top, right - 1, bottom - 1, static_cast<uint8_t>(penIndex));
        else wideLine(r, left, top, right - 1, bottom - 1, penWidth, static_cast<uint8_t>(penIndex));
        return;
    }
    const DigitalEllipse e(right - left, bottom - top);
    const int64_t firstRow = std::max<int64_t>(0, top), lastRow = std::min<int64_t>(r.height - 1, bottom - 1);
    for (int64_t y = firstRow; y <= lastRow; ++y) {
        const Row row = rowOf(e, left, y - top);
        if (row.right.empty()) continue;
        fillRun(r, y, PixelRun{row.left.first, row.right.last}, fillIndex);
        if (penIndex >= 0 && penWidth <= 1) {
            fillRun(r, y, row.left, penIndex);
            fillRun(r, y, row.right, penIndex);
        }
    }
    if (penIndex >= 0 && penWidth > 1) wideOutline(r, e, left, top, penWidth, static_cast<uint8_t>(penIndex));
}

}  // namespace

void ellipse(const Raster& r, int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t penWidth,
             int fillIndex, int penIndex) {
    if (penIndex < 0 || penWidth < 1) penIndex = -1;
    constexpr int64_t kLargest = 64, kWidest = 16;  // the boxes and pens whose shapes are kept
    const int64_t w = right - left, h = bottom - top;
    if (w > kLargest || h > kLargest || penWidth > kWidest) {
        drawEllipse(r, left, top, right, bottom, penWidth, fillIndex, penIndex);
        return;
    }
    static ShapeCache smallEllipses;
    const bool fill = fillIndex >= 0, pen = penIndex >= 0;
    const int64_t margin = pen ? penWidth : 0;
    const uint64_t key = static_cast<uint64_t>((((w * 65 + h) * 17 + penWidth) * 2 + fill) * 2 + pen);
    const int across = static_cast<int>(w + 2 * margin), down = static_cast<int>(h + 2 * margin);
    const std::vector<ShapeRun>& runs = smallEllipses.find(key, across, down, [&](const Raster& scratch) {
        drawEllipse(scratch, margin, margin, margin + w, margin + h, penWidth, fill ? 1 : -1, pen ? 2 : -1);
    });
    stamp(r, runs, left - margin, top - margin, {-1, fillIndex, penIndex});
}

}  // namespace qmp::gdi
