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

namespace {

// An off-screen 8-bit surface on a device in normal mode, filled by `fill`.
LPDIRECTDRAWSURFACE makeBenchSurface(LPDIRECTDRAW device, int32_t width, int32_t height) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(DDSURFACEDESC);
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    LPDIRECTDRAWSURFACE surface = nullptr;
    device->CreateSurface(&desc, &surface, nullptr);
    return surface;
}

template <typename Fill>
void paint(LPDIRECTDRAWSURFACE surface, Fill fill) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(DDSURFACEDESC);
    if (FAILED(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr))) return;
    auto* bytes = static_cast<uint8_t*>(desc.lpSurface);
    for (DWORD y = 0; y < desc.dwHeight; ++y) {
        for (DWORD x = 0; x < desc.dwWidth; ++x) bytes[y * desc.lPitch + x] = fill(static_cast<int>(x), static_cast<int>(y));
    }
    surface->Unlock(nullptr);
}

LPDIRECTDRAW benchDevice() {
    platform::reset();
    LPDIRECTDRAW device = nullptr;
    if (FAILED(DirectDrawCreate(nullptr, &device, nullptr))) return nullptr;
    device->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
    return device;
}

// The minimap over the canvas: about half of it is the cave's shape, the rest 253.
void BM_TranslucentCopyMinimap(benchmark::State& state) {
    LPDIRECTDRAW device = benchDevice();
    LPDIRECTDRAWSURFACE canvas = device ? makeBenchSurface(device, 640, 480) : nullptr;
    LPDIRECTDRAWSURFACE minimap = device ? makeBenchSurface(device, 213, 213) : nullptr;
    if (!canvas || !minimap) {
        state.SkipWithError("no DirectDraw surfaces");
        return;
    }
    std::vector<PALETTEENTRY> palette = randomPalette(3);
    fillBlendTable(palette.data(), BlendTable);
    paint(canvas, [](int x, int y) { return static_cast<uint8_t>(x ^ y); });
    paint(minimap, [](int x, int y) { return (x / 20 + y / 20) % 2 ? uint8_t{253} : static_cast<uint8_t>(x + y); });
    for (auto _ : state) benchmark::DoNotOptimize(translucentCopy(canvas, 213, 133, minimap, 213, 213));
    platform::reset();
}
BENCHMARK(BM_TranslucentCopyMinimap)->Unit(benchmark::kMicrosecond);

// Fireworks frames are mostly black with a few thousand short lines; the
// uniform canvas is the worst case, every pixel drawn.
void BM_SmoothCanvas(benchmark::State& state) {
    bool sparse = state.range(0) == 0;
    LPDIRECTDRAW device = benchDevice();
    LPDIRECTDRAWSURFACE canvas = device ? makeBenchSurface(device, 640, 480) : nullptr;
    if (!canvas) {
        state.SkipWithError("no DirectDraw surface");
        return;
    }
    for (int i = 0; i < 2048; ++i) SmoothingTable[i] = static_cast<uint8_t>(i >> 3);
    auto content = [sparse](int x, int y) {
        if (!sparse) return uint8_t{200};
        return ((x * 7 + y * 13) % 29 == 0 || (x + 3 * y) % 37 < 2) ? static_cast<uint8_t>(255 - x % 200) : uint8_t{0};
    };
    state.SetLabel(sparse ? "fireworks-like" : "every pixel drawn");
    paint(canvas, content);
    for (auto _ : state) {
        if (sparse) {
            state.PauseTiming();
            paint(canvas, content);
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(smoothCanvas(canvas));
    }
    platform::reset();
}
BENCHMARK(BM_SmoothCanvas)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
