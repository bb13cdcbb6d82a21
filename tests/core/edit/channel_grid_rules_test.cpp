#include <gtest/gtest.h>

#include "core/edit/channel_grid_rules.h"
#include "core/edit/channel_write_back.h"
#include "core/radio/channel_edit.h"
#include "core/values/band_limits.h"

namespace zt {
namespace {

const BandLimits kBand = parseBandLimits("25.615 - 30.105 MHz");

RadioDocument docWith(std::initializer_list<std::pair<int, const char*>> channels)
{
    RadioDocument doc;
    for (const auto& [chNo, rx] : channels) newChannel(doc, chNo, rx);
    return doc;
}

TEST(ChannelGroups, BaseAndSizeOfEveryGroup)
{
    EXPECT_EQ(GroupBase(0), 0);
    EXPECT_EQ(GroupSize(0), 40);
    EXPECT_EQ(GroupBase(1), 40);
    EXPECT_EQ(GroupSize(1), 80);
    EXPECT_EQ(GroupBase(2), 120);
    EXPECT_EQ(GroupBase(11), 480);
    EXPECT_EQ(GroupSize(11), 40);
    EXPECT_EQ(GroupBase(12), 520);
    EXPECT_EQ(GroupSize(12), 1);
    // Every channel number 1..521 lies in exactly one group, and the groups follow each other.
    for (int g = 0; g + 1 < kChannelGroupCount; ++g)
        EXPECT_EQ(GroupBase(g) + GroupSize(g), GroupBase(g + 1));
    EXPECT_EQ(groupOfChannel(120), 1);
    EXPECT_EQ(groupOfChannel(121), 2);
    EXPECT_EQ(groupOfChannel(521), 12);
    EXPECT_EQ(groupOfChannel(522), -1);
    EXPECT_EQ(GroupSize(13), 0);
}

TEST(ChannelCells, ListIndexOutsideTheListShowsTheFirstEntry)
{
    EXPECT_EQ(shownListIndex(1, 2), 1);
    EXPECT_EQ(shownListIndex(2, 2), 0);
    EXPECT_EQ(shownListIndex(-1, 3), 0);
    EXPECT_EQ(shownListIndex(0, 0), -1);
}

TEST(ChannelCells, EmptyFrequencyAndOffsetTexts)
{
    RadioDocument doc = docWith({{5, ""}, {6, "02761125"}});
    EXPECT_EQ(rxCellText(doc.Channels[0], kBand), "");
    EXPECT_EQ(rxCellText(doc.Channels[1], kBand), "27.61125");
    EXPECT_EQ(txCellText(doc.Channels[1]), "0.00000");
    doc.Channels[1].ShiftDir = 1;
    doc.Channels[1].OffsetFre = "0010000";
    EXPECT_EQ(txCellText(doc.Channels[1]), "-0.10000");
}

TEST(GroupNames, StorageOfShortFullAndEmptyNames)
{
    EXPECT_EQ(groupNameFromBox("AB").raw(), std::string("AB\0", 3));
    EXPECT_EQ(groupNameFromBox("ABC").raw(), "ABC");
    EXPECT_EQ(groupNameFromBox("").raw(), std::string("\0  ", 3));
    EXPECT_EQ(groupNameFromBox("A  ").raw(), std::string("A\0 ", 3));
    EXPECT_EQ(groupNameForDisplay(groupNameFromBox("AB")), "AB");
    RadioData data;
    data.Groups[3] = groupNameFromBox("AB");
    EXPECT_EQ(groupLabel(data, 3), "3 -- AB");
    data.Groups[4] = groupNameFromBox("");
    EXPECT_EQ(groupLabel(data, 4), "4 -- ");
    EXPECT_EQ(groupLabel(data, 12), "12 -- VFO");
}

TEST(EmergencyLists, RowsSortedNumericallyAndMissingRowsReplaced)
{
    // Group 2: channels 121..160; rows 5, 12, 3.
    RadioDocument doc =
        docWith({{125, "02700000"}, {132, "02700500"}, {123, "02701000"}, {41, "02701500"}});
    doc.Data.Options.EmergencyRows[2] = {0, 7};
    const EmergencyLists lists = reshowEmergency(doc, 2);
    EXPECT_EQ(lists.rows, (std::vector<int>{3, 5, 12}));
    EXPECT_EQ(lists.shown[0], 0);
    EXPECT_EQ(lists.shown[1], 0);
    EXPECT_EQ(doc.Data.Options.EmergencyRows[2][0], 3);
    EXPECT_EQ(doc.Data.Options.EmergencyRows[2][1], 3);

    doc.Data.Options.EmergencyRows[2] = {12, 5};
    const EmergencyLists kept = reshowEmergency(doc, 2);
    EXPECT_EQ(kept.shown[0], 2);
    EXPECT_EQ(kept.shown[1], 1);
    EXPECT_EQ(doc.Data.Options.EmergencyRows[2][0], 12);
}

TEST(EmergencyLists, GroupWithoutChannelsKeepsStoredRowsAndAmFmIsClamped)
{
    RadioDocument doc = docWith({{1, "02700000"}});
    doc.Data.Options.EmergencyRows[5] = {4, 9};
    doc.Data.Options.GroupAmFm[5] = {1, 7};
    const EmergencyLists lists = reshowEmergency(doc, 5);
    EXPECT_TRUE(lists.rows.empty());
    EXPECT_EQ(lists.shown[0], -1);
    EXPECT_EQ(doc.Data.Options.EmergencyRows[5][0], 4);
    EXPECT_EQ(doc.Data.Options.GroupAmFm[5][0], 1);
    EXPECT_EQ(doc.Data.Options.GroupAmFm[5][1], 0);
    // The VFO group has no settings to touch.
    const EmergencyLists vfo = reshowEmergency(doc, 12);
    EXPECT_EQ(vfo.shown[0], -1);
}

TEST(EmergencyLists, ChoosingAndRechecking)
{
    RadioDocument doc = docWith({{3, "02700000"}, {8, "02700500"}});
    chooseEmergencyRow(doc.Data, 0, 0, "8");
    chooseEmergencyRow(doc.Data, 0, 1, "");
    EXPECT_EQ(doc.Data.Options.EmergencyRows[0][0], 8);
    EXPECT_EQ(doc.Data.Options.EmergencyRows[0][1], 0);
    doc.Data.Options.EmergencyRows[0] = {8, 5};
    recheckEmergency(doc, 0);
    EXPECT_EQ(doc.Data.Options.EmergencyRows[0][0], 8);
    EXPECT_EQ(doc.Data.Options.EmergencyRows[0][1], 0);
}

TEST(BusyLock, EntriesFallbackAndUnshownValue)
{
    ChannelRecord rec;
    EXPECT_EQ(busyLockEntryCount(rec), 2);
    rec.BusyChannelLock = 2;
    EXPECT_EQ(showBusyLock(rec), 1);
    EXPECT_EQ(rec.BusyChannelLock, 1);
    rec.BusyChannelLock = 3;
    EXPECT_EQ(showBusyLock(rec), 0);
    EXPECT_EQ(rec.BusyChannelLock, 0);
    rec.DecodeTone = 12;
    rec.BusyChannelLock = 2;
    EXPECT_EQ(busyLockEntryCount(rec), 3);
    EXPECT_EQ(showBusyLock(rec), 2);
    // A reversed channel receives on its encode tone.
    rec.Reverse = 1;
    EXPECT_TRUE(applyBusyLockFallback(rec));
    EXPECT_EQ(rec.BusyChannelLock, 1);
}

TEST(ReferenceLists, UndefinedReferencesShowTheFirstEntry)
{
    RadioData data;
    data.Dtmf.Memory[2].Length = 3;
    data.Dtmf.Memory[9].Length = 1;
    const std::vector<int> codes = nonEmptyDtmfCodeNumbers(data);
    EXPECT_EQ(codes, (std::vector<int>{3, 10}));
    EXPECT_EQ(shownReferenceIndex(10, codes), 2);
    EXPECT_EQ(shownReferenceIndex(4, codes), 0);
    EXPECT_EQ(shownReferenceIndex(0, codes), 0);
    EXPECT_TRUE(definedToneTipNumbers(data).empty());
}

// ---- Write-back -------------------------------------------------------------------------------

WriteBackResult write(RadioDocument& doc, int group, int row, int col, std::string value)
{
    return writeBack(doc, WriteBackRequest{group, row, col, std::move(value)}, kBand);
}

TEST(WriteBack, FrequencyColumnsOfLockedGroupsAreRefusedOtherColumnsAreNot)
{
    RadioDocument doc = docWith({{5, "02700000"}});
    doc.Data.Options.FrequencyChangeable = 0;
    EXPECT_EQ(write(doc, 0, 5, 1, "28.00000").action, WriteBackAction::Refused);
    EXPECT_EQ(write(doc, 0, 6, 1, "28.00000").action, WriteBackAction::Refused);
    EXPECT_EQ(write(doc, 0, 5, 2, "+0.1").action, WriteBackAction::Refused);
    EXPECT_EQ(doc.Data.ChannelCount, 1);
    EXPECT_EQ(write(doc, 0, 5, 4, "7").action, WriteBackAction::Updated);
    EXPECT_EQ(doc.Channels[0].DecodeTone, 7);
    // Group 7 and above can always be edited.
    EXPECT_EQ(write(doc, 7, 1, 1, "28.00000").action, WriteBackAction::Created);
}

TEST(WriteBack, CreatesChannelInEmptyPositionOnlyFromAFrequency)
{
    RadioDocument doc = docWith({{1, "02700000"}});
    doc.Data.Options.FrequencyChangeable = 1;
    EXPECT_EQ(write(doc, 1, 3, 4, "5").action, WriteBackAction::None);
    EXPECT_EQ(write(doc, 1, 3, 1, "").action, WriteBackAction::None);
    const WriteBackResult r = write(doc, 1, 3, 1, "27.613");
    EXPECT_EQ(r.action, WriteBackAction::Created);
    EXPECT_EQ(r.chNo, 43);
    const ChannelRecord* rec = doc.findChannel(43);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->RxFre.cut(), "02761000");  // snapped down onto the 5 kHz raster
    EXPECT_EQ(rec->DecodeTone, 0);
}

TEST(WriteBack, OutOfBandEntryIsClampedAndReported)
{
    RadioDocument doc = docWith({{450, "02700000"}});
    const WriteBackResult r = write(doc, 10, 10, 1, "31");
    EXPECT_EQ(r.messageId, 9021);
    EXPECT_EQ(r.action, WriteBackAction::Updated);
    EXPECT_EQ(doc.findChannel(450)->RxFre.cut(), "03010500");
    EXPECT_EQ(write(doc, 10, 11, 1, ".").messageId, 9021);
    EXPECT_EQ(doc.findChannel(451)->RxFre.cut(), "02561500");
}

TEST(WriteBack, ClearingTheFrequencyDeletesExceptTheLastChannel)
{
    RadioDocument doc = docWith({{330, "02700000"}, {331, "02700500"}, {332, "02701000"}});
    doc.Data.Options.EmergencyRows[7] = {11, 12};
    EXPECT_EQ(write(doc, 7, 11, 1, "").action, WriteBackAction::Deleted);
    EXPECT_EQ(doc.Data.ChannelCount, 2);
    EXPECT_EQ(doc.Channels[0].ChNo, 330);
    EXPECT_EQ(doc.Channels[1].ChNo, 332);  // later records moved up
    EXPECT_EQ(doc.Data.Options.EmergencyRows[7][0], 0);
    EXPECT_EQ(doc.Data.Options.EmergencyRows[7][1], 12);
    write(doc, 7, 10, 1, "");
    EXPECT_EQ(doc.Data.ChannelCount, 1);
    EXPECT_EQ(write(doc, 7, 12, 1, "").action, WriteBackAction::None);
    EXPECT_EQ(doc.Data.ChannelCount, 1);
    EXPECT_EQ(doc.Channels[0].RxFre.cut(), "02701000");
}

TEST(WriteBack, FixedFrequenciesUpToChannel400)
{
    RadioDocument doc =
        docWith({{321, "02700000"}, {400, "02700000"}, {401, "02700000"}, {521, "02700000"}});
    write(doc, 7, 1, 1, "28.00000");
    write(doc, 8, 40, 1, "28.00000");
    write(doc, 9, 1, 1, "28.00000");
    write(doc, 12, 1, 1, "28.00000");
    EXPECT_EQ(doc.findChannel(321)->RxFre.cut(), "02700000");
    EXPECT_EQ(doc.findChannel(400)->RxFre.cut(), "02700000");
    EXPECT_EQ(doc.findChannel(401)->RxFre.cut(), "02800000");
    EXPECT_EQ(doc.findChannel(521)->RxFre.cut(), "02800000");
}

TEST(WriteBack, ValueEqualToTheCellWritesNothing)
{
    RadioDocument doc = docWith({{410, "02700000"}});
    ChannelRecord& rec = *doc.findChannel(410);
    rec.ShiftDir = 2;
    rec.OffsetFre = "0010000";
    rec.RxStep = 1;  // a step the raster check would recompute
    EXPECT_EQ(write(doc, 9, 10, 2, "+0.10000").action, WriteBackAction::None);
    EXPECT_EQ(write(doc, 9, 10, 1, "27.00000").action, WriteBackAction::None);
    EXPECT_EQ(rec.RxStep, 1);
    EXPECT_EQ(write(doc, 9, 10, 2, "-0.2").action, WriteBackAction::Updated);
    EXPECT_EQ(rec.ShiftDir, 1);
    EXPECT_EQ(rec.OffsetFre.cut(), "0020000");
    EXPECT_EQ(rec.RxStep, 0);
}

TEST(WriteBack, TwelveFiveHundredthsKeptOnlyWhileGroupSixIsCurrent)
{
    RadioDocument doc = docWith({{1, "02700000"}});
    doc.Data.Options.FrequencyChangeable = 1;
    doc.Data.Options.CurrentGroup = 6;
    write(doc, 6, 1, 1, "27.60125");
    EXPECT_EQ(doc.findChannel(281)->RxFre.cut(), "02760125");
    doc.Data.Options.CurrentGroup = 5;
    write(doc, 5, 1, 1, "27.60125");
    EXPECT_EQ(doc.findChannel(241)->RxFre.cut(), "02760000");
}

}  // namespace
}  // namespace zt
