// Puts a frame on a larger (or smaller) output in software, for hosts that
// present through a plain pixel buffer: a whole-number upscale, then a smooth
// step to the target size that weighs the upscaled pixels by the area each
// covers of an output pixel. Every picture pixel so gets the same share of the
// output, and only the output pixels its edges cross mix it with a neighbour:
// sharp, and no pixel doubled unevenly. (An output smaller than the picture
// mixes the two pixels nearest each output pixel.) Each source row is scaled
// across once, and output rows are copies or mixes of two such rows.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "core/frame.h"
#include "core/placement.h"

namespace qmp {

class Scaler {
public:
    // Tables for a picture of picW x picH placed so; call again when either changes.
    void prepare(int picW, int picH, const Placement& placement);
    const Placement& placement() const { return placement_; }

    // The output pixels that a rectangle of picture pixels reaches; empty when none.
    Rect outputRect(const Rect& picture) const;

    // Draws the part of the output rectangle that the picture covers from the
    // frame into `out` (rows `pitch` pixels apart, the output's origin at out[0]).
    void draw(const Frame& frame, const Rect& output, uint32_t* out, int pitch);

private:
    struct Tap {
        int first = 0;       // source pixel
        int second = 0;      // its neighbour across the edge
        uint32_t weight = 0; // of `second`, 0..255
    };
    static std::vector<Tap> taps(int source, int factor, int target);
    // The output pixels [first, last) of one axis that source pixels [from, to) reach.
    static std::pair<int, int> reached(const std::vector<Tap>& taps, int from, int to);
    // Source row `row` scaled across, valid for the output columns of the current draw.
    const uint32_t* line(const Frame& frame, int row);

    Placement placement_;
    int picW_ = 0;
    int picH_ = 0;
    std::vector<Tap> columns_;
    std::vector<Tap> rows_;
    bool crispAcross_ = false;     // no column mixes two pixels
    bool identityAcross_ = false;  // and each is its own source pixel
    std::vector<uint32_t> lines_[2];  // source rows scaled across, the last two used
    std::vector<uint32_t> firsts_;    // a row's pixels by column: each column's first pixel,
    std::vector<uint32_t> seconds_;   // and its second
    std::vector<uint8_t> columnWeights_;  // each column's weight, once per byte of its pixel
    int lineRows_[2] = {-1, -1};
    int columnFrom_ = 0;  // the target's columns [columnFrom_, columnTo_) that the current draw needs
    int columnTo_ = 0;
};

// The mix of two pixels, `weight` (0..256) of b; every 8-bit channel alike.
inline uint32_t mixPixels(uint32_t a, uint32_t b, uint32_t weight) {
    const uint32_t keep = 256 - weight;
    const uint32_t low = ((a & 0x00FF00FFu) * keep + (b & 0x00FF00FFu) * weight) >> 8;
    const uint32_t high = ((a >> 8) & 0x00FF00FFu) * keep + ((b >> 8) & 0x00FF00FFu) * weight;
    return (low & 0x00FF00FFu) | (high & 0xFF00FF00u);
}

}  // namespace qmp
