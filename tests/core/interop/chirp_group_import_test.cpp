#include <gtest/gtest.h>

#include "core/edit/channel_grid_rules.h"
#include "core/interop/chirp_csv.h"
#include "core/radio/channel_edit.h"
#include "core/values/frequency.h"

namespace zt {
namespace {

const BandLimits kBand = parseBandLimits("25.615 - 30.105 MHz");
constexpr int kFreeGroup = 7;   // channels 321..360, always editable
constexpr int kFixedGroup = 2;  // channels 121..160, fixed unless frequencies may change

std::vector<int> changedChannels(const ImportPlan& plan)
{
    std::vector<int> v;
    for (const ChannelChange& c : plan.changes) v.push_back(c.after.ChNo);
    return v;
}

std::vector<int> errorLines(const ImportPlan& plan)
{
    std::vector<int> v;
    for (const RowError& e : plan.errors) v.push_back(e.line);
    return v;
}

TEST(ChirpGroupImport, RowsFillTheFreeRowsInFileOrderWithoutTouchingPresentChannels)
{
    RadioDocument doc;
    newChannel(doc, 321, "02700000");  // row 1
    newChannel(doc, 323, "02701000");  // row 3
    // Location is not read: it is missing, wrong or repeated here.
    const std::string csv =
        "Frequency,Location,Tone,rToneFreq\n"
        "27.105,1,,\n"
        "27.115,,Tone,88.5\n"
        "27.125,999,,\n";
    const ImportPlan plan = planChirpImportIntoGroup(doc, csv, kBand, kFreeGroup);
    ASSERT_TRUE(plan.errors.empty()) << describeRowError(plan.errors.front());
    EXPECT_EQ(changedChannels(plan), (std::vector<int>{322, 324, 325}));
    EXPECT_EQ(plan.changes[0].line, 2);
    EXPECT_TRUE(plan.changes[0].created);
    EXPECT_EQ(plan.changes[0].after.RxFre.cut(), "02710500");
    EXPECT_EQ(plan.changes[1].after.EncodeTone, 9);  // 88.5 Hz
    EXPECT_EQ(plan.changes[2].after.RxFre.cut(), "02712500");

    applyImportPlan(doc, plan);
    EXPECT_EQ(doc.Data.ChannelCount, 5);
    EXPECT_EQ(doc.findChannel(321)->RxFre.cut(), "02700000");
    EXPECT_EQ(doc.findChannel(323)->RxFre.cut(), "02701000");
    EXPECT_EQ(doc.findChannel(325)->RxFre.cut(), "02712500");
}

TEST(ChirpGroupImport, RowsThatDoNotFitOrHaveFaultsAreReportedAndTakeNoRow)
{
    RadioDocument doc;
    // The VFO group has one row.
    const std::string csv =
        "Frequency\n"
        "31.000\n"   // outside the band: refused, takes no row
        "27.005\n"   // takes channel 521
        "\n"         // blank line: passed over
        "27.015\n"   // no row left
        "27.025\n";  // no row left
    const ImportPlan plan = planChirpImportIntoGroup(doc, csv, kBand, 12);
    EXPECT_EQ(changedChannels(plan), (std::vector<int>{521}));
    EXPECT_EQ(plan.changes.front().line, 3);
    EXPECT_EQ(errorLines(plan), (std::vector<int>{2, 5, 6}));
    EXPECT_EQ(plan.errors[0].problem, RowProblem::OutOfBand);
    EXPECT_EQ(plan.errors[0].chNo, 0);  // a refused row names no channel
    EXPECT_EQ(plan.errors[1].problem, RowProblem::NoFreeRow);
    EXPECT_EQ(describeRowError(plan.errors[1]), "line 5: no free row left in the group");
    EXPECT_FALSE(plan.fileRejected);
}

TEST(ChirpGroupImport, FixedGroupsAndFilesWithoutFrequencyAreRefused)
{
    RadioDocument doc;
    doc.Data.Options.FrequencyChangeable = 0;
    const ImportPlan locked =
        planChirpImportIntoGroup(doc, "Frequency\n27.005\n", kBand, kFixedGroup);
    EXPECT_TRUE(locked.changes.empty());
    ASSERT_EQ(locked.errors.size(), 1u);
    EXPECT_EQ(locked.errors[0].problem, RowProblem::LockedGroup);

    doc.Data.Options.FrequencyChangeable = 1;
    EXPECT_EQ(planChirpImportIntoGroup(doc, "Frequency\n27.005\n", kBand, kFixedGroup)
                  .changes.front()
                  .after.ChNo,
              GroupBase(kFixedGroup) + 1);

    const ImportPlan noFrequency =
        planChirpImportIntoGroup(doc, "Location\n1\n", kBand, kFreeGroup);
    EXPECT_TRUE(noFrequency.fileRejected);
    EXPECT_EQ(noFrequency.errors.front().problem, RowProblem::MissingColumn);
    EXPECT_EQ(noFrequency.errors.front().column, "Frequency");
}

TEST(ChirpImportPreview, ChangedFieldsListWhatTheUserSeesChange)
{
    RadioDocument doc;
    doc.Data.Options.FrequencyChangeable = 1;
    ChannelRecord& present = newChannel(doc, 401, "02700000");
    present.DecodeTone = 5;
    present.BusyChannelLock = 2;
    const std::string csv =
        "Location,Frequency,Duplex,Offset,Tone,Mode,Skip\n"
        "401,27.000000,+,0.100000,,NFM,S\n"
        "402,27.005000,,,,FM,\n";
    const ImportPlan plan = planChirpImport(doc, csv, kBand);
    ASSERT_EQ(plan.changes.size(), 2u);

    // A present channel: only the differing fields, old and new.
    const auto changed = changedFields(plan.changes[0], kBand);
    std::vector<ChannelField> kinds;
    for (const FieldChange& f : changed) kinds.push_back(f.field);
    EXPECT_EQ(kinds,
              (std::vector<ChannelField>{ChannelField::Offset, ChannelField::DecodeTone,
                                         ChannelField::ScanSkip, ChannelField::Modulation,
                                         ChannelField::Spacing, ChannelField::BusyChannelLock}));
    EXPECT_EQ(changed[0].before, "0.00000");
    EXPECT_EQ(changed[0].after, "+0.10000");
    EXPECT_EQ(changed[1].beforeIndex, 5);
    EXPECT_EQ(changed[1].afterIndex, 0);
    EXPECT_EQ(changed[5].beforeIndex, 2);  // no receive tone left: the busy lock falls back
    EXPECT_EQ(changed[5].afterIndex, 1);

    // A new channel: its receive frequency always, with nothing before it.
    const auto created = changedFields(plan.changes[1], kBand);
    ASSERT_FALSE(created.empty());
    EXPECT_EQ(created[0].field, ChannelField::RxFrequency);
    EXPECT_EQ(created[0].before, "");
    EXPECT_EQ(created[0].after, "27.00500");
    EXPECT_EQ(created.back().field, ChannelField::Modulation);
}

TEST(ChirpImportPreview, KeepingChosenChannelsLeavesTheOthersAsTheyAre)
{
    RadioDocument doc;
    doc.Data.Options.FrequencyChangeable = 1;
    const std::string csv = "Location,Frequency\n401,27.005\n402,27.015\n403,99\n";
    const ImportPlan plan = planChirpImport(doc, csv, kBand);
    const ImportPlan kept = keepChannels(plan, {402});
    EXPECT_EQ(changedChannels(kept), (std::vector<int>{402}));
    EXPECT_EQ(errorLines(kept), (std::vector<int>{4}));
    applyImportPlan(doc, kept);
    EXPECT_EQ(doc.Data.ChannelCount, 1);
    EXPECT_EQ(doc.findChannel(401), nullptr);
    ASSERT_NE(doc.findChannel(402), nullptr);
}

}  // namespace
}  // namespace zt
