// Runs the built program (or another) as a child process, headless with a
// script, and reads back what it did: exit status, output and the run report.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/control.h"

struct ReportCapture {
    uint32_t time = 0;
    std::string path;
};

// The run report the program writes with --report (format: platform/core/run.h).
struct ProgramReport {
    int exitCode = -1;
    uint32_t clock = 0;
    uint64_t presents = 0;
    std::vector<platform::MessageBoxRecord> boxes;
    std::vector<ReportCapture> captures;
    std::vector<platform::CallRecord> calls;
};

// Parses report text; false with "line N: ..." in `error` on a malformed line.
bool parseReport(const std::string& text, ProgramReport* report, std::string* error);

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

    std::shared_ptr<TempFolder> temp;  // owns `folder`

    // One line for test failure messages.
    std::string describe() const;
};

ProgramResult runProgram(const ProgramRun& run);

// The two halves of a run that do not depend on how the program is started:
// the temporary folder, script and argument list (empty when the folder or the
// script could not be made, with `err` saying why), and the exit status and
// report read back after it ended.
std::vector<std::string> prepareRun(const ProgramRun& run, ProgramResult* result);
void finishRun(int waitStatus, ProgramResult* result);
// The whole file; `found` says whether it could be opened.
std::string readText(const std::filesystem::path& path, bool* found);
inline std::filesystem::path reportPathOf(const ProgramResult& result) { return result.folder / "report.txt"; }
