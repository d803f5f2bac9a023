// The platform's own command-line options. The demo has no command line; these
// options configure the Win32 stand-in (backend, script, report, faults). They
// are read before main() as well, because the demo's global objects read the
// clock while they are constructed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/placement.h"

namespace qmp {

struct FaultOption {
    std::string name;
    int occurrence = 1;
    long error = 0;
};

struct LaunchOptions {
    bool headless = false;        // no window: virtual clock, scripted input
    bool windowed = false;        // start in a window instead of full screen
    bool tour = false;            // run the built-in tour script
    bool callLog = false;         // put the call log into the report
    ScaleMode scale = ScaleMode::Fit;  // how the window scales the picture
    bool showFps = false;         // the window shows pictures a second and their cost
    uint32_t clockStart = 0;      // virtual clock at start
    std::string scriptPath;       // script file (headless or window)
    std::string shotsDir;         // where captures with relative names go
    std::string reportPath;       // run report written at exit
    std::string dataDir;          // --data: the folder of the picture files
    std::string recordPath;       // --record: an animated GIF of the screen
    int recordEvery = 1;          // --record-every: one presentation in this many
    std::vector<FaultOption> faults;
    std::vector<std::string> passThrough;  // arguments for WinMain's command line
};

// Parses the arguments after the program name. False with a message on a bad option.
bool parseLaunchOptions(const std::vector<std::string>& args, LaunchOptions* options, std::string* error);

// Text for --help.
const char* launchUsage();

// The options of this process: from /proc/self/cmdline when available, with
// headless chosen when there is no display (no DISPLAY or WAYLAND_DISPLAY) or
// QUILLMERE_HEADLESS=1 is set. Unparseable options leave the defaults.
const LaunchOptions& launchOptions();

}  // namespace qmp
