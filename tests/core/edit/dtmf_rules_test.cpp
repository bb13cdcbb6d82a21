#include "core/edit/dtmf_rules.h"

#include <gtest/gtest.h>

namespace zt {
namespace {

TEST(DtmfRulesTest, TimingListsMatchStoredValueTimesUnit)
{
    const TimingList rate = rateList();
    ASSERT_EQ(rate.entries.size(), 50u);
    EXPECT_EQ(rate.entries[timingIndexOf(rate, 7)], "70");
    EXPECT_EQ(timingIndexOf(rate, 0), 0);  // no entry "0": the first one, "10"
    EXPECT_EQ(timingValueOf(rate, 0), 1);
    EXPECT_EQ(timingValueOf(rate, 49), 50);

    const TimingList star = starHashTimeList();
    EXPECT_EQ(timingIndexOf(star, 10), 2);  // 500 ms
    EXPECT_EQ(timingIndexOf(star, 3), 0);
    EXPECT_EQ(timingValueOf(star, 3), 20);
    EXPECT_EQ(firstDigitDelayList().entries.size(), 25u);
    EXPECT_EQ(firstDigitTimeList().entries.size(), 11u);
    EXPECT_EQ(timingValueOf(rate, 50), std::nullopt);
}

TEST(DtmfRulesTest, CodeKeysTakeDtmfCharactersAndUppercaseAtoD)
{
    EXPECT_EQ(dtmfCodeKey('a'), 'A');
    EXPECT_EQ(dtmfCodeKey('d'), 'D');
    EXPECT_EQ(dtmfCodeKey('B'), 'B');
    EXPECT_EQ(dtmfCodeKey('*'), '*');
    EXPECT_EQ(dtmfCodeKey('#'), '#');
    EXPECT_EQ(dtmfCodeKey('7'), '7');
    for (char c : std::string("EeF ,x+")) EXPECT_EQ(dtmfCodeKey(c), std::nullopt) << c;
}

TEST(DtmfRulesTest, CodeTextsLoadByLengthAndStoreCut)
{
    DtmfCode code;
    code.Length = 20;
    code.Digits = "123456";
    EXPECT_EQ(dtmfCodeText(code), "");
    code.Length = 3;
    EXPECT_EQ(dtmfCodeText(code), "123");
    code.Digits.assign(std::string("12") + '\0');
    code.Length = 4;
    EXPECT_EQ(dtmfCodeText(code), "12");

    storeDtmfCode(code, "1A*#  ");
    EXPECT_EQ(code.Length, 4);
    EXPECT_EQ(code.Digits.raw(), "1A*#            ");
    storeDtmfCode(code, "");
    EXPECT_EQ(code.Length, 0);
    EXPECT_EQ(code.Digits.raw(), std::string(16, ' '));
}

TEST(DtmfRulesTest, IdCodeLoadsThreeToTenAndValidatesToZeros)
{
    DtmfSettings d;
    d.IdCode = "1234567890";
    d.IdCodeLength = 11;
    EXPECT_EQ(idCodeText(d), "123");
    d.IdCodeLength = 2;
    EXPECT_EQ(idCodeText(d), "123");
    d.IdCodeLength = 10;
    EXPECT_EQ(idCodeText(d), "1234567890");

    EXPECT_EQ(validateIdCode(d, "12"), "000");
    EXPECT_EQ(d.IdCodeLength, 3);
    EXPECT_EQ(d.IdCode.raw(), "000       ");
    EXPECT_EQ(validateIdCode(d, "9876543210"), "9876543210");
    EXPECT_EQ(d.IdCodeLength, 10);
    EXPECT_EQ(validateIdCode(d, "12345678901"), "000");
    EXPECT_EQ(validateIdCode(d, "12a4"), "000");
    EXPECT_EQ(validateIdCode(d, "1.5"), "000");
    EXPECT_EQ(validateIdCode(d, "4711"), "4711");
    EXPECT_EQ(d.IdCodeLength, 4);
}

TEST(DtmfRulesTest, EmptyingAMemoryCodeResetsEveryExactReference)
{
    RadioDocument doc;
    doc.Data.ChannelCount = 2;
    doc.Data.Dtmf.Memory[2].Length = 2;
    doc.Channels[0].BotCode = 3;
    doc.Channels[0].EotCode = 13;
    doc.Channels[1].CallCode = 3;
    doc.Channels[2].BotCode = 3;  // beyond ChannelCount: not a valid record
    doc.Data.Options.Common.EotCode = 3;
    doc.Data.Options.Common.CallCode = 2;

    EXPECT_FALSE(changeMemoryCode(doc, 3, "12#"));
    EXPECT_EQ(doc.Channels[0].BotCode, 3);

    EXPECT_TRUE(changeMemoryCode(doc, 3, ""));
    EXPECT_EQ(doc.Data.Dtmf.Memory[2].Length, 0);
    EXPECT_EQ(doc.Channels[0].BotCode, 0);
    EXPECT_EQ(doc.Channels[0].EotCode, 13);
    EXPECT_EQ(doc.Channels[1].CallCode, 0);
    EXPECT_EQ(doc.Channels[2].BotCode, 3);
    EXPECT_EQ(doc.Data.Options.Common.EotCode, 0);
    EXPECT_EQ(doc.Data.Options.Common.CallCode, 2);

    // A new code does not bring the references back.
    changeMemoryCode(doc, 3, "55");
    EXPECT_EQ(doc.Channels[1].CallCode, 0);
    EXPECT_FALSE(changeMemoryCode(doc, 17, ""));
}

TEST(DtmfRulesTest, CodeListEntriesAreNoneAndTheNonEmptyNumbers)
{
    DtmfSettings d;
    d.Memory[0].Length = 1;
    d.Memory[9].Length = 16;
    EXPECT_EQ(dtmfCodeListEntries(d, "Off"), (std::vector<std::string>{"Off", "1", "10"}));
}

}  // namespace
}  // namespace zt
