// The ellipse GDI draws in a box: the pixels nearest the ellipse through the
// centres of the box's outermost pixels, taken column by column where the
// curve is flatter than 45 degrees and row by row where it is steeper, a pixel
// exactly halfway going to the inside. Ellipse() outlines and fills it; a wide
// pen's round end is the one in a width x width box.
#pragma once

#include <cstdint>

namespace qmp::gdi {

// Pixels [first, last] of one row; empty when first > last.
struct PixelRun {
    int64_t first = 1;
    int64_t last = 0;
    bool empty() const { return first > last; }
};

class DigitalEllipse {
public:
    // A box of width x height pixels, both from 2 to 2^29.
    DigitalEllipse(int64_t width, int64_t height);

    int64_t width() const { return a_ + 1; }
    int64_t height() const { return b_ + 1; }

    // The outline's pixels in row `row` (0 at the box's top) right of the
    // vertical centre line, as columns from the box's left; the left half
    // mirrors them (column c there is width() - 1 - c).
    PixelRun rightRun(int64_t row) const;

private:
    // Offsets from the centre are doubled, so that they are whole numbers for
    // boxes of odd and even size alike: U across, V down, a_ and b_ the half
    // axes (width - 1 and height - 1); U has a_'s parity, V has b_'s.
    bool curveWithin(int64_t u, int64_t v) const;  // the curve in column U lies at most V + 1 out
    int64_t columnV(int64_t u) const;              // the outline's V in column U of the flat part
    int64_t firstColumnWithin(int64_t v) const;    // the first column whose curve lies at most V + 1 out
    int64_t rowU(int64_t v) const;                 // the outline's U in row V of the steep part

    int64_t a_, b_;
    bool small_ = true;              // every product fits in 64 bits
    int64_t uTurn_ = 0, vTurn_ = 0;  // the flat part's last column and its V
};

}  // namespace qmp::gdi
