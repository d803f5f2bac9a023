// The opaque pixels of a surface under its source colour key, as runs per row,
// so that a keyed copy moves whole runs instead of testing every pixel. Built
// from the bytes on the second keyed copy after they last changed (a surface
// written before every copy never pays for it), and dropped by anything that
// may change them: a lock, a device context, a copy or fill into the surface,
// a flip, loss and restore.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ddraw/pixels.h"

namespace qmp::ddraw {

class OpaqueRuns {
public:
    struct Run {
        int32_t begin, end;  // columns [begin, end)
    };

    void forget() {
        built_ = false;
        copiesSinceChange_ = 0;
    }

    // True when the runs for `key` are at hand, building them if this is the
    // second keyed copy since the bytes changed.
    bool ready(const uint8_t* pixels, int pitch, int width, int height, pixels::KeyRange key);

    // The runs of row y, in column order.
    const Run* begin(int y) const { return runs_.data() + rowStart_[static_cast<size_t>(y)]; }
    const Run* end(int y) const { return runs_.data() + rowStart_[static_cast<size_t>(y) + 1]; }

private:
    void build(const uint8_t* pixels, int pitch, int width, int height, pixels::KeyRange key);

    bool built_ = false;
    int copiesSinceChange_ = 0;
    pixels::KeyRange key_{};
    std::vector<uint32_t> rowStart_;  // height + 1 indices into runs_
    std::vector<Run> runs_;
};

// Copies the opaque pixels of source row y, columns [first, first + width), to
// dest[0 .. width - 1], a run at a time.
void copyRowRuns(const OpaqueRuns& runs, int y, const uint8_t* sourceRow, int first, int width, uint8_t* dest);

}  // namespace qmp::ddraw
