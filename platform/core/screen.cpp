#include "core/screen.h"

#include "core/presentation.h"
#include "core/reset.h"

namespace qmp::screen {
namespace {

struct ScreenState {
    PictureSource source;
    bool stale = false;
    Picture picture;
    uint64_t presents = 0;
};

ScreenState& state() {
    static ScreenState s;
    return s;
}

const ResetHook resetScreen([] {
    state().stale = false;
    state().picture = Picture{};
    state().presents = 0;
});

}  // namespace

void setSource(PictureSource source) { state().source = std::move(source); }
void markStale() { state().stale = true; }
bool isStale() { return state().stale; }

void refresh() {
    ScreenState& s = state();
    if (!s.stale) return;
    s.stale = false;
    if (!s.source) return;
    Picture next;
    if (!s.source(next)) return;
    s.picture = std::move(next);
    ++s.presents;
    presentation::show(s.picture);
}

const Picture& current() { return state().picture; }
uint64_t presentCount() { return state().presents; }

}  // namespace qmp::screen

namespace platform {

uint64_t presentCount() { return qmp::screen::presentCount(); }
RgbImage visiblePicture() {
    qmp::screen::refresh();  // what the next loop turn would show
    return qmp::screen::current().toRgb();
}

}  // namespace platform
