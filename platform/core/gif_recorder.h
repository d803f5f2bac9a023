// Recording what the screen shows as an animated GIF (giflib). Every picture
// the screen presents becomes a frame (or every n-th, to make a file smaller),
// with the palette of that moment: an 8-bit picture of 256 colours fits a GIF
// frame exactly. A frame lasts until the next one, by the platform's clock
// (virtual when headless, real in a window), in the GIF's hundredths of a
// second. To keep files small a frame holds only the rectangle that changed,
// with the pixels that kept their colour marked transparent where an index is
// free for it; a presentation that changes nothing, or lasts less than a
// hundredth, merges into the frame before it.
#pragma once

#include <cstdint>
#include <string>

#include "core/picture.h"

namespace qmp::recorder {

// Starts a recording into `path` (an existing file is replaced), keeping one
// presentation in `every`. False with the reason when the file cannot be made
// or a recording is already running.
bool start(const std::string& path, int every, std::string* error);

bool recording();
const std::string& path();

// Writes the last frame and closes the file. False with the reason when the
// file could not be written (then it is removed, as is one without frames);
// true when nothing runs.
// `frames` gets the number of frames written.
bool stop(std::string* error, int* frames = nullptr);

// The screen shows `picture` from `timeMs` on (called for every presentation).
void presented(const Picture& picture, uint32_t timeMs);

}  // namespace qmp::recorder
