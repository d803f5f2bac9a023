#include "core/placement.h"

#include <algorithm>
#include <cstdint>

namespace qmp {
namespace {

// Room a window needs besides its picture in the desktop's usable area
// (panels are outside that already): its borders and title bar.
constexpr int kWindowRoomX = 32;
constexpr int kWindowRoomY = 48;

Rect centred(int outW, int outH, int64_t w, int64_t h) {
    return {static_cast<int>((outW - w) / 2), static_cast<int>((outH - h) / 2), static_cast<int>(w),
            static_cast<int>(h)};
}

// The largest rectangle of the picture's shape inside the output.
Rect shapeKept(int outW, int outH, int picW, int picH) {
    if (int64_t(outW) * picH <= int64_t(outH) * picW) {  // width limits
        return centred(outW, outH, outW, std::max<int64_t>(1, int64_t(outW) * picH / picW));
    }
    return centred(outW, outH, std::max<int64_t>(1, int64_t(outH) * picW / picH), outH);
}

}  // namespace

std::optional<ScaleMode> scaleModeNamed(std::string_view name) {
    if (name == "fit") return ScaleMode::Fit;
    if (name == "integer") return ScaleMode::Integer;
    if (name == "stretch") return ScaleMode::Stretch;
    return std::nullopt;
}

const char* scaleModeName(ScaleMode mode) {
    switch (mode) {
    case ScaleMode::Integer: return "integer";
    case ScaleMode::Stretch: return "stretch";
    case ScaleMode::Fit: break;
    }
    return "fit";
}

Rect fitPicture(int outW, int outH, int picW, int picH) {
    if (outW <= 0 || outH <= 0 || picW <= 0 || picH <= 0) return {};
    if (outW < picW || outH < picH) return shapeKept(outW, outH, picW, picH);
    const int factor = std::min(outW / picW, outH / picH);
    return centred(outW, outH, int64_t(picW) * factor, int64_t(picH) * factor);
}

Placement placePicture(int outW, int outH, int picW, int picH, ScaleMode mode) {
    if (outW <= 0 || outH <= 0 || picW <= 0 || picH <= 0) return {};
    Placement placement;
    switch (mode) {
    case ScaleMode::Integer: placement.target = fitPicture(outW, outH, picW, picH); break;
    case ScaleMode::Fit: placement.target = shapeKept(outW, outH, picW, picH); break;
    case ScaleMode::Stretch: placement.target = {0, 0, outW, outH}; break;
    }
    placement.factorX = std::max(1, placement.target.w / picW);
    placement.factorY = std::max(1, placement.target.h / picH);
    if (mode != ScaleMode::Stretch) placement.factorX = placement.factorY = std::min(placement.factorX, placement.factorY);
    return placement;
}

int comfortableFactor(int usableW, int usableH, int picW, int picH) {
    if (picW <= 0 || picH <= 0) return 1;
    return std::max(1, std::min((usableW - kWindowRoomX) / picW, (usableH - kWindowRoomY) / picH));
}

std::optional<Point> outputToPicture(Point output, const Rect& placed, int picW, int picH) {
    if (!placed.contains(output.x, output.y) || picW <= 0 || picH <= 0) return std::nullopt;
    const int64_t x = int64_t(output.x - placed.x) * picW / placed.w;
    const int64_t y = int64_t(output.y - placed.y) * picH / placed.h;
    return Point{static_cast<int>(x), static_cast<int>(y)};
}

}  // namespace qmp
