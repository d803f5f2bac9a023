// What goes to the backend to be shown: the program's picture as a frame in the
// backend's pixel layout, or a frame composed over it (an open message box).
#pragma once

#include "core/frame.h"
#include "platform/control.h"

namespace qmp::presentation {

// The program's picture is new (the screen module calls this).
void show(const Picture& picture);

// The program's picture as a frame; empty before the first or when the
// backend shows nothing.
const Frame& programFrame();

// Shows a frame composed over the program's picture, until showProgram().
void showComposed(const Frame& frame);
void showProgram();

// What the screen shows now, as RGB (for screenshots): the composed frame
// while there is one, else the program's picture.
platform::RgbImage visibleRgb();

}  // namespace qmp::presentation
