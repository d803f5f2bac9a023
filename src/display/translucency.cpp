// The mixing tables (translucency.h, and blend_table.h's search): the
// BlendTable, for every pair of palette indices the entry nearest to the mean
// of their colours, and the SmoothingTable.
#include "display/translucency.h"

#include <emmintrin.h>

#include <algorithm>
#include <array>
#include <bit>
#include <memory>
#include <vector>

#include "display/blend_table.h"

uint8_t BlendTable[65536];
uint8_t SmoothingTable[2048];

namespace {

int channelDistance(int a, int b) { return a > b ? a - b : b - a; }

}  // namespace

// The sum of the absolute channel differences decides; the lowest index wins a
// tie and the first exact match ends the search. When no entry lies within 255
// the nearest one is taken all the same, so the result is always the entry with
// the smallest distance and, among those, the lowest index.
uint8_t nearestPaletteIndex(const PALETTEENTRY* entries, uint8_t red, uint8_t green, uint8_t blue) {
    int best = 1 << 30;
    int found = 0;
    for (int i = 0; i < 256; ++i) {
        int d = channelDistance(entries[i].peRed, red) + channelDistance(entries[i].peGreen, green) +
                channelDistance(entries[i].peBlue, blue);
        if (d == 0) return static_cast<uint8_t>(i);
        if (d < best) {
            best = d;
            found = i;
        }
    }
    return static_cast<uint8_t>(found);
}

namespace {

// The means are sorted into cells of 16 x 16 x 16 colours. For a cell, an entry
// can be the nearest to one of its colours only if the entry's least distance
// to the cell is at most U, the smallest of all entries' greatest distances to
// it: every colour of the cell has some entry within U. Those candidates, in
// index order, hold every entry at the smallest distance from each colour of
// the cell, so searching them alone gives nearestPaletteIndex's answer. A cell's
// list is made when a mean first falls into it; a palette of distinct colours
// leaves about ten candidates per cell instead of 256.
constexpr int cellShift = 4;
constexpr int cellSide = 1 << cellShift;
constexpr int cellsPerChannel = 256 / cellSide;
constexpr int lanes = 8;

// Within a block of 32 candidates a key is distance * 32 + (position in the
// block), at most 765 * 32 + 31, so it fits a 16-bit lane and the smallest key
// is the nearest candidate with the lowest index.
constexpr int positionBits = 5;
constexpr int blockSize = 1 << positionBits;

__m128i absoluteDifference(__m128i a, __m128i b) { return _mm_sub_epi16(_mm_max_epi16(a, b), _mm_min_epi16(a, b)); }

int16_t smallestLane(__m128i v) {
    v = _mm_min_epi16(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
    v = _mm_min_epi16(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)));
    v = _mm_min_epi16(v, _mm_shufflelo_epi16(v, _MM_SHUFFLE(2, 3, 0, 1)));
    return static_cast<int16_t>(_mm_cvtsi128_si32(v));
}

class NearestSearch {
public:
    explicit NearestSearch(const PALETTEENTRY* entries) {
        for (int i = 0; i < 256; ++i) {
            red_[i] = entries[i].peRed;
            green_[i] = entries[i].peGreen;
            blue_[i] = entries[i].peBlue;
        }
        cellStart_.fill(-1);
        for (auto* list : {&candidateRed_, &candidateGreen_, &candidateBlue_}) list->reserve(1 << 15);
        candidateIndex_.reserve(1 << 15);
    }

    uint8_t nearest(int red, int green, int blue) {
        const int cell = ((red >> cellShift) * cellsPerChannel + (green >> cellShift)) * cellsPerChannel + (blue >> cellShift);
        if (cellStart_[cell] < 0) listCandidates(cell, red >> cellShift, green >> cellShift, blue >> cellShift);
        const int start = cellStart_[cell], end = cellEnd_[cell];
        const __m128i r = _mm_set1_epi16(static_cast<int16_t>(red));
        const __m128i g = _mm_set1_epi16(static_cast<int16_t>(green));
        const __m128i b = _mm_set1_epi16(static_cast<int16_t>(blue));
        const __m128i positions = _mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7);
        // A later block replaces the best only with a strictly smaller distance.
        int bestDistance = 1 << 30;
        int found = 0;
        for (int block = start; block < end; block += blockSize) {
            __m128i least = _mm_set1_epi16(INT16_MAX);
            for (int k = block; k < std::min(end, block + blockSize); k += lanes) {
                __m128i distance = _mm_add_epi16(
                    _mm_add_epi16(absoluteDifference(load(candidateRed_, k), r), absoluteDifference(load(candidateGreen_, k), g)),
                    absoluteDifference(load(candidateBlue_, k), b));
                __m128i key = _mm_add_epi16(_mm_slli_epi16(distance, positionBits),
                                            _mm_add_epi16(positions, _mm_set1_epi16(static_cast<int16_t>(k - block))));
                least = _mm_min_epi16(least, key);
            }
            const int key = smallestLane(least);
            if (key / blockSize < bestDistance) {
                bestDistance = key / blockSize;
                found = candidateIndex_[block + key % blockSize];
            }
        }
        return static_cast<uint8_t>(found);
    }

private:
    static __m128i load(const std::vector<int16_t>& values, int k) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(values.data() + k));
    }

    // Appends the cell's candidates, padded to whole vectors with copies of the
    // last one: a copy lies at its distance but after it, so it never wins. Per
    // channel, with d1 = low - value and d2 = value - high, the least distance
    // to the cell is max(0, d1, d2) and the greatest is -min(d1, d2).
    void listCandidates(int cell, int cellRed, int cellGreen, int cellBlue) {
        const int lows[3] = {cellRed * cellSide, cellGreen * cellSide, cellBlue * cellSide};
        const std::array<int16_t, 256>* channels[3] = {&red_, &green_, &blue_};
        alignas(16) std::array<int16_t, 256> least;
        const __m128i zero = _mm_setzero_si128();
        __m128i bound = _mm_set1_epi16(INT16_MAX);
        for (int i = 0; i < 256; i += lanes) {
            __m128i closest = zero, farthest = zero;
            for (int c = 0; c < 3; ++c) {
                const __m128i value = _mm_loadu_si128(reinterpret_cast<const __m128i*>(channels[c]->data() + i));
                const __m128i belowLow = _mm_sub_epi16(_mm_set1_epi16(static_cast<int16_t>(lows[c])), value);
                const __m128i aboveHigh =
                    _mm_sub_epi16(value, _mm_set1_epi16(static_cast<int16_t>(lows[c] + cellSide - 1)));
                closest = _mm_add_epi16(closest, _mm_max_epi16(zero, _mm_max_epi16(belowLow, aboveHigh)));
                farthest = _mm_sub_epi16(farthest, _mm_min_epi16(belowLow, aboveHigh));
            }
            _mm_store_si128(reinterpret_cast<__m128i*>(least.data() + i), closest);
            bound = _mm_min_epi16(bound, farthest);
        }
        const __m128i limit = _mm_set1_epi16(smallestLane(bound));
        cellStart_[cell] = static_cast<int>(candidateIndex_.size());
        for (int i = 0; i < 256; i += lanes) {
            const __m128i over = _mm_cmpgt_epi16(_mm_load_si128(reinterpret_cast<const __m128i*>(least.data() + i)), limit);
            // Two mask bits a lane: every other bit tells the lanes apart.
            for (unsigned within = ~static_cast<unsigned>(_mm_movemask_epi8(over)) & 0x5555u; within; within &= within - 1) {
                append(i + std::countr_zero(within) / 2);
            }
        }
        while ((candidateIndex_.size() - cellStart_[cell]) % lanes) append(candidateIndex_.back());
        cellEnd_[cell] = static_cast<int>(candidateIndex_.size());
    }

    void append(int i) {
        candidateRed_.push_back(red_[i]);
        candidateGreen_.push_back(green_[i]);
        candidateBlue_.push_back(blue_[i]);
        candidateIndex_.push_back(static_cast<uint8_t>(i));
    }

    std::array<int16_t, 256> red_{}, green_{}, blue_{};
    std::array<int, cellsPerChannel * cellsPerChannel * cellsPerChannel> cellStart_{}, cellEnd_{};
    std::vector<int16_t> candidateRed_, candidateGreen_, candidateBlue_;
    std::vector<uint8_t> candidateIndex_;
};

}  // namespace

void fillBlendTable(const PALETTEENTRY* entries, uint8_t* table) {
    auto search = std::make_unique<NearestSearch>(entries);
    // The mean of a and b is the mean of b and a: search each pair once.
    for (int a = 0; a < 256; ++a) {
        for (int b = a; b < 256; ++b) {
            int red = (entries[a].peRed + entries[b].peRed) / 2;
            int green = (entries[a].peGreen + entries[b].peGreen) / 2;
            int blue = (entries[a].peBlue + entries[b].peBlue) / 2;
            uint8_t nearest = search->nearest(red, green, blue);
            table[a * 256 + b] = nearest;
            table[b * 256 + a] = nearest;
        }
    }
}

bool buildBlendTable(LPDIRECTDRAWPALETTE palette) {
    if (!palette) return false;
    PALETTEENTRY entries[256] = {};
    palette->GetEntries(0, 0, 256, entries);
    fillBlendTable(entries, BlendTable);
    return true;
}

void fillSmoothingTable() {
    for (int i = 0; i < 2048; ++i) SmoothingTable[i] = static_cast<uint8_t>(i >> 3);
}
