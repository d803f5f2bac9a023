// No screen: a virtual clock that moves only while the program waits, input
// from the script, message boxes answered from the script, captures on demand.
// A headless run is therefore exactly repeatable.
#include <cstdio>

#include "core/backend.h"
#include "core/clock.h"
#include "core/input.h"
#include "core/run.h"
#include "core/script.h"

namespace qmp {
namespace {

using platform::EventKind;
using platform::ScriptEvent;

constexpr SIZE kDesktop{1024, 768};

class HeadlessBackend final : public Backend {
public:
    HeadlessBackend() : lastActivity_(clock::now()) {}

    const char* name() const override { return "headless"; }

    void pump(uint32_t timeoutMs) override {
        if (deliverDue() || timeoutMs == 0) return;
        const ScriptEvent* next = script::next();
        if (next == nullptr) {
            waitWithNothingLeft(timeoutMs);
            return;
        }
        uint32_t untilNext = next->time - clock::now();
        if (timeoutMs != INFINITE && timeoutMs < untilNext) {
            clock::advance(timeoutMs);
            return;
        }
        clock::set(next->time);
        deliverDue();
    }

    void show(const Picture&) override {}  // the screen module keeps the picture

    int messageBox(const std::string&, const std::string&, unsigned type) override {
        if (std::optional<int> answer = script::takeAnswer()) return fit(*answer, type);
        auto answers = [type](const ScriptEvent& event) {
            return event.kind == EventKind::Answer || event.kind == EventKind::End ||
                   (event.kind == EventKind::KeyDown && input::boxKeyAnswer(type, event.value) != 0);
        };
        // The clock runs on to the event that answers the box; what comes due on
        // the way happens as usual, except that keys go to the box.
        while (script::anyPending(answers)) {
            const ScriptEvent* next = script::next();
            if (!script::isDue(*next, clock::now())) clock::set(next->time);
            ScriptEvent event = script::take();
            lastActivity_ = clock::now();
            switch (event.kind) {
            case EventKind::Answer: return fit(event.value, type);
            case EventKind::KeyDown:
                if (int answer = input::boxKeyAnswer(type, event.value)) return answer;
                break;
            case EventKind::KeyUp: break;
            case EventKind::End:
                script::deliver(event);
                return input::boxDefaultAnswer(type);
            default: script::deliver(event);
            }
        }
        return input::boxDefaultAnswer(type);
    }

    void setCursorVisible(bool) override {}
    SIZE desktopSize() const override { return kDesktop; }
    void windowCreated(HWND, const char*) override {}
    void windowDestroyed(HWND) override {}

private:
    // Delivers every event due now; true when there was one.
    bool deliverDue() {
        bool delivered = false;
        while (const ScriptEvent* next = script::next()) {
            if (!script::isDue(*next, clock::now())) break;
            script::deliver(script::take());
            delivered = true;
        }
        if (delivered) lastActivity_ = clock::now();
        return delivered;
    }

    // The script has nothing left. A limited wait just passes; a program that
    // would wait for ever, or outlives the idle limit, is at the end of its run:
    // it is asked to close once, and stopped if it still goes on waiting.
    void waitWithNothingLeft(uint32_t timeoutMs) {
        if (timeoutMs != INFINITE) {
            clock::advance(timeoutMs);
            uint32_t limit = script::idleLimit();
            if (limit == 0 || clock::now() - lastActivity_ < limit) return;
        }
        if (!script::ended()) {
            std::fprintf(stderr, "headless: the script has no events left at %u ms; closing the window\n",
                         static_cast<unsigned>(clock::now()));
            script::markEnded();
            input::close();
            lastActivity_ = clock::now();
            return;
        }
        run::stop(3, "headless: the program is still waiting at " + std::to_string(clock::now()) +
                         " ms, but the script has no events left and the window was asked to close; stopping");
    }

    static int fit(int answer, unsigned type) {
        if (input::boxOffers(type, answer)) return answer;
        int fallback = input::boxDefaultAnswer(type);
        std::fprintf(stderr, "headless: a message box of type %u has no button for answer %d; it gets %d\n", type,
                     answer, fallback);
        return fallback;
    }

    uint32_t lastActivity_;  // when an event was last delivered, for the idle limit
};

}  // namespace

std::unique_ptr<Backend> makeHeadlessBackend() { return std::make_unique<HeadlessBackend>(); }

}  // namespace qmp
