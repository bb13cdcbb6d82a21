#include <gtest/gtest.h>

#include "core/values/band_limits.h"
#include "core/values/number_text.h"

namespace zt {
namespace {

TEST(NumberText, RecognisesDecimalNumbersWithPointOnly)
{
    EXPECT_TRUE(isNumeric("27.6"));
    EXPECT_TRUE(isNumeric(" -0.5 "));
    EXPECT_TRUE(isNumeric(".5"));
    EXPECT_TRUE(isNumeric("1e3"));
    EXPECT_FALSE(isNumeric(""));
    EXPECT_FALSE(isNumeric("."));
    EXPECT_FALSE(isNumeric("27,6"));
    EXPECT_FALSE(isNumeric("27.6.1"));
    EXPECT_FALSE(isNumeric("abc"));
    EXPECT_FALSE(isNumeric("1e"));
    EXPECT_DOUBLE_EQ(*parseNumber("+27.61125"), 27.61125);
}

TEST(BandLimits, ParsesTheBandTextAndFallsBack)
{
    auto std = parseBandLimits("25.615 - 30.105 MHz");
    EXPECT_DOUBLE_EQ(std.lo, 25.615);
    EXPECT_DOUBLE_EQ(std.hi, 30.105);
    auto vhf = parseBandLimits("136 - 174 MHz");
    EXPECT_DOUBLE_EQ(vhf.lo, 136);
    EXPECT_DOUBLE_EQ(vhf.hi, 174);
    auto none = parseBandLimits("no dash here");
    EXPECT_DOUBLE_EQ(none.lo, 100);
    EXPECT_DOUBLE_EQ(none.hi, 500);
    auto noMhz = parseBandLimits("430 - 450");
    EXPECT_DOUBLE_EQ(noMhz.lo, 430);
    EXPECT_DOUBLE_EQ(noMhz.hi, 500);
    auto bad = parseBandLimits("x - y MHz");
    EXPECT_DOUBLE_EQ(bad.lo, 100);
    EXPECT_DOUBLE_EQ(bad.hi, 500);
    EXPECT_DOUBLE_EQ(parseBandLimits("").lo, 100);
}

TEST(ScaledDecimal, SplitsExactlyAndRoundsHalfToEven)
{
    auto s = parseScaledDecimal("27.6112549", 5);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->whole, 2761125);
    EXPECT_TRUE(s->fraction);
    EXPECT_EQ(s->halfCompare, -1);
    EXPECT_EQ(s->rounded(), 2761125);
    EXPECT_EQ(s->truncated(), 2761125);

    EXPECT_EQ(parseScaledDecimal("2.5", 0)->rounded(), 2);
    EXPECT_EQ(parseScaledDecimal("3.5", 0)->rounded(), 4);
    EXPECT_EQ(parseScaledDecimal("-2.5", 0)->rounded(), -2);
    EXPECT_EQ(parseScaledDecimal("-2.51", 0)->rounded(), -3);
    EXPECT_EQ(parseScaledDecimal("-2.51", 0)->truncated(), -2);
    EXPECT_EQ(parseScaledDecimal("0.5e1", 0)->rounded(), 5);
    EXPECT_EQ(parseScaledDecimal("500e-3", 1)->rounded(), 5);
    EXPECT_EQ(parseScaledDecimal("1e-400", 5)->rounded(), 0);
    EXPECT_FALSE(parseScaledDecimal("1,5", 0));
    EXPECT_FALSE(parseScaledDecimal("-0", 0)->negative);
}

TEST(ScaledDecimal, ComparesExactlyWithAnInteger)
{
    EXPECT_EQ(parseScaledDecimal("25.615", 5)->compare(2561500), 0);
    EXPECT_EQ(parseScaledDecimal("25.6149999", 5)->compare(2561500), -1);
    EXPECT_EQ(parseScaledDecimal("25.6150001", 5)->compare(2561500), 1);
    EXPECT_EQ(parseScaledDecimal("-0.5", 0)->compare(0), -1);
    EXPECT_EQ(parseScaledDecimal("-0.5", 0)->compare(-1), 1);
    EXPECT_EQ(parseScaledDecimal("-1", 0)->compare(-1), 0);
    EXPECT_EQ(parseScaledDecimal("0", 0)->compare(INT64_MIN), 1);
}

TEST(ScaledDecimal, HugeValuesSaturate)
{
    auto s = parseScaledDecimal("1e300", 5);
    EXPECT_TRUE(s->saturated);
    EXPECT_EQ(s->compare(3010500), 1);
    EXPECT_EQ(parseScaledDecimal("-1e300", 5)->compare(2561500), -1);
    EXPECT_EQ(parseInt32Rounded("2147483647.4"), 2147483647);
    EXPECT_FALSE(parseInt32Rounded("2147483647.5"));
    EXPECT_EQ(parseInt32Rounded("-2147483648"), INT32_MIN);
}

}  // namespace
}  // namespace zt
