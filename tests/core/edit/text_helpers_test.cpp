#include <gtest/gtest.h>

#include "core/edit/text_helpers.h"

namespace zt {
namespace {

TEST(TextHelpers, CutAtZeroDropsTrailingSpacesThenCutsAtNul)
{
    EXPECT_EQ(cutTextAtZero("ABC   "), "ABC");
    EXPECT_EQ(cutTextAtZero(std::string("AB\0CD  ", 7)), "AB");
    EXPECT_EQ(cutTextAtZero(std::string("AB \0 ", 5)), "AB ");  // spaces before the NUL stay
    EXPECT_EQ(cutTextAtZero("  "), "");
}

TEST(TextHelpers, FileNameOfPath)
{
    EXPECT_EQ(fileNameOfPath("C:\\radio\\data\\ch1.dat"), "ch1.dat");
    EXPECT_EQ(fileNameOfPath("/home/user/ch1.dat"), "ch1.dat");
    EXPECT_EQ(fileNameOfPath("ch1.dat"), "ch1.dat");
    EXPECT_EQ(fileNameOfPath("C:\\radio\\"), "");
    EXPECT_EQ(fileNameOfPath(""), "");
}

TEST(TextHelpers, DtmfStarAndHashRoundTrip)
{
    EXPECT_EQ(dtmfToDisplay("12E3F"), "12*3#");
    EXPECT_EQ(dtmfToStorage("12*3#"), "12E3F");
    EXPECT_EQ(dtmfToStorage(dtmfToDisplay("12E3F")), "12E3F");
    EXPECT_EQ(dtmfToDisplay("ABCD0"), "ABCD0");
    EXPECT_EQ(dtmfToDisplay(""), "");
}

}  // namespace
}  // namespace zt
