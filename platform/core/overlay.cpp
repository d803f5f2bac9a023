#include "core/overlay.h"

#include <algorithm>
#include <cstdio>
#include <deque>

#include "core/clock.h"
#include "core/glyphs.h"
#include "core/reset.h"
#include "core/scaler.h"
#include "core/text.h"

namespace qmp::overlay {
namespace {

constexpr uint32_t kFadeMs = 1000;
constexpr uint32_t kFadeStepMs = 100;  // the opacity changes in steps, so the screen is redrawn 10 times a second
constexpr uint32_t kRateWindowMs = 1000;
constexpr size_t kMostMessages = 3;
constexpr uint32_t kBackdropAlpha = 170;

struct Message {
    std::u32string text;
    uint32_t shownAt = 0;
};

struct RateWindow {
    uint32_t start = 0;
    uint64_t processNs = 0;  // the process's CPU time at the start
    uint32_t pictures = 0;
    uint64_t presentingNs = 0;
};

struct OverlayState {
    std::deque<Message> messages;
    bool showFps = false;
    RateWindow window;
    std::u32string rateLine = U"measuring...";
};

OverlayState& state() {
    static OverlayState s;
    return s;
}

const ResetHook resetOverlay([] { state() = OverlayState{}; });

bool before(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) < 0; }

// A finished second of pictures becomes the rate line; a new one starts.
void rollRateWindow(uint32_t now) {
    OverlayState& s = state();
    const uint32_t elapsed = now - s.window.start;
    if (elapsed < kRateWindowMs) return;
    const uint64_t cpuNs = clock::processCpuNs() - s.window.processNs;
    const double seconds = elapsed / 1000.0;
    const double perPicture = s.window.pictures > 0 ? cpuNs / 1e6 / s.window.pictures : 0.0;
    const double presenting = s.window.pictures > 0 ? s.window.presentingNs / 1e6 / s.window.pictures : 0.0;
    char line[160];
    std::snprintf(line, sizeof line, "%.1f pictures/s  CPU %.1f%% of a core: %.2f ms a picture, %.2f ms presenting",
                  s.window.pictures / seconds, 100.0 * cpuNs / 1e9 / seconds, perPicture, presenting);
    s.rateLine = text::fromUtf8(line);
    s.window = RateWindow{now, clock::processCpuNs(), 0, 0};
}

uint8_t opacityAt(const Message& message, uint32_t now) {
    const uint32_t age = now - message.shownAt;
    if (age < kMessageMs - kFadeMs) return 255;
    const uint32_t stepsLeft = (kMessageMs - age + kFadeStepMs - 1) / kFadeStepMs;  // 10 .. 1
    return static_cast<uint8_t>(255 * stepsLeft / (kFadeMs / kFadeStepMs));
}

void dropExpired(uint32_t now) {
    std::deque<Message>& messages = state().messages;
    while (!messages.empty() && now - messages.front().shownAt >= kMessageMs) messages.pop_front();
}

}  // namespace

void say(const std::string& message) {
    std::fprintf(stderr, "Quillmere: %s\n", message.c_str());
    OverlayState& s = state();
    s.messages.push_back({text::fromUtf8(message), clock::now()});
    while (s.messages.size() > kMostMessages) s.messages.pop_front();
}

void setShowFps(bool show) {
    OverlayState& s = state();
    s.showFps = show;
    s.window = RateWindow{clock::now(), clock::processCpuNs(), 0, 0};
}

bool showsFps() { return state().showFps; }

void countPicture(uint64_t presentingNs) {
    OverlayState& s = state();
    if (!s.showFps) return;
    ++s.window.pictures;
    s.window.presentingNs += presentingNs;
}

std::vector<OverlayLine> lines(uint32_t now) {
    OverlayState& s = state();
    dropExpired(now);
    std::vector<OverlayLine> result;
    if (s.showFps) {
        rollRateWindow(now);
        result.push_back({s.rateLine, 255, true});
    }
    for (const Message& message : s.messages) result.push_back({message.text, opacityAt(message, now), false});
    return result;
}

std::optional<uint32_t> nextChange(uint32_t now) {
    OverlayState& s = state();
    dropExpired(now);
    std::optional<uint32_t> next;
    auto consider = [&](uint32_t at) {
        if (!next || before(at, *next)) next = at;
    };
    if (s.showFps) consider(s.window.start + kRateWindowMs);
    for (const Message& message : s.messages) {
        const uint32_t fadeStart = message.shownAt + kMessageMs - kFadeMs;
        if (before(now, fadeStart)) {
            consider(fadeStart);
        } else {
            const uint32_t intoFade = now - fadeStart;
            consider(fadeStart + (intoFade / kFadeStepMs + 1) * kFadeStepMs);
        }
    }
    return next;
}

std::vector<Stamp> layOut(const std::vector<OverlayLine>& lines, int outW, int outH) {
    std::vector<Stamp> stamps;
    if (outW <= 0 || outH <= 0) return stamps;
    const int scale = std::max(1, outH / 700);  // 16-pixel glyphs up to about 1400 rows, larger beyond
    const int pad = 3 * scale;
    const int glyphHeight = fonts::metrics(fonts::Face::Default).height;
    const int lineHeight = (glyphHeight + 2) * scale + 2 * pad;
    // Messages stack up from the bottom, the newest lowest.
    int messagesBelow = static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const OverlayLine& l) { return !l.topRight; }));
    for (const OverlayLine& line : lines) {
        const bool rate = line.topRight;
        const int w = std::min(fonts::textWidth(fonts::Face::Default, line.text) * scale + 2 * pad, outW - 2 * pad);
        if (w <= 2 * pad) continue;
        Stamp stamp;
        if (!rate) --messagesBelow;
        const int messageTop = outH - (messagesBelow + 1) * (lineHeight + pad);
        stamp.at = {rate ? outW - w - pad : pad, rate ? pad : messageTop, w, lineHeight};
        if (stamp.at.y < 0 || stamp.at.y + stamp.at.h > outH) continue;  // no room for it
        const uint32_t backdrop = (kBackdropAlpha * line.opacity / 255) << 24;
        stamp.pixels.assign(size_t(stamp.at.w) * size_t(stamp.at.h), backdrop);
        // The text drawn once at 1:1, then each of its pixels made scale x scale.
        std::vector<uint32_t> glyphs(size_t(w) * size_t(glyphHeight), 0);
        fonts::drawText(fonts::Face::Default, line.text, glyphs.data(), w, glyphHeight, w, 0, 0, 1);
        const uint32_t ink = uint32_t(line.opacity) << 24 | 0xFFFFFFu;
        for (int y = 0; y < glyphHeight * scale; ++y)
            for (int x = 0; x < w - 2 * pad; ++x)
                if (glyphs[size_t(y / scale) * size_t(w) + size_t(x / scale)] != 0)
                    stamp.pixels[size_t(pad + scale + y) * size_t(w) + size_t(pad + x)] = ink;
        stamps.push_back(std::move(stamp));
    }
    return stamps;
}

void composite(const std::vector<Stamp>& stamps, uint32_t* pixels, int pitch, uint32_t opaque, const Rect& clip) {
    for (const Stamp& stamp : stamps) {
        const int x0 = std::max(stamp.at.x, clip.x);
        const int x1 = std::min(stamp.at.x + stamp.at.w, clip.x + clip.w);
        const int y1 = std::min(stamp.at.y + stamp.at.h, clip.y + clip.h);
        for (int y = std::max(stamp.at.y, clip.y); y < y1; ++y) {
            uint32_t* row = pixels + int64_t(y) * pitch;
            const uint32_t* in = stamp.pixels.data() + size_t(y - stamp.at.y) * size_t(stamp.at.w);
            for (int x = x0; x < x1; ++x) {
                const uint32_t p = in[x - stamp.at.x];
                const uint32_t alpha = p >> 24;
                if (alpha == 0) continue;
                const uint32_t grey = (p & 0xFFFFFFu) | opaque;
                row[x] = mixPixels(row[x], grey, alpha + (alpha >> 7));  // 255 -> 256: all of it
            }
        }
    }
}

}  // namespace qmp::overlay
