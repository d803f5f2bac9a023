#include "core/run.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <initializer_list>

#include "core/clock.h"
#include "core/reset.h"
#include "core/script.h"
#include "platform/control.h"

namespace qmp::run {
namespace {

struct RunState {
    std::string reportPath;
    bool withCalls = false;
    bool watchingStartUp = false;
    bool loopStarted = false;
};

RunState& state() {
    static RunState s;
    return s;
}

const ResetHook resetRun([] { state() = RunState{}; });

}  // namespace

void watchStartUp() { state().watchingStartUp = true; }
void noteMessageLoop() { state().loopStarted = true; }
bool startingUp() { return state().watchingStartUp && !state().loopStarted; }

void setReport(const std::string& path, bool withCalls) {
    state().reportPath = path;
    state().withCalls = withCalls;
}

const std::string& reportPath() { return state().reportPath; }

std::string escapeField(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\\': out += "\\\\"; break;
        default: out += c;
        }
    }
    return out;
}

std::string formatReport(int exitCode, bool withCalls) {
    std::string out;
    auto line = [&out](std::initializer_list<std::string> fields) {
        bool first = true;
        for (const std::string& field : fields) {
            if (!first) out += '\t';
            out += field;
            first = false;
        }
        out += '\n';
    };
    line({"exit", std::to_string(exitCode)});
    line({"clock", std::to_string(clock::now())});
    line({"presents", std::to_string(platform::presentCount())});
    for (const platform::MessageBoxRecord& box : platform::messageBoxes()) {
        line({"box", std::to_string(box.time), std::to_string(box.type), std::to_string(box.answer),
              escapeField(box.caption), escapeField(box.text)});
    }
    for (const script::CaptureRecord& capture : script::captures())
        line({"capture", std::to_string(capture.time), escapeField(capture.path)});
    if (withCalls) {
        for (const platform::CallRecord& call : platform::callLog())
            line({"call", std::to_string(call.time), escapeField(call.name)});
    }
    return out;
}

bool writeReport(int exitCode, std::string* error) {
    const RunState& s = state();
    if (s.reportPath.empty()) return true;
    std::ofstream file(s.reportPath, std::ios::binary | std::ios::trunc);
    if (file) file << formatReport(exitCode, s.withCalls);
    file.close();
    if (!file) {
        if (error) *error = s.reportPath + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void stop(int exitCode, const std::string& why) {
    std::fprintf(stderr, "%s\n", why.c_str());
    std::string error;
    if (!writeReport(exitCode, &error)) std::fprintf(stderr, "report not written: %s\n", error.c_str());
    std::fflush(stdout);
    std::fflush(stderr);
    // The program is somewhere inside its message loop: leave without running
    // its global destructors over objects still in use.
    std::_Exit(exitCode);
}

}  // namespace qmp::run
