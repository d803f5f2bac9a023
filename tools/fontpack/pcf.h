// Reader of X11 PCF bitmap fonts (optionally gzip-compressed).
#pragma once

#include <string>

#include "glyphs.h"

namespace fontpack {

// Reads every encoded glyph of a PCF font into cells of the font's ascent plus
// descent. Throws std::runtime_error naming the file on a broken font.
Face readPcf(const std::string& path);

}  // namespace fontpack
