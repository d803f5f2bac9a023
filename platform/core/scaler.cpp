#include "core/scaler.h"

#include <algorithm>
#include <cstring>

namespace qmp {
namespace {

// out = a + (b - a) * weight / 256 for each byte (every channel alike), over
// blocks of 16 bytes that the compiler turns into vector instructions; the
// weights either one per byte or one for all.
constexpr size_t kBlock = 16;

inline uint8_t mixByte(uint8_t a, uint8_t b, uint32_t weight) {
    return uint8_t(uint16_t(a * (256 - weight) + b * weight) >> 8);
}

void mixBytes(const uint8_t* __restrict a, const uint8_t* __restrict b, const uint8_t* __restrict weights,
              uint8_t* __restrict out, size_t count) {
    size_t i = 0;
    for (; i + kBlock <= count; i += kBlock)
        for (size_t k = 0; k < kBlock; ++k) out[i + k] = mixByte(a[i + k], b[i + k], weights[i + k]);
    for (; i < count; ++i) out[i] = mixByte(a[i], b[i], weights[i]);
}

void mixBytes(const uint8_t* __restrict a, const uint8_t* __restrict b, uint32_t weight, uint8_t* __restrict out,
              size_t count) {
    size_t i = 0;
    for (; i + kBlock <= count; i += kBlock)
        for (size_t k = 0; k < kBlock; ++k) out[i + k] = mixByte(a[i + k], b[i + k], weight);
    for (; i < count; ++i) out[i] = mixByte(a[i], b[i], weight);
}

const uint8_t* bytes(const uint32_t* pixels) { return reinterpret_cast<const uint8_t*>(pixels); }
uint8_t* bytes(uint32_t* pixels) { return reinterpret_cast<uint8_t*>(pixels); }

}  // namespace

std::vector<Scaler::Tap> Scaler::taps(int source, int factor, int target) {
    std::vector<Tap> result(static_cast<size_t>(std::max(target, 0)));
    const int64_t upscaled = int64_t(source) * factor;
    for (int i = 0; i < target; ++i) {
        int64_t p0 = 0;
        int64_t p1 = 0;
        int64_t weight = 0;  // of p1, in 256ths
        if (upscaled <= target) {
            // The output pixel covers [i, i + 1) * upscaled / target of the
            // upscaled picture, less than one of its pixels: at most one edge
            // runs through it, and each side counts by its area. So every
            // picture pixel gets the same share of the output, mixed only on
            // the output pixel its edge crosses.
            p0 = int64_t(i) * upscaled / target;
            const int64_t end = int64_t(i + 1) * upscaled;
            const int64_t edge = (p0 + 1) * target;
            if (end > edge && p0 + 1 < upscaled) {
                p1 = p0 + 1;
                weight = ((end - edge) * 256 + upscaled / 2) / upscaled;
            }
        } else {
            // Shrinking (an output smaller than the picture): the two pixels
            // nearest the output pixel's centre, by distance.
            const int64_t twice = 2 * int64_t(target);
            const int64_t at = (2 * int64_t(i) + 1) * upscaled - target;  // in units of 1 / (2 * target)
            p0 = at < 0 ? 0 : at / twice;
            weight = at < 0 ? 0 : ((at % twice) * 256 + target) / twice;
            p0 = std::min(p0, upscaled - 1);
            p1 = std::min(p0 + 1, upscaled - 1);
        }
        if (weight >= 256) {
            p0 = p1;
            weight = 0;
        }
        Tap& tap = result[size_t(i)];
        tap.first = static_cast<int>(p0 / factor);
        tap.second = static_cast<int>(p1 / factor);
        tap.weight = tap.first == tap.second || weight == 0 ? 0 : static_cast<uint32_t>(weight);
        if (tap.weight == 0) tap.second = tap.first;
    }
    return result;
}

void Scaler::prepare(int picW, int picH, const Placement& placement) {
    placement_ = placement;
    picW_ = picW;
    picH_ = picH;
    columns_ = taps(picW, placement.factorX, placement.target.w);
    rows_ = taps(picH, placement.factorY, placement.target.h);
    for (std::vector<uint32_t>& l : lines_) l.assign(columns_.size(), 0);
    firsts_.assign(columns_.size(), 0);
    seconds_.assign(columns_.size(), 0);
    columnWeights_.assign(columns_.size() * sizeof(uint32_t), 0);
    for (size_t x = 0; x < columns_.size(); ++x)
        for (size_t k = 0; k < sizeof(uint32_t); ++k) columnWeights_[x * sizeof(uint32_t) + k] = uint8_t(columns_[x].weight);
    crispAcross_ = true;
    for (const Tap& tap : columns_) crispAcross_ = crispAcross_ && tap.weight == 0;
    identityAcross_ = crispAcross_ && placement.target.w == picW;
    lineRows_[0] = lineRows_[1] = -1;
}

std::pair<int, int> Scaler::reached(const std::vector<Tap>& taps, int from, int to) {
    // Taps ascend: the first output pixel that touches [from, to), and the last.
    auto touches = [&](const Tap& t) { return (t.first >= from && t.first < to) || (t.second >= from && t.second < to); };
    auto firstAfter = std::partition_point(taps.begin(), taps.end(), [&](const Tap& t) { return t.second < from; });
    auto end = std::partition_point(firstAfter, taps.end(), [&](const Tap& t) { return t.first < to; });
    if (firstAfter == end || !touches(*firstAfter)) return {0, 0};
    return {static_cast<int>(firstAfter - taps.begin()), static_cast<int>(end - taps.begin())};
}

Rect Scaler::outputRect(const Rect& picture) const {
    const auto [x0, x1] = reached(columns_, picture.x, picture.x + picture.w);
    const auto [y0, y1] = reached(rows_, picture.y, picture.y + picture.h);
    if (x1 <= x0 || y1 <= y0) return {};
    const Rect& t = placement_.target;
    return {t.x + x0, t.y + y0, x1 - x0, y1 - y0};
}

const uint32_t* Scaler::line(const Frame& frame, int row) {
    if (identityAcross_) return frame.row(row);  // target column x is picture column x
    for (int i = 0; i < 2; ++i)
        if (lineRows_[i] == row) return lines_[i].data();
    // Replace the older of the two (rows are drawn top-down).
    const int slot = lineRows_[0] < lineRows_[1] ? 0 : 1;
    lineRows_[slot] = row;
    const uint32_t* in = frame.row(row);
    uint32_t* out = lines_[slot].data();
    const Tap* tap = columns_.data();
    if (crispAcross_) {
        for (int x = columnFrom_; x < columnTo_; ++x) out[x] = in[tap[x].first];
        return out;
    }
    // Each column's two pixels side by side, then mixed in one pass.
    uint32_t* firsts = firsts_.data();
    uint32_t* seconds = seconds_.data();
    for (int x = columnFrom_; x < columnTo_; ++x) {
        firsts[x] = in[tap[x].first];
        seconds[x] = in[tap[x].second];
    }
    const size_t from = size_t(columnFrom_) * sizeof(uint32_t);
    mixBytes(bytes(firsts) + from, bytes(seconds) + from, columnWeights_.data() + from, bytes(out) + from,
             size_t(columnTo_ - columnFrom_) * sizeof(uint32_t));
    return out;
}

void Scaler::draw(const Frame& frame, const Rect& output, uint32_t* out, int pitch) {
    if (frame.width != picW_ || frame.height != picH_ || columns_.empty() || rows_.empty()) return;
    const Rect& t = placement_.target;
    const int x0 = std::max(output.x, t.x);
    const int x1 = std::min(output.x + output.w, t.x + t.w);
    const int y0 = std::max(output.y, t.y);
    const int y1 = std::min(output.y + output.h, t.y + t.h);
    if (x1 <= x0 || y1 <= y0) return;
    columnFrom_ = x0 - t.x;
    columnTo_ = x1 - t.x;
    lineRows_[0] = lineRows_[1] = -1;  // the frame's pixels, or the columns, may differ from the last draw
    const size_t rowBytes = size_t(columnTo_ - columnFrom_) * sizeof(uint32_t);
    for (int y = y0; y < y1; ++y) {
        const Tap& tap = rows_[size_t(y - t.y)];
        uint32_t* dst = out + int64_t(y) * pitch + t.x;  // indexed by target column
        const uint32_t* a = line(frame, tap.first);
        if (tap.weight == 0) {
            std::memcpy(dst + columnFrom_, a + columnFrom_, rowBytes);
            continue;
        }
        const uint32_t* b = line(frame, tap.second);
        mixBytes(bytes(a + columnFrom_), bytes(b + columnFrom_), tap.weight, bytes(dst + columnFrom_), rowBytes);
    }
}

}  // namespace qmp
