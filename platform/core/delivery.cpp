#include "core/delivery.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/clock.h"
#include "core/keyboard.h"
#include "core/reset.h"
#include "core/run.h"
#include "core/script.h"
#include "user/input.h"

namespace qmp::delivery {
namespace {

using platform::EventKind;
using platform::ScriptEvent;

struct DeliveryState {
    uint32_t lastActivity = 0;  // when a scripted event was last delivered, for the idle limit
    Modal* modal = nullptr;     // the open message box
};

DeliveryState& state() {
    static DeliveryState s{clock::now(), nullptr};
    return s;
}

const ResetHook resetDelivery([] { state() = DeliveryState{clock::now(), nullptr}; });

// A scripted event. While a box is open an answer or the end of the run closes
// it; everything else happens as usual (keys reach the box through the keyboard).
void deliverScripted(const ScriptEvent& event) {
    Modal* modal = state().modal;
    if (modal != nullptr && event.kind == EventKind::Answer) {
        modal->answer(event.value);
        return;
    }
    script::deliver(event);
    if (modal != nullptr && event.kind == EventKind::End) modal->answer(modal->defaultAnswer());
}

// Every scripted event due now (until an open box is answered); true when there was one.
bool deliverDue() {
    bool delivered = false;
    while (const ScriptEvent* next = script::next()) {
        if (!script::isDue(*next, clock::now())) break;
        if (state().modal != nullptr && state().modal->answered()) break;  // the rest is for the program
        deliverScripted(script::take());
        delivered = true;
    }
    if (delivered) state().lastActivity = clock::now();
    if (state().modal == nullptr || !state().modal->answered()) delivered |= keyboard::deliverDueRepeats();
    return delivered;
}

void deliverHost(const HostEvent& event) {
    switch (event.kind) {
    case HostEvent::KeyDown: keyboard::hostKeyDown(event.virtualKey, event.alt); break;
    case HostEvent::KeyUp: keyboard::hostKeyUp(event.virtualKey); break;
    case HostEvent::FocusGained: input::activate(true); break;
    case HostEvent::FocusLost:
        keyboard::stopRepeating();
        input::activate(false);
        break;
    case HostEvent::Close: hostClose(); break;
    case HostEvent::MouseDown:
    case HostEvent::MouseUp:
        if (state().modal != nullptr) state().modal->mouse(event);
        break;
    }
}

// Waits for the host at most `timeoutMs` and delivers what it reported; true when it reported something.
bool waitForHost(uint32_t timeoutMs) {
    std::vector<HostEvent> events;
    backend().wait(timeoutMs, events);
    for (const HostEvent& event : events) {
        if (state().modal != nullptr && state().modal->answered()) break;
        deliverHost(event);
    }
    return !events.empty();
}

// When the next thing on the clock falls due (a scripted event, a key
// repeat); none when nothing is waiting.
std::optional<uint32_t> nextDue() {
    std::optional<uint32_t> due = keyboard::nextRepeat();
    if (const ScriptEvent* next = script::next()) {
        if (!due || static_cast<int32_t>(next->time - *due) < 0) due = next->time;
    }
    return due;
}

uint32_t untilDue(uint32_t due) {
    const int32_t left = static_cast<int32_t>(due - clock::now());
    return left > 0 ? static_cast<uint32_t>(left) : 0;
}

// Headless and the script has run out: the window is asked to close once; a
// program that still waits after that is stopped.
void endOfScript() {
    if (!script::ended()) {
        std::fprintf(stderr, "headless: the script has no events left at %u ms; closing the window\n",
                     static_cast<unsigned>(clock::now()));
        script::markEnded();
        input::close();
        state().lastActivity = clock::now();
        return;
    }
    run::stop(3, "headless: the program is still waiting at " + std::to_string(clock::now()) +
                     " ms, but the script has no events left and the window was asked to close; stopping");
}

bool idleTooLong() {
    const uint32_t limit = script::idleLimit();
    return limit != 0 && clock::now() - state().lastActivity >= limit;
}

// One turn: what is due, what the host has; then, when nothing came and the
// caller may wait, waits for the host or the next due event.
bool turn(uint32_t timeoutMs) {
    bool delivered = deliverDue();
    delivered |= waitForHost(0);
    if (delivered || timeoutMs == 0) return delivered;

    uint32_t wait = timeoutMs;
    if (std::optional<uint32_t> due = nextDue()) wait = std::min(wait, untilDue(*due));
    const bool scriptRanOut = !backend().interactive() && script::next() == nullptr;
    if (scriptRanOut && wait == INFINITE) {
        endOfScript();
        return false;
    }
    delivered = waitForHost(wait);
    delivered |= deliverDue();
    if (scriptRanOut && idleTooLong()) endOfScript();
    return delivered;
}

// Whether anything to come can answer the box: a scripted event, or the
// repeats of a held key.
bool couldBeAnswered(const Modal& box) {
    if (script::anyPending([&](const ScriptEvent& e) { return box.couldAnswer(e); })) return true;
    const int repeating = keyboard::repeatingKey();
    return repeating != 0 && box.couldAnswer(ScriptEvent{clock::now(), EventKind::KeyDown, repeating, {}});
}

}  // namespace

void pump(uint32_t timeoutMs) { turn(timeoutMs); }

void runModal(Modal& box) {
    Modal* outer = state().modal;
    state().modal = &box;
    while (!box.answered()) {
        if (!backend().interactive() && !couldBeAnswered(box)) {
            box.answer(box.defaultAnswer());
            break;
        }
        turn(INFINITE);
    }
    state().modal = outer;
}

void hostClose() {
    input::close();
    if (Modal* modal = state().modal) modal->answer(modal->defaultAnswer());
}

}  // namespace qmp::delivery
