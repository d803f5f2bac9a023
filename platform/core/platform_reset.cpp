// The current backend (core/backend.h), and the control interface's reset,
// backend and clock calls (platform/control.h).
#include "core/backend.h"
#include "core/clock.h"
#include "core/reset.h"
#include <string>

#include "platform/control.h"

namespace qmp {
namespace {
std::unique_ptr<Backend>& currentBackend() {
    static std::unique_ptr<Backend> current;
    return current;
}
}  // namespace

Backend& backend() {
    auto& current = currentBackend();
    if (!current) current = makeHeadlessBackend();
    return *current;
}

void setBackend(std::unique_ptr<Backend> next) { currentBackend() = std::move(next); }

}  // namespace qmp

namespace platform {

void reset(uint32_t clockStart) {
    qmp::runResetHooks();
    qmp::clock::useVirtual(clockStart);
    qmp::setBackend(qmp::makeHeadlessBackend());
}

BackendKind backendKind() {
    return std::string(qmp::backend().name()) == "headless" ? BackendKind::Headless : BackendKind::Window;
}

uint32_t now() { return qmp::clock::now(); }
void setTime(uint32_t ms) { qmp::clock::set(ms); }
void advanceTime(uint32_t ms) { qmp::clock::advance(ms); }

}  // namespace platform
