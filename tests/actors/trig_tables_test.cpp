// The angle tables: one turn in 256 steps of 3.1416 / 128, stored as float32.
#include <gtest/gtest.h>

#include <cmath>

#include "actors/trig_tables.h"

namespace {

class TrigTablesTest : public ::testing::Test {
protected:
    void SetUp() override { buildTrigTables(); }
};

TEST_F(TrigTablesTest, QuarterTurnsLandOnTheAxes) {
    EXPECT_EQ(tableCos(0), 1.0f);
    EXPECT_EQ(tableSin(0), 0.0f);
    EXPECT_EQ(tableSin(64), 1.0f);
    EXPECT_EQ(tableCos(128), -1.0f);
}

TEST_F(TrigTablesTest, TheStepIsNotExactlyAQuarterTurnSoCos64IsSlightlyNegative) {
    // cos(64 x 0.02454375) = cos(1.5708), just past pi / 2.
    EXPECT_LT(cosTable[64], 0.0f);
    EXPECT_NEAR(cosTable[64], -0.0000037f, 0.00000005f);
    EXPECT_EQ(cosTable[64], static_cast<float>(std::cos(64 * 0.02454375)));
}

TEST_F(TrigTablesTest, IndicesWrapOnTheLowByte) {
    EXPECT_EQ(tableSin(300), tableSin(44));
    EXPECT_EQ(tableCos(256), tableCos(0));
    EXPECT_EQ(tableSin(-1), sinTable[255]);
    EXPECT_EQ(tableCos(-256), cosTable[0]);
}

}  // namespace
