// The process entry point on hosts without Windows: reads the platform's own
// options, finds the picture files' folder and moves there, picks the window or
// the headless backend, loads the script (or the built-in tour), calls the
// program's WinMain, and reports the run, and why a start-up failed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "backend/headless/contact_sheet.h"
#include "core/backend.h"
#include "core/clock.h"
#include "core/data_folder.h"
#include "core/gif_recorder.h"
#include "core/launch.h"
#include "core/overlay.h"
#include "core/picture_check.h"
#include "core/run.h"
#include "core/script.h"
#include "core/traced_calls.h"
#include "help.h"
#include "kernel/files.h"
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

// Events timed after the script's `end` never happen: the run is over by then.
void reportEventsAfterEnd(const std::string& text, const std::string& name) {
    std::vector<platform::ScriptEvent> events;
    if (!qmp::script::parse(text, 0, &events, nullptr)) return;
    const platform::ScriptEvent* end = nullptr;
    for (const platform::ScriptEvent& event : events)
        if (event.kind == platform::EventKind::End && (end == nullptr || event.time < end->time)) end = &event;
    if (end == nullptr) return;
    uint32_t first = UINT32_MAX;
    for (const platform::ScriptEvent& event : events)
        if (event.time > end->time) first = std::min(first, event.time);
    if (first == UINT32_MAX) return;
    std::fprintf(stderr, "Quillmere: %s: the events from %u ms on come after its end at %u ms and will not happen\n",
                 name.c_str(), static_cast<unsigned>(first), static_cast<unsigned>(end->time));
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
    reportEventsAfterEnd(text, name);
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

// A --fail plan must name a call the platform makes.
bool checkFaultNames(const qmp::LaunchOptions& options, std::string* error) {
    for (const qmp::FaultOption& fault : options.faults) {
        if (qmp::isTracedCall(fault.name)) continue;
        *error = "--fail " + fault.name + ": no platform call has that name";
        std::vector<std::string> like = qmp::tracedCallsLike(fault.name);
        for (size_t i = 0; i < like.size() && i < 4; ++i) *error += (i == 0 ? "; did you mean " : " or ") + like[i];
        return false;
    }
    return true;
}

// Names the user gave are meant from where they started, before the move to the pictures.
void anchorPaths(qmp::LaunchOptions& options, const std::filesystem::path& start) {
    for (std::string* path : {&options.scriptPath, &options.shotsDir, &options.reportPath, &options.recordPath}) {
        if (!path->empty()) *path = (start / *path).lexically_normal().string();
    }
    if (options.shotsDir.empty()) options.shotsDir = start.string();
}

// Moves to the folder that holds the pictures; false with the reason for a bad --data.
bool moveToPictures(const qmp::LaunchOptions& options, std::string* error) {
    const std::vector<std::string> names{QM_PICTURE_FILES};
    qmp::data::FolderChoice choice;
    if (!qmp::data::choose(options.dataDir, names,
                           qmp::data::standardCandidates(QM_DATA_FROM_BIN, QM_DATA_DIR), &choice, error))
        return false;
    if (!choice.moved) return true;
    std::error_code failure;
    std::filesystem::current_path(choice.folder, failure);
    if (failure) {
        *error = "cannot change to " + choice.folder.string() + ": " + failure.message();
        return false;
    }
    if (options.dataDir.empty())
        std::fprintf(stderr, "Quillmere: the current folder has no pictures; reading them from %s\n",
                     choice.folder.string().c_str());
    return true;
}

// The folders the run writes into must be there: nothing is made on the way.
bool checkOutputFolders(const qmp::LaunchOptions& options, std::string* error) {
    std::error_code failure;
    if (!std::filesystem::is_directory(options.shotsDir, failure)) {
        *error = "--shots " + options.shotsDir + ": no such folder";
        return false;
    }
    for (const std::string* file : {&options.reportPath, &options.recordPath}) {
        if (file->empty()) continue;
        std::filesystem::path parent = std::filesystem::path(*file).parent_path();
        if (!std::filesystem::is_directory(parent, failure)) {
            *error = *file + ": no folder " + parent.string();
            return false;
        }
    }
    return true;
}

// One line after a start-up that ended before the program's message loop:
// the box it showed and, when a picture file was the cause, which and why.
void explainFailedStartUp() {
    const std::vector<platform::MessageBoxRecord>& boxes = platform::messageBoxes();
    std::string line = "Quillmere: start-up failed";
    if (!boxes.empty()) line += " (\"" + boxes.back().text + "\" / \"" + boxes.back().caption + "\")";
    const std::string& file = qmp::kernel::lastFileAsked();
    if (!file.empty()) {
        const std::string problem = qmp::pictures::problemWith(file);
        std::error_code ignored;
        if (!problem.empty())
            line += ": " + std::filesystem::absolute(file, ignored).lexically_normal().string() + ": " + problem;
    }
    std::fprintf(stderr, "%s\n", line.c_str());
}

void finishRecording() {
    if (!qmp::recorder::recording()) return;
    const std::string path = qmp::recorder::path();
    std::string error;
    int frames = 0;
    if (qmp::recorder::stop(&error, &frames))
        std::printf("Quillmere: recording %s: %d frames\n", path.c_str(), frames);
    else
        std::fprintf(stderr, "Quillmere: recording not written: %s\n", error.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& arg : args) {
        if (arg == "--") break;
        if (arg == "--help" || arg == "-h") {
            std::fputs(qmp::helpText().c_str(), stdout);
            return 0;
        }
        if (arg == "--version") {
            std::fputs(qmp::versionText().c_str(), stdout);
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
    std::error_code noFolder;
    const std::filesystem::path start = std::filesystem::current_path(noFolder);
    qmp::data::setStartFolder(start);
    anchorPaths(options, start);
    if (!checkFaultNames(options, &error) || !checkOutputFolders(options, &error) || !moveToPictures(options, &error)) {
        std::fprintf(stderr, "Quillmere: %s\n", error.c_str());
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
    if (!options.recordPath.empty() && !qmp::recorder::start(options.recordPath, options.recordEvery, &error)) {
        std::fprintf(stderr, "Quillmere: --record: %s\n", error.c_str());
        return kBadOptions;
    }
    for (const qmp::FaultOption& fault : options.faults) platform::failCall(fault.name, fault.occurrence, fault.error);
    if (options.callLog) platform::setCallLogging(true);
    qmp::run::setReport(options.reportPath, options.callLog);

    std::string line = commandLine(options.passThrough);
    std::vector<char> lineBuffer(line.begin(), line.end());
    lineBuffer.push_back('\0');
    qmp::run::watchStartUp();
    int exitCode = WinMain(kInstance, nullptr, lineBuffer.data(), SW_SHOWDEFAULT);
    const bool failedStartUp = qmp::run::startingUp();

    finishRecording();
    if (failedStartUp) explainFailedStartUp();
    if (!qmp::run::writeReport(exitCode, &error)) std::fprintf(stderr, "Quillmere: report not written: %s\n", error.c_str());
    if (!failedStartUp) announceCaptures(tour);
    return exitCode;
}
