// Files opened by CreateFileA and not yet closed; tests use the count to find
// handle leaks in the program's loaders.
#pragma once

namespace qmp::kernel {

int openFileCount();

}  // namespace qmp::kernel
