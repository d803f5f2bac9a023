#include "core/placement.h"

#include <algorithm>
#include <cstdint>

namespace qmp {

Rect fitPicture(int outW, int outH, int picW, int picH) {
    if (outW <= 0 || outH <= 0 || picW <= 0 || picH <= 0) return {};
    int64_t w = 0;
    int64_t h = 0;
    if (outW >= picW && outH >= picH) {
        const int factor = std::min(outW / picW, outH / picH);
        w = int64_t(picW) * factor;
        h = int64_t(picH) * factor;
    } else if (int64_t(outW) * picH <= int64_t(outH) * picW) {
        w = outW;  // width limits
        h = std::max<int64_t>(1, int64_t(outW) * picH / picW);
    } else {
        h = outH;
        w = std::max<int64_t>(1, int64_t(outH) * picW / picH);
    }
    return {static_cast<int>((outW - w) / 2), static_cast<int>((outH - h) / 2), static_cast<int>(w),
            static_cast<int>(h)};
}

std::optional<Point> outputToPicture(Point output, const Rect& placed, int picW, int picH) {
    if (!placed.contains(output.x, output.y) || picW <= 0 || picH <= 0) return std::nullopt;
    const int64_t x = int64_t(output.x - placed.x) * picW / placed.w;
    const int64_t y = int64_t(output.y - placed.y) * picH / placed.h;
    return Point{static_cast<int>(x), static_cast<int>(y)};
}

}  // namespace qmp
