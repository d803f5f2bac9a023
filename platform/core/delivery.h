// What reaches the program while it waits, on every host: the scripted events
// that are due, and what the backend reports from the host (keys, focus, the
// close button). USER's waits call pump(); an open message box runs a modal
// loop of the same turns, in which keys and answers go to the box.
//
// Headless (no person to answer), the script is all there is: when it has run
// out and the program would wait for ever, or goes on running for the idle
// limit, the window is asked to close once, and the run is stopped if the
// program still waits.
#pragma once

#include <cstdint>

#include "core/backend.h"
#include "platform/control.h"

namespace qmp::delivery {

// Delivers what is due into the message queue; when `timeoutMs` is not 0 and
// nothing was delivered, waits for something, at most `timeoutMs` (INFINITE:
// without limit).
void pump(uint32_t timeoutMs);

// An open message box, as the modal loop sees it.
class Modal {
public:
    virtual ~Modal() = default;
    // The answer that closes it: a scripted answer (fitted to the box), the end
    // of the run or the close button (the box's default answer).
    virtual void answer(int answer) = 0;
    virtual void mouse(const HostEvent& event) = 0;
    virtual bool answered() const = 0;
    // Whether a scripted event can answer the box (headless, a box that nothing
    // left in the script can answer gets its default answer at once).
    virtual bool couldAnswer(const platform::ScriptEvent& event) const = 0;
    virtual int defaultAnswer() const = 0;
};

// Runs the turns of an open box until it is answered. Keys reach the box
// through qmp::keyboard, which the box's owner points at it.
void runModal(Modal& box);

// The window's close button (or Alt+F4): an open box gets its default answer,
// and WM_CLOSE goes to the main window.
void hostClose();

}  // namespace qmp::delivery
