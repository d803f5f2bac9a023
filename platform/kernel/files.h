// Files opened by CreateFileA and not yet closed; tests use the count to find
// handle leaks in the program's loaders. And the last file asked for.
#pragma once

#include <string>

namespace qmp::kernel {

int openFileCount();

// The host path of the file CreateFileA was last asked to open; empty before
// the first. After a failed start-up it names the picture that failed.
const std::string& lastFileAsked();

}  // namespace qmp::kernel
