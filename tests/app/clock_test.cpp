// The stopwatch's interval rule and the random source's draws, on the virtual clock.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <set>

#include "app/clock.h"
#include "support/platform_test.h"

namespace {

class StopwatchTest : public PlatformTest {
protected:
    Stopwatch watch;
};

TEST_F(StopwatchTest, ElapsedCountsFromTheLastResetAndReadsTheRawClockBefore) {
    platform::setTime(5000);
    EXPECT_EQ(watch.elapsed(), 5000);
    EXPECT_EQ(watch.reset(), 5000u);
    platform::advanceTime(123);
    EXPECT_EQ(watch.elapsed(), 123);
}

TEST_F(StopwatchTest, IntervalPassesOnlyWhenFullyElapsedAndMovesTheMarkToNow) {
    watch.reset();
    int32_t mark = 1000;
    platform::setTime(1040);
    EXPECT_FALSE(watch.intervalElapsed(mark, 41));
    EXPECT_EQ(mark, 1000);
    platform::setTime(1041);
    EXPECT_TRUE(watch.intervalElapsed(mark, 41));
    EXPECT_EQ(mark, 1041);

    // A pause is not made up: one true, then the interval counts from now.
    platform::setTime(5000);
    EXPECT_TRUE(watch.intervalElapsed(mark, 41));
    EXPECT_EQ(mark, 5000);
    platform::setTime(5010);
    EXPECT_FALSE(watch.intervalElapsed(mark, 41));
}

TEST_F(StopwatchTest, SurvivesTheWrapOfTheClockAndOfSignedElapsedTime) {
    // The clock wraps after 49.7 days and elapsed() passes INT32_MAX after 24.8 days:
    // neither may stop the intervals (nor overflow a signed sum).
    platform::setTime(0xFFFFFFF0u);
    watch.reset();
    int32_t mark = watch.elapsed();
    platform::setTime(0x00000020u);  // wrapped
    EXPECT_EQ(watch.elapsed(), 0x30);
    EXPECT_TRUE(watch.intervalElapsed(mark, 41));

    watch.start = 0;
    platform::setTime(0x7FFFFFF0u);
    mark = watch.elapsed();
    platform::setTime(0x80000010u);  // elapsed() is now negative
    EXPECT_FALSE(watch.intervalElapsed(mark, 41));
    platform::setTime(0x80000019u);
    EXPECT_TRUE(watch.intervalElapsed(mark, 41));
    EXPECT_EQ(mark, static_cast<int32_t>(0x80000019u));
}

// The raw draws a fresh seed gives, as the random source forms them.
int rawDrawAfterSeed(unsigned seed, int index) {
    std::srand(seed);
    int value = 0;
    for (int i = 0; i <= index; ++i) value = std::rand() & 0x7FFF;
    return value;
}

class RandomSourceTest : public PlatformTest {};

TEST_F(RandomSourceTest, RangesHoldTheirBoundsIncludingTheWrappedOne) {
    platform::setTime(777);
    RandomSource source;
    std::set<int32_t> seen;
    for (int i = 0; i < 3000; ++i) {
        int32_t v = source.range(-100, 100);
        ASSERT_GE(v, -100);
        ASSERT_LE(v, 100);
        int32_t w = source.range(30, 7);  // hi < lo: 30..51
        ASSERT_GE(w, 30);
        ASSERT_LE(w, 51);
        seen.insert(w);
        ASSERT_EQ(source.range(12, 12), 12);
    }
    EXPECT_EQ(seen.size(), 22u);
}

TEST_F(RandomSourceTest, WideRangesTakeTwoDrawsAndNarrowOnesOne) {
    platform::setTime(4242);
    RandomSource source;  // seeded with 4242
    int r1 = rawDrawAfterSeed(4242, 0);
    int r2 = rawDrawAfterSeed(4242, 1);
    int r3 = rawDrawAfterSeed(4242, 2);
    source.reseed();
    EXPECT_EQ(source.range(0, 40000), ((r1 << 15) | r2) % 40001);
    EXPECT_EQ(source.range(0, 32766), r3 % 32767);
}

TEST_F(RandomSourceTest, ReseedsOnThe1001stDrawAndRestartsWithinOneMillisecond) {
    platform::setTime(99);
    RandomSource source;
    for (int i = 0; i < 1000; ++i) source.range(0, 9);
    EXPECT_EQ(source.drawCount, 1000);
    platform::setTime(31337);
    int expected = rawDrawAfterSeed(31337, 0) % 1000;
    EXPECT_EQ(source.range(0, 999), expected);  // drawn with the new seed
    EXPECT_EQ(source.drawCount, 0);
    source.range(0, 9);
    EXPECT_EQ(source.drawCount, 1);

    source.reseed();
    int32_t a = source.range(0, 1000000);
    source.reseed();  // same millisecond: same sequence
    EXPECT_EQ(source.range(0, 1000000), a);
}

TEST_F(RandomSourceTest, SignCountsZeroAsPlusAndDrawsOnce) {
    // Find a clock reading whose first draw is the middle of -100..100.
    unsigned seed = 0;
    while (rawDrawAfterSeed(seed, 0) % 201 != 100) ++seed;
    platform::setTime(seed);
    RandomSource source;
    EXPECT_EQ(source.sign(), 1);
    EXPECT_EQ(source.drawCount, 1);

    int minus = 0, plus = 0;
    for (int i = 0; i < 4000; ++i) (source.sign() < 0 ? minus : plus)++;
    EXPECT_GT(minus, 1700);
    EXPECT_GT(plus, 1700);
}

TEST_F(RandomSourceTest, AnEmptyRangeGivesItsLowBoundInsteadOfDividingByZero) {
    RandomSource source;
    EXPECT_EQ(source.range(5, 4), 5);
    // The full 32-bit range also wraps its width to 0.
    EXPECT_EQ(source.range(INT32_MIN, INT32_MAX), INT32_MIN);
}

}  // namespace
