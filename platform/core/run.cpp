#include "core/run.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <utility>

#include "core/clock.h"
#include "core/reset.h"
#include "core/script.h"
#include "platform/control.h"

namespace qmp::run {
namespace {

struct RunState {
    std::string reportPath;
    bool withCalls = false;
};

RunState& state() {
    static RunState s;
    return s;
}

const ResetHook resetRun([] { state() = RunState{}; });

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

// The inverse of escapeField; false on an escape it never writes.
bool unescape(const std::string& field, std::string* out) {
    out->clear();
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            *out += field[i];
            continue;
        }
        if (++i == field.size()) return false;
        switch (field[i]) {
        case 't': *out += '\t'; break;
        case 'n': *out += '\n'; break;
        case 'r': *out += '\r'; break;
        case '\\': *out += '\\'; break;
        default: return false;
        }
    }
    return true;
}

template <typename T>
bool number(const std::string& text, T* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') return false;
    *value = static_cast<T>(parsed);
    return true;
}

}  // namespace

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

bool parseReport(const std::string& text, Report* report, std::string* error) {
    Report result;
    std::vector<std::string> lines = split(text, '\n');
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    for (size_t i = 0; i < lines.size(); ++i) {
        auto fail = [&](const std::string& why) {
            if (error) *error = "line " + std::to_string(i + 1) + ": " + why;
            return false;
        };
        std::vector<std::string> fields = split(lines[i], '\t');
        for (std::string& field : fields) {
            std::string plain;
            if (!unescape(field, &plain)) return fail("bad escape in '" + field + "'");
            field = plain;
        }
        const std::string& kind = fields[0];
        size_t count = fields.size() - 1;
        auto expect = [&](size_t wanted) {
            return count == wanted ? true : fail(kind + " needs " + std::to_string(wanted) + " fields");
        };
        if (kind == "exit") {
            if (!expect(1)) return false;
            if (!number(fields[1], &result.exitCode)) return fail("bad exit code");
        } else if (kind == "clock") {
            if (!expect(1)) return false;
            if (!number(fields[1], &result.clock)) return fail("bad clock");
        } else if (kind == "presents") {
            if (!expect(1)) return false;
            if (!number(fields[1], &result.presents)) return fail("bad present count");
        } else if (kind == "box") {
            if (!expect(5)) return false;
            platform::MessageBoxRecord box;
            if (!number(fields[1], &box.time) || !number(fields[2], &box.type) || !number(fields[3], &box.answer))
                return fail("bad box numbers");
            box.caption = fields[4];
            box.text = fields[5];
            result.boxes.push_back(box);
        } else if (kind == "capture") {
            if (!expect(2)) return false;
            script::CaptureRecord capture;
            if (!number(fields[1], &capture.time)) return fail("bad capture time");
            capture.path = fields[2];
            result.captures.push_back(capture);
        } else if (kind == "call") {
            if (!expect(2)) return false;
            platform::CallRecord call;
            if (!number(fields[1], &call.time)) return fail("bad call time");
            call.name = fields[2];
            result.calls.push_back(call);
        } else {
            return fail("unknown record '" + kind + "'");
        }
    }
    *report = std::move(result);
    return true;
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
