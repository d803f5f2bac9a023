// Registry of the platform modules' reset functions, run by platform::reset().
#pragma once

#include <functional>

namespace qmp {

// A module declares one of these at namespace scope; its function runs on every
// platform::reset(), in the reverse order of registration (later modules, which
// may hold objects of earlier ones, are reset first).
struct ResetHook {
    explicit ResetHook(std::function<void()> hook);
};

void runResetHooks();

}  // namespace qmp
