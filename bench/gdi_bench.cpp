// The platform GDI under the demo's per-frame load: 2000 fireworks lines, the
// 256 palette dots, the read-out text, and the quit prompt's blend.
#include <benchmark/benchmark.h>
#include <windows.h>

#include <cstdlib>
#include <vector>

#include "core/dc.h"
#include "core/reset.h"

namespace {

class Screen final : public qmp::PixelTarget {
public:
    Screen(int width, int height) : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height) {
        for (int i = 0; i < 256; ++i)
            palette_[i] = PALETTEENTRY{static_cast<BYTE>(i), static_cast<BYTE>(i * 7), static_cast<BYTE>(255 - i), 0};
    }
    uint8_t* bits() override { return pixels_.data(); }
    int pitch() const override { return width_; }
    int width() const override { return width_; }
    int height() const override { return height_; }
    const PALETTEENTRY* colours() const override { return palette_; }
    uint64_t coloursVersion() const override { return 1; }

private:
    int width_, height_;
    std::vector<uint8_t> pixels_;
    PALETTEENTRY palette_[256];
};

struct Particle {
    int x0, y0, x1, y1, width;
    COLORREF colour;
};

// Each line as the demo's drawLine makes it: a context, a new pen, the line, the pen deleted.
void BM_FireworksFrame(benchmark::State& state) {
    qmp::runResetHooks();
    Screen screen(640, 480);
    std::srand(7);
    std::vector<Particle> particles;
    for (int i = 0; i < 2000; ++i) {
        const int x = 320 + std::rand() % 200 - 100, y = 240 + std::rand() % 200 - 100;
        const int k = std::rand() % 256;
        particles.push_back({x, y, x + std::rand() % 21 - 10, y + std::rand() % 21 - 10, k >> 5,
                             RGB(k, k * 7 % 256, 255 - k)});
    }
    for (auto _ : state) {
        for (const Particle& p : particles) {
            HPEN pen = CreatePen(PS_SOLID, p.width, p.colour);
            HDC dc = qmp::openDC(&screen);
            SelectObject(dc, pen);
            MoveToEx(dc, p.x0, p.y0, nullptr);
            LineTo(dc, p.x1, p.y1);
            qmp::closeDC(dc);
            DeleteObject(pen);
        }
        benchmark::DoNotOptimize(screen.bits()[320 * 640]);
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_FireworksFrame)->Unit(benchmark::kMillisecond);

void BM_PaletteDots(benchmark::State& state) {
    qmp::runResetHooks();
    Screen screen(640, 480);
    for (auto _ : state) {
        for (int i = 0; i < 256; ++i) {
            const COLORREF colour = RGB(i, i * 7, 255 - i);
            HBRUSH brush = CreateSolidBrush(colour);
            HPEN pen = CreatePen(PS_SOLID, 2, colour);
            HDC dc = qmp::openDC(&screen);
            SelectObject(dc, brush);
            SelectObject(dc, pen);
            Ellipse(dc, 8 + 2 * i - 2, 0, 8 + 2 * i + 2, 4);
            qmp::closeDC(dc);
            DeleteObject(brush);
            DeleteObject(pen);
        }
    }
}
BENCHMARK(BM_PaletteDots)->Unit(benchmark::kMicrosecond);

void BM_ReadoutLine(benchmark::State& state) {
    qmp::runResetHooks();
    Screen screen(640, 480);
    HFONT font = CreateFontA(10, 0, 0, 0, FW_THIN, 0, 0, 0, 0, 0, 0, 0, 0, "Fixedsys");
    const char line[] = "R:31  C:33  ( 3200, 3200) - RN:64  CN:66 ";
    for (auto _ : state) {
        HDC dc = qmp::openDC(&screen);
        SetTextColor(dc, RGB(0, 255, 255));
        SetBkMode(dc, TRANSPARENT);
        SelectObject(dc, font);
        TextOutA(dc, 5, 15, line, sizeof line - 1);
        qmp::closeDC(dc);
    }
    DeleteObject(font);
}
BENCHMARK(BM_ReadoutLine)->Unit(benchmark::kMicrosecond);

void BM_PromptBlend(benchmark::State& state) {
    qmp::runResetHooks();
    Screen screen(640, 480), message(213, 100);
    for (auto _ : state) {
        HDC to = qmp::openDC(&screen), from = qmp::openDC(&message);
        AlphaBlend(to, 213, 160, 213, 100, from, 0, 0, 213, 100, BLENDFUNCTION{AC_SRC_OVER, 0, 125, 0});
        qmp::closeDC(from);
        qmp::closeDC(to);
    }
}
BENCHMARK(BM_PromptBlend)->Unit(benchmark::kMicrosecond);

}  // namespace

