#include <gtest/gtest.h>

#include <string>

#include "core/radio/fixed_text.h"

namespace zt {
namespace {

TEST(FixedText, AssignPadsWithSpacesAndCutsLongValues)
{
    FixedText<5> t("AB");
    EXPECT_EQ(t.raw(), "AB   ");
    t = "ABCDEFG";
    EXPECT_EQ(t.raw(), "ABCDE");
}

TEST(FixedText, CutRemovesTrailingSpacesThenCutsAtFirstNul)
{
    EXPECT_EQ(FixedText<6>(std::string("AB\0CD ", 6)).cut(), "AB");
    EXPECT_EQ(FixedText<6>("  AB").cut(), "  AB");
    EXPECT_EQ(FixedText<4>().cut(), "");
    // trailing spaces go first, so a NUL followed by spaces cuts cleanly
    EXPECT_EQ(cutAtZero(std::string("HI\0   ", 6)), "HI");
}

}  // namespace
}  // namespace zt
