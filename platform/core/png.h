// Reading PNG files back (the contact sheet of a run's captures); writing them
// is platform/control.h's savePng. Through libpng, or the browser in a page.
#pragma once

#include <string>

#include "platform/control.h"

namespace qmp {

// Reads a PNG file as packed RGB. False with the reason in `error`.
bool loadPng(const std::string& path, platform::RgbImage* image, std::string* error);

}  // namespace qmp
