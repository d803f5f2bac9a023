// Runs the built program (or another) as a child process, headless with a
// script, and reads back what it did: exit status, output and the run report.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/run.h"

// The run report the program writes with --report, read back by the parser
// beside its writer (platform/core/run.h).
using ProgramReport = qmp::run::Report;

// A temporary folder, removed with the object unless QM_KEEP_RUNS is set in
// the environment. A test of broken picture files copies the pictures into one,
// breaks them, and runs the program there.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    bool valid() const { return !path_.empty(); }
    // Copies the built picture files (all three unless named) from QM_RUNTIME_DIR.
    bool copyPictures(const std::vector<std::string>& names = {"bckgnd.bmp", "Sprites.bmp", "MsgWnd.bmp"}) const;

private:
    std::filesystem::path path_;
};

struct ProgramRun {
    std::string program = QM_PROGRAM;
    std::vector<std::string> args;       // extra arguments
    std::string script;                  // passed with --script when not empty
    std::string workingDir = QM_RUNTIME_DIR;  // where the picture files are
    int timeoutMs = 60000;
    bool callLog = false;
    // Adds --headless, --script, --shots and --report; off to run something
    // that is not the program (the harness's own tests).
    bool platformOptions = true;
    // Called with the child's pid every watchPeriodMs while it runs (to sample
    // its memory from outside).
    std::function<void(pid_t)> watch;
    int watchPeriodMs = 50;
};

struct ProgramResult {
    bool started = false;
    bool timedOut = false;
    bool exited = false;   // ended by exit(), not by a signal
    int exitCode = -1;     // when exited
    int signal = 0;        // when killed by a signal
    std::string out;
    std::string err;
    bool hasReport = false;
    ProgramReport report;
    std::string reportError;     // why the report is missing or malformed
    std::filesystem::path folder;  // the run's own temporary folder (script, report)
    std::filesystem::path shots;   // where relative captures went
    double seconds = 0;            // real time of the run
    long peakKb = 0;               // the child's peak resident size, from the kernel

    std::shared_ptr<TempFolder> temp;  // owns `folder`

    // One line for test failure messages.
    std::string describe() const;
};

ProgramResult runProgram(const ProgramRun& run);
