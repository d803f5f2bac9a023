// Timing of the BlendTable build, the translucent copy of the minimap and the
// smoothing filter over the whole canvas.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app/globals.h"
#include "display/blend_table.h"
#include "display/display.h"
#include "display/translucency.h"
#include "platform/control.h"

namespace {

std::vector<PALETTEENTRY> randomPalette(uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<PALETTEENTRY> palette(256);
    for (PALETTEENTRY& entry : palette) {
        entry.peRed = static_cast<BYTE>(random());
        entry.peGreen = static_cast<BYTE>(random());
        entry.peBlue = static_cast<BYTE>(random());
        entry.peFlags = 0;
    }
    return palette;
}

std::string runtimeDir() {
    if (const char* dir = std::getenv("QM_RUNTIME_DIR")) return dir;
#ifdef QM_RUNTIME_DIR
    return QM_RUNTIME_DIR;
#else
    return ".";
#endif
}

// The colour table of bckgnd.bmp (256 RGBQUADs at offset 54), or a random
// palette when the file is not there.
std::vector<PALETTEENTRY> backgroundPalette(bool* real) {
    *real = false;
    std::FILE* file = std::fopen((runtimeDir() + "/bckgnd.bmp").c_str(), "rb");
    if (!file) return randomPalette(1);
    unsigned char table[1024];
    bool read = std::fseek(file, 54, SEEK_SET) == 0 && std::fread(table, 1, sizeof(table), file) == sizeof(table);
    std::fclose(file);
    if (!read) return randomPalette(1);
    std::vector<PALETTEENTRY> palette(256);
    for (int i = 0; i < 256; ++i) {
        palette[i] = PALETTEENTRY{table[i * 4 + 2], table[i * 4 + 1], table[i * 4], 0};
    }
    *real = true;
    return palette;
}

// The search over every pair, entry by entry, as a yardstick for the fast build.
void plainBlendTable(const PALETTEENTRY* entries, uint8_t* table) {
    for (int j = 0; j < 256; ++j) {
        for (int i = 0; i < 256; ++i) {
            table[i * 256 + j] = nearestPaletteIndex(entries, static_cast<uint8_t>((entries[i].peRed + entries[j].peRed) / 2),
                                                     static_cast<uint8_t>((entries[i].peGreen + entries[j].peGreen) / 2),
                                                     static_cast<uint8_t>((entries[i].peBlue + entries[j].peBlue) / 2));
        }
    }
}

void BM_BlendTableBackground(benchmark::State& state) {
    bool real = false;
    std::vector<PALETTEENTRY> palette = backgroundPalette(&real);
    state.SetLabel(real ? "bckgnd.bmp" : "random (no bckgnd.bmp)");
    std::vector<uint8_t> table(65536);
    for (auto _ : state) {
        fillBlendTable(palette.data(), table.data());
        benchmark::DoNotOptimize(table.data());
    }
}
BENCHMARK(BM_BlendTableBackground)->Unit(benchmark::kMillisecond);

void BM_BlendTableRandom(benchmark::State& state) {
    std::vector<PALETTEENTRY> palette = randomPalette(static_cast<uint32_t>(state.range(0)));
    std::vector<uint8_t> table(65536);
    for (auto _ : state) {
        fillBlendTable(palette.data(), table.data());
        benchmark::DoNotOptimize(table.data());
    }
}
BENCHMARK(BM_BlendTableRandom)->Arg(7)->Arg(1234)->Unit(benchmark::kMillisecond);

void BM_BlendTablePlainSearch(benchmark::State& state) {
    bool real = false;
    std::vector<PALETTEENTRY> palette = backgroundPalette(&real);
    state.SetLabel(real ? "bckgnd.bmp" : "random (no bckgnd.bmp)");
    std::vector<uint8_t> table(65536);
    for (auto _ : state) {
        plainBlendTable(palette.data(), table.data());
        benchmark::DoNotOptimize(table.data());
    }
}
BENCHMARK(BM_BlendTablePlainSearch)->Unit(benchmark::kMillisecond);

}  // namespace
