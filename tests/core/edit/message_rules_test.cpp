#include "core/edit/message_rules.h"

#include <gtest/gtest.h>

namespace zt {
namespace {

TEST(MessageLineStorage, SixteenCharactersAreStoredWithoutNul)
{
    const auto line = messageLineFromText("ABCDEFGHIJKLMNOP");
    EXPECT_EQ(line.raw(), "ABCDEFGHIJKLMNOP");
}

TEST(MessageLineStorage, ShorterTextGetsOneNulThenSpaces)
{
    EXPECT_EQ(messageLineFromText("ABCDEFGHIJKLMNO").raw(), std::string("ABCDEFGHIJKLMNO\0", 16));
    EXPECT_EQ(messageLineFromText("HI").raw(), std::string("HI\0             ", 16));
    EXPECT_EQ(messageLineFromText("").raw(), std::string("\0               ", 16));
    // Trailing spaces typed by the user belong to the text.
    EXPECT_EQ(messageLineFromText("A  ").raw(), std::string("A  \0            ", 16));
}

TEST(MessageLineStorage, LongerTextIsCutToSixteen)
{
    EXPECT_EQ(messageLineFromText("0123456789ABCDEFXYZ").raw(), "0123456789ABCDEF");
}

TEST(MessageLineStorage, ShownTextIsCutAtSpacesThenNul)
{
    EXPECT_EQ(messageLineText(FixedText<16>(std::string("AB\0CD           ", 16))), "AB");
    EXPECT_EQ(messageLineText(FixedText<16>("HELLO")), "HELLO");
    FixedText<16> fresh;  // all NUL
    EXPECT_EQ(messageLineText(fresh), "");
    // Showing a stored line and storing it again gives the stored form.
    for (const char* text : {"X", "0123456789ABCDEF", "SPACE INSIDE"}) {
        const auto stored = messageLineFromText(text);
        EXPECT_EQ(messageLineFromText(messageLineText(stored)), stored) << text;
    }
}

}  // namespace
}  // namespace zt
