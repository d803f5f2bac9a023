// "Sprites.bmp": five 90 x 100 frames of the torch-bearer along the top, and
// nine three-frame strips of the explorer (49 x 49 frames, 50 pixels apart)
// below. Everything outside the figures is the key colour.
#pragma once
#include "image.h"

namespace assetgen {

inline constexpr int kSpriteSheetWidth = 456;
inline constexpr int kSpriteSheetHeight = 256;
inline constexpr int kBearerWidth = 90;
inline constexpr int kBearerHeight = 100;
inline constexpr int kBearerFrames = 5;
inline constexpr int kExplorerSize = 49;
inline constexpr int kExplorerFrames = 3;

// One frame of the torch-bearer's loop (0..4), 90 x 100.
IndexedImage drawTorchBearer(int frame);

// The explorer heading in direction `direction` (the demo's direction index:
// 0 standing, 1 left, 2 right, 3 up, 4 down, 5 up-right, 6 up-left,
// 7 down-left, 8 down-right), walk frame 0..2; 49 x 49.
IndexedImage drawExplorer(int direction, int frame);

// The explorer standing, framed for an icon of size x size pixels: the whole
// figure at 32, head and shoulders at 16.
IndexedImage drawExplorerIcon(int size);

// Top-left corner of the explorer strip for a direction.
void explorerStripOrigin(int direction, int& x, int& y);

}  // namespace assetgen
