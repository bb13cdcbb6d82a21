// The command-line program against the virtual radio program over a real
// pseudo-terminal: reads, writes and information reads with and without the
// cable's echo, the port table, passwords and misuse.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/files/data_file.h"
#include "core/files/ini_profile.h"
#include "core/files/language.h"
#include "core/link/fresh_radio.h"
#include "core/radio/image_codec.h"
#include "core/radio/models.h"
#include "e2e_programs.h"
#include "support/radio_test_util.h"

namespace zt {
namespace {

using namespace e2e;

constexpr int kIdentityFirst = 8688;
constexpr int kIdentityLast = 8701;

class EchoedCliEndToEnd : public CliEndToEnd, public ::testing::WithParamInterface<bool> {
  protected:
    std::vector<std::string> simArgs(std::vector<std::string> args) const
    {
        args.insert(args.end(), {"--baud", "0"});
        if (GetParam()) args.push_back("--echo");
        return args;
    }
};

// The image a document is written as (the radio's identity area aside).
RadioImage imageOf(RadioDocument doc)
{
    ProgramState state;
    documentToCurrent(doc.Data, state);
    RadioImage image;
    image.clear();
    encodeDocument(doc, state, image);
    return image;
}

bool outsideIdentity(int address)
{
    return address < kIdentityFirst || address > kIdentityLast;
}

TEST_P(EchoedCliEndToEnd, ReadsAFreshRadioIntoADataFileAndShowsIt)
{
    Sim sim(simArgs({"--create"}));
    ASSERT_FALSE(sim.device().empty());
    const ProgramRun read = cli({"read", "--port", sim.device(), "-o", path("r.dat"), "--yes"});
    ASSERT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(fs::file_size(path("r.dat")), 1663u);
    EXPECT_TRUE(fs::exists(path("r.fre")));
    EXPECT_NE(read.err.find(stagedText(9009)), std::string::npos) << read.err;

    const ProgramRun show = cli({"show", path("r.dat")});
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_NE(show.out.find("ZT-958FM"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("25.615 - 30.105 MHz"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("521"), std::string::npos) << show.out;  // the VFO channel
}

TEST_P(EchoedCliEndToEnd, AWrittenDocumentReadsBackEqual)
{
    for (std::uint32_t seed : {GetParam() ? 12u : 11u}) {
        SCOPED_TRACE(seed);
        test::Rng rng(seed);
        RadioDocument doc = test::randomDocument(rng);
        doc.Data.Version = "V300";
        doc.Data.ModelName = kStandardModel;
        doc.Data.BandCode = 0;
        ASSERT_TRUE(writeDataFile(path("w.dat"), doc));
        const RadioImage expected = imageOf(doc);

        const std::string memory = path("memory.bin");
        Sim sim(simArgs({"--create", "--memory", memory}));
        ASSERT_FALSE(sim.device().empty());
        const RadioMemory before = readMemoryFile(memory);

        const ProgramRun write = cli({"write", "--port", sim.device(), path("w.dat"), "--yes"});
        ASSERT_EQ(write.status, 0) << write.err;
        EXPECT_NE(write.err.find(stagedText(9010)), std::string::npos) << write.err;

        // The radio holds the document's image; its own identity stays.
        const RadioMemory after = readMemoryFile(memory);
        for (int a = 0; a < kImageSize; ++a) {
            const std::uint8_t want =
                outsideIdentity(a) ? expected[a] : before[static_cast<std::size_t>(a)];
            ASSERT_EQ(after[static_cast<std::size_t>(a)], want) << "address " << a;
        }
        EXPECT_TRUE(
            std::equal(after.begin() + kImageSize, after.end(), before.begin() + kImageSize))
            << "nothing beyond the image may change";

        const ProgramRun read = cli({"read", "--port", sim.device(), "-o", path("r.dat"), "--yes"});
        ASSERT_EQ(read.status, 0) << read.err;
        const ParsedDataFile back = readDataFile(path("r.dat"));
        ASSERT_EQ(back.messageId, 0);
        const RadioImage again = imageOf(back.document);
        for (int a = 0; a < kImageSize; ++a)
            if (outsideIdentity(a)) {
                ASSERT_EQ(again[a], expected[a]) << "address " << a;
            }
    }
}

TEST_P(EchoedCliEndToEnd, InformationReadShowsTheBlocksFields)
{
    FreshRadioOptions o;
    o.areaCode = "0771";
    o.serialNumber = "2025070400000042";
    o.manufactureCode = "07-1-E-1";
    o.userCode = "002B";
    o.productionDate = "2025-07-04";
    o.maintenanceDate = "2025-09-01";
    o.dealerCode = "DL-7";
    o.stockInDate = "2025-08-01";
    o.saleDate = "2025-08-15";
    o.seller = "Ann Example";
    const RadioMemory memory = freshRadioMemory(o);
    ASSERT_TRUE(replaceFileBytes(
        path("info.bin"),
        std::string_view(reinterpret_cast<const char*>(memory.data()), memory.size())));
    Sim sim(simArgs({"--memory", path("info.bin")}));
    const ProgramRun info = cli({"info", "--port", sim.device()});
    ASSERT_EQ(info.status, 0) << info.err;
    const std::pair<int, std::string> lines[] = {
        {21002, "0771"},       {21003, "07-1-E-1"},    {21004, "002B"}, {21007, "2025070400000042"},
        {21008, "2025-07-04"}, {21009, "2025-09-01"},  {21013, "DL-7"}, {21014, "2025-08-01"},
        {21015, "2025-08-15"}, {21016, "Ann Example"},
    };
    for (const auto& [id, value] : lines) {
        const std::string line = stagedText(id) + ": " + value + "\n";
        EXPECT_NE(info.out.find(line), std::string::npos) << line << "in\n" << info.out;
    }

    const ProgramRun chinese = cli({"info", "--port", sim.device(), "--lang", "zh"});
    ASSERT_EQ(chinese.status, 0) << chinese.err;
    EXPECT_NE(chinese.out.find(stagedText(21007, "chinese.ini") + ": 2025070400000042"),
              std::string::npos)
        << chinese.out;
}

INSTANTIATE_TEST_SUITE_P(Cable, EchoedCliEndToEnd, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Echo" : "NoEcho"; });

TEST_F(CliEndToEnd, MisuseExitsTwo)
{
    const std::vector<std::vector<std::string>> misuses = {
        {},
        {"frobnicate"},
        {"read", "--port", "/dev/null"},
        {"read", "-o", path("x.dat")},
        {"write", "--port", "/dev/null"},
        {"show"},
        {"show", "a.dat", "b.dat"},
        {"show", "a.dat", "--port", "/dev/null"},
        {"info"},
        {"info", "--port", "/dev/null", "extra"},
        {"info", "--port", "/dev/null", "--lang", "fr"},
        {"info", "--port", "/dev/null", "--retries", "-1"},
        {"info", "--port", "/dev/null", "--bogus"},
        {"info", "--port", "COM99"},
    };
    for (const auto& args : misuses) {
        const ProgramRun r = cli(args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args) << "\n" << r.err;
    }
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--baud", "4800"},
                                                 {"--fault", "drop=2"},
                                                 {"--bogus"},
                                                 {"--register", path("m.ini"), "COM0"},
                                                 {"--password", "12345"}}) {
        const ProgramRun r = runProgram(ZT_SIM_PATH, args, 10000);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args) << "\n" << r.err;
    }
}

TEST_F(CliEndToEnd, APortThatCannotBeOpenedFailsWithTheReason)
{
    const ProgramRun r = cli({"info", "--port", path("no-such-device")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(stagedText(9935)), std::string::npos) << r.err;

    const ProgramRun show = cli({"show", path("missing.dat")});
    EXPECT_EQ(show.status, 1);
}

TEST_F(CliEndToEnd, PasswordProtectedRadio)
{
    Sim sim({"--create", "--password", "1234"});
    const ProgramRun refused = cli({"read", "--port", sim.device(), "-o", path("p.dat"), "--yes"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("PassWord Failure!"), std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(path("p.dat")));

    const ProgramRun wrong =
        cli({"read", "--port", sim.device(), "-o", path("p.dat"), "--yes", "--password", "9999"});
    EXPECT_EQ(wrong.status, 1);

    const ProgramRun ok =
        cli({"read", "--port", sim.device(), "-o", path("p.dat"), "--yes", "--password", "1234"});
    EXPECT_EQ(ok.status, 0) << ok.err;
}

TEST_F(CliEndToEnd, UnconfirmedWriteChangesNothing)
{
    const std::string memory = path("memory.bin");
    Sim sim({"--create", "--memory", memory});
    const ProgramRun read = cli({"read", "--port", sim.device(), "-o", path("r.dat"), "--yes"});
    ASSERT_EQ(read.status, 0) << read.err;
    const RadioMemory before = readMemoryFile(memory);
    const ProgramRun write = cli({"write", "--port", sim.device(), path("r.dat")});
    EXPECT_EQ(write.status, 1);
    EXPECT_EQ(readMemoryFile(memory), before);
}

TEST_F(CliEndToEnd, ComPortReachesTheRadioThroughThePortTable)
{
    // An installation of its own: <root>/V300/ztp958fm-cli and its language files.
    const fs::path program = dir_ / "V300";
    fs::create_directories(program / "language");
    fs::create_directories(dir_ / "language");
    fs::copy_file(ZT_CLI_PATH, program / "ztp958fm-cli");
    fs::copy_file(fs::path(ZT_STAGE_DIR) / "language" / "english.ini",
                  program / "language" / "english.ini");
    const fs::path ini = dir_ / "language" / "mysetup.ini";
    std::ofstream(ini) << "[language]\nIsFirstRun=0\ncomPort=5\nCurrentLanguage=1\n";

    Sim sim({"--create", "--register", ini.string(), "COM5"});
    ASSERT_FALSE(sim.device().empty());
    EXPECT_EQ(readProfileString(ini, "ports", "COM5", ""), sim.device());
    EXPECT_EQ(readProfileString(ini, "language", "comPort", ""), "5");

    const ProgramRun info =
        runProgram((program / "ztp958fm-cli").string(), {"info", "--port", "COM5"});
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("0595"), std::string::npos);
    const ProgramRun other =
        runProgram((program / "ztp958fm-cli").string(), {"info", "--port", "com6"});
    EXPECT_EQ(other.status, 1) << "COM6 is /dev/ttyUSB5, absent here";
}

TEST_F(CliEndToEnd, ReadSucceedsDespiteFaultsOnTheLine)
{
    const std::string memory = path("memory.bin");
    Sim sim({"--create", "--memory", memory, "--fault", "drop=0.01,corrupt=0.01,seed=7"});
    const ProgramRun read =
        cli({"read", "--port", sim.device(), "-o", path("r.dat"), "--yes", "--retries", "3"});
    ASSERT_EQ(read.status, 0) << read.err;
    const ParsedDataFile back = readDataFile(path("r.dat"));
    ASSERT_EQ(back.messageId, 0);
    const RadioMemory m = readMemoryFile(memory);
    RadioImage radioImage;
    std::copy_n(m.begin(), kImageSize, radioImage.bytes.begin());
    RadioDocument fromRadio;
    ProgramState state;
    decodeImage(radioImage, fromRadio, state);
    const RadioImage want = imageOf(fromRadio);
    const RadioImage got = imageOf(back.document);
    for (int a = 0; a < kImageSize; ++a)
        if (outsideIdentity(a)) {
            ASSERT_EQ(got[a], want[a]) << "address " << a;
        }
}

}  // namespace
}  // namespace zt
