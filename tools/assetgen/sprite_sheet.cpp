#include "sprite_sheet.h"

#include "palette.h"
#include "pictures.h"

namespace assetgen {

void explorerStripOrigin(int direction, int& x, int& y) {
    static const int origins[9][2] = {{301, 203}, {1, 103},   {151, 103}, {301, 103}, {1, 153},
                                      {151, 153}, {301, 153}, {1, 203},   {151, 203}};
    x = origins[direction][0];
    y = origins[direction][1];
}

IndexedImage drawSpriteSheet() {
    IndexedImage sheet(kSpriteSheetWidth, kSpriteSheetHeight, kKeyIndex);
    for (int f = 0; f < kBearerFrames; ++f) sheet.paste(drawTorchBearer(f), 1 + f * (kBearerWidth + 1), 1);
    for (int d = 0; d < 9; ++d) {
        int x, y;
        explorerStripOrigin(d, x, y);
        for (int f = 0; f < kExplorerFrames; ++f) sheet.paste(drawExplorer(d, f), x + f * (kExplorerSize + 1), y);
    }
    return sheet;
}

}  // namespace assetgen
