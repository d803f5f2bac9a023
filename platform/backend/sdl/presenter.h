// The two ways the window puts frames on the screen, chosen by what the
// machine has (backend/sdl/window.cpp):
//   software  the window's own pixel buffer (X11 shared memory), scaled by
//             core's Scaler: no GL stack is loaded at all;
//   gpu       an SDL renderer (GL where there is one) with a streaming
//             texture, scaled by the GPU.
// Both upload only the rows that changed, once per presentation, never wait
// for the display's refresh, and draw the overlay at the output's own size.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "core/frame.h"
#include "core/placement.h"

namespace qmp::sdl {

class Presenter {
public:
    virtual ~Presenter() = default;
    virtual const char* name() const = 0;
    // The layout of the frames it takes.
    virtual PixelFormat format() const = 0;
    // Shows the frame, its changed rows only unless `whole` (the output changed
    // size or lost its contents).
    virtual void present(const Frame& frame, bool whole) = 0;
    // The picture's rectangle in output pixels, and the output's size.
    virtual Rect placed() const = 0;
    virtual void outputSize(int* w, int* h) const = 0;
    virtual void setScaleMode(ScaleMode mode) = 0;
};

// Null with the reason in `error` when the window cannot be shown that way.
std::unique_ptr<Presenter> makeSoftwarePresenter(SDL_Window* window, ScaleMode mode, std::string* error);
std::unique_ptr<Presenter> makeGpuPresenter(SDL_Window* window, ScaleMode mode, std::string* error);

}  // namespace qmp::sdl
