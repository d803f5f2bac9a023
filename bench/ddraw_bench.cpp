// The DirectDraw copies a frame of the demo makes: a cleared canvas, about 150
// colour-keyed pieces from 49 x 49 sprites to a 320 x 400 piece, and the
// canvas copied whole into the back buffer.
#include <benchmark/benchmark.h>
#include <ddraw.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr uint8_t transparentIndex = 253;

struct Piece {
    LPDIRECTDRAWSURFACE surface = nullptr;
    int width = 0;
    int height = 0;
};

class Scene {
public:
    Scene() {
        if (DirectDrawCreate(nullptr, &device_, nullptr) != DD_OK) std::abort();
        device_->SetCooperativeLevel(reinterpret_cast<HWND>(uintptr_t{1}), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
        device_->SetDisplayMode(640, 480, 8);
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        desc.dwBackBufferCount = 1;
        if (device_->CreateSurface(&desc, &primary_, nullptr) != DD_OK) std::abort();
        DDSCAPS caps{DDSCAPS_BACKBUFFER};
        primary_->GetAttachedSurface(&caps, &back_);
        canvas_ = make(640, 480, DDSCAPS_SYSTEMMEMORY).surface;
    }
    ~Scene() {
        back_->Release();
        device_->Release();  // takes every surface with it
    }

    // A piece whose pixels are opaque but for a transparent border and holes.
    Piece make(int width, int height, DWORD memory = 0) {
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.dwWidth = static_cast<DWORD>(width);
        desc.dwHeight = static_cast<DWORD>(height);
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | memory;
        Piece piece{nullptr, width, height};
        if (device_->CreateSurface(&desc, &piece.surface, nullptr) != DD_OK) std::abort();
        DDCOLORKEY key{transparentIndex, transparentIndex};
        piece.surface->SetColorKey(DDCKEY_SRCBLT, &key);
        desc.dwSize = sizeof desc;
        piece.surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
        auto* bytes = static_cast<uint8_t*>(desc.lpSurface);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const bool edge = x < width / 8 || x >= width - width / 8 || (x * 7 + y * 3) % 11 == 0;
                bytes[y * desc.lPitch + x] = edge ? transparentIndex : static_cast<uint8_t>((x ^ y) % 250);
            }
        piece.surface->Unlock(nullptr);
        return piece;
    }

    LPDIRECTDRAWSURFACE canvas() const { return canvas_; }
    LPDIRECTDRAWSURFACE back() const { return back_; }

private:
    LPDIRECTDRAW device_ = nullptr;
    LPDIRECTDRAWSURFACE primary_ = nullptr;
    LPDIRECTDRAWSURFACE back_ = nullptr;
    LPDIRECTDRAWSURFACE canvas_ = nullptr;
};

void keyedCopy(LPDIRECTDRAWSURFACE dest, const Piece& piece, int x, int y) {
    RECT to{x, y, x + piece.width, y + piece.height};
    RECT from{0, 0, piece.width, piece.height};
    dest->Blt(&to, piece.surface, &from, DDBLT_KEYSRC | DDBLT_WAIT, nullptr);
}

void BM_KeyedBlt(benchmark::State& state) {
    Scene scene;
    const Piece piece = scene.make(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) keyedCopy(scene.canvas(), piece, 100, 40);
    state.SetBytesProcessed(state.iterations() * state.range(0) * state.range(1));
}
BENCHMARK(BM_KeyedBlt)->Args({49, 49})->Args({90, 100})->Args({320, 400});

void BM_StretchedKeyedBlt(benchmark::State& state) {
    Scene scene;
    const Piece piece = scene.make(90, 100);
    RECT to{10, 10, 10 + 135, 10 + 150};
    for (auto _ : state) scene.canvas()->Blt(&to, piece.surface, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr);
}
BENCHMARK(BM_StretchedKeyedBlt);

void BM_ColourFill(benchmark::State& state) {
    Scene scene;
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    for (auto _ : state) scene.canvas()->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}
BENCHMARK(BM_ColourFill);

void BM_BltFastCanvasToBackBuffer(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) scene.back()->BltFast(0, 0, scene.canvas(), nullptr, DDBLTFAST_WAIT);
}
BENCHMARK(BM_BltFastCanvasToBackBuffer);

// One frame's copies: 100 sprites, 40 standing figures, 9 cave pieces, one large piece.
void BM_Frame(benchmark::State& state) {
    Scene scene;
    std::vector<Piece> pieces;
    for (int i = 0; i < 100; ++i) pieces.push_back(i < 9 ? scene.make(49, 49) : pieces[i % 9]);
    const Piece figure = scene.make(90, 100);
    const Piece tile = scene.make(160, 120);
    const Piece large = scene.make(320, 400);
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    for (auto _ : state) {
        scene.canvas()->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
        for (int i = 0; i < 9; ++i) keyedCopy(scene.canvas(), tile, (i % 3) * 160, (i / 3) * 120);
        keyedCopy(scene.canvas(), large, 300, 40);
        for (int i = 0; i < 40; ++i) keyedCopy(scene.canvas(), figure, (i * 37) % 540, (i * 53) % 380);
        for (int i = 0; i < 100; ++i) keyedCopy(scene.canvas(), pieces[i], (i * 61) % 590, (i * 29) % 430);
        scene.back()->BltFast(0, 0, scene.canvas(), nullptr, DDBLTFAST_WAIT);
    }
}
BENCHMARK(BM_Frame)->Unit(benchmark::kMicrosecond);

}  // namespace
