// A PNG to look at the pictures with: all three at 1x, the sprite sheet
// enlarged 3x, the palette, and a small cave drawn from the background pieces
// the way the demo draws it.
#pragma once
#include <string>

#include "bmp_writer.h"
#include "image.h"

namespace assetgen {

struct PictureSet {
    IndexedImage background, sprites, message;
    ColourTable colours{};
};

// Two rows of three cells with an L-shaped opening (the lower row open across,
// the upper row open on its left two cells), drawn floor first and then bands
// and corners keyed over their neighbours.
// A few figures from the sprite sheet stand on the floor, as the demo draws
// them (bottom-centre on their point), to judge how they read on it.
IndexedImage renderCavePreview(const IndexedImage& backgroundSheet, const IndexedImage& spriteSheet);

bool writeContactSheet(const std::string& path, const PictureSet& pictures);

}  // namespace assetgen
