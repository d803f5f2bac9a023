// Reader of GNU Unifont's .hex format: "CODE:ROWS" per line, 16 rows of 8 or 16 pixels.
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "glyphs.h"

namespace fontpack {

// Reads the glyphs whose code points are in `wanted`. Throws std::runtime_error
// naming the file and line on a malformed line.
Face readHex(const std::string& path, const std::set<uint32_t>& wanted);

}  // namespace fontpack
