#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/files/language.h"
#include "core/interop/channel_report.h"
#include "core/interop/page_flow.h"
#include "core/radio/channel_edit.h"
#include "core/values/band_limits.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

const BandLimits kBand = parseBandLimits("25.615 - 30.105 MHz");

fs::path languageDir()
{
    if (const char* data = std::getenv("ZT_TEST_DATA"); data != nullptr && *data != '\0')
        return fs::path(data).lexically_normal().parent_path().parent_path() / "data" / "language";
    // <source>/tests/core/interop/channel_report_test.cpp
    return fs::path(__FILE__).parent_path().parent_path().parent_path().parent_path() / "data" /
           "language";
}

// Texts shown as "#id", so tests see which text a place uses without depending on wording.
std::string idText(int id)
{
    return "#" + std::to_string(id);
}

ReportSource source()
{
    return {"ZT-958FM", "25.615 - 30.105 MHz", "club.dat", "2026-12-09"};
}

const ReportGroup* findGroup(const ChannelReport& r, int group)
{
    for (const auto& g : r.groups)
        if (g.group == group) return &g;
    return nullptr;
}

// Channels in several groups, entered out of order, with one blank frequency.
RadioDocument mixedDocument()
{
    RadioDocument doc;
    doc.Data.Groups[3] = FixedText<3>("EC");
    newChannel(doc, 165, "02700000");  // group 3, row 5
    newChannel(doc, 3, "02696500");    // group 0, row 3
    newChannel(doc, 162, "02690000");  // group 3, row 2
    newChannel(doc, 170, "");          // group 3, blank receive frequency
    newChannel(doc, 521, "02786000");  // the VFO
    return doc;
}

TEST(ChannelReport, ListsChannelsByGroupInChannelOrderAndLeavesOutEmptyOnes)
{
    const ChannelReport r = buildChannelReport(mixedDocument(), source(), idText, kBand);
    ASSERT_EQ(r.groups.size(), 3u) << "groups 0, 3 and the VFO hold channels";
    EXPECT_EQ(r.groups[0].group, 0);
    EXPECT_EQ(r.groups[1].group, 3);
    EXPECT_EQ(r.groups[2].group, 12);

    const ReportGroup& g3 = r.groups[1];
    ASSERT_EQ(g3.rows.size(), 2u) << "the channel without a receive frequency is left out";
    EXPECT_EQ(g3.rows[0].chNo, 162);
    EXPECT_EQ(g3.rows[0].row, 2);
    EXPECT_EQ(g3.rows[1].chNo, 165);
    EXPECT_EQ(g3.rows[1].row, 5);
    EXPECT_EQ(g3.rows[1].receive, "27.00000");
    EXPECT_EQ(g3.title, "#15029 3 -- EC");
    EXPECT_EQ(r.groups[2].title, "#15029 12 -- VFO");
    EXPECT_EQ(r.groups[2].rows.at(0).row, 1);
}

TEST(ChannelReport, OnlyTheValidPartOfTheChannelTableCounts)
{
    RadioDocument doc = mixedDocument();
    doc.Channels[10] = doc.Channels[0];  // stale record past ChannelCount
    doc.Channels[10].ChNo = 210;
    doc.Data.ChannelCount = 2;
    const ChannelReport r = buildChannelReport(doc, source(), idText, kBand);
    EXPECT_EQ(findGroup(r, 4), nullptr);
    ASSERT_NE(findGroup(r, 0), nullptr);
    EXPECT_EQ(findGroup(r, 12), nullptr);

    doc.Data.ChannelCount = 900;  // a damaged count must not read past the table
    EXPECT_NO_THROW(buildChannelReport(doc, source(), idText, kBand));

    RadioDocument none;
    const ChannelReport empty = buildChannelReport(none, source(), idText, kBand);
    EXPECT_TRUE(empty.groups.empty());
    EXPECT_EQ(empty.noChannels, "#12807");
}

TEST(ChannelReport, OffsetTransmitToneAndFlagTexts)
{
    RadioDocument doc;
    ChannelRecord& plus = newChannel(doc, 401, "02700000");
    plus.ShiftDir = 2;
    plus.OffsetFre = "0010000";
    plus.EncodeTone = 13;  // 100.0 Hz
    ChannelRecord& minus = newChannel(doc, 402, "02761125");
    minus.ShiftDir = 1;
    minus.OffsetFre = "0010000";
    minus.DecodeTone = 52;   // D023N
    minus.EncodeTone = 159;  // D023I
    ChannelRecord& flags = newChannel(doc, 403, "02800000");
    flags.OffsetFre = "0060000";  // an offset without a direction does not shift
    flags.ScanSkip = 1;
    flags.Tsq = 1;
    flags.BusyChannelLock = 2;
    flags.HiCut = 1;
    flags.RBTone = 3;
    flags.BotCode = 12;
    flags.DecodeTone = 999;  // outside the tone list: the radio gets no tone

    const ChannelReport r = buildChannelReport(doc, source(), idText, kBand);
    const ReportGroup* g = findGroup(r, 9);  // channels 401..440
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(g->rows.size(), 3u);
    const ReportChannelRow& p = g->rows[0];
    EXPECT_EQ(p.offset, "+0.10000");
    EXPECT_EQ(p.transmit, "27.10000");
    EXPECT_EQ(p.decodeTone, "#14013");
    EXPECT_EQ(p.encodeTone, "100.0");
    EXPECT_EQ(p.flags, "");

    const ReportChannelRow& m = g->rows[1];
    EXPECT_EQ(m.receive, "27.61125");
    EXPECT_EQ(m.offset, "-0.10000");
    EXPECT_EQ(m.transmit, "27.51125");
    EXPECT_EQ(m.decodeTone, "D023N");
    EXPECT_EQ(m.encodeTone, "D023I");

    const ReportChannelRow& f = g->rows[2];
    EXPECT_EQ(f.offset, "");
    EXPECT_EQ(f.transmit, "28.00000");
    EXPECT_EQ(f.decodeTone, "#14013");
    EXPECT_EQ(f.flags, "#14802 #14803 #148042 #14809 #148103 #1481212");
    EXPECT_EQ(reportCells(f).size(), r.columns.size());
}

TEST(ChannelReport, AReceiveFrequencyThatIsNoNumberIsShownAsStoredNotAsTheBandEdge)
{
    RadioDocument doc;
    newChannel(doc, 450, "02A61125");
    const ChannelReport r = buildChannelReport(doc, source(), idText, kBand);
    const ReportGroup* g = findGroup(r, 10);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->rows.at(0).receive, "?02A61125");
    EXPECT_EQ(g->rows.at(0).transmit, "?02A61125");
}

TEST(ChannelReport, MainSettingsShowWhatTheRadioGets)
{
    RadioDocument doc;
    doc.Data.Options.TimeOutTimer = 22;  // stored as one step of 15 s
    doc.Data.Options.Beep = 1;
    doc.Data.Options.BacklightColor = 9;  // outside the list: its first entry
    doc.Data.Options.PowerOnText = FixedText<16>(std::string("   HI\xE9"));
    doc.Data.Groups[0] = FixedText<3>("E");
    doc.Data.Groups[5] = FixedText<3>(std::string("U\x01", 2));
    doc.Data.Options.Common.DecodeTone = 0;
    doc.Data.Options.Common.SquelchMode = 1;  // shown as carrier while there is no tone
    const ChannelReport r = buildChannelReport(doc, source(), idText, kBand);

    auto value = [](const std::vector<ReportField>& fields, const std::string& label) {
        for (const auto& f : fields)
            if (f.label == label) return f.value;
        return std::string("<missing ") + label + ">";
    };
    EXPECT_EQ(value(r.settings, "#16005"), "15");
    EXPECT_EQ(value(r.settings, "#16026"), "#16041");
    EXPECT_EQ(value(r.settings, "#16014"), "#16050");
    EXPECT_EQ(value(r.settings, "#16100"), "HI\xC3\xA9");
    const std::string names = value(r.settings, "#12806");
    EXPECT_EQ(names.rfind("0 E, 1 -, ", 0), 0u) << names;
    EXPECT_NE(names.find("5 U?"), std::string::npos) << names;
    EXPECT_EQ(value(r.publicSettings, "#15201"), "#15031");

    doc.Data.Options.TimeOutTimer = 4;  // below one step: off
    EXPECT_EQ(value(buildChannelReport(doc, source(), idText, kBand).settings, "#16005"), "#16040");
}

TEST(ChannelReport, BothLanguagesFromTheLanguageFiles)
{
    ASSERT_TRUE(fs::exists(languageDir() / "chinese.ini"))
        << languageDir() << ": run through ctest, which sets ZT_TEST_DATA";
    const LanguageTexts english(languageDir(), kLanguageEnglish);
    const LanguageTexts chinese(languageDir(), kLanguageChinese);
    const RadioDocument doc = mixedDocument();
    const ChannelReport en = buildChannelReport(doc, source(), english.lookup(), kBand);
    const ChannelReport zh = buildChannelReport(doc, source(), chinese.lookup(), kBand);

    EXPECT_EQ(en.title, "Channel list and settings");
    EXPECT_EQ(zh.title, "信道列表与设置");
    EXPECT_EQ(zh.header.at(0).label, "型号");
    EXPECT_EQ(zh.header.at(0).value, "ZT-958FM");
    EXPECT_EQ(zh.header.at(3).value, "2026-12-09");
    EXPECT_EQ(zh.settingsTitle, "主要设置");
    // Every label the report uses exists in both files.
    for (const ChannelReport* r : {&en, &zh}) {
        for (const auto& c : r->columns) EXPECT_FALSE(c.empty());
        for (const auto& f : r->settings) EXPECT_FALSE(f.label.empty());
        for (const auto& f : r->publicSettings) EXPECT_FALSE(f.label.empty());
        for (const auto& f : r->legend) EXPECT_FALSE(f.label.empty() || f.value.empty());
    }
    EXPECT_TRUE(english.missingIds().empty());
    EXPECT_TRUE(chinese.missingIds().empty());
}

TEST(ChannelReport, NeverReplacesTheDataFileItDescribes)
{
    const fs::path dir = fs::temp_directory_path() / "zt_report_guard";
    fs::create_directories(dir);
    std::ofstream(dir / "club.dat") << "x";
    EXPECT_TRUE(reportWouldReplaceDataFile(dir / "club.dat", dir / "club.dat"));
    EXPECT_TRUE(reportWouldReplaceDataFile(dir / "sub" / ".." / "club.dat", dir / "club.dat"));
    EXPECT_TRUE(reportWouldReplaceDataFile(dir / "club.fre", dir / "club.dat"));
    EXPECT_FALSE(reportWouldReplaceDataFile(dir / "club.pdf", dir / "club.dat"));
    fs::remove_all(dir);
}

// ---- Pages ---------------------------------------------------------------------------------

std::vector<FlowBlock> groupTable(int rows, int rowHeight)
{
    std::vector<FlowBlock> blocks{{12, true, {}}, {10, true, {}}};  // title, headings
    for (int i = 0; i < rows; ++i) blocks.push_back({rowHeight, false, {0, 1}});
    return blocks;
}

TEST(PageFlow, RowsAreNeverSplitAndContinuedTablesRepeatTheirHeadings)
{
    // 22 for title and headings, then rows of 10 on pages of 100: 7 rows fit on the first page.
    const auto pages = paginate(groupTable(10, 10), 100);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0], (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(pages[1], (std::vector<int>{0, 1, 9, 10, 11}));
    for (const auto& page : pages) {
        int used = 0;
        for (int i : page) used += groupTable(10, 10)[static_cast<std::size_t>(i)].height;
        EXPECT_LE(used, 100);
    }
}

TEST(PageFlow, AHeadingNeverEndsAPage)
{
    std::vector<FlowBlock> blocks{{85, false, {}}, {10, true, {}}, {10, false, {}}};
    const auto pages = paginate(blocks, 100);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0], (std::vector<int>{0}));
    EXPECT_EQ(pages[1], (std::vector<int>{1, 2}));
}

TEST(PageFlow, OversizedBlocksAndEmptyFlows)
{
    EXPECT_EQ(paginate({}, 100), (std::vector<std::vector<int>>{{}}));
    std::vector<FlowBlock> blocks{{30, false, {}}, {250, false, {}}, {30, false, {}}};
    const auto pages = paginate(blocks, 100);
    EXPECT_EQ(pages, (std::vector<std::vector<int>>{{0}, {1}, {2}}));
    // A run of headings taller than a page goes block by block instead of looping on blank pages.
    std::vector<FlowBlock> headings(12, FlowBlock{10, true, {}});
    headings.push_back({10, false, {}});
    const auto split = paginate(headings, 100);
    EXPECT_EQ(split.size(), 2u);
    for (const auto& p : split) EXPECT_FALSE(p.empty());
}

}  // namespace
}  // namespace zt
