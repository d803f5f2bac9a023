// Where the 4:3 picture goes on the screen: scaled by the largest whole factor
// that fits (crisp pixels), centred, the rest black. Only a screen smaller
// than the picture gets a fractional factor, still with the shape kept.
#pragma once

#include <optional>

namespace qmp {

struct Rect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;

    bool contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
    bool operator==(const Rect&) const = default;
};

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// The picture's rectangle on an output of outW x outH pixels; empty when
// either size is not positive.
Rect fitPicture(int outW, int outH, int picW, int picH);

// The picture pixel under an output pixel, none when it is on a bar.
std::optional<Point> outputToPicture(Point output, const Rect& placed, int picW, int picH);

}  // namespace qmp
