#include "gui/widgets/twips.h"

#include <gtest/gtest.h>

namespace zt::gui {
namespace {

// Layout gaps and stored window positions convert to the nearest pixel, halves away from zero:
// a window stored left of the screen lands as far left as one stored right of it lands right.
TEST(Twips, ConvertToTheNearestPixelOnBothSidesOfZero)
{
    EXPECT_EQ(twipsToPixels(100), 7);  // 6.67
    EXPECT_EQ(twipsToPixels(50), 3);   // 3.33
    EXPECT_EQ(twipsToPixels(7), 0);    // 0.47
    EXPECT_EQ(twipsToPixels(8), 1);    // 0.53
    EXPECT_EQ(twipsToPixels(-1000), -67);
    EXPECT_EQ(twipsToPixels(-7), 0);
    EXPECT_EQ(twipsToPixels(-8), -1);
    EXPECT_EQ(twipsToPixels(pixelsToTwips(-41)), -41);
}

}  // namespace
}  // namespace zt::gui
