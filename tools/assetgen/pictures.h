// The generator's pictures, each drawn from scratch with the shared palette.
#pragma once
#include <string>

#include "image.h"

namespace assetgen {

IndexedImage drawBackgroundSheet();  // "bckgnd.bmp"
IndexedImage drawSpriteSheet();      // "Sprites.bmp"
IndexedImage drawMessagePicture();   // "MsgWnd.bmp"

// Writes the program icon (32 x 32 and 16 x 16, 32 bits per pixel).
bool writeIcon(const std::string& path);
// The icon for desktops (freedesktop icon themes): the explorer at size x size, see-through around it.
bool writeIconPng(const std::string& path, int size);

}  // namespace assetgen
