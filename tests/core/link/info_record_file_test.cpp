#include "core/link/info_record_file.h"

#include <gtest/gtest.h>

namespace zt {
namespace {

TEST(InfoRecordFile, EveryFieldSurvivesAWriteAndARead)
{
    InfoToolRecord record;
    int n = 0;
    for (const auto& name : infoFileFieldNames())
        ASSERT_TRUE(setInfoFileField(record, name, name + " " + std::to_string(++n)));
    record.Seller = "Quote \" back\\slash\ttab \xE9\xFF";  // bytes above 0x7F too
    record.DealerCode = "";
    const std::string text = writeInfoFile(infoFileFields(record));
    const InfoFileParse back = parseInfoFile(text);
    ASSERT_EQ(back.error, "");
    EXPECT_EQ(back.fields, infoFileFields(record));
    EXPECT_NE(text.find("\"seller\": \"Quote \\\" back\\\\slash\\u0009tab \xC3\xA9\xC3\xBF\""),
              std::string::npos)
        << text;
}

TEST(InfoRecordFile, BadFilesAreRefusedWithTheReason)
{
    struct Case {
        const char* text;
        const char* says;
    };
    const Case cases[] = {
        {"", "does not start with {"},
        {"[]", "does not start with {"},
        {"{\"seller\": \"a\"", "a , or } was expected"},
        {"{\"seller\" \"a\"}", "a : was expected"},
        {"{\"seller\": 5}", "a quoted text was expected"},
        {"{\"seler\": \"a\"}", "unknown field \"seler\""},
        {"{\"seller\": \"a\", \"seller\": \"b\"}", "given twice"},
        {"{\"seller\": \"\xE4\xB8\xAD\"}", "cannot be stored"},  // a Chinese character
        {"{\"seller\": \"\\u4e2d\"}", "cannot be stored"},
        {"{\"seller\": \"\xFF\"}", "not UTF-8"},
        {"{\"seller\": \"a\\q\"}", "unknown escape"},
        {"{\"seller\": \"open}", "not closed"},
        {"{}\nmore", "text after the closing }"},
        {"{\n\n\"seller\": 1}", "line 3"},
    };
    for (const Case& c : cases) {
        const InfoFileParse r = parseInfoFile(c.text);
        EXPECT_NE(r.error.find(c.says), std::string::npos) << c.text << " -> " << r.error;
        EXPECT_TRUE(r.error.empty() || r.fields.size() <= 1);
    }
    EXPECT_EQ(parseInfoFile(" { } \n").error, "");
}

TEST(InfoRecordFile, WritableFieldsAreTheDealerPart)
{
    InfoToolRecord record;
    for (const auto& name : infoFileWritableFields())
        ASSERT_TRUE(setInfoFileField(record, name, "x"));
    EXPECT_EQ(record.ProgramPassword, "x");
    EXPECT_EQ(record.DealerCode, "x");
    EXPECT_EQ(record.StockInDate, "x");
    EXPECT_EQ(record.SaleDate, "x");
    EXPECT_EQ(record.Seller, "x");
    EXPECT_EQ(record.SerialNumber, "");
    EXPECT_FALSE(setInfoFileField(record, "model", "x"));
}

}  // namespace
}  // namespace zt
