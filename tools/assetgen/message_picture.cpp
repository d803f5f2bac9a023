// "MsgWnd.bmp": the panel behind the quit prompt. A stone-grey bevelled frame
// with a red title strip and a parchment middle on which the demo's default
// black text reads; no text is drawn here.
#include <algorithm>
#include <cstdlib>

#include "noise.h"
#include "rng.h"
#include "palette.h"
#include "pictures.h"

namespace assetgen {

namespace {
constexpr int kWidth = 280;
constexpr int kHeight = 80;
}  // namespace

IndexedImage drawMessagePicture() {
    const Palette& p = palette();
    IndexedImage img(kWidth, kHeight, p.parchment[3]);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int ring = std::min(std::min(x, y), std::min(kWidth - 1 - x, kHeight - 1 - y));
            uint8_t c;
            if (ring == 0) {
                c = p.outline;
            } else if (ring <= 5) {
                // Bevel: lit from the upper left, shadowed toward the lower right.
                const bool lit = (x < kWidth - 1 - ring + 0 && y < kHeight - 1 - ring) && (ring == x || ring == y);
                const int tone = fractalNoise(301, x, y, 8, 8, 40, 10, 2) > 560 ? 1 : 0;
                if (ring == 1) c = lit ? p.rock[10] : p.rock[2];
                else if (ring == 5) c = lit ? p.rock[3] : p.rock[9];  // inner edge reverses: the panel sinks in
                else c = p.rock[(lit ? 7 : 5) + tone];
            } else if (y < 15) {
                // Title strip.
                c = y == 6 ? p.cloak[5] : (y == 14 ? p.cloak[0] : p.cloak[y < 10 ? 3 : 2]);
                if (ring == 6) c = p.cloak[1];
            } else if (ring == 6) {
                c = p.parchment[0];
            } else {
                // Parchment: a faint speckle, the edges a shade darker.
                const int speckle = static_cast<int>(hash2(302, x, y) % 23);
                const int edge = std::min(std::min(x - 6, kWidth - 7 - x), std::min(y - 15, kHeight - 7 - y));
                int s = edge < 3 ? 3 : 4;
                if (speckle == 0) s -= 1;
                c = p.parchment[s];
            }
            img.at(x, y) = c;
        }
    // Rivets in the corners of the frame.
    const int rivets[4][2] = {{3, 3}, {kWidth - 4, 3}, {3, kHeight - 4}, {kWidth - 4, kHeight - 4}};
    for (const auto& r : rivets) {
        img.at(r[0], r[1]) = p.metal[3];
        img.at(r[0] + 1, r[1]) = p.metal[1];
        img.at(r[0], r[1] + 1) = p.metal[1];
        img.at(r[0] + 1, r[1] + 1) = p.metal[0];
    }
    return img;
}

}  // namespace assetgen
