// A signed 128-bit integer for the exact meeting test: sums, differences and
// products of coordinate differences (up to 99 bits) and their truncating
// quotient. Written out rather than taken from a compiler extension, because
// one of the compilers the demo is built with has none.
#pragma once

#include <cstdint>

class WideInt {
public:
    constexpr WideInt() = default;
    constexpr WideInt(int64_t v) : lo_(static_cast<uint64_t>(v)), hi_(v < 0 ? ~uint64_t{0} : 0) {}

    friend constexpr WideInt operator+(WideInt a, WideInt b) {
        const uint64_t lo = a.lo_ + b.lo_;
        return WideInt(lo, a.hi_ + b.hi_ + (lo < a.lo_ ? 1 : 0));
    }
    friend constexpr WideInt operator-(WideInt a) { return WideInt(~a.lo_, ~a.hi_) + WideInt(1); }
    friend constexpr WideInt operator-(WideInt a, WideInt b) { return a + -b; }
    // Modulo 2^128, which is exact wherever the product fits.
    friend constexpr WideInt operator*(WideInt a, WideInt b) {
        uint64_t high = 0;
        const uint64_t low = multiplyFull(a.lo_, b.lo_, high);
        return WideInt(low, high + a.lo_ * b.hi_ + a.hi_ * b.lo_);
    }
    // Truncates toward zero, as the built-in division does; b must not be 0.
    friend constexpr WideInt operator/(WideInt a, WideInt b) {
        const bool negative = a.negative() != b.negative();
        const WideInt quotient = divideMagnitudes(a.negative() ? -a : a, b.negative() ? -b : b);
        return negative ? -quotient : quotient;
    }
    friend constexpr bool operator==(WideInt a, WideInt b) { return a.lo_ == b.lo_ && a.hi_ == b.hi_; }

    constexpr int sign() const { return negative() ? -1 : (lo_ | hi_) != 0 ? 1 : 0; }
    // The value clamped into [INT32_MIN, INT32_MAX].
    constexpr int32_t clampedToInt32() const {
        const bool fits64 = hi_ == (negative() ? ~uint64_t{0} : 0) && (static_cast<int64_t>(lo_) < 0) == negative();
        if (!fits64) return negative() ? INT32_MIN : INT32_MAX;
        const int64_t v = static_cast<int64_t>(lo_);
        return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : static_cast<int32_t>(v);
    }

private:
    constexpr WideInt(uint64_t lo, uint64_t hi) : lo_(lo), hi_(hi) {}
    constexpr bool negative() const { return (hi_ >> 63) != 0; }

    // a x b as 128 bits: the low half returned, the high half in high.
    static constexpr uint64_t multiplyFull(uint64_t a, uint64_t b, uint64_t& high) {
        const uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32, b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
        const uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
        const uint64_t middle = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
        high = p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32);
        return (middle << 32) | (p00 & 0xFFFFFFFFu);
    }
    // Both taken as unsigned; the quotient of the two.
    static constexpr WideInt divideMagnitudes(WideInt a, WideInt b) {
        if (a.hi_ == 0 && b.hi_ == 0) return WideInt(a.lo_ / b.lo_, 0);
        WideInt quotient, remainder;
        for (int bit = 127; bit >= 0; --bit) {
            remainder = WideInt(remainder.lo_ << 1 | a.bitAt(bit), remainder.hi_ << 1 | remainder.lo_ >> 63);
            if (!remainder.lessUnsigned(b)) {
                remainder = remainder - b;
                if (bit >= 64)
                    quotient.hi_ |= uint64_t{1} << (bit - 64);
                else
                    quotient.lo_ |= uint64_t{1} << bit;
            }
        }
        return quotient;
    }
    constexpr uint64_t bitAt(int bit) const { return (bit >= 64 ? hi_ >> (bit - 64) : lo_ >> bit) & 1; }
    constexpr bool lessUnsigned(WideInt b) const { return hi_ != b.hi_ ? hi_ < b.hi_ : lo_ < b.lo_; }

    uint64_t lo_ = 0;
    uint64_t hi_ = 0;
};
