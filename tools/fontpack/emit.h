// Writes faces as the C++ definitions declared in platform/core/glyph_data.h.
#pragma once

#include <ostream>
#include <string>

#include "glyphs.h"

namespace fontpack {

// One FaceData definition named `name` with its tables; returns the bytes of glyph rows written.
size_t emitFace(std::ostream& out, const std::string& name, const Face& face);

}  // namespace fontpack
