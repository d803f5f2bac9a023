// Scaffolding until the SDL2 window exists: no window can be opened.
#include "core/backend.h"
namespace qmp {
std::unique_ptr<Backend> makeWindowBackend(const LaunchOptions&) { return nullptr; }
}  // namespace qmp
