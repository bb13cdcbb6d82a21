#include "core/interop/document_compare.h"

#include <gtest/gtest.h>

#include "core/radio/channel_edit.h"

namespace zt {
namespace {

const BandLimits kBand{25.615, 30.105};

// Channels 12 (group 0), 405 (group 9, transmit CTCSS 67.0) and 521 (the VFO channel).
RadioDocument baseDocument()
{
    RadioDocument doc;
    newChannel(doc, 12, "02700000");
    newChannel(doc, 405, "02962000").EncodeTone = 1;
    newChannel(doc, 521, "02800000");
    doc.Data.Options.SquelchLevel = 3;
    doc.Data.Dtmf.Memory[1] = {3, FixedText<16>("123")};
    doc.Data.Tips[0].RepeatCount = 1;
    doc.Data.Messages[0] = "HELLO";
    return doc;
}

TEST(DocumentCompare, ListsEveryDifferenceInTheProgramsWordsAndNothingElse)
{
    const RadioDocument before = baseDocument();
    RadioDocument after = baseDocument();
    // Channel 12 goes, channel 100 (group 1) comes; 405 changes receive and transmit tone.
    after.Channels[0] = after.Channels[2];
    after.Data.ChannelCount = 2;
    newChannel(after, 100, "02600000");
    ChannelRecord& ch405 = *after.findChannel(405);
    ch405.RxFre = "02963000";
    ch405.EncodeTone = 0;
    after.Data.Options.SquelchLevel = 5;
    after.Data.Dtmf.Memory[1] = {4, FixedText<16>("1234")};
    after.Data.Tips[0].RepeatCount = 2;
    after.Data.Messages[0] = "HI";

    const DocumentComparison c = compareDocuments(before, after, kBand);
    const std::vector<std::string> expected = {
        "Group 0",
        "  channel 12: removed, receive 27.00000 \xE2\x86\x92 none",
        "Group 1",
        "  channel 100: added, receive none \xE2\x86\x92 26.00000",
        "Group 9",
        "  channel 405: receive 29.62000 \xE2\x86\x92 29.63000; transmit tone CTCSS 67.0 "
        "\xE2\x86\x92 Off",
        "Settings",
        "  squelch level: 3 \xE2\x86\x92 5",
        "DTMF",
        "  memory code 2: \"123\" \xE2\x86\x92 \"1234\"",
        "Tone tips",
        "  tone tip 1 repeat count: 1 \xE2\x86\x92 2",
        "Texts",
        "  message line 1: \"HELLO\" \xE2\x86\x92 \"HI\"",
    };
    EXPECT_EQ(describeComparison(c), expected);
    EXPECT_EQ(comparisonCounts(c), "3 channels and 4 settings");
    EXPECT_FALSE(c.equal());

    // The same documents, one with its channels stored in another order: nothing differs.
    RadioDocument reordered = baseDocument();
    std::swap(reordered.Channels[0], reordered.Channels[2]);
    const DocumentComparison same = compareDocuments(before, reordered, kBand);
    EXPECT_TRUE(same.equal());
    EXPECT_TRUE(describeComparison(same).empty());
    EXPECT_EQ(comparisonCounts(same), "0 channels and 0 settings");
}

TEST(DocumentCompare, DcsTonesStoredTextsAndJsonEscapes)
{
    RadioDocument before = baseDocument();
    RadioDocument after = baseDocument();
    after.findChannel(12)->DecodeTone = 51;     // first DCS code, normal
    after.findChannel(12)->RxFre = "0270A000";  // no number: the stored text is shown
    after.Data.Groups[3] = "A\"B";
    const DocumentComparison c = compareDocuments(before, after, kBand);
    ASSERT_EQ(c.channels.size(), 1u);
    ASSERT_EQ(c.channels[0].fields.size(), 2u);
    const ComparisonWords english;
    EXPECT_EQ(english(c.channels[0].fields[0].after), "?0270A000");
    EXPECT_EQ(english(c.channels[0].fields[1].field), "receive tone");
    EXPECT_EQ(english(c.channels[0].fields[1].after), "DCS D017N");
    const std::string json = comparisonJson(c);
    EXPECT_NE(json.find("\"before\":\"\\\"\\\"\",\"after\":\"\\\"A\\\"B\\\"\""), std::string::npos)
        << json;
    EXPECT_EQ(json.rfind("{\"equal\":false,\"channels\":1,\"settings\":1,", 0), 0u) << json;
}

}  // namespace
}  // namespace zt
