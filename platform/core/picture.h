// One picture of the 8-bit display: palette indices and the palette they show through.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/control.h"

namespace qmp {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> indices;  // width x height, rows top-down, no padding
    PALETTEENTRY palette[256] = {};

    platform::RgbImage toRgb() const;
};

}  // namespace qmp
