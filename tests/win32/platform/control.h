// The platform's control interface, declared for the Windows build of the
// shared tests so that they compile; its calls are reached only on the
// platform (tests that need them skip first) and fail the test if reached.
#pragma once

#include "../../../platform/include/platform/control.h"
