// A fresh headless platform for every test.
#pragma once

#include <gtest/gtest.h>

#include "platform/control.h"

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override { platform::reset(); }
    void TearDown() override { platform::reset(); }
};
