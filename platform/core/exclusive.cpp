#include "core/exclusive.h"

#include "platform/control.h"

namespace qmp::exclusive {
namespace {
std::function<void()>& handler() {
    static std::function<void()> h;
    return h;
}
}  // namespace

void setLossHandler(std::function<void()> next) { handler() = std::move(next); }

void loseSurfaces() {
    if (handler()) handler()();
}

}  // namespace qmp::exclusive

namespace platform {
void loseSurfaces() { qmp::exclusive::loseSurfaces(); }
}  // namespace platform
