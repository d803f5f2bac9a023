// Scaffolding while the platform is being built: a call into a part that does
// not exist yet stops the program with its name. Nothing may use this once the
// part is written.
#pragma once

#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void qmpUnbuilt(const char* what) {
    std::fprintf(stderr, "platform: not built yet: %s\n", what);
    std::abort();
}
#define QMP_UNBUILT() qmpUnbuilt(__PRETTY_FUNCTION__)
