// Narrowing of 64-bit world arithmetic back to 32-bit coordinates.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

// Far-away points map to far-away points, never around to the other side.
inline int32_t saturate(int64_t v) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}
