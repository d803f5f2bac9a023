#include "core/presentation.h"

#include <algorithm>

#include "core/backend.h"
#include "core/clock.h"
#include "core/overlay.h"
#include "core/reset.h"
#include "core/screen.h"

namespace qmp::presentation {
namespace {

struct PresentationState {
    FrameConverter converter;
    Frame program;
    Frame composed;
    bool composing = false;
};

PresentationState& state() {
    static PresentationState s;
    return s;
}

const ResetHook resetPresentation([] { state() = PresentationState{}; });

// Hands the frame to the backend with the overlay of the moment; its rows
// count as shown afterwards.
void present(Frame& frame) {
    frame.overlay = overlay::lines(clock::now());
    backend().present(frame);
    frame.markUnchanged();
}

Frame& visible() { return state().composing ? state().composed : state().program; }

platform::RgbImage toRgb(const Frame& frame) {
    platform::RgbImage image;
    image.width = frame.width;
    image.height = frame.height;
    image.rgb.resize(frame.pixels.size() * 3);
    uint8_t* out = image.rgb.data();
    for (uint32_t pixel : frame.pixels) {
        *out++ = frame.format.red(pixel);
        *out++ = frame.format.green(pixel);
        *out++ = frame.format.blue(pixel);
    }
    return image;
}

}  // namespace

void show(const Picture& picture) {
    PresentationState& s = state();
    const std::optional<PixelFormat> format = backend().pixelFormat();
    if (!format) return;
    // What presenting costs is measured only for the rate line.
    const bool counting = overlay::showsFps();
    const uint64_t start = counting ? clock::threadCpuNs() : 0;
    s.converter.convert(picture, *format, s.program);
    if (!s.composing) present(s.program);
    if (counting) overlay::countPicture(clock::threadCpuNs() - start);
}

const Frame& programFrame() { return state().program; }

void showComposed(const Frame& frame) {
    PresentationState& s = state();
    s.composed = frame;
    s.composed.markAllChanged();
    s.composing = true;
    present(s.composed);
}

void showProgram() {
    PresentationState& s = state();
    if (!s.composing) return;
    s.composing = false;
    if (s.program.width > 0) {
        s.composed = Frame{};
        s.program.markAllChanged();
        present(s.program);
        return;
    }
    // No picture of the program's yet: what the box covered was black.
    std::fill(s.composed.pixels.begin(), s.composed.pixels.end(), s.composed.format.pack(0, 0, 0));
    s.composed.markAllChanged();
    present(s.composed);
    s.composed = Frame{};
}

std::optional<uint32_t> nextOverlayChange() {
    if (!backend().pixelFormat() || visible().width <= 0) return std::nullopt;
    return overlay::nextChange(clock::now());
}

void refreshOverlay() {
    if (backend().pixelFormat() && visible().width > 0) present(visible());
}

bool refreshOverlayIfDue() {
    const std::optional<uint32_t> due = nextOverlayChange();
    if (!due || static_cast<int32_t>(clock::now() - *due) < 0) return false;
    present(visible());
    return true;
}

platform::RgbImage visibleRgb() {
    const PresentationState& s = state();
    if (s.composing) return toRgb(s.composed);
    if (s.program.width > 0) return toRgb(s.program);
    return screen::current().toRgb();
}

}  // namespace qmp::presentation
