// Where the 4:3 picture goes on a screen, window or page, for each of the
// scale modes (--scale):
//   fit      the largest rectangle of the picture's shape (the default): a
//            whole-number upscale, then a smooth step to the final size, so
//            that no pixel is doubled unevenly;
//   integer  the largest whole-number multiple that fits, crisp;
//   stretch  the whole output, the shape given up.
// Whatever the picture does not cover is black. An output smaller than the
// picture gets it shrunk with its shape kept (integer and fit alike).
#pragma once

#include <optional>
#include <string_view>

namespace qmp {

struct Rect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;

    bool contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
    bool empty() const { return w <= 0 || h <= 0; }
    bool operator==(const Rect&) const = default;
};

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

enum class ScaleMode { Fit, Integer, Stretch };

// "fit", "integer" or "stretch"; none for anything else.
std::optional<ScaleMode> scaleModeNamed(std::string_view name);
const char* scaleModeName(ScaleMode mode);

struct Placement {
    Rect target;      // where the picture goes on the output
    int factorX = 1;  // the whole-number upscale that the smooth step to `target` starts from
    int factorY = 1;
    bool operator==(const Placement&) const = default;
};

// The picture's placement on an output of outW x outH pixels; an empty target
// when either size is not positive.
Placement placePicture(int outW, int outH, int picW, int picH, ScaleMode mode);

// The integer mode's rectangle: the largest whole multiple, centred.
Rect fitPicture(int outW, int outH, int picW, int picH);

// The largest whole multiple of the picture that fits comfortably in a desktop
// area of usableW x usableH (room left for a title bar and a panel); at least 1.
int comfortableFactor(int usableW, int usableH, int picW, int picH);

// The picture pixel under an output pixel, none when it is on a bar.
std::optional<Point> outputToPicture(Point output, const Rect& placed, int picW, int picH);

}  // namespace qmp
