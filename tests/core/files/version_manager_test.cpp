#include "core/files/version_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace zt {
namespace {

using test::TempDir;
using test::writeBytes;

VersionTable tableOf(std::vector<VersionPair> pairs)
{
    return VersionTable{std::move(pairs)};
}

TEST(VersionTableFile, ReadsTheCountedPairsInOrder)
{
    TempDir dir;
    const auto ini = dir / "Version.ini";
    writeBytes(ini,
               "[Version]\r\nCurrentVersion=V300\r\nFirmVersionCount=2\r\n"
               "[Firm]\r\nFirm0=V300V300\r\nfirm1 = V301V310  \r\nFirm2=V302V320\r\n");
    const auto table = loadVersionTable(ini);
    EXPECT_EQ(table.pairs, (std::vector<VersionPair>{{"V300", "V300"}, {"V301", "V310"}}));
}

TEST(VersionTableFile, MissingOrBadCountGivesAnEmptyTable)
{
    TempDir dir;
    const auto ini = dir / "Version.ini";
    EXPECT_TRUE(loadVersionTable(ini).pairs.empty());
    for (const char* count : {"0", "", "-3", "two"}) {
        writeBytes(ini, std::string("[Version]\nFirmVersionCount=") + count +
                            "\n[Firm]\nFirm0=V300V300\n");
        EXPECT_TRUE(loadVersionTable(ini).pairs.empty()) << count;
    }
    writeBytes(ini, "[Firm]\nFirm0=V300V300\n");
    EXPECT_TRUE(loadVersionTable(ini).pairs.empty());
}

TEST(VersionTableFile, ACountBeyondTheEntriesStopsAtTheEntries)
{
    TempDir dir;
    const auto ini = dir / "Version.ini";
    writeBytes(ini, "[Version]\nFirmVersionCount=2000000000\n[Firm]\nFirm0=V300V300\nFirm2=V300\n");
    const auto table = loadVersionTable(ini);
    // Firm1 is missing and skipped; a 4-character entry pairs the text with itself.
    EXPECT_EQ(table.pairs, (std::vector<VersionPair>{{"V300", "V300"}, {"V300", "V300"}}));
}

TEST(VersionText, ValidTextsBeginWithVAndEndInANumber)
{
    EXPECT_TRUE(IsValidVersionText("V300"));
    EXPECT_TRUE(IsValidVersionText("V3.0"));
    EXPECT_TRUE(IsValidVersionText("V300  "));
    EXPECT_TRUE(IsValidVersionText(std::string("V300\0zz", 7)));
    EXPECT_FALSE(IsValidVersionText("V30A"));
    EXPECT_FALSE(IsValidVersionText("X300"));
    EXPECT_FALSE(IsValidVersionText("v300"));
    EXPECT_FALSE(IsValidVersionText("V30"));
    EXPECT_FALSE(IsValidVersionText("V3000"));
    EXPECT_FALSE(IsValidVersionText(""));
}

TEST(VersionCompatibility, BothPartsMustMatchOnePair)
{
    const auto table = tableOf({{"V301", "V300"}, {"V300", "V310"}, {"V302", "V310"}});
    EXPECT_FALSE(IsVersionCompatible(table, "V300", "V300"));
    EXPECT_TRUE(IsVersionCompatible(table, "V300", "V310"));
    EXPECT_EQ(FindSoftForFirm(table, "V310"), "V300");  // the first pair wins
    EXPECT_EQ(FindSoftForFirm(table, "V300"), "V301");
    EXPECT_EQ(FindSoftForFirm(table, "V999"), "");
    EXPECT_FALSE(IsVersionCompatible(VersionTable{}, "V300", "V300"));
    EXPECT_EQ(FindSoftForFirm(VersionTable{}, "V300"), "");
}

TEST(VersionMismatch, QuestionShowsBothVersionsOnCrLfLines)
{
    const TextLookup text = [](int id) { return "<" + std::to_string(id) + ">"; };
    EXPECT_EQ(VersionMismatchText("V300", "V310", VersionKind::Firmware, text),
              "<9062>\r\n<9060> V3.10\r\n<9061> V3.00");
    EXPECT_EQ(VersionMismatchText("V300", "V3.0", VersionKind::DataFile, text),
              "<9062>\r\n<9064> V3..0\r\n<9061> V3.00");
    EXPECT_EQ(shownVersionText("V3"), "V3.V3");
    EXPECT_EQ(shownVersionText(""), ".");
}

struct RecordingLauncher : ProgramLauncher {
    std::vector<std::filesystem::path> started;
    bool start(const std::filesystem::path& executable) override
    {
        started.push_back(executable);
        return true;
    }
};

struct RecordingPrompt : Prompt {
    std::vector<int> shown;
    Answer ask(const Message& message) override
    {
        shown.push_back(message.textId);
        return Answer::Ok;
    }
};

TEST(StartMatching, StartsTheSameProgramOfTheMatchingVersion)
{
    TempDir dir;
    writeBytes(dir / "V301" / "ZTP958FM", "program");
    const InstallPaths paths{dir / "V300"};
    const auto table = tableOf({{"V300", "V300"}, {"V301", "V310"}, {"V302", "V320"}});
    RecordingLauncher launcher;
    RecordingPrompt prompt;

    EXPECT_EQ(StartMatchingVersion(table, "V310", paths, "ZTP958FM", launcher, prompt),
              StartResult::Started);
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0], dir / "V301" / "ZTP958FM");

    // A listed version that is not installed starts nothing and says nothing.
    EXPECT_EQ(StartMatchingVersion(table, "V320", paths, "ZTP958FM", launcher, prompt),
              StartResult::StartFailed);
    EXPECT_TRUE(prompt.shown.empty());

    EXPECT_EQ(StartMatchingVersion(table, "V999", paths, "ZTP958FM", launcher, prompt),
              StartResult::NoMatchingVersion);
    EXPECT_EQ(prompt.shown, std::vector<int>{9063});
    EXPECT_EQ(launcher.started.size(), 1u);
}

TEST(RadioIdentity, ChecksModelThenVersionThenBand)
{
    const auto table = tableOf({{"V300", "V300"}, {"V301", "V310"}});
    auto check = [&](std::string_view model, int docBand, int radioBand, int kind,
                     std::string_view firm) {
        return checkRadioIdentity(table, "ZT-958FM", model, docBand, radioBand, kind, firm);
    };
    EXPECT_EQ(check("ZT-958FM", 0, 0, kTransferWrite, "V300"), RadioCheck::Proceed);
    EXPECT_EQ(check("ZT-958FM", 0x09, 0x0A, 1, "V300"), RadioCheck::Proceed);  // a read
    EXPECT_EQ(check("OTHER", 0x09, 0x0A, kTransferWrite, "V310"), RadioCheck::ModelDiffers);
    EXPECT_EQ(check("ZT-958FM", 0x09, 0x0A, kTransferWrite, "V310"), RadioCheck::VersionMismatch);
    EXPECT_EQ(check("ZT-958FM", 0x09, 0x0A, kTransferWrite, "V300"), RadioCheck::BandAsk);
    EXPECT_EQ(check("ZT-958FM", 0x21, 0x0A, kTransferWrite, "V300"), RadioCheck::BandRefused);
    // Group 4 and above never count as compatible, even with itself.
    EXPECT_FALSE(bandGroupCompatible(0x21, 0x22));
    EXPECT_TRUE(bandGroupCompatible(0x18, 0x1F));
}

}  // namespace
}  // namespace zt
