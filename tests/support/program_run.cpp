#include "support/program_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

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

bool writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    return static_cast<bool>(file);
}

// Reads both pipes until they close or the deadline passes.
bool drain(int outFd, int errFd, std::string* out, std::string* err, std::chrono::steady_clock::time_point deadline) {
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* sinks[2] = {out, err};
    int open = 2;
    char buffer[4096];
    while (open > 0) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        int ready = poll(fds, 2, static_cast<int>(std::min<long long>(left.count(), 1000)));
        if (ready < 0 && errno != EINTR) return false;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                sinks[i]->append(buffer, static_cast<size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                fds[i].fd = -1;
                --open;
            }
        }
    }
    return true;
}

}  // namespace

std::string readText(const std::filesystem::path& path, bool* found) {
    std::ifstream file(path, std::ios::binary);
    *found = static_cast<bool>(file);
    std::ostringstream text;
    if (*found) text << file.rdbuf();
    return text.str();
}

bool parseReport(const std::string& text, ProgramReport* report, std::string* error) {
    ProgramReport result;
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
        auto expect = [&](size_t wanted) { return count == wanted ? true : fail(kind + " needs " + std::to_string(wanted) + " fields"); };
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
            ReportCapture capture;
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

TempFolder::TempFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/qm-run-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) != nullptr) path_ = buffer.data();
}

TempFolder::~TempFolder() {
    if (path_.empty() || std::getenv("QM_KEEP_RUNS") != nullptr) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

bool TempFolder::copyPictures(const std::vector<std::string>& names) const {
    std::error_code error;
    for (const std::string& name : names) {
        std::filesystem::copy_file(std::filesystem::path(QM_RUNTIME_DIR) / name, path_ / name,
                                   std::filesystem::copy_options::overwrite_existing, error);
        if (error) return false;
    }
    return true;
}

std::string ProgramResult::describe() const {
    std::ostringstream text;
    if (!started) return "the program did not start: " + err;
    if (timedOut) text << "timed out; ";
    if (exited) text << "exit code " << exitCode;
    else text << "killed by signal " << signal;
    text << "\n--- stdout ---\n" << out << "--- stderr ---\n" << err;
    if (!hasReport) text << "--- no report: " << reportError << "\n";
    return text.str();
}

std::vector<std::string> prepareRun(const ProgramRun& run, ProgramResult* result) {
    result->temp = std::make_shared<TempFolder>();
    if (!result->temp->valid()) {
        result->err = "cannot make a temporary folder";
        return {};
    }
    const std::filesystem::path& folder = result->temp->path();
    result->folder = folder;
    result->shots = folder / "shots";
    std::error_code ignored;
    std::filesystem::create_directory(result->shots, ignored);  // the program makes no folders

    std::vector<std::string> args{run.program};
    if (run.platformOptions) {
        args.insert(args.end(), {"--headless", "--shots", result->shots.string(), "--report", reportPathOf(*result).string()});
        if (!run.script.empty()) {
            std::filesystem::path scriptPath = folder / "run.script";
            if (!writeText(scriptPath, run.script)) {
                result->err = "cannot write the script";
                return {};
            }
            args.insert(args.end(), {"--script", scriptPath.string()});
        }
        if (run.callLog) args.push_back("--call-log");
    }
    args.insert(args.end(), run.args.begin(), run.args.end());
    return args;
}

void finishRun(int waitStatus, ProgramResult* result) {
    result->exited = WIFEXITED(waitStatus);
    if (result->exited) result->exitCode = WEXITSTATUS(waitStatus);
    if (WIFSIGNALED(waitStatus)) result->signal = WTERMSIG(waitStatus);
    bool found = false;
    std::string text = readText(reportPathOf(*result), &found);
    if (!found)
        result->reportError = "the program wrote no report";
    else
        result->hasReport = parseReport(text, &result->report, &result->reportError);
}

ProgramResult runProgram(const ProgramRun& run) {
    ProgramResult result;
    std::vector<std::string> args = prepareRun(run, &result);
    if (args.empty()) return result;

    int outPipe[2];
    int errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0) return result;
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
        close(outPipe[0]);
        close(outPipe[1]);
        return result;
    }
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);  // its own group, so a timeout ends whatever it started too
        dup2(outPipe[1], STDOUT_FILENO);
        dup2(errPipe[1], STDERR_FILENO);
        if (chdir(run.workingDir.c_str()) != 0) {
            std::fprintf(stderr, "cannot enter %s: %s\n", run.workingDir.c_str(), std::strerror(errno));
            _exit(126);
        }
        execv(argv[0], argv.data());
        std::fprintf(stderr, "cannot run %s: %s\n", argv[0], std::strerror(errno));
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    if (pid < 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        result.err = "fork failed";
        return result;
    }
    result.started = true;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(run.timeoutMs);
    if (!drain(outPipe[0], errPipe[0], &result.out, &result.err, deadline)) {
        result.timedOut = true;
        kill(-pid, SIGKILL);
    }
    close(outPipe[0]);
    close(errPipe[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    finishRun(status, &result);
    return result;
}
