// Scaffolding while the subsystems are being built: a call into a part that
// does not exist yet stops the program with its name. Nothing may use this
// once the part is written.
#pragma once

#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void qmUnbuilt(const char* what) {
    std::fprintf(stderr, "not built yet: %s\n", what);
    std::abort();
}
#define QM_UNBUILT() qmUnbuilt(__PRETTY_FUNCTION__)
