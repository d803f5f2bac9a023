// The platform's half of support/host.h.
#include "support/host.h"

#include <cstdint>

namespace test_host {

bool onThePlatform() { return true; }

HWND displayWindow() { return reinterpret_cast<HWND>(uintptr_t{0x5150}); }

void endDirectDraw(LPDIRECTDRAW) {}

}  // namespace test_host
