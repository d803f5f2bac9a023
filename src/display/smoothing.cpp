// The fireworks filter, plain and fast.
//
// The filter runs along each row, and every pixel waits for its left
// neighbour's new value, so a row gives no two pixels to compute at once. Rows
// do: pixel (x, y) needs the new values of (x - 1, y) and of (x - 1 .. x + 1,
// y - 1), so it can be computed together with (x - 2, y + 1), (x - 4, y + 2) and
// so on. The fast filter takes the rows in bands of six and runs a front along
// them, one step at a time, in eight 16-bit lanes: lane j holds the band's row
// j at column step - 2j, lane 0 the row above the band (new values, read only)
// and the lane after the band's last row the row below it (old values, read
// only). Eight steps are read as one block of eight rows by eight columns,
// turned into lane vectors and back, and a block whose band rows are all black
// is skipped: black stays black.
#include "display/smoothing.h"

#include <emmintrin.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

#include "display/translucency.h"

namespace {

constexpr int kLanes = 8;
constexpr int kBandRows = kLanes - 2;  // lanes 1..6; lanes 0 and 7 are the rows around the band
constexpr int kSteps = 8;              // steps per block, one 8-byte load per lane
constexpr int kRowPadding = 32;        // the most a lane reads before column 0 or after the row's end, rounded up
constexpr int64_t kMinWidth = 64;      // narrower pictures take the plain filter
constexpr int64_t kMaxWidth = 32000;   // columns are compared in 16-bit lanes

// Calls f(0), f(1) .. f(N - 1), written out rather than looped, so that each
// call's index is a constant and every vector stays in a register.
template <typename F, int... K>
void unrolled(F&& f, std::integer_sequence<int, K...>) {
    (f(K), ...);
}
template <int N, typename F>
void unrolled(F&& f) {
    unrolled(f, std::make_integer_sequence<int, N>{});
}

bool tableHoldsEighths() {
    static constexpr std::array<uint8_t, 2048> eighths = [] {
        std::array<uint8_t, 2048> table{};
        for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<uint8_t>(i >> 3);
        return table;
    }();
    return std::memcmp(SmoothingTable, eighths.data(), eighths.size()) == 0;
}

struct Band {
    const uint8_t* rows[kLanes];  // column 0 of lane j's row
    uint8_t* written[kLanes];     // the same rows where they take new values (lanes 1..active)
    int active = 0;               // rows of the band, 1..6
    int64_t width = 0;
    __m128i inner;                // all ones in lanes 1..active
};

// V[s0 + k], lane j = rows[j][s0 + k - 2j], for k = 0..7: eight 8-byte loads
// turned from rows into columns.
inline void loadBlock(const Band& band, int64_t s0, __m128i v[kSteps]) {
    __m128i r[kLanes];
    unrolled<kLanes>([&](int j) {
        r[j] = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(band.rows[j] + s0 - 2 * j));
    });
    const __m128i s01 = _mm_unpacklo_epi8(r[0], r[1]), s23 = _mm_unpacklo_epi8(r[2], r[3]);
    const __m128i s45 = _mm_unpacklo_epi8(r[4], r[5]), s67 = _mm_unpacklo_epi8(r[6], r[7]);
    const __m128i t0 = _mm_unpacklo_epi16(s01, s23), t1 = _mm_unpackhi_epi16(s01, s23);
    const __m128i t2 = _mm_unpacklo_epi16(s45, s67), t3 = _mm_unpackhi_epi16(s45, s67);
    const __m128i columns[4] = {_mm_unpacklo_epi32(t0, t2), _mm_unpackhi_epi32(t0, t2), _mm_unpacklo_epi32(t1, t3),
                                _mm_unpackhi_epi32(t1, t3)};
    const __m128i zero = _mm_setzero_si128();
    unrolled<4>([&](int c) {
        v[2 * c] = _mm_unpacklo_epi8(columns[c], zero);
        v[2 * c + 1] = _mm_unpackhi_epi8(columns[c], zero);
    });
}

// The lanes' new values of a block turned back into rows: row j's eight bytes
// into rows[j].
void rowsOfBlock(const __m128i out[kSteps], uint64_t rows[kLanes]) {
    __m128i pairs[4];
    unrolled<4>([&](int c) { pairs[c] = _mm_or_si128(out[2 * c], _mm_slli_epi16(out[2 * c + 1], 8)); });
    const __m128i low01 = _mm_unpacklo_epi16(pairs[0], pairs[1]), high01 = _mm_unpackhi_epi16(pairs[0], pairs[1]);
    const __m128i low23 = _mm_unpacklo_epi16(pairs[2], pairs[3]), high23 = _mm_unpackhi_epi16(pairs[2], pairs[3]);
    const __m128i twoRows[4] = {_mm_unpacklo_epi32(low01, low23), _mm_unpackhi_epi32(low01, low23),
                                _mm_unpacklo_epi32(high01, high23), _mm_unpackhi_epi32(high01, high23)};
    unrolled<4>([&](int p) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(&rows[2 * p]), twoRows[p]);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(&rows[2 * p + 1]), _mm_unpackhi_epi64(twoRows[p], twoRows[p]));
    });
}

// The lanes of inner rows 1..active whose column at step s lies inside the
// picture's inner columns 1..width - 2.
__m128i activeLanes(const Band& band, int64_t s) {
    const __m128i column = _mm_sub_epi16(_mm_set1_epi16(static_cast<int16_t>(s)), _mm_setr_epi16(0, 2, 4, 6, 8, 10, 12, 14));
    const __m128i inside = _mm_and_si128(_mm_cmpgt_epi16(column, _mm_setzero_si128()),
                                         _mm_cmpgt_epi16(_mm_set1_epi16(static_cast<int16_t>(band.width - 1)), column));
    return _mm_and_si128(inside, band.inner);
}

__m128i innerLanes(int active) {
    const __m128i lane = _mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7);
    return _mm_and_si128(_mm_cmpgt_epi16(lane, _mm_setzero_si128()),
                         _mm_cmpgt_epi16(_mm_set1_epi16(static_cast<int16_t>(active + 1)), lane));
}

// The history a block leaves to the next: the new values of its last three steps.
struct Front {
    __m128i last1, last2, last3;  // steps s - 1, s - 2, s - 3
};

// One step of the front: the lanes' new values, from their old ones (`own`),
// those of the next three steps, and the front's last three steps.
inline __m128i step(__m128i own, __m128i next1, __m128i next2, __m128i next3, Front& front, __m128i lanes) {
    const __m128i above = _mm_add_epi16(_mm_add_epi16(front.last1, front.last2), front.last3);
    const __m128i below = _mm_add_epi16(_mm_add_epi16(next1, next2), next3);
    // Lane j takes the three above from lane j - 1, the three below from lane j + 1,
    // its right neighbour from the next step and its left one from the last.
    const __m128i sum = _mm_add_epi16(_mm_add_epi16(_mm_slli_si128(above, 2), _mm_srli_si128(below, 2)),
                                      _mm_add_epi16(next1, front.last1));
    const __m128i computed = _mm_andnot_si128(_mm_cmpeq_epi16(own, _mm_setzero_si128()), lanes);
    const __m128i value = _mm_or_si128(_mm_and_si128(computed, _mm_srli_epi16(sum, 3)), _mm_andnot_si128(computed, own));
    front.last3 = front.last2;
    front.last2 = front.last1;
    front.last1 = value;
    return value;
}

// Eight steps from s0: V[s0 .. s0 + 7] in `now`, the next three in `next`. At
// an edge block some inner lanes lie outside the inner columns at some steps
// and keep their values.
template <bool Edge>
void runBlock(const Band& band, int64_t s0, const __m128i now[kSteps], const __m128i next[kSteps], Front& front,
              __m128i out[kSteps]) {
    auto lanes = [&](int k) { return Edge ? activeLanes(band, s0 + k) : band.inner; };
    out[0] = step(now[0], now[1], now[2], now[3], front, lanes(0));
    out[1] = step(now[1], now[2], now[3], now[4], front, lanes(1));
    out[2] = step(now[2], now[3], now[4], now[5], front, lanes(2));
    out[3] = step(now[3], now[4], now[5], now[6], front, lanes(3));
    out[4] = step(now[4], now[5], now[6], now[7], front, lanes(4));
    out[5] = step(now[5], now[6], now[7], next[0], front, lanes(5));
    out[6] = step(now[6], now[7], next[0], next[1], front, lanes(6));
    out[7] = step(now[7], next[0], next[1], next[2], front, lanes(7));
}

bool innerLanesBlack(const Band& band, const __m128i v[kSteps]) {
    const __m128i any = _mm_or_si128(_mm_or_si128(_mm_or_si128(v[0], v[1]), _mm_or_si128(v[2], v[3])),
                                     _mm_or_si128(_mm_or_si128(v[4], v[5]), _mm_or_si128(v[6], v[7])));
    return _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(any, band.inner), _mm_setzero_si128())) == 0xFFFF;
}

// Row j's new bytes of the block at column s0 - 2j, for rows 1..active; at an
// edge block only those inside the inner columns.
void storeRows(const Band& band, int64_t s0, const uint64_t rows[kLanes], bool edge) {
    for (int j = 1; j <= band.active; ++j) {
        uint8_t* at = band.written[j] + s0 - 2 * j;
        const auto* bytes = reinterpret_cast<const uint8_t*>(&rows[j]);
        for (int k = 0; k < kSteps; ++k) {
            const int64_t column = s0 + k - 2 * j;
            if (!edge || (column >= 1 && column <= band.width - 2)) at[k] = bytes[k];
        }
    }
}

void smoothBand(const Band& band) {
    const int64_t width = band.width;
    const int64_t lastStep = width - 2 + 2 * band.active;  // the last inner lane at column width - 2
    __m128i blocks[2][kSteps];
    __m128i* now = blocks[0];  // this block's steps
    __m128i* next = blocks[1];
    // Before step 3 no inner lane is at an inner column (lane 1 reaches column 1
    // there), so the steps before 0 are never read: the front starts black.
    Front front = {_mm_setzero_si128(), _mm_setzero_si128(), _mm_setzero_si128()};
    // The turn before step 0 only reads the first block.
    for (int64_t s0 = -kSteps; s0 <= lastStep; s0 += kSteps) {
        loadBlock(band, s0 + kSteps, next);
        if (s0 < 0) {
        } else if (innerLanesBlack(band, now)) {
            front = {now[kSteps - 1], now[kSteps - 2], now[kSteps - 3]};  // black stays black: the block keeps its values
        } else {
            // Whole blocks of columns 1..width - 2 for every inner lane, or a block at either end.
            const bool edge = s0 - 2 * band.active < 1 || s0 + kSteps - 1 - 2 > width - 2;
            __m128i out[kSteps];
            if (edge) runBlock<true>(band, s0, now, next, front, out);
            else runBlock<false>(band, s0, now, next, front, out);
            uint64_t rows[kLanes];
            rowsOfBlock(out, rows);
            if (!edge && band.active == kBandRows) {
                unrolled<kBandRows>([&](int i) { std::memcpy(band.written[i + 1] + s0 - 2 * (i + 1), &rows[i + 1], 8); });
            } else {
                storeRows(band, s0, rows, edge);
            }
        }
        std::swap(now, next);
    }
}

}  // namespace

void smoothPixelsPlain(uint8_t* pixels, ptrdiff_t pitch, int64_t width, int64_t height) {
    for (int64_t y = 1; y < height - 1; ++y) {
        const uint8_t* above = pixels + (y - 1) * pitch;  // already smoothed
        uint8_t* row = pixels + y * pitch;
        const uint8_t* below = pixels + (y + 1) * pitch;
        for (int64_t x = 1; x < width - 1; ++x) {
            if (row[x] == 0) continue;
            const int sum = above[x - 1] + above[x] + above[x + 1] + row[x - 1] + row[x + 1] + below[x - 1] +
                            below[x] + below[x + 1];
            row[x] = SmoothingTable[sum];
        }
    }
}

void smoothPixels(uint8_t* pixels, ptrdiff_t pitch, int64_t width, int64_t height) {
    if (width < kMinWidth || width > kMaxWidth || height < 3 || !tableHoldsEighths()) {
        smoothPixelsPlain(pixels, pitch, width, height);
        return;
    }
    // Lanes read up to kRowPadding bytes before and after their rows: inside the
    // surface everywhere but after its last row, which is read from a copy; the
    // lanes a short last band leaves unused read a black row.
    static std::vector<uint8_t> spare;
    const size_t paddedRow = static_cast<size_t>(width) + 2 * kRowPadding;
    if (spare.size() < 2 * paddedRow) spare.assign(2 * paddedRow, 0);
    const uint8_t* blackRow = spare.data() + kRowPadding;
    uint8_t* lastRowCopy = spare.data() + paddedRow + kRowPadding;
    std::memcpy(lastRowCopy, pixels + (height - 1) * pitch, static_cast<size_t>(width));

    for (int64_t y0 = 1; y0 < height - 1; y0 += kBandRows) {
        Band band;
        band.width = width;
        band.active = static_cast<int>(std::min<int64_t>(kBandRows, height - 1 - y0));
        band.inner = innerLanes(band.active);
        for (int j = 0; j < kLanes; ++j) {
            const int64_t y = y0 - 1 + j;
            band.written[j] = j >= 1 && j <= band.active ? pixels + y * pitch : nullptr;
            if (j > band.active + 1) band.rows[j] = blackRow;
            else if (y == height - 1) band.rows[j] = lastRowCopy;
            else band.rows[j] = pixels + y * pitch;
        }
        smoothBand(band);
    }
}
