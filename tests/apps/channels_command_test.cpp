#include "apps/cli/channels_command.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/files/data_file.h"
#include "core/interop/chirp_csv.h"
#include "core/interop/chirp_rules_reader.h"
#include "core/radio/channel_edit.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

class ChannelsCommandTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("zt_channels_command_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        RadioDocument doc;
        doc.Data.Version = "V300";
        newChannel(doc, 401, "02700000").EncodeTone = 13;
        newChannel(doc, 402, "02800000");
        ASSERT_TRUE(writeDataFile(path("in.dat"), doc));
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const char* name) const { return (dir_ / name).string(); }
    int run(std::vector<std::string> args)
    {
        out_.str("");
        err_.str("");
        return runChannelsCommand(args, out_, err_);
    }
    static std::string readText(const std::string& p)
    {
        std::ifstream in(p, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    void writeText(const char* name, const std::string& text)
    {
        std::ofstream(path(name), std::ios::binary) << text;
    }

    fs::path dir_;
    std::ostringstream out_, err_;
};

TEST_F(ChannelsCommandTest, ExportThenImportAnEditedFile)
{
    ASSERT_EQ(run({"export", path("in.dat"), "-o", path("ch.csv")}), 0) << err_.str();
    std::string csv = readText(path("ch.csv"));
    EXPECT_NE(csv.find("401,,27.000000,,0.000000,Tone,100.0"), std::string::npos) << csv;

    // Move channel 402 and add channel 403 by hand.
    csv.replace(csv.find("28.000000"), 9, "28.500000");
    csv += "403,,29.000000,,,,,,,,,,NFM,,,,,,,,\r\n";
    writeText("edited.csv", csv);

    ASSERT_EQ(run({"import", path("edited.csv"), "--into", path("in.dat"), "--dry-run"}), 0)
        << err_.str();
    EXPECT_FALSE(fs::exists(path("out.dat")));

    ASSERT_EQ(run({"import", path("edited.csv"), "--into", path("in.dat"), "-o", path("out.dat")}),
              0)
        << err_.str();
    const ParsedDataFile out = readDataFile(path("out.dat"));
    ASSERT_EQ(out.messageId, 0);
    EXPECT_EQ(out.document.Data.ChannelCount, 3);
    EXPECT_EQ(out.document.findChannel(402)->RxFre.cut(), "02850000");
    EXPECT_EQ(out.document.findChannel(403)->Spacing, 2);
    EXPECT_EQ(out.document.findChannel(401)->EncodeTone, 13);
}

TEST_F(ChannelsCommandTest, ARefusedRowStopsTheImportUnlessSkipped)
{
    writeText("bad.csv", "Location,Frequency\n402,28.5\n403,99.0\n");
    EXPECT_EQ(run({"import", path("bad.csv"), "--into", path("in.dat"), "-o", path("out.dat")}), 1);
    EXPECT_NE(err_.str().find("line 3: channel 403"), std::string::npos) << err_.str();
    EXPECT_FALSE(fs::exists(path("out.dat")));

    EXPECT_EQ(run({"import", path("bad.csv"), "--into", path("in.dat"), "-o", path("out.dat"),
                   "--skip-bad"}),
              0);
    const ParsedDataFile out = readDataFile(path("out.dat"));
    EXPECT_EQ(out.document.findChannel(402)->RxFre.cut(), "02850000");
    EXPECT_EQ(out.document.findChannel(403), nullptr);
}

TEST_F(ChannelsCommandTest, MisuseAndUnreadableFiles)
{
    EXPECT_EQ(run({"export", path("in.dat")}), 2);
    EXPECT_EQ(run({"export", path("in.dat"), "-o", path("x.csv"), "--group", "13"}), 2);
    EXPECT_EQ(run({"import", path("x.csv"), "-o", path("out.dat")}), 2);
    EXPECT_EQ(run({"export", path("missing.dat"), "-o", path("x.csv")}), 1);
    EXPECT_FALSE(fs::exists(path("x.csv")));
}

TEST_F(ChannelsCommandTest, AFailedExportLeavesNoFileAndAnOversizedImportIsRefused)
{
    // The output's folder cannot exist (a file holds its name): nothing is written.
    const std::string missing = (dir_ / "in.dat" / "ch.csv").string();
    EXPECT_EQ(run({"export", path("in.dat"), "-o", missing}), 1);
    EXPECT_NE(err_.str().find("cannot write"), std::string::npos) << err_.str();
    EXPECT_FALSE(fs::exists(missing));

    // An export over an existing file replaces it whole.
    writeText("ch.csv", "old contents that must go");
    ASSERT_EQ(run({"export", path("in.dat"), "-o", path("ch.csv")}), 0) << err_.str();
    EXPECT_EQ(readText(path("ch.csv")).rfind("Location,", 0), 0u);

    // A file larger than any channel list is refused before it is read.
    writeText("huge.csv", std::string(kMaxChirpCsvBytes + 1, 'x'));
    EXPECT_EQ(run({"import", path("huge.csv"), "--into", path("in.dat"), "-o", path("new.dat")}),
              1);
    EXPECT_NE(err_.str().find("larger than a channel list"), std::string::npos) << err_.str();
    EXPECT_FALSE(fs::exists(path("new.dat")));
}

TEST_F(ChannelsCommandTest, ExportOfTheShippedInitialDataLoadsInChirp)
{
    const std::string shipped = std::string(ZT_STAGE_DIR) + "/Init/ZT-958FM_0_NEW.dat";
    ASSERT_EQ(run({"export", shipped, "-o", path("init.csv")}), 0) << err_.str();
    const std::string csv = readText(path("init.csv"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 322);  // header and 321 channels
    const auto refusals = testutil::chirpRefusals(csv);
    EXPECT_TRUE(refusals.empty()) << refusals.size() << " rows refused, first " << refusals.front();
}

TEST_F(ChannelsCommandTest, ExportNamesTheChannelsItLeavesOut)
{
    RadioDocument doc;
    doc.Data.Version = "V300";
    newChannel(doc, 401, "02700000");
    newChannel(doc, 450, "");  // no receive frequency: CHIRP has no row for it
    ASSERT_TRUE(writeDataFile(path("gap.dat"), doc));
    ASSERT_EQ(run({"export", path("gap.dat"), "-o", path("gap.csv")}), 0) << err_.str();
    EXPECT_NE(out_.str().find("exported 1 channel to "), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("1 channel without a receive frequency left out: 450"),
              std::string::npos)
        << out_.str();
}

TEST_F(ChannelsCommandTest, ImportListingMarksFieldsTheRadioDoesNotStore)
{
    writeText("set.csv",
              "Location,Frequency,Duplex,Offset,Mode,Tone,rToneFreq\n"
              "401,27.0,off,,FM,Tone,88.5\n");
    ASSERT_EQ(run({"import", path("set.csv"), "--into", path("in.dat"), "--dry-run"}), 0)
        << err_.str();
    const std::string out = out_.str();
    const std::string note = " (kept in the data file; the radio does not store it)\n";
    EXPECT_NE(out.find("    transmit inhibit: no -> yes" + note), std::string::npos) << out;
    EXPECT_NE(out.find("    modulation: AM -> FM" + note), std::string::npos) << out;
    EXPECT_NE(out.find("    transmit tone: 100.0 -> 88.5\n"), std::string::npos) << out;
}

TEST_F(ChannelsCommandTest, ImportMessagesNameTheCauseAndCountRows)
{
    // Two faults in one row are one refused row.
    writeText("two.csv", "Location,Frequency,Mode\n402,99.0,XX\n");
    EXPECT_EQ(run({"import", path("two.csv"), "--into", path("in.dat"), "--dry-run"}), 1);
    EXPECT_NE(out_.str().find("0 channels to change, 1 row refused"), std::string::npos)
        << out_.str();

    writeText("semi.csv", "Location;Frequency\n402;28,0\n");
    EXPECT_EQ(run({"import", path("semi.csv"), "--into", path("in.dat"), "--dry-run"}), 1);
    EXPECT_NE(err_.str().find("separated by semicolons"), std::string::npos) << err_.str();
    EXPECT_EQ(err_.str().find("column missing"), std::string::npos) << err_.str();

    // A missing folder is not created, for export or import.
    const fs::path missing = dir_ / "no" / "such";
    EXPECT_EQ(run({"export", path("in.dat"), "-o", (missing / "x.csv").string()}), 1);
    EXPECT_NE(err_.str().find("does not exist"), std::string::npos) << err_.str();
    writeText("ok.csv", "Location,Frequency\n402,28.5\n");
    EXPECT_EQ(run({"import", path("ok.csv"), "--into", path("in.dat"), "-o",
                   (missing / "x.dat").string()}),
              1);
    EXPECT_FALSE(fs::exists(dir_ / "no"));

    // So does a read: the start of a process's memory cannot be read, by root either.
    if (fs::exists("/proc/self/mem")) {
        EXPECT_EQ(run({"import", "/proc/self/mem", "--into", path("in.dat"), "--dry-run"}), 1);
        EXPECT_NE(err_.str().find("Input/output error"), std::string::npos) << err_.str();
    }

    // A write that fails says why, in the system's words (/proc takes no new files, from
    // root either).
    EXPECT_EQ(run({"export", path("in.dat"), "-o", "/proc/zt-channels.csv"}), 1);
    EXPECT_NE(err_.str().find("No such file or directory"), std::string::npos) << err_.str();
    EXPECT_EQ(run({"import", path("ok.csv"), "--into", path("in.dat"), "-o", "/proc/zt.dat"}), 1);
    EXPECT_NE(err_.str().find("No such file or directory"), std::string::npos) << err_.str();
}

}  // namespace
}  // namespace zt
