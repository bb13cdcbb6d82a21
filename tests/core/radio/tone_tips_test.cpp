#include <gtest/gtest.h>

#include "core/radio/tone_tips.h"

namespace zt {
namespace {

RadioDocument withSequenceThree(int repeat, int duration)
{
    RadioDocument doc;
    doc.Data.Tips[2].RepeatCount = static_cast<std::int16_t>(repeat);
    doc.Data.Tips[2].Notes[6].Duration = static_cast<std::int16_t>(duration);
    return doc;
}

TEST(SequenceDefined, NeedsARepeatAndOneSoundingNote)
{
    EXPECT_TRUE(sequenceDefined(withSequenceThree(1, 5).Data, 3));
    EXPECT_FALSE(sequenceDefined(withSequenceThree(0, 5).Data, 3));
    EXPECT_FALSE(sequenceDefined(withSequenceThree(1, 0).Data, 3));
    EXPECT_FALSE(sequenceDefined(withSequenceThree(-1, 5).Data, 3));
    EXPECT_FALSE(sequenceDefined(withSequenceThree(1, -5).Data, 3));
    EXPECT_FALSE(sequenceDefined(withSequenceThree(1, 5).Data, 2));
    for (int n : {0, 9, -1}) EXPECT_FALSE(sequenceDefined(withSequenceThree(1, 5).Data, n));
}

TEST(RbToneCheck, KeepsDefinedReferencesAndClearsTheRest)
{
    RadioDocument doc = withSequenceThree(1, 5);
    doc.Data.ChannelCount = 4;
    doc.Channels[0].RBTone = 3;
    doc.Channels[1].RBTone = 4;  // not defined
    doc.Channels[2].RBTone = 0;
    doc.Channels[3].RBTone = 12;  // outside 1..8
    doc.Channels[4].RBTone = 4;   // beyond the valid records: left alone
    doc.Data.Options.Common.RBTone = 5;
    int rebuilt = 0;
    rbToneCheck(doc, [&] { ++rebuilt; });
    EXPECT_EQ(doc.Channels[0].RBTone, 3);
    EXPECT_EQ(doc.Channels[1].RBTone, 0);
    EXPECT_EQ(doc.Channels[2].RBTone, 0);
    EXPECT_EQ(doc.Channels[3].RBTone, 0);
    EXPECT_EQ(doc.Channels[4].RBTone, 4);
    EXPECT_EQ(doc.Data.Options.Common.RBTone, 0);
    EXPECT_EQ(rebuilt, 1);
}

TEST(RbToneCheck, ClearedWhenTheSequenceStopsBeingDefined)
{
    for (auto [repeat, duration] : {std::pair{0, 5}, {1, 0}}) {
        RadioDocument doc = withSequenceThree(repeat, duration);
        doc.Data.ChannelCount = 1;
        doc.Channels[0].RBTone = 3;
        doc.Data.Options.Common.RBTone = 3;
        rbToneCheck(doc, nullptr);  // no open windows
        EXPECT_EQ(doc.Channels[0].RBTone, 0);
        EXPECT_EQ(doc.Data.Options.Common.RBTone, 0);
    }
}

}  // namespace
}  // namespace zt
