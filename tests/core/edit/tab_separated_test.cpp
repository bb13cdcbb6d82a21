#include <gtest/gtest.h>

#include "core/edit/tab_separated.h"

namespace zt {
namespace {

TEST(TabSeparated, ReadsSpreadsheetClipboardText)
{
    EXPECT_TRUE(parseTabSeparated("").empty());
    EXPECT_EQ(parseTabSeparated("27.5\tOFF\n28\t67.0\n"),
              (CellBlock{{"27.5", "OFF"}, {"28", "67.0"}}));
    // CR LF, no final line break, empty cells kept in their places.
    EXPECT_EQ(parseTabSeparated("a\t\tc\r\n\tb"), (CellBlock{{"a", "", "c"}, {"", "b"}}));
    // An empty line is a row with one empty cell.
    EXPECT_EQ(parseTabSeparated("a\n\nb\n"), (CellBlock{{"a"}, {""}, {"b"}}));
    // Quoted cells may hold tabs, line breaks and doubled quotes; a quote inside a plain
    // cell is an ordinary character.
    EXPECT_EQ(parseTabSeparated("\"x\ty\"\t\"2\n\"\"3\"\"\"\tsay \"hi\"\n"),
              (CellBlock{{"x\ty", "2\n\"3\"", "say \"hi\""}}));
}

TEST(TabSeparated, WrittenBlocksReadBackUnchanged)
{
    const CellBlock block = {{"27.00000", "+0.60000", "", "OFF"},
                             {"tab\there", "quote\"", "line\nbreak", ""}};
    const std::string text = formatTabSeparated(block);
    EXPECT_EQ(text.substr(0, 27), "27.00000\t+0.60000\t\tOFF\n\"tab");
    EXPECT_EQ(parseTabSeparated(text), block);
}

}  // namespace
}  // namespace zt
