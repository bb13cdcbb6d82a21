#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "core/files/document_store.h"
#include "datafile_test_util.h"

namespace zt {
namespace {

namespace fs = std::filesystem;
using testutil::readAll;
using testutil::TempFolder;
using testutil::writeAll;

class ScriptedPrompt : public Prompt {
  public:
    std::vector<Message> shown;
    std::deque<Answer> answers;  // for questions; messages answer Ok

    Answer ask(const Message& m) override
    {
        shown.push_back(m);
        if (m.buttons == Buttons::Ok || answers.empty()) return Answer::Ok;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::vector<int> ids() const
    {
        std::vector<int> out;
        for (const auto& m : shown) out.push_back(m.textId);
        return out;
    }
};

class RecordingLauncher : public ProgramLauncher {
  public:
    std::vector<fs::path> started;
    bool start(const fs::path& exe) override
    {
        started.push_back(exe);
        return true;
    }
};

class DocumentStoreTest : public ::testing::Test {
  protected:
    DocumentStoreTest()
    {
        fs::create_directories(paths.initDir());
        versions.pairs = {{"V300", "V300"}, {"V301", "V3.0"}};
    }

    DocumentContext context()
    {
        return DocumentContext{state,
                               prompt,
                               paths,
                               versions,
                               [](int id) { return "T" + std::to_string(id); },
                               "ZTP958FM",
                               &launcher,
                               nullptr};
    }

    // A pair on disk written by a store with the given channel numbers.
    fs::path writePair(const std::string& name, const std::vector<int>& chNos, int bandCode = 0)
    {
        RadioDocument doc;
        doc.Data.Version = "V300";
        doc.Data.ModelName = "ZT-958FM";
        doc.Data.BandCode = static_cast<std::int16_t>(bandCode);
        doc.Data.Groups[0] = "FIL";
        doc.Data.ChannelCount = static_cast<std::int16_t>(chNos.size());
        for (std::size_t i = 0; i < chNos.size(); ++i) {
            doc.Channels[i].ChNo = static_cast<std::int16_t>(chNos[i]);
            doc.Channels[i].RxFre = "02700500";
        }
        const fs::path p = dir / name;
        EXPECT_TRUE(writeDataFile(p, doc));
        return p;
    }

    void setVersion(const fs::path& p, const std::string& version)
    {
        auto bytes = readAll(p);
        std::copy(version.begin(), version.end(), bytes.begin());
        writeAll(p, bytes);
    }

    TempFolder dir;
    InstallPaths paths{dir.path() / "V300"};
    ProgramState state;
    ScriptedPrompt prompt;
    RecordingLauncher launcher;
    VersionTable versions;
    DocumentStore store;
};

// ---- New ----

TEST_F(DocumentStoreTest, NewWithoutInitialDataKeepsTheBuiltInDefaults)
{
    auto ctx = context();
    store.New(NewKind::Ordinary, ctx);
    EXPECT_TRUE(store.isUntitled());
    EXPECT_EQ(store.fileName(), fs::path("new.dat"));
    ASSERT_EQ(store.working().Data.ChannelCount, 2);
    EXPECT_NE(store.working().findChannel(1), nullptr);
    EXPECT_NE(store.working().findChannel(521), nullptr);
    EXPECT_FALSE(store.IsModified());
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(DocumentStoreTest, NewLoadsTheInitialDataPairOfModelAndBand)
{
    writePair("src.dat", {1, 2, 3, 521});
    fs::copy_file(dir / "src.dat", paths.initDir() / "ZT-958FM_0_NEW.dat");
    fs::copy_file(dir / "src.fre", paths.initDir() / "ZT-958FM_0_NEW.fre");
    auto ctx = context();
    store.New(NewKind::Ordinary, ctx);
    EXPECT_EQ(store.working().Data.ChannelCount, 4);
    EXPECT_EQ(store.working().Data.Groups[0].cut(), "FIL");
    EXPECT_TRUE(store.isUntitled());
    EXPECT_FALSE(store.IsModified());

    // the initialise command looks for "<model>_<band>.dat" instead
    store.New(NewKind::Initialise, ctx);
    EXPECT_EQ(store.working().Data.ChannelCount, 2);
}

TEST_F(DocumentStoreTest, InitialiseLoadsItsOwnPairWithChannels)
{
    writePair("src.dat", {5, 6, 521});
    fs::copy_file(dir / "src.dat", paths.initDir() / "ZT-958FM_0.dat");
    fs::copy_file(dir / "src.fre", paths.initDir() / "ZT-958FM_0.fre");
    auto ctx = context();
    store.New(NewKind::Initialise, ctx);
    EXPECT_EQ(store.working().Data.ChannelCount, 3);
}

TEST_F(DocumentStoreTest, NewFallsBackToTheStandardFileWithoutChannels)
{
    writePair("src.dat", {1, 2, 3}, /*bandCode=*/8);
    fs::copy_file(dir / "src.dat", paths.initDir() / "ZT-958FM_0.dat");  // no companion
    auto ctx = context();
    store.New(NewKind::Ordinary, ctx);
    EXPECT_EQ(store.working().Data.ChannelCount, 0);
    EXPECT_EQ(store.working().Data.Groups[0].cut(), "FIL");
    EXPECT_EQ(store.working().Data.BandCode, 0);  // the current band, not the file's
    EXPECT_EQ(store.working().Data.ModelName.cut(), "ZT-958FM");
    EXPECT_EQ(state.BandText, kStandardBand);
    EXPECT_FALSE(store.IsModified());
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(DocumentStoreTest, FallbackOfWrongLengthIsReportedAndDefaultsStay)
{
    writeAll(paths.initDir() / "ZT-958FM_0.dat", std::vector<std::uint8_t>(1662, 0));
    auto ctx = context();
    store.New(NewKind::Ordinary, ctx);
    EXPECT_EQ(prompt.ids(), std::vector<int>{text::msg::WrongFileLength});
    EXPECT_EQ(store.working().Data.ChannelCount, 2);
}

TEST_F(DocumentStoreTest, OtherModelsDoNotUseTheStandardFallback)
{
    writePair("src.dat", {1, 2, 3});
    fs::copy_file(dir / "src.dat", paths.initDir() / "ZT-958FM_0.dat");
    state.ModelName = "ZT-77";
    auto ctx = context();
    store.New(NewKind::Ordinary, ctx);
    EXPECT_EQ(store.working().Data.ChannelCount, 2);
    EXPECT_EQ(store.working().Data.ModelName.cut(), "ZT-77");
}

TEST_F(DocumentStoreTest, DamagedInitialDataIsReportedAndDefaultsStay)
{
    writePair("src.dat", {1, 2, 2});
    fs::copy_file(dir / "src.dat", paths.initDir() / "ZT-958FM_0_NEW.dat");
    fs::copy_file(dir / "src.fre", paths.initDir() / "ZT-958FM_0_NEW.fre");
    auto ctx = context();
    store.New(NewKind::Ordinary, ctx);
    EXPECT_EQ(prompt.ids(), std::vector<int>{text::msg::DamagedFile});
    EXPECT_EQ(store.working().Data.ChannelCount, 2);
}

// ---- Open ----

class DocumentOpenTest : public DocumentStoreTest {
  protected:
    void SetUp() override
    {
        auto ctx = context();
        store.New(NewKind::Ordinary, ctx);
        store.working().Data.Groups[3] = "MOD";  // an unsaved edit
        before = store.working();
        beforeSaved = store.saved();
    }
    void expectUnchanged()
    {
        EXPECT_EQ(store.working().Data, before.Data);
        EXPECT_EQ(store.saved().Data, beforeSaved.Data);
        EXPECT_TRUE(store.isUntitled());
        EXPECT_EQ(store.fileName(), fs::path("new.dat"));
        EXPECT_TRUE(store.IsModified());
    }
    RadioDocument before, beforeSaved;
};

TEST_F(DocumentOpenTest, OpenReplacesBothCopiesAndFollowsTheFilesBand)
{
    const auto p = writePair("a.dat", {9, 3, 521}, /*bandCode=*/8);
    auto ctx = context();
    ASSERT_EQ(store.Open(p, ctx), OpenResult::Opened);
    EXPECT_FALSE(store.IsModified());
    EXPECT_FALSE(store.isUntitled());
    EXPECT_EQ(store.fileName(), p);
    EXPECT_EQ(store.working().Data.ChannelCount, 3);
    EXPECT_EQ(store.working().Channels[0].ChNo, 9);
    EXPECT_EQ(state.BandText, "");  // code 8 has no text
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(DocumentOpenTest, InvalidVersionTextsAreRefused)
{
    const auto p = writePair("a.dat", {1});
    for (const char* v : {"X300", "V30A"}) {
        prompt.shown.clear();
        setVersion(p, v);
        auto ctx = context();
        EXPECT_EQ(store.Open(p, ctx), OpenResult::Refused) << v;
        EXPECT_EQ(prompt.ids(), std::vector<int>{text::msg::InvalidVersion}) << v;
        expectUnchanged();
    }
}

TEST_F(DocumentOpenTest, ForeignVersionAsksAndNoKeepsTheDocument)
{
    const auto p = writePair("a.dat", {1});
    setVersion(p, "V3.0");
    prompt.answers = {Answer::No};
    auto ctx = context();
    EXPECT_EQ(store.Open(p, ctx), OpenResult::Refused);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].buttons, Buttons::YesNo);
    EXPECT_NE(prompt.shown[0].text.find("V3..0"), std::string::npos);  // shown form of V3.0
    EXPECT_TRUE(launcher.started.empty());
    expectUnchanged();
}

TEST_F(DocumentOpenTest, ForeignVersionYesStartsTheMatchingVersion)
{
    const auto p = writePair("a.dat", {1});
    setVersion(p, "V3.0");
    fs::create_directories(paths.root() / "V301");
    writeAll(paths.root() / "V301" / "ZTP958FM", {0x7F});
    prompt.answers = {Answer::Yes};
    auto ctx = context();
    EXPECT_EQ(store.Open(p, ctx), OpenResult::EndProgram);
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0], paths.root() / "V301" / "ZTP958FM");
    expectUnchanged();
}

TEST_F(DocumentOpenTest, WrongLengthsAreRefusedWith9033)
{
    const auto p = writePair("a.dat", {1});
    auto bytes = readAll(p);
    for (std::size_t size : {std::size_t{1662}, std::size_t{1664}}) {
        prompt.shown.clear();
        bytes.resize(size, 0);
        writeAll(p, bytes);
        auto ctx = context();
        EXPECT_EQ(store.Open(p, ctx), OpenResult::Refused);
        EXPECT_EQ(prompt.ids(), std::vector<int>{text::msg::WrongFileLength});
        expectUnchanged();
    }
}

TEST_F(DocumentOpenTest, DamagedChannelTablesAreRefusedWith9066)
{
    const auto dup = writePair("dup.dat", {4, 5, 4});
    const auto shortPair = writePair("short.dat", {1, 2});
    auto fre = readAll(dir / "short.fre");
    fre.resize(fre.size() - 1);
    writeAll(dir / "short.fre", fre);
    const auto tooMany = writePair("many.dat", {1});
    auto main = readAll(tooMany);
    main[4] = 0x0A;  // 522
    main[5] = 0x02;
    writeAll(tooMany, main);
    for (const auto& p : {dup, shortPair, tooMany}) {
        prompt.shown.clear();
        auto ctx = context();
        EXPECT_EQ(store.Open(p, ctx), OpenResult::Refused) << p;
        EXPECT_EQ(prompt.ids(), std::vector<int>{text::msg::DamagedFile}) << p;
        expectUnchanged();
    }
}

TEST_F(DocumentOpenTest, UnreadableFilesAreRefusedWith9002)
{
    auto ctx = context();
    EXPECT_EQ(store.Open(dir / "missing.dat", ctx), OpenResult::Refused);
    const auto p = writePair("a.dat", {1});
    fs::copy_file(p, dir / "a.fre", fs::copy_options::overwrite_existing);
    EXPECT_EQ(store.Open(dir / "a.fre", ctx), OpenResult::Refused);  // its own companion
    EXPECT_EQ(prompt.ids(), (std::vector<int>{text::msg::FileError, text::msg::FileError}));
    expectUnchanged();
}

// ---- Save ----

TEST_F(DocumentStoreTest, SavingTwiceGivesIdenticalBytesAndAnUnmodifiedDocument)
{
    auto ctx = context();
    store.New(NewKind::Ordinary, ctx);
    store.working().Data.Messages[0] = "HELLO";
    EXPECT_TRUE(store.IsModified());
    const auto p = dir / "s.dat";
    ASSERT_TRUE(store.Save(p, ctx));
    EXPECT_FALSE(store.IsModified());
    EXPECT_FALSE(store.isUntitled());
    EXPECT_EQ(store.fileName(), p);
    const auto main1 = readAll(p);
    const auto fre1 = readAll(dir / "s.fre");
    ASSERT_TRUE(store.Save(p, ctx));
    EXPECT_EQ(readAll(p), main1);
    EXPECT_EQ(readAll(dir / "s.fre"), fre1);
    EXPECT_EQ(fre1.size(), 2 * kChannelFileRecordSize);

    DocumentStore other;
    ASSERT_EQ(other.Open(p, ctx), OpenResult::Opened);
    EXPECT_FALSE(other.IsModified());
    EXPECT_EQ(other.working().Data, store.working().Data);
}

TEST_F(DocumentStoreTest, SaveTakesModelAndBandFromTheCurrentValues)
{
    auto ctx = context();
    store.New(NewKind::Ordinary, ctx);
    state.ModelName = "ZT-1";
    state.setBandText("136 - 174 MHz");
    const auto p = dir / "s.dat";
    ASSERT_TRUE(store.Save(p, ctx));
    const auto bytes = readAll(p);
    EXPECT_EQ(std::string(bytes.begin() + 382, bytes.begin() + 390), "ZT-1    ");
    EXPECT_EQ(bytes[390], 8);
    EXPECT_FALSE(store.IsModified());
}

TEST_F(DocumentStoreTest, FailedSaveShows9002AndChangesNothing)
{
    auto ctx = context();
    store.New(NewKind::Ordinary, ctx);
    const auto p = dir / "s.dat";
    ASSERT_TRUE(store.Save(p, ctx));
    const auto oldMain = readAll(p);

    store.working().Data.Messages[1] = "EDIT";
    fs::remove(dir / "s.fre");
    fs::create_directory(dir / "s.fre");  // the companion cannot be replaced
    EXPECT_FALSE(store.Save(p, ctx));
    EXPECT_EQ(prompt.ids(), std::vector<int>{text::msg::FileError});
    EXPECT_EQ(readAll(p), oldMain);
    EXPECT_TRUE(store.IsModified());
    EXPECT_EQ(store.fileName(), p);

    EXPECT_FALSE(store.Save(dir / "other.fre", ctx));
    EXPECT_FALSE(fs::exists(dir / "other.fre"));
}

// ---- Is modified ----

TEST_F(DocumentStoreTest, ModifiedTestComparesTextsAfterTheCut)
{
    auto ctx = context();
    store.New(NewKind::Ordinary, ctx);
    const std::string withNul("E\0 ", 3);
    store.working().Data.Groups[0] = withNul;           // saved holds "E  "
    store.working().Channels[0].OffsetFre = "       ";  // saved holds seven NULs
    EXPECT_FALSE(store.IsModified());
    store.working().Data.Groups[0] = "EX";
    EXPECT_TRUE(store.IsModified());
}

TEST_F(DocumentStoreTest, ModifiedTestMatchesChannelsByNumber)
{
    auto ctx = context();
    store.New(NewKind::Ordinary, ctx);
    auto& w = store.working();
    std::swap(w.Channels[0], w.Channels[1]);  // same channels, other order
    EXPECT_FALSE(store.IsModified());
    w.Channels[1].DecodeTone = 5;
    EXPECT_TRUE(store.IsModified());
    w.Channels[1].DecodeTone = store.saved().Channels[0].DecodeTone;
    EXPECT_FALSE(store.IsModified());
    w.Channels[0].ChNo = 7;  // a number the saved copy does not hold
    EXPECT_TRUE(store.IsModified());
    w.Channels[0].ChNo = 521;
    w.Data.ChannelCount = 1;
    EXPECT_TRUE(store.IsModified());
    w.Data.ChannelCount = 2;
    w.Channels[5].DecodeTone = 9;  // past the count: not part of the document
    EXPECT_FALSE(store.IsModified());
}

}  // namespace
}  // namespace zt
