// Integer noise and small drawing helpers. Everything periodic takes its period
// in lattice cells, so textures built from it tile seamlessly.
#pragma once
#include <cstdint>

#include "image.h"

namespace assetgen {

int floorDiv(int a, int b);
int wrap(int a, int period);
int isqrt(int64_t v);

// Smooth value noise, 0..1023, on a lattice of cellW x cellH pixels that
// repeats every periodX x periodY cells.
int valueNoise(uint32_t seed, int x, int y, int cellW, int cellH, int periodX, int periodY);

// Sum of `octaves` value-noise layers, each with half the cell size and half
// the weight of the one before; 0..1023. The cell sizes must stay divisors of
// the image period for the result to tile.
int fractalNoise(uint32_t seed, int x, int y, int cellW, int cellH, int periodX, int periodY, int octaves);

// Cellular (Worley) noise over a domain of width x height pixels that wraps,
// with one jittered point per cell of a gridX x gridY grid.
struct CellSample {
    int id;            // which cell's point is nearest
    int secondId;      // and which is second nearest
    int dx, dy;        // offset from that point to the sample
    int nearest;       // distance to the nearest point, pixels
    int edge;          // distance to the border with the second nearest, pixels x 16
};
CellSample cellNoise(uint32_t seed, int x, int y, int width, int height, int gridX, int gridY);

// 4 x 4 ordered dither threshold, 0..15.
int bayer4(int x, int y);

}  // namespace assetgen
