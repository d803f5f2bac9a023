// The end of a run: the run report, written here and read back by whoever ran
// the program (the tests), and stopping a run that cannot go on.
//
// The report is UTF-8 text, one record per line, fields separated by tabs; a tab,
// newline, carriage return or backslash inside a text field is written as \t, \n,
// \r or \\. Records, in this order:
//
//   exit      <code>
//   clock     <ms>                      the clock when the run ended
//   presents  <count>                   renewals of the visible picture
//   box       <ms> <type> <answer> <caption> <text>   per message box, in order shown
//   capture   <ms> <path>               per saved capture
//   call      <ms> <name>               per platform call, only with the call log
//
// Numbers are decimal; <type> is the MB_* flags, <answer> the ID* result.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/script.h"
#include "platform/control.h"

namespace qmp::run {

// Where stop() and the entry point write the report; empty: no report.
void setReport(const std::string& path, bool withCalls);
const std::string& reportPath();

std::string escapeField(const std::string& text);
std::string formatReport(int exitCode, bool withCalls);

// A report as read back.
struct Report {
    int exitCode = -1;
    uint32_t clock = 0;
    uint64_t presents = 0;
    std::vector<platform::MessageBoxRecord> boxes;
    std::vector<script::CaptureRecord> captures;
    std::vector<platform::CallRecord> calls;
};

// Parses report text; false with "line N: ..." in `error` on a malformed line.
bool parseReport(const std::string& text, Report* report, std::string* error);

// Writes the report of the run so far, when a path was set. False with the reason.
bool writeReport(int exitCode, std::string* error);

// Ends the process at once with `exitCode` after printing `why` and writing the
// report: for a run that can never continue (a program waiting for input that
// no script will give). Nothing of the program runs after it.
[[noreturn]] void stop(int exitCode, const std::string& why);

}  // namespace qmp::run
