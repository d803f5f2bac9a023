// The mixing tables (translucency.h, and blend_table.h's search): the
// BlendTable, for every pair of palette indices the entry nearest to the mean
// of their colours, and the SmoothingTable.
#include "display/translucency.h"

#include <algorithm>
#include <memory>

#include "display/blend_table.h"

uint8_t BlendTable[65536];
uint8_t SmoothingTable[2048];

namespace {

int channelDistance(int a, int b) { return a > b ? a - b : b - a; }

}  // namespace

// The sum of the absolute channel differences decides; the lowest index wins a
// tie and the first exact match ends the search. When no entry lies within 255
// the nearest one is taken all the same, so the result is always the entry with
// the smallest distance and, among those, the lowest index.
uint8_t nearestPaletteIndex(const PALETTEENTRY* entries, uint8_t red, uint8_t green, uint8_t blue) {
    int best = 1 << 30;
    int found = 0;
    for (int i = 0; i < 256; ++i) {
        int d = channelDistance(entries[i].peRed, red) + channelDistance(entries[i].peGreen, green) +
                channelDistance(entries[i].peBlue, blue);
        if (d == 0) return static_cast<uint8_t>(i);
        if (d < best) {
            best = d;
            found = i;
        }
    }
    return static_cast<uint8_t>(found);
}

namespace {

// The entries are searched in blocks of 32. Within a block an entry's key is
// distance * 32 + (index within the block), at most 765 * 32 + 31, so it fits a
// 16-bit lane and the smallest key is the nearest entry with the lowest index.
constexpr int blockSize = 32;

// Per-channel parts of the keys for every channel value v and entry i:
// red[v][i] = |peRed of i - v| * 32 + i % 32, green and blue without the index.
struct ChannelKeys {
    int16_t red[256][256];
    int16_t green[256][256];
    int16_t blue[256][256];
};

// The same answer as nearestPaletteIndex, which takes the entry with the
// smallest (distance, index): each block gives its smallest key, and a later
// block replaces the best only with a strictly smaller distance. The block loop
// has no branches and a fixed count, so it runs in vector registers.
uint8_t nearestFromKeys(const int16_t* red, const int16_t* green, const int16_t* blue) {
    int bestDistance = 1 << 30;
    int found = 0;
    for (int block = 0; block < 256; block += blockSize) {
        int16_t least = INT16_MAX;
        for (int k = block; k < block + blockSize; ++k) {
            least = std::min(least, static_cast<int16_t>(red[k] + green[k] + blue[k]));
        }
        int distance = least / blockSize;
        if (distance < bestDistance) {
            bestDistance = distance;
            found = block + least % blockSize;
        }
    }
    return static_cast<uint8_t>(found);
}

}  // namespace

void fillBlendTable(const PALETTEENTRY* entries, uint8_t* table) {
    auto keys = std::make_unique<ChannelKeys>();
    for (int v = 0; v < 256; ++v) {
        for (int i = 0; i < 256; ++i) {
            keys->red[v][i] = static_cast<int16_t>(channelDistance(entries[i].peRed, v) * blockSize + i % blockSize);
            keys->green[v][i] = static_cast<int16_t>(channelDistance(entries[i].peGreen, v) * blockSize);
            keys->blue[v][i] = static_cast<int16_t>(channelDistance(entries[i].peBlue, v) * blockSize);
        }
    }
    // The mean of a and b is the mean of b and a: search each pair once.
    for (int a = 0; a < 256; ++a) {
        for (int b = a; b < 256; ++b) {
            int red = (entries[a].peRed + entries[b].peRed) / 2;
            int green = (entries[a].peGreen + entries[b].peGreen) / 2;
            int blue = (entries[a].peBlue + entries[b].peBlue) / 2;
            uint8_t nearest = nearestFromKeys(keys->red[red], keys->green[green], keys->blue[blue]);
            table[a * 256 + b] = nearest;
            table[b * 256 + a] = nearest;
        }
    }
}

bool buildBlendTable(LPDIRECTDRAWPALETTE palette) {
    if (!palette) return false;
    PALETTEENTRY entries[256] = {};
    palette->GetEntries(0, 0, 256, entries);
    fillBlendTable(entries, BlendTable);
    return true;
}

void fillSmoothingTable() {
    for (int i = 0; i < 2048; ++i) SmoothingTable[i] = static_cast<uint8_t>(i >> 3);
}
