// PNG output for looking at the pictures (contact sheet, previews).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

// rgb holds width x height pixels of three bytes, rows top-down.
bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);
// The same with a fourth byte per pixel, its opacity.
bool writePngRgba(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);

}  // namespace assetgen
