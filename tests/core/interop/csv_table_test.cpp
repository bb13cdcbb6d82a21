#include <gtest/gtest.h>

#include "core/interop/csv_table.h"

namespace zt {
namespace {

using Fields = std::vector<std::string>;

TEST(CsvTable, ReadsQuotesLineEndingsAndByteOrderMark)
{
    const CsvTable t = parseCsv(
        "\xEF\xBB\xBF"
        "A,B,C\r\n"
        "1,\"x, y\",\"say \"\"hi\"\"\"\r\n"
        "\r\n"
        "2,\"two\nlines\",\n"
        "3,,last");
    EXPECT_EQ(t.errorLine, 0);
    EXPECT_EQ(t.header, (Fields{"A", "B", "C"}));
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_EQ(t.rows[0].line, 2);
    EXPECT_EQ(t.rows[0].fields, (Fields{"1", "x, y", "say \"hi\""}));
    // The blank line 3 is skipped; a quoted line break keeps the line count right.
    EXPECT_EQ(t.rows[1].line, 4);
    EXPECT_EQ(t.rows[1].fields, (Fields{"2", "two\nlines", ""}));
    EXPECT_EQ(t.rows[2].line, 6);
    EXPECT_EQ(t.rows[2].fields, (Fields{"3", "", "last"}));
}

TEST(CsvTable, UnterminatedQuoteIsReportedWithItsLine)
{
    const CsvTable t = parseCsv("A,B\n1,2\n3,\"open\n4,5\n");
    EXPECT_EQ(t.errorLine, 3);
}

TEST(CsvTable, WrittenLinesReadBackUnchanged)
{
    const Fields fields{"plain", "with,comma", "with \"quote\"", "two\r\nlines", ""};
    const CsvTable t = parseCsv(csvLine({"h1", "h2", "h3", "h4", "h5"}) + csvLine(fields));
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.rows[0].fields, fields);
    EXPECT_EQ(csvLine({"a", "b"}), "a,b\r\n");
}

}  // namespace
}  // namespace zt
