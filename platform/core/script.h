// Scripted events: the timed keys, focus changes, message-box answers and
// captures that drive a run (headless, or over a window for a demonstration).
//
// Script text, one event per line; blank lines and comments are ignored. A
// comment starts with '#' at the beginning of a line or after a blank:
//
//   <ms> down <key>        key pressed (WM_KEYDOWN); held, it repeats (core/keyboard.h);
//                          when already down, one more WM_KEYDOWN at once
//   <ms> up <key>          key released (WM_KEYUP)
//   <ms> press <key>       down, then up, at the same time
//   <ms> activate          the application gets the focus (WM_ACTIVATEAPP TRUE)
//   <ms> deactivate        it loses the focus (WM_ACTIVATEAPP FALSE, surfaces lost)
//   <ms> close             the window's close button (WM_CLOSE)
//   <ms> answer ok|yes|no|cancel
//                          the answer to the next message box open at or after <ms>
//   <ms> capture <file>    saves the visible picture as PNG; a relative name goes
//                          into the shots folder; the name runs to the end of the line
//   <ms> lose              the exclusive-mode surfaces are lost, focus unchanged
//   <ms> end               the end of the run: WM_CLOSE, an open box gets its default
//
// <ms> is a decimal count of milliseconds from the start of the run (the
// script's origin). Events run in time order; events with equal times in the
// order written, so lines need not be sorted. Keys are named (case does not
// matter): Left Right Up Down Shift Ctrl Alt Esc Space Enter Tab Backspace
// F1..F12, a digit 0-9, a letter A-Z; or given as a virtual-key code of two or
// more decimal digits ("27" is Esc, "112" is F1).
//
// While a message box is open, key events (and a held key's repeats) go to the
// box: Enter and Space press the focused button (at first the default one), Tab
// and the arrows move the focus, Y and N answer a Yes/No box, Esc cancels (a
// Yes/No box takes it as No, an OK box as OK); other keys do nothing. With nothing left in the script that
// could answer it, a box gets its default answer at once: OK, No, or Cancel.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/control.h"

namespace qmp::script {

using platform::EventKind;
using platform::ScriptEvent;

// Parses script text into `events` (times plus `origin`, in the order written).
// On a syntax error returns false, leaves `events` alone and sets `error` to
// "line N: what is wrong".
bool parse(const std::string& text, uint32_t origin, std::vector<ScriptEvent>* events, std::string* error);

// The virtual-key code of a key name as the script writes it; -1 when unknown.
int keyCode(const std::string& name);

// ---------------------------------------------------------------------------
// The queue of events not yet delivered, earliest first. Times compare as on a
// wrapping 32-bit millisecond clock (an event is due when now - time >= 0).

void schedule(const ScriptEvent& event);
size_t pending();
const ScriptEvent* next();  // null when none is left
ScriptEvent take();         // removes the earliest; the queue must not be empty
bool isDue(const ScriptEvent& event, uint32_t now);
bool anyPending(const std::function<bool(const ScriptEvent&)>& matches);

// What an event does: keys go to the keyboard (to the program, or to an open
// box), focus changes to USER, answers wait for the next box, captures are
// saved, `end` closes. The modal loop of an open box takes answers itself.
void deliver(const ScriptEvent& event);

// Answers delivered while no box was open, for the boxes to come, in order.
void storeAnswer(int answer);
std::optional<int> takeAnswer();

// Set once the run was told to end (an `end` event, or a backend deciding the
// script has run out): WM_CLOSE went to the main window.
bool ended();
void markEnded();

// ---------------------------------------------------------------------------
// Captures

struct CaptureRecord {
    uint32_t time = 0;
    std::string path;
};

// Folder for relative capture names; empty means the current folder.
void setShotsDir(const std::string& dir);
const std::string& shotsDir();
std::string capturePath(const std::string& name);

// Saves the visible picture under `name` and records it. False (with the reason
// in `error`) when there is no picture or the file cannot be written.
bool capture(const std::string& name, std::string* error);
const std::vector<CaptureRecord>& captures();

// ---------------------------------------------------------------------------
// A program that goes on running after its script has run out ends as at an
// `end` event once this much virtual time has passed (0: never, the default;
// the program's entry point sets it for headless runs).
void setIdleLimit(uint32_t ms);
uint32_t idleLimit();

}  // namespace qmp::script
