// What --help and --version print.
#pragma once

#include <string>

namespace qmp {

// The whole help: usage, options, keys, the picture files, exit codes and the environment.
std::string helpText();

// "Quillmere Demo 1.0".
std::string versionText();

}  // namespace qmp
