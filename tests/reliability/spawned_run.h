// Starting the program thousands of times from a sanitizer build of the tests:
// posix_spawn instead of fork, because forking a process that maps the address
// sanitizer's shadow memory copies its page tables every time, which costs more
// than a short run of the program itself. Output goes to files in the run's
// temporary folder. While the child runs, an optional watcher is called every
// `periodMs` with its pid (to sample its memory from outside).
#pragma once

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/program_run.h"

extern char** environ;

namespace qmrel {

struct SpawnExtras {
    std::function<void(pid_t)> watch;  // called every periodMs while the child runs
    int periodMs = 50;
    long* peakKb = nullptr;            // the child's peak resident size, from the kernel
    double* seconds = nullptr;         // real time of the run
};

// Runs like runProgram (same options, same result) without forking this process.
inline ProgramResult spawnProgram(const ProgramRun& run, const SpawnExtras& extras = {}) {
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
        result.err = std::string("cannot start ") + argv[0] + ": " + std::strerror(spawned);
        return result;
    }
    result.started = true;

    // Waits on a pid file descriptor where the kernel has them; otherwise polls.
    const int pidFd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    const auto deadline = started + std::chrono::milliseconds(run.timeoutMs);
    const int period = extras.watch ? extras.periodMs : 1000;
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
        if (extras.watch) extras.watch(pid);
        if (pidFd >= 0) {
            pollfd ready{pidFd, POLLIN, 0};
            poll(&ready, 1, period);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(extras.watch ? period : 2));
        }
    }
    if (pidFd >= 0) close(pidFd);
    if (extras.seconds) *extras.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (extras.peakKb) *extras.peakKb = usage.ru_maxrss;

    bool found = false;
    result.out = readText(outPath, &found);
    result.err = readText(errPath, &found);
    finishRun(status, &result);
    return result;
}

}  // namespace qmrel
