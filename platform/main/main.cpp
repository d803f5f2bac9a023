// The process entry point on hosts without Windows: reads the platform's own
// options, picks the window or the headless backend, loads the script (or the
// built-in tour), calls the program's WinMain, and reports the run.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "backend/headless/contact_sheet.h"
#include "core/backend.h"
#include "core/clock.h"
#include "core/launch.h"
#include "core/overlay.h"
#include "core/run.h"
#include "core/script.h"
#include "platform/control.h"
#include "tour_script.h"

namespace {

constexpr int kBadOptions = 2;
constexpr int kNoWindow = 1;  // --window, and no window can be opened
// A headless program still running this long after its script ran out is closed.
constexpr uint32_t kIdleLimitMs = 60000;
// Where Windows loads a program's image; any non-null value would do.
const HINSTANCE kInstance = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x00400000));

bool readFile(const std::string& path, std::string* text, std::string* error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *error = "cannot read " + path;
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    *text = content.str();
    return true;
}

// WinMain's command line: the arguments after "--", quoted where needed.
std::string commandLine(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& arg : args) {
        if (!line.empty()) line += ' ';
        if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) {
            line += arg;
            continue;
        }
        line += '"';
        for (char c : arg) {
            if (c == '"') line += '\\';
            line += c;
        }
        line += '"';
    }
    return line;
}

// True when the run is headless, after the fallback from a window that could
// not open; false in `*ok` when --window asked for one that cannot open.
bool chooseBackend(const qmp::LaunchOptions& options, bool* ok) {
    *ok = true;
    if (!options.headless) {
        std::string why;
        if (std::unique_ptr<qmp::Backend> window = qmp::makeWindowBackend(options, &why)) {
            qmp::clock::useReal();
            qmp::setBackend(std::move(window));
            qmp::overlay::setShowFps(options.showFps);
            return false;
        }
        if (options.windowed) {
            std::fprintf(stderr, "Quillmere: --window: no window can be opened: %s\n", why.c_str());
            *ok = false;
            return false;
        }
        std::fprintf(stderr, "Quillmere: no window can be opened (%s); running headless\n", why.c_str());
    }
    qmp::clock::useVirtual(options.clockStart);
    qmp::setBackend(qmp::makeHeadlessBackend());
    qmp::script::setIdleLimit(kIdleLimitMs);
    return true;
}

// Loads --script, or the tour when asked for or headless without a script.
bool loadEvents(const qmp::LaunchOptions& options, bool headless, bool* tour, std::string* error) {
    std::string text;
    std::string name;
    *tour = options.scriptPath.empty() && (options.tour || headless);
    if (*tour) {
        text.assign(reinterpret_cast<const char*>(tourScript), tourScript_size);
        name = "the built-in tour";
    } else if (!options.scriptPath.empty()) {
        if (!readFile(options.scriptPath, &text, error)) return false;
        name = options.scriptPath;
    } else {
        return true;  // a window without a script: the keyboard drives it
    }
    std::string why;
    if (!platform::loadScript(text, &why, qmp::clock::now())) {
        *error = name + ", " + why;
        return false;
    }
    return true;
}

void announceCaptures(bool tour) {
    const std::vector<qmp::script::CaptureRecord>& captures = qmp::script::captures();
    if (captures.empty()) return;
    std::error_code ignored;
    std::filesystem::path folder = std::filesystem::absolute(
        qmp::script::shotsDir().empty() ? std::filesystem::path(".") : std::filesystem::path(qmp::script::shotsDir()),
        ignored);
    std::printf("Quillmere: %zu capture%s in %s\n", captures.size(), captures.size() == 1 ? "" : "s",
                folder.lexically_normal().string().c_str());
    if (!tour) return;

    std::vector<platform::RgbImage> pictures;
    for (const qmp::script::CaptureRecord& capture : captures) {
        platform::RgbImage picture;
        std::string error;
        if (qmp::loadPng(capture.path, &picture, &error))
            pictures.push_back(std::move(picture));
        else
            std::fprintf(stderr, "Quillmere: contact sheet: %s\n", error.c_str());
    }
    std::string sheetPath = qmp::script::capturePath("contact-sheet.png");
    std::string error;
    if (platform::savePng(qmp::makeContactSheet(pictures), sheetPath, &error))
        std::printf("Quillmere: contact sheet %s\n", sheetPath.c_str());
    else
        std::fprintf(stderr, "Quillmere: contact sheet not written: %s\n", error.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& arg : args) {
        if (arg == "--") break;
        if (arg == "--help" || arg == "-h") {
            std::fputs(qmp::launchUsage(), stdout);
            return 0;
        }
    }
    qmp::LaunchOptions options;
    std::string error;
    if (!qmp::parseLaunchOptions(args, &options, &error)) {
        std::fprintf(stderr, "Quillmere: %s\n%s", error.c_str(), qmp::launchUsage());
        return kBadOptions;
    }
    if (options.tour && !options.scriptPath.empty()) {
        std::fprintf(stderr, "Quillmere: --tour and --script exclude each other\n%s", qmp::launchUsage());
        return kBadOptions;
    }

    bool backendOk = true;
    bool headless = chooseBackend(options, &backendOk);
    if (!backendOk) return kNoWindow;
    qmp::script::setShotsDir(options.shotsDir);
    bool tour = false;
    if (!loadEvents(options, headless, &tour, &error)) {
        std::fprintf(stderr, "Quillmere: %s\n", error.c_str());
        return kBadOptions;
    }
    for (const qmp::FaultOption& fault : options.faults) platform::failCall(fault.name, fault.occurrence, fault.error);
    if (options.callLog) platform::setCallLogging(true);
    qmp::run::setReport(options.reportPath, options.callLog);

    std::string line = commandLine(options.passThrough);
    std::vector<char> lineBuffer(line.begin(), line.end());
    lineBuffer.push_back('\0');
    int exitCode = WinMain(kInstance, nullptr, lineBuffer.data(), SW_SHOWDEFAULT);

    if (!qmp::run::writeReport(exitCode, &error)) std::fprintf(stderr, "Quillmere: report not written: %s\n", error.c_str());
    announceCaptures(tour);
    return exitCode;
}
