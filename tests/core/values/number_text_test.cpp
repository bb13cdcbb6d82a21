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

}  // namespace
}  // namespace zt
