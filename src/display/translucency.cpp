// The BlendTable: for every pair of palette indices, the entry nearest to the
// mean of their colours.
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

// Per-channel distances from every channel value v to every entry i, so that a
// search is three table rows added up: red[v][i] = |peRed of i - v|.
struct ChannelDistances {
    uint16_t red[256][256];
    uint16_t green[256][256];
    uint16_t blue[256][256];
};

// The same answer as nearestPaletteIndex: the search above picks the smallest
// (distance, index) pair, and so does the minimum of distance * 256 + index.
// Written without branches over a fixed count so that the compiler can run the
// 256 entries in vector registers.
uint8_t nearestFromRows(const uint16_t* red, const uint16_t* green, const uint16_t* blue) {
    uint32_t best = UINT32_MAX;
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t key = (static_cast<uint32_t>(red[i] + green[i] + blue[i]) << 8) | i;
        best = std::min(best, key);
    }
    return static_cast<uint8_t>(best & 0xFF);
}

}  // namespace

void fillBlendTable(const PALETTEENTRY* entries, uint8_t* table) {
    auto distances = std::make_unique<ChannelDistances>();
    for (int v = 0; v < 256; ++v) {
        for (int i = 0; i < 256; ++i) {
            distances->red[v][i] = static_cast<uint16_t>(channelDistance(entries[i].peRed, v));
            distances->green[v][i] = static_cast<uint16_t>(channelDistance(entries[i].peGreen, v));
            distances->blue[v][i] = static_cast<uint16_t>(channelDistance(entries[i].peBlue, v));
        }
    }
    // The mean of a and b is the mean of b and a: search each pair once.
    for (int a = 0; a < 256; ++a) {
        for (int b = a; b < 256; ++b) {
            int red = (entries[a].peRed + entries[b].peRed) / 2;
            int green = (entries[a].peGreen + entries[b].peGreen) / 2;
            int blue = (entries[a].peBlue + entries[b].peBlue) / 2;
            uint8_t nearest = nearestFromRows(distances->red[red], distances->green[green], distances->blue[blue]);
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
