#include "core/box_session.h"

#include <windows.h>

#include <cstdio>
#include <optional>

#include "core/backend.h"
#include "core/box_view.h"
#include "core/delivery.h"
#include "core/keyboard.h"
#include "core/presentation.h"
#include "core/script.h"
#include "core/text.h"
#include "user/input.h"

namespace qmp::boxes {
namespace {

using platform::EventKind;
using platform::ScriptEvent;

constexpr int kBlankWidth = 640;  // what a box opens over before the program has shown a picture
constexpr int kBlankHeight = 480;

class BoxSession final : public delivery::Modal {
public:
    BoxSession(const std::u32string& text, const std::u32string& caption, unsigned type)
        : type_(type), format_(backend().pixelFormat()), background_(backgroundFrame()),
          layout_(layoutBox(text, caption, type, background_.width, background_.height)), interaction_(layout_, type) {}

    void key(int virtualKey) {
        if (answered()) return;
        const size_t focused = interaction_.focused();
        if (int answer = interaction_.key(virtualKey)) {
            answer_ = answer;
            return;
        }
        if (interaction_.focused() != focused) draw();
    }

    void answer(int answer) override {
        if (!answered()) answer_ = fit(answer, type_);
    }

    void mouse(const HostEvent& event) override {
        if (answered()) return;
        const Point at = event.at.value_or(Point{-1, -1});
        if (event.kind == HostEvent::MouseDown) {
            interaction_.mouseDown(at);
            draw();
            return;
        }
        const bool wasPressed = interaction_.pressed() >= 0;
        answer_ = interaction_.mouseUp(at);
        if (answer_ == 0 && wasPressed) draw();
    }

    bool answered() const override { return answer_ != 0; }

    bool couldAnswer(const ScriptEvent& event) const override {
        switch (event.kind) {
        case EventKind::Answer:
        case EventKind::End: return true;
        case EventKind::KeyDown: return input::boxKeyAnswer(type_, event.value) != 0 || event.value == VK_SPACE;
        default: return false;
        }
    }

    int defaultAnswer() const override { return input::boxDefaultAnswer(type_); }
    int result() const { return answer_ != 0 ? answer_ : defaultAnswer(); }

    // The box over the dimmed picture, where the backend shows frames.
    void draw() {
        if (!format_) return;
        Frame frame = background_;
        drawBox(layout_, interaction_.focused(), interaction_.pressed(), frame);
        presentation::showComposed(frame);
    }

private:
    Frame backgroundFrame() const {
        Frame frame = presentation::programFrame();
        if (frame.width <= 0 || !format_) {
            frame = Frame{};
            frame.width = kBlankWidth;
            frame.height = kBlankHeight;
            frame.format = format_.value_or(PixelFormat{});
            frame.pixels.assign(size_t(kBlankWidth) * kBlankHeight, frame.format.pack(0, 0, 0));
            return frame;
        }
        dim(frame);
        return frame;
    }

    unsigned type_;
    std::optional<PixelFormat> format_;
    Frame background_;
    BoxLayout layout_;
    BoxInteraction interaction_;
    int answer_ = 0;
};

}  // namespace

int fit(int answer, unsigned type) {
    if (input::boxOffers(type, answer)) return answer;
    const int fallback = input::boxDefaultAnswer(type);
    std::fprintf(stderr, "Quillmere: a message box of type %u has no button for answer %d; it gets %d\n", type, answer,
                 fallback);
    return fallback;
}

int show(const std::u32string& text, const std::u32string& caption, unsigned type) {
    if (std::optional<int> stored = script::takeAnswer()) return fit(*stored, type);
    if (!backend().boxOpening(text::toUtf8(caption))) {
        std::fprintf(stderr, "Quillmere: no window for the message box \"%s\"; it gets its default answer\n",
                     text::toUtf8(caption).c_str());
        return input::boxDefaultAnswer(type);
    }
    BoxSession session(text, caption, type);
    keyboard::setBoxKeys([&session](int virtualKey) { session.key(virtualKey); });
    session.draw();
    delivery::runModal(session);
    keyboard::setBoxKeys({});
    presentation::showProgram();
    backend().boxClosed();
    return session.result();
}

}  // namespace qmp::boxes
