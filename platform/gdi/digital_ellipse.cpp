#include "gdi/digital_ellipse.h"

#include <algorithm>
#include <cmath>

namespace qmp::gdi {
namespace {

using Wide = __int128;

// The smallest value from `parity` up, of the same parity, for which `holds`
// is true (it is false, then true, as the value grows); `guess` lies near it.
template <typename Holds>
int64_t smallestWith(int64_t parity, double guess, Holds holds) {
    int64_t v = parity;
    if (guess > static_cast<double>(parity) && guess < 1e18) v = static_cast<int64_t>(guess);
    if ((v - parity) % 2 != 0) --v;
    while (v - 2 >= parity && holds(v - 2)) v -= 2;
    while (!holds(v)) v += 2;
    return v;
}

double root(double x) { return x > 0 ? std::sqrt(x) : 0; }

// Below this the squares and products of the tests fit in 64 bits.
constexpr int64_t kSmall = int64_t(1) << 14;

}  // namespace

DigitalEllipse::DigitalEllipse(int64_t width, int64_t height) : a_(width - 1), b_(height - 1) {
    // The flat part ends at the first column where the outline has turned
    // 45 degrees (b^2 U >= a^2 V); the steep part starts in the row below it.
    small_ = a_ < kSmall && b_ < kSmall;
    const Wide aa = Wide(a_) * a_, bb = Wide(b_) * b_;
    const double guess = static_cast<double>(a_) * a_ / root(static_cast<double>(a_) * a_ + static_cast<double>(b_) * b_);
    const int64_t turn = smallestWith(a_ % 2, guess, [&](int64_t u) { return u > a_ || bb * u >= aa * columnV(u); });
    uTurn_ = std::min(turn, a_);
    vTurn_ = columnV(uTurn_);
    // The outline moves at most one row from column to column in the flat part.
    if (uTurn_ - 2 >= a_ % 2) vTurn_ = std::max(vTurn_, columnV(uTurn_ - 2) - 2);
}

bool DigitalEllipse::curveWithin(int64_t u, int64_t v) const {
    // The curve's height in column U is b sqrt(1 - U^2 / a^2): compare its square.
    if (small_) return b_ * b_ * (a_ * a_ - u * u) <= a_ * a_ * ((v + 1) * (v + 1));
    return Wide(b_) * b_ * (Wide(a_) * a_ - Wide(u) * u) <= Wide(a_) * a_ * (Wide(v + 1) * (v + 1));
}

int64_t DigitalEllipse::columnV(int64_t u) const {
    const double x = static_cast<double>(u) / a_;
    return smallestWith(b_ % 2, b_ * root(1 - x * x) - 1, [&](int64_t v) { return curveWithin(u, v); });
}

int64_t DigitalEllipse::firstColumnWithin(int64_t v) const {
    const double y = static_cast<double>(v + 1) / b_;
    return smallestWith(a_ % 2, a_ * root(1 - y * y), [&](int64_t u) { return u > a_ || curveWithin(u, v); });
}

int64_t DigitalEllipse::rowU(int64_t v) const {
    const double y = static_cast<double>(v) / b_;
    if (small_)
        return smallestWith(a_ % 2, a_ * root(1 - y * y) - 1,
                            [&](int64_t u) { return a_ * a_ * (b_ * b_ - v * v) <= b_ * b_ * ((u + 1) * (u + 1)); });
    const Wide aa = Wide(a_) * a_, bb = Wide(b_) * b_;
    return smallestWith(a_ % 2, a_ * root(1 - y * y) - 1,
                        [&](int64_t u) { return aa * (bb - Wide(v) * v) <= bb * (Wide(u + 1) * (u + 1)); });
}

PixelRun DigitalEllipse::rightRun(int64_t row) const {
    const int64_t v = std::llabs(2 * row - b_);
    int64_t first, last;
    if (v >= vTurn_) {
        // The flat part: the columns whose nearest V is this row's.
        first = firstColumnWithin(v);
        last = v == vTurn_ ? uTurn_ : std::min(uTurn_, firstColumnWithin(v - 2) - 2);
    } else {
        first = last = std::max(uTurn_, rowU(v));
    }
    if (first > last) return PixelRun{};
    return PixelRun{(a_ + first) / 2, (a_ + last) / 2};
}

}  // namespace qmp::gdi
