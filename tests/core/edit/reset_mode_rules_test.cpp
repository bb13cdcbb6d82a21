#include "core/edit/reset_mode_rules.h"

#include <gtest/gtest.h>

namespace zt {
namespace {

TEST(ResetModeGroups, ListsAndSizes)
{
    EXPECT_EQ(resetGroupEntries(ResetMode::E),
              (std::vector<std::string>{"E", "D", "EU", "EC", "PL", "U-EU", "U-UK"}));
    EXPECT_EQ(resetGroupEntries(ResetMode::Normal), resetGroupEntries(ResetMode::E));
    EXPECT_EQ(resetGroupEntries(ResetMode::Extended),
              (std::vector<std::string>{"A", "B", "C", "D", "E", "VFO"}));
    EXPECT_EQ(resetGroupSize(1), 80);
    EXPECT_EQ(resetGroupSize(12), 1);
    EXPECT_EQ(resetGroupSize(0), 40);
    EXPECT_EQ(resetGroupSize(10), 40);
    EXPECT_EQ(resetChannelEntries(12), std::vector<std::string>{"1"});
    EXPECT_EQ(resetChannelEntries(1).size(), 80u);
    EXPECT_EQ(resetChannelEntries(1).back(), "80");
}

TEST(ResetModeGroups, ChannelFollowsTheNewGroupSize)
{
    OptionSettings o;
    o.ResetGroupExtended = 7;
    o.ResetChannelExtended = 7;
    chooseResetGroup(o, ResetMode::Extended, 5);  // VFO: one channel
    EXPECT_EQ(o.ResetGroupExtended, 12);
    EXPECT_EQ(o.ResetChannelExtended, 1);

    o.ResetGroupE = 0;
    o.ResetChannelE = 60;
    chooseResetGroup(o, ResetMode::E, 1);  // 80 channels keep 60
    EXPECT_EQ(o.ResetChannelE, 60);
    chooseResetGroup(o, ResetMode::E, 2);  // 40 channels: back to 1
    EXPECT_EQ(o.ResetChannelE, 1);

    o.ResetChannelNormal = 0;  // none
    chooseResetGroup(o, ResetMode::Normal, 0);
    EXPECT_EQ(o.ResetChannelNormal, 1);

    chooseResetGroup(o, ResetMode::Normal, 7);  // not in the list: no change
    EXPECT_EQ(o.ResetGroupNormal, 0);
}

TEST(ResetModeGroups, StoredGroupsShowByName)
{
    EXPECT_EQ(resetGroupEntryOf(ResetMode::E, 9), 0);          // "B" not offered
    EXPECT_EQ(resetGroupEntryOf(ResetMode::E, 11), 0);         // "E" of the extended range
    EXPECT_EQ(resetGroupEntryOf(ResetMode::E, 10), 1);         // "D"
    EXPECT_EQ(resetGroupEntryOf(ResetMode::Extended, 0), 4);   // "E"
    EXPECT_EQ(resetGroupEntryOf(ResetMode::Extended, 2), 0);   // "EU" not offered
    EXPECT_EQ(resetGroupEntryOf(ResetMode::Extended, 12), 5);  // VFO
    EXPECT_EQ(resetGroupEntryOf(ResetMode::Normal, -3), 0);    // outside: position 0
    EXPECT_EQ(resetGroupEntryOf(ResetMode::Extended, 99), 4);  // outside: "E" -> 11
}

TEST(ResetModeGroups, OpeningWritesTheShownValuesBack)
{
    OptionSettings o;
    o.ResetGroupE = 9;  // "B": shows and stores group 0
    o.ResetChannelE = 30;
    o.ResetGroupNormal = 1;
    o.ResetChannelNormal = 75;
    o.ResetGroupExtended = 3;  // "EC": shows "A"
    o.ResetChannelExtended = -5;
    normaliseResetModes(o);
    EXPECT_EQ(o.ResetGroupE, 0);
    EXPECT_EQ(o.ResetChannelE, 30);
    EXPECT_EQ(o.ResetGroupNormal, 1);
    EXPECT_EQ(o.ResetChannelNormal, 75);
    EXPECT_EQ(o.ResetGroupExtended, 7);
    EXPECT_EQ(o.ResetChannelExtended, 1);
}

TEST(ResetModeChannels, ChoosingAChannel)
{
    OptionSettings o;
    o.ResetGroupNormal = 12;
    chooseResetChannel(o, ResetMode::Normal, 0);
    EXPECT_EQ(o.ResetChannelNormal, 1);
    chooseResetChannel(o, ResetMode::Normal, 1);  // VFO has one entry
    EXPECT_EQ(o.ResetChannelNormal, 0);
    o.ResetGroupE = 1;
    chooseResetChannel(o, ResetMode::E, 79);
    EXPECT_EQ(o.ResetChannelE, 80);
    chooseResetChannel(o, ResetMode::E, -1);
    EXPECT_EQ(o.ResetChannelE, 0);
}

}  // namespace
}  // namespace zt
