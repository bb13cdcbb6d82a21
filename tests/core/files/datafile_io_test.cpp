#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/files/data_file.h"
#include "datafile_test_util.h"

namespace zt {
namespace {

namespace fs = std::filesystem;
using testutil::readAll;
using testutil::TempFolder;
using testutil::writeAll;

RadioDocument sampleDocument(int channels)
{
    RadioDocument doc;
    doc.Data.Version = "V300";
    doc.Data.ModelName = "ZT-958FM";
    doc.Data.Groups[0] = "E";
    doc.Data.ChannelCount = static_cast<std::int16_t>(channels);
    for (int i = 0; i < channels; ++i) {
        auto& ch = doc.Channels[static_cast<std::size_t>(i)];
        ch.ChNo = static_cast<std::int16_t>(channels - i);  // stored in reverse order
        ch.RxFre = "02696500";
        ch.OffsetFre = std::string(7, '\0');
        ch.DecodeTone = static_cast<std::int16_t>(i);
    }
    return doc;
}

std::vector<std::uint8_t> mainBytesWithCount(int count)
{
    RadioDocument doc = sampleDocument(0);
    doc.Data.ChannelCount = static_cast<std::int16_t>(count);
    const auto b = radioDataToBytes(doc.Data);
    return {b.begin(), b.end()};
}

std::vector<std::uint8_t> companionWith(const std::vector<int>& numbers)
{
    std::vector<std::uint8_t> out;
    for (int n : numbers) {
        ChannelRecord r;
        r.ChNo = static_cast<std::int16_t>(n);
        const auto b = channelToBytes(r);
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}

// File operations whose chosen step fails, to check what a failed save leaves.
class FailingOps : public FileOps {
  public:
    std::string failWriteOf;   // file name suffix whose write fails
    std::string failRenameTo;  // target file name whose rename fails
    bool renameTargetSeen = false;

    bool writeFile(const fs::path& path, std::span<const std::uint8_t> bytes) override
    {
        if (!failWriteOf.empty() && path.filename().string().find(failWriteOf) == 0) return false;
        return FileOps::writeFile(path, bytes);
    }
    bool renameFile(const fs::path& from, const fs::path& to) override
    {
        if (!failRenameTo.empty() && to.filename() == failRenameTo) {
            renameTargetSeen = true;
            return false;
        }
        return FileOps::renameFile(from, to);
    }
};

std::set<std::string> namesIn(const fs::path& dir)
{
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) out.insert(e.path().filename().string());
    return out;
}

TEST(DataFilePaths, CompanionReplacesTheLastThreeCharacters)
{
    EXPECT_EQ(companionPath("dir/x.dat"), fs::path("dir/x.fre"));
    EXPECT_EQ(companionPath("x.DAT"), fs::path("x.fre"));
    EXPECT_EQ(companionPath("abcdef"), fs::path("abcfre"));
}

TEST(DataFilePaths, MainPathsWhoseCompanionIsThemselvesAreUnusable)
{
    EXPECT_TRUE(isUsableMainPath("dir/x.dat"));
    EXPECT_FALSE(isUsableMainPath("dir/x.fre"));
    EXPECT_FALSE(isUsableMainPath("dir/x.FRE"));
    EXPECT_FALSE(isUsableMainPath("dir/ab"));  // too short: the companion would leave the name
}

TEST(DataFilePaths, SaveAsAppendsDatWhenMissing)
{
    EXPECT_EQ(saveAsPath("dir/x"), fs::path("dir/x.dat"));
    EXPECT_EQ(saveAsPath("dir/x.dat"), fs::path("dir/x.dat"));
    EXPECT_EQ(saveAsPath("dir/x.DAT"), fs::path("dir/x.DAT"));
    EXPECT_EQ(saveAsPath("dir/x.fre"), fs::path("dir/x.fre.dat"));
    EXPECT_TRUE(isUsableMainPath(saveAsPath("dir/x.fre")));
}

TEST(DataFileParse, AcceptsAValidPairAndIgnoresBytesAfterTheRecords)
{
    auto companion = companionWith({3, 521, 1});
    companion.resize(companion.size() + 45, 0xEE);  // a longer old companion
    const auto parsed = parseDataFile(mainBytesWithCount(3), companion);
    ASSERT_EQ(parsed.messageId, 0);
    EXPECT_EQ(parsed.document.Data.ChannelCount, 3);
    EXPECT_EQ(parsed.document.Channels[0].ChNo, 3);  // file order kept
    EXPECT_EQ(parsed.document.Channels[1].ChNo, 521);
    EXPECT_EQ(parsed.document.Channels[3].ChNo, 0);  // nothing past the count
}

TEST(DataFileParse, RefusesWrongLengths)
{
    auto main = mainBytesWithCount(0);
    main.pop_back();
    EXPECT_EQ(parseDataFile(main, {}).messageId, text::msg::WrongFileLength);
    main.push_back(0);
    main.push_back(0);
    EXPECT_EQ(parseDataFile(main, {}).messageId, text::msg::WrongFileLength);
}

TEST(DataFileParse, RefusesDamagedChannelTables)
{
    const std::vector<int> full(1, 1);
    EXPECT_EQ(
        parseDataFile(mainBytesWithCount(522), companionWith(std::vector<int>(522, 1))).messageId,
        text::msg::DamagedFile);
    EXPECT_EQ(parseDataFile(mainBytesWithCount(-1), {}).messageId, text::msg::DamagedFile);
    EXPECT_EQ(parseDataFile(mainBytesWithCount(2), companionWith({1})).messageId,
              text::msg::DamagedFile);
    EXPECT_EQ(parseDataFile(mainBytesWithCount(2), companionWith({1, 0})).messageId,
              text::msg::DamagedFile);
    EXPECT_EQ(parseDataFile(mainBytesWithCount(2), companionWith({522, 1})).messageId,
              text::msg::DamagedFile);
    EXPECT_EQ(parseDataFile(mainBytesWithCount(3), companionWith({7, 8, 7})).messageId,
              text::msg::DamagedFile);
    // a companion one byte short of the last record
    auto shortCompanion = companionWith({1, 2});
    shortCompanion.pop_back();
    EXPECT_EQ(parseDataFile(mainBytesWithCount(2), shortCompanion).messageId,
              text::msg::DamagedFile);
    // the full table is fine
    std::vector<int> all;
    for (int n = 1; n <= 521; ++n) all.push_back(n);
    EXPECT_EQ(parseDataFile(mainBytesWithCount(521), companionWith(all)).messageId, 0);
}

TEST(DataFileWrite, ZeroChannelsWritesAnEmptyCompanion)
{
    TempFolder dir;
    const auto path = dir / "empty.dat";
    ASSERT_TRUE(writeDataFile(path, sampleDocument(0)));
    const auto main = readAll(path);
    ASSERT_EQ(main.size(), kRadioDataFileSize);
    EXPECT_EQ(main[4], 0);
    EXPECT_EQ(main[5], 0);
    EXPECT_TRUE(fs::exists(dir / "empty.fre"));
    EXPECT_EQ(fs::file_size(dir / "empty.fre"), 0u);
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"empty.dat", "empty.fre"}));
}

TEST(DataFileWrite, WrittenPairReadsBackAndShrinksALongerCompanion)
{
    TempFolder dir;
    const auto path = dir / "x.dat";
    ASSERT_TRUE(writeDataFile(path, sampleDocument(10)));
    ASSERT_TRUE(writeDataFile(path, sampleDocument(4)));
    EXPECT_EQ(fs::file_size(dir / "x.fre"), 4 * kChannelFileRecordSize);
    const auto parsed = readDataFile(path);
    ASSERT_EQ(parsed.messageId, 0);
    const RadioDocument expected = sampleDocument(4);
    EXPECT_EQ(parsed.document.Data, expected.Data);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(parsed.document.Channels[i], expected.Channels[i]);
}

TEST(DataFileRead, CompanionIsNeededOnlyWhenChannelsAreCounted)
{
    TempFolder dir;
    writeAll(dir / "a.dat", mainBytesWithCount(0));
    EXPECT_EQ(readDataFile(dir / "a.dat").messageId, 0);
    writeAll(dir / "b.dat", mainBytesWithCount(1));
    EXPECT_EQ(readDataFile(dir / "b.dat").messageId, text::msg::DamagedFile);
    EXPECT_EQ(readDataFile(dir / "missing.dat").messageId, text::msg::FileError);
    fs::create_directory(dir / "folder.dat");
    EXPECT_EQ(readDataFile(dir / "folder.dat").messageId, text::msg::FileError);
}

class DataFileFailedSave : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(writeDataFile(path, sampleDocument(5)));
        oldMain = readAll(path);
        oldFre = readAll(dir / "doc.fre");
    }
    void expectOldPairIntact()
    {
        EXPECT_EQ(readAll(path), oldMain);
        EXPECT_EQ(readAll(dir / "doc.fre"), oldFre);
        EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"doc.dat", "doc.fre"}));
    }

    TempFolder dir;
    fs::path path = dir / "doc.dat";
    std::vector<std::uint8_t> oldMain, oldFre;
};

TEST_F(DataFileFailedSave, MainRenameFailureRestoresTheCompanion)
{
    FailingOps ops;
    ops.failRenameTo = "doc.dat";
    EXPECT_FALSE(writeDataFile(path, sampleDocument(9), ops));
    EXPECT_TRUE(ops.renameTargetSeen);
    expectOldPairIntact();
}

TEST_F(DataFileFailedSave, CompanionRenameFailureKeepsBoth)
{
    FailingOps ops;
    ops.failRenameTo = "doc.fre";
    EXPECT_FALSE(writeDataFile(path, sampleDocument(9), ops));
    expectOldPairIntact();
}

TEST_F(DataFileFailedSave, WriteFailureOfEitherTemporaryKeepsBoth)
{
    for (const char* which : {"doc.dat", "doc.fre"}) {
        FailingOps ops;
        ops.failWriteOf = which;  // the temporary's name starts with the target's
        EXPECT_FALSE(writeDataFile(path, sampleDocument(9), ops)) << which;
        expectOldPairIntact();
    }
}

TEST(DataFileWrite, FolderInTheWayOrMissingFolderFails)
{
    TempFolder dir;
    const auto path = dir / "doc.dat";
    fs::create_directory(dir / "doc.fre");  // the companion's name is taken by a folder
    EXPECT_FALSE(writeDataFile(path, sampleDocument(2)));
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::is_directory(dir / "doc.fre"));
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"doc.fre"}));

    EXPECT_FALSE(writeDataFile(dir / "no" / "such" / "x.dat", sampleDocument(2)));
    EXPECT_FALSE(writeDataFile(dir / "x.fre", sampleDocument(2)));
    EXPECT_FALSE(fs::exists(dir / "x.fre"));
}

}  // namespace
}  // namespace zt
