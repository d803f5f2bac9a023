// The platform's own messages, shown outside the program's 8-bit picture: a
// short line that fades ("Screenshot saved: NAME", a failure), and with
// --show-fps the pictures shown per second and what they cost. Hosts draw the
// lines over their output (the letterbox or the picture's corner), never into
// the program's surfaces; messages go to stderr as well.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/frame.h"
#include "core/placement.h"

namespace qmp::overlay {

constexpr uint32_t kMessageMs = 3000;  // how long a message stays, its last second fading

// A message of the platform's own (UTF-8).
void say(const std::string& text);
void setShowFps(bool show);
bool showsFps();

// A picture was shown; presenting it took `presentingNs` of CPU time.
void countPicture(uint64_t presentingNs);

// The lines to show at `now`: the rate line first, when on, then the messages, oldest first.
std::vector<OverlayLine> lines(uint32_t now);
// When lines() will next give something else; none while nothing is shown.
std::optional<uint32_t> nextChange(uint32_t now);

// A line drawn for an output of some size: grey pixels (the same in every
// channel order) with their opacity, packed 0xAAGGGGGG, to be mixed over
// whatever is there.
struct Stamp {
    Rect at;
    std::vector<uint32_t> pixels;  // at.w x at.h
};

// The lines laid out on an output of outW x outH: the rate line at the top
// right, messages at the bottom left, in a size that suits the output.
std::vector<Stamp> layOut(const std::vector<OverlayLine>& lines, int outW, int outH);

// Mixes the stamps over an output of 32-bit pixels (its origin at pixels[0],
// rows `pitch` pixels apart), inside `clip` only; `opaque` are the bits every
// output pixel has set.
void composite(const std::vector<Stamp>& stamps, uint32_t* pixels, int pitch, uint32_t opaque, const Rect& clip);

}  // namespace qmp::overlay
