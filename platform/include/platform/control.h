// The platform's control interface: how tests, tools and the platform's own
// entry point drive the Win32 stand-in. The demo's sources never include this.
// The life cycle and the clock are in core/platform_reset.cpp, the script in
// core/script.cpp, the box records in user/message_box.cpp, faults and the
// call log in core/trace.cpp, the screen in core/screen.cpp and core/png.cpp,
// losing surfaces in core/exclusive.cpp, the object counts in ddraw/device.cpp
// and gdi/objects.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// ---------------------------------------------------------------------------
// Life cycle

// Puts the platform back to a fresh headless state: no windows, an empty message
// queue, no DirectDraw device (objects still held are destroyed), no GDI objects
// beyond the stock ones, no script, no fault plans, an empty call log and message
// box record, and the virtual clock at `clockStart`. Unit tests call it first.
void reset(uint32_t clockStart = 0);

// Which backend shows the program. Headless is the default; the platform's
// entry point switches to the SDL2 window when a display is present.
enum class BackendKind { Headless, Window };
BackendKind backendKind();

// ---------------------------------------------------------------------------
// Virtual clock (headless). timeGetTime() reads it; it advances only while the
// program waits (WaitMessage, MsgWaitForMultipleObjects, an open message box),
// so a headless run is exactly repeatable.

uint32_t now();
void setTime(uint32_t ms);
void advanceTime(uint32_t ms);

// ---------------------------------------------------------------------------
// Scripted events, delivered when the virtual clock reaches their time.

enum class EventKind {
    KeyDown,       // value: virtual-key code; posts WM_KEYDOWN (or answers an open message box)
    KeyUp,         // value: virtual-key code; posts WM_KEYUP
    Activate,      // WM_ACTIVATEAPP(TRUE)
    Deactivate,    // WM_ACTIVATEAPP(FALSE); exclusive-mode surfaces become lost
    Close,         // WM_CLOSE to the main window (window close button, Alt+F4)
    Answer,        // value: IDOK/IDYES/IDNO/IDCANCEL for the next message box open at or after the time
    Capture,       // text: PNG file name; saves the visible picture
    LoseSurfaces,  // loses the exclusive-mode surfaces without a focus change
    End,           // the run's time limit: WM_CLOSE is posted, open boxes are answered
};

struct ScriptEvent {
    uint32_t time = 0;  // ms on the virtual clock
    EventKind kind = EventKind::End;
    int value = 0;
    std::string text;
};

// Adds one event; events run in time order, events of equal time in the order added.
void schedule(const ScriptEvent& event);

// Parses a script (see platform/core/script.h for the format) and
// schedules its events. `origin` is added to every time. On a syntax error
// nothing is scheduled and `error` names the line.
bool loadScript(const std::string& text, std::string* error, uint32_t origin = 0);

// Events not yet delivered.
size_t pendingEvents();

// ---------------------------------------------------------------------------
// Message boxes shown so far, with the answer each one got: the first
// `kMessageBoxRecordLimit` of them, so that a program left running for days
// keeps its memory flat; messageBoxCount() counts them all.

struct MessageBoxRecord {
    uint32_t time = 0;
    std::string caption;  // UTF-8, decoded from code page 950
    std::string text;     // UTF-8, decoded from code page 950
    unsigned type = 0;    // MB_* flags as passed
    int answer = 0;       // IDOK, IDYES, IDNO, ...
};
constexpr size_t kMessageBoxRecordLimit = 4096;
const std::vector<MessageBoxRecord>& messageBoxes();
uint64_t messageBoxCount();

// ---------------------------------------------------------------------------
// Fault injection: the `occurrence`-th call (1-based, counted from now) of the
// named platform call fails. Names are the Win32 function names ("CreateFileA",
// "DirectDrawCreate") and Interface::Method for COM methods
// ("IDirectDraw::CreateSurface", "IDirectDrawSurface::Lock"). `error` is the
// HRESULT a COM method or DirectDrawCreate returns; 0 picks the call's usual
// failure (DDERR_GENERIC, NULL, FALSE, ...).
void failCall(const std::string& name, int occurrence, long error = 0);

// ---------------------------------------------------------------------------
// Call log: every platform call by name, with the virtual time, while enabled.

struct CallRecord {
    uint32_t time = 0;
    std::string name;
};
void setCallLogging(bool enabled);
const std::vector<CallRecord>& callLog();
void clearCallLog();

// ---------------------------------------------------------------------------
// The screen

// How many times the visible picture was renewed (flips, primary palette
// changes, drawing straight into the primary surface; at most once per loop turn).
uint64_t presentCount();

// The picture on the screen as packed RGB (3 bytes per pixel, rows top-down).
// Empty when no display mode is set.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};
RgbImage visiblePicture();

// Writes an RGB image as PNG. False (with errno-style reason in `error`) on failure.
bool savePng(const RgbImage& image, const std::string& path, std::string* error = nullptr);

// Loses the flip chain and every surface made without DDSCAPS_SYSTEMMEMORY, as a
// focus change in exclusive full-screen mode does.
void loseSurfaces();

// Number of live DirectDraw objects (device, surfaces, palettes, clippers) and
// GDI objects created by the program (pens, brushes, fonts, device contexts).
// Tests use them to find leaks of handles.
int liveDirectDrawObjects();
int liveGdiObjects();

}  // namespace platform
