// The one way the tests run a program: posix_spawn rather than fork, because
// forking a process that maps the address sanitizer's shadow memory copies its
// page tables every time, which costs more than a short run of the program
// itself (the reliability tests start it thousands of times). Output goes to
// files in the run's temporary folder.
#include "support/program_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

bool writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    return static_cast<bool>(file);
}

// The whole file; `found` says whether it could be opened.
std::string readText(const std::filesystem::path& path, bool* found) {
    std::ifstream file(path, std::ios::binary);
    *found = static_cast<bool>(file);
    std::ostringstream text;
    if (*found) text << file.rdbuf();
    return text.str();
}

std::filesystem::path reportPathOf(const ProgramResult& result) { return result.folder / "report.txt"; }

std::vector<std::string> prepareRun(const ProgramRun& run, ProgramResult* result) {
    result->temp = std::make_shared<TempFolder>();
    if (!result->temp->valid()) {
        result->err = "cannot make a temporary folder";
        return {};
    }
    const std::filesystem::path& folder = result->temp->path();
    result->folder = folder;
    result->shots = folder / "shots";

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
        result->hasReport = qmp::run::parseReport(text, &result->report, &result->reportError);
}

}  // namespace

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

ProgramResult runProgram(const ProgramRun& run) {
    ProgramResult result;
    std::vector<std::string> args = prepareRun(run, &result);
    if (args.empty()) return result;
    const std::filesystem::path outPath = result.folder / "stdout.txt";
    const std::filesystem::path errPath = result.folder / "stderr.txt";
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, run.workingDir.c_str());
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);  // its own group, killed whole on a timeout
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    const auto started = std::chrono::steady_clock::now();
    int spawned = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
        result.err = "cannot run " + args[0] + " in " + run.workingDir + ": " + std::strerror(spawned);
        return result;
    }
    result.started = true;

    // Waits on a pid file descriptor where the kernel has them; otherwise polls.
    const int pidFd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    const auto deadline = started + std::chrono::milliseconds(run.timeoutMs);
    const int period = run.watch ? run.watchPeriodMs : 1000;
    int status = 0;
    rusage usage{};
    for (;;) {
        if (wait4(pid, &status, WNOHANG, &usage) == pid) break;
        if (std::chrono::steady_clock::now() > deadline) {
            result.timedOut = true;
            kill(-pid, SIGKILL);
            wait4(pid, &status, 0, &usage);
            break;
        }
        if (run.watch) run.watch(pid);
        if (pidFd >= 0) {
            pollfd ready{pidFd, POLLIN, 0};
            poll(&ready, 1, period);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(run.watch ? period : 2));
        }
    }
    if (pidFd >= 0) close(pidFd);
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    result.peakKb = usage.ru_maxrss;

    bool found = false;
    result.out = readText(outPath, &found);
    result.err = readText(errPath, &found);
    finishRun(status, &result);
    return result;
}
