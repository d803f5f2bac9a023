#include "core/reset.h"

#include <vector>

namespace qmp {
namespace {
std::vector<std::function<void()>>& hooks() {
    static std::vector<std::function<void()>> list;
    return list;
}
}  // namespace

ResetHook::ResetHook(std::function<void()> hook) { hooks().push_back(std::move(hook)); }

void runResetHooks() {
    auto& list = hooks();
    for (auto it = list.rbegin(); it != list.rend(); ++it) (*it)();
}

}  // namespace qmp
