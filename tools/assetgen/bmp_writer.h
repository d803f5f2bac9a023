// The one BMP flavour the demo reads: 8 bits per pixel, 40-byte info header,
// a full 256-entry colour table at offset 54, bottom-up rows from offset 1078.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "image.h"

namespace assetgen {

using ColourTable = std::array<Rgb, 256>;

// Little-endian fields, as every Windows file header stores them.
void put16(std::vector<uint8_t>& out, uint32_t v);
void put32(std::vector<uint8_t>& out, uint32_t v);

std::vector<uint8_t> encodeBmp(const IndexedImage& image, const ColourTable& colours);
bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// Reads back the flavour above (for the contact sheet). False, with a reason,
// for anything else or a file that ends early.
bool readBmp(const std::string& path, IndexedImage& image, ColourTable& colours, std::string& error);

}  // namespace assetgen
