// The window's cost per presentation: a 640 x 480 picture through its palette
// table into a frame, up to the streaming texture and onto the screen, and a
// message box composed over it. Runs on SDL's dummy video driver (software renderer, no display
// needed), so it measures our conversion and SDL's scaling, not a GPU.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdlib>

#include "core/box_view.h"
#include "backend/sdl/window.h"
#include "core/picture.h"

namespace {

qmp::Picture testPicture() {
    qmp::Picture picture;
    picture.width = 640;
    picture.height = 480;
    picture.indices.resize(640 * 480);
    for (size_t i = 0; i < picture.indices.size(); ++i) picture.indices[i] = static_cast<uint8_t>(i * 7 % 251);
    for (int i = 0; i < 256; ++i)
        picture.palette[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 3), 0};
    return picture;
}

// Full screen on the dummy driver's 1024 x 768 display: the picture is placed at factor 1 with bars.
void presentPicture(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    std::string error;
    std::unique_ptr<qmp::sdl::Window> window = qmp::sdl::Window::open("bench", state.range(0) != 0, &error);
    if (!window) {
        state.SkipWithError(error.c_str());
        SDL_Quit();
        return;
    }
    // Two pictures in turn, so that every row changes at every presentation.
    qmp::Picture pictures[2] = {testPicture(), testPicture()};
    for (uint8_t& index : pictures[1].indices) index = static_cast<uint8_t>(index + 1);
    qmp::FrameConverter converter;
    qmp::Frame frame;
    size_t turn = 0;
    for (auto _ : state) {
        converter.convert(pictures[turn++ % 2], qmp::sdl::Window::pixelFormat(), frame);
        window->present(frame);
    }
    window.reset();
    SDL_Quit();
}
BENCHMARK(presentPicture)->Arg(0)->Arg(1)->ArgName("windowed")->Unit(benchmark::kMicrosecond);

void composeQuitPrompt(benchmark::State& state) {
    qmp::FrameConverter converter;
    qmp::Frame picture;
    converter.convert(testPicture(), qmp::PixelFormat{}, picture);
    for (auto _ : state) {
        qmp::Frame frame = picture;
        const qmp::BoxLayout layout =
            qmp::layoutBox(U"ESC 鍵按下了！確定退出？", U"Keyboard", MB_YESNO, frame.width, frame.height);
        qmp::dim(frame);
        qmp::drawBox(layout, 0, -1, frame);
        benchmark::DoNotOptimize(frame.pixels.data());
    }
}
BENCHMARK(composeQuitPrompt)->Unit(benchmark::kMicrosecond);

}  // namespace
