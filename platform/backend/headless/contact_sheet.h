// A contact sheet of a run's captures: every picture at half size, in a grid.
#pragma once

#include <string>
#include <vector>

#include "core/png.h"
#include "platform/control.h"

namespace qmp {

// Half-size thumbnails (2 x 2 pixels averaged) in rows of `columns`, in order,
// on a dark background with a margin around each. Empty for no pictures.
platform::RgbImage makeContactSheet(const std::vector<platform::RgbImage>& pictures, int columns = 4);

}  // namespace qmp
