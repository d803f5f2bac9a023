// Windows' PlatformTest: a real Win32 has no state to put back between tests;
// each test releases what it made (see support/host.h).
#pragma once

#include <gtest/gtest.h>

#include "platform/control.h"

class PlatformTest : public ::testing::Test {};
