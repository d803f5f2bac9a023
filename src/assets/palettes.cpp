// The random warm and cool palettes of fireworks mode. Entry 0 and the flags
// bytes are left alone; the draws go red, green, blue, entry by entry.
#include "assets/palettes.h"

#include "app/clock.h"

namespace {

int32_t rnd(int32_t lo, int32_t hi) { return gameRandom.range(lo, hi); }

// The arguments are evaluated left to right inside braces, which keeps the
// order of the draws.
struct Colour {
    int32_t red;
    int32_t green;
    int32_t blue;
};

void setEntry(PALETTEENTRY& entry, Colour colour) {
    entry.peRed = static_cast<BYTE>(colour.red);
    entry.peGreen = static_cast<BYTE>(colour.green);
    entry.peBlue = static_cast<BYTE>(colour.blue);
}

}  // namespace

// Dark red through brown and orange to bright yellow, a pale green top entry.
void generateWarmPalette(PALETTEENTRY* palette) {
    for (int32_t i = 1; i <= 254; ++i) {
        Colour c;
        if (i <= 34) c = Colour{i + 35, rnd(15, 25), rnd(5, 10)};
        else if (i <= 54) c = Colour{i + rnd(30, 55), i + rnd(10, 20), rnd(30, 7)};  // 30..51
        else if (i <= 94) c = Colour{i + 15, i - 15, rnd(10, 20)};
        else if (i <= 199) c = Colour{i + 25, i - 30, rnd(10, 20)};
        else c = Colour{i, i - 10, rnd(50, 80)};
        setEntry(palette[i], c);
    }
    setEntry(palette[255], Colour{200, 255, 200});
}

// Near black through teal and blue to pale blue, a near-white top entry.
void generateCoolPalette(PALETTEENTRY* palette) {
    for (int32_t i = 1; i <= 254; ++i) {
        Colour c;
        if (i <= 34) c = Colour{i + 5, i + 10, i + rnd(5, 10)};
        else if (i <= 54) c = Colour{i - 10, i + rnd(10, 50), i + 10};
        else if (i <= 94) c = Colour{i - 20, i - 15, i + 50};
        else if (i <= 199) c = Colour{i - rnd(50, 70), i - 30, i + 40};
        else c = Colour{rnd(150, 200), i - rnd(1, 20), i};
        setEntry(palette[i], c);
    }
    setEntry(palette[255], Colour{250, 250, 255});
}
