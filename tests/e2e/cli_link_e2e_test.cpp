// The command-line program against the virtual radio over a pseudo-terminal
// when the line misbehaves: late answers, a radio that stops answering, a
// write stopped with Ctrl-C, a radio that loses a block; and the serial trace,
// the information file and the dealer writes.

#include <gtest/gtest.h>

#include <QThread>
#include <fstream>
#include <sstream>

#include "core/files/data_file.h"
#include "core/link/fresh_radio.h"
#include "core/link/info_record_file.h"
#include "core/radio/image_codec.h"
#include "core/radio/models.h"
#include "e2e_programs.h"
#include "support/radio_test_util.h"

namespace zt {
namespace {

using namespace e2e;

std::string fileText(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> v;
    std::stringstream in(text);
    for (std::string l; std::getline(in, l);) v.push_back(l);
    return v;
}

int countContaining(const std::vector<std::string>& v, const std::string& part)
{
    int n = 0;
    for (const auto& l : v) n += l.find(part) != std::string::npos;
    return n;
}

// A document for the radio whose every block differs from a fresh radio's.
RadioDocument documentForWrite(std::uint32_t seed)
{
    test::Rng rng(seed);
    RadioDocument doc = test::randomDocument(rng);
    doc.Data.Version = "V300";
    doc.Data.ModelName = kStandardModel;
    doc.Data.BandCode = 0;
    return doc;
}

RadioImage imageOf(RadioDocument doc)
{
    ProgramState state;
    documentToCurrent(doc.Data, state);
    RadioImage image;
    image.clear();
    encodeDocument(doc, state, image);
    return image;
}

// The radio's memory holds `expected` everywhere but its identity area.
::testing::AssertionResult holdsImage(const RadioMemory& memory, const RadioImage& expected)
{
    for (int a = 0; a < kImageSize; ++a) {
        if (a >= 8688 && a <= 8701) continue;
        if (memory[static_cast<std::size_t>(a)] != expected[a])
            return ::testing::AssertionFailure() << "differs at address " << a;
    }
    return ::testing::AssertionSuccess();
}

class CliLinkEndToEnd : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("zt_e2e_link_" + std::to_string(::getpid()) + "_" +
                                            std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::vector<std::string> sim(std::vector<std::string> args) const
    {
        args.insert(args.end(), {"--baud", "0"});
        if (GetParam()) args.push_back("--echo");
        return args;
    }

    fs::path dir_;
};

TEST_P(CliLinkEndToEnd, LateAnswersNeverGiveAFalseSuccess)
{
    const RadioDocument doc = documentForWrite(GetParam() ? 31 : 32);
    ASSERT_TRUE(writeDataFile(path("w.dat"), doc));
    const std::string memory = path("memory.bin");
    Sim radio(sim({"--create", "--memory", memory, "--fault",
                   "lag=0.03,refuse=0.02,drop=0.01,seed=" + std::to_string(GetParam() ? 5 : 6)}));
    ASSERT_FALSE(radio.device().empty());
    const ProgramRun write =
        cli({"write", "--port", radio.device(), path("w.dat"), "--yes", "--retries", "2"});
    const ProgramRun read =
        cli({"read", "--port", radio.device(), "-o", path("r.dat"), "--yes", "--retries", "2"});
    const std::string report = radio.stop();
    EXPECT_NE(report.find("late"), std::string::npos) << report;
    EXPECT_EQ(report.find(" 0 late"), std::string::npos) << report;  // some answers were late
    ASSERT_EQ(write.status, 0) << write.err;
    EXPECT_TRUE(holdsImage(readMemoryFile(memory), imageOf(doc)));
    ASSERT_EQ(read.status, 0) << read.err;
    const ParsedDataFile back = readDataFile(path("r.dat"));
    ASSERT_EQ(back.messageId, 0);
    EXPECT_TRUE(holdsImage(readMemoryFile(memory), imageOf(back.document)));
}

TEST_P(CliLinkEndToEnd, TraceHoldsEveryPacketWithItsTimeAndDirection)
{
    Sim radio(sim({"--create"}));
    const ProgramRun read = cli({"read", "--port", radio.device(), "-o", path("r.dat"), "--yes",
                                 "--trace", path("trace.txt")});
    ASSERT_EQ(read.status, 0) << read.err;
    const auto trace = lines(fileText(path("trace.txt")));
    EXPECT_EQ(countContaining(trace, " -> 52 "), 1 + kImageBlocks);  // password block + image
    EXPECT_EQ(countContaining(trace, " -> 50 52 4F 47 52 41 4D"), 1);
    EXPECT_EQ(countContaining(trace, " -> 45 4E 44"), 1);
    const std::string handshakeAnswer =
        GetParam() ? " <- 50 52 4F 47 52 41 4D 5A 54 06" : " <- 5A 54 06";
    EXPECT_EQ(countContaining(trace, handshakeAnswer), 1);
    EXPECT_GE(countContaining(trace, " <- "), 2 + kImageBlocks);
    double last = -1;
    for (const auto& l : trace) {
        const double ms = std::stod(l);
        EXPECT_GE(ms, last) << l;
        last = ms;
    }
}

TEST_P(CliLinkEndToEnd, VerifyCatchesARadioThatLosesABlock)
{
    const RadioDocument doc = documentForWrite(33);
    ASSERT_TRUE(writeDataFile(path("w.dat"), doc));
    {
        Sim radio(sim({"--create", "--fault", "lose=0.02,seed=4"}));
        const ProgramRun write =
            cli({"write", "--port", radio.device(), path("w.dat"), "--yes", "--verify"});
        EXPECT_EQ(write.status, 1) << write.err;
        EXPECT_NE(write.err.find(stagedText(9901)), std::string::npos) << write.err;
        EXPECT_NE(write.err.find("0x"), std::string::npos) << write.err;
        EXPECT_EQ(write.err.find(stagedText(9010)), std::string::npos) << write.err;
        // Every block was sent: the read-back's failure is no write stopped part-way.
        EXPECT_EQ(write.err.find("mix of old and new"), std::string::npos) << write.err;
    }
    Sim sound(sim({"--create"}));
    const ProgramRun write =
        cli({"write", "--port", sound.device(), path("w.dat"), "--yes", "--verify"});
    EXPECT_EQ(write.status, 0) << write.err;
    EXPECT_NE(write.err.find(stagedText(9010)), std::string::npos) << write.err;
}

TEST_P(CliLinkEndToEnd, RadioThatStopsAnsweringFailsTheReadAndSavesNothing)
{
    Sim radio(sim({"--create", "--fault", "unplug=100"}));
    const ProgramRun read = cli({"read", "--port", radio.device(), "-o", path("r.dat"), "--yes"});
    EXPECT_EQ(read.status, 1) << read.err;
    EXPECT_NE(read.err.find(stagedText(9008)), std::string::npos) << read.err;
    // The question "Try again?" is not left hanging: the answer given and how to change it.
    EXPECT_NE(read.err.find("(not tried again: --retries N"), std::string::npos) << read.err;
    EXPECT_FALSE(fs::exists(path("r.dat")));
}

TEST_P(CliLinkEndToEnd, RadioThatStopsAnsweringPartWayThroughAWriteIsSaidToHoldAMix)
{
    ASSERT_TRUE(writeDataFile(path("w.dat"), documentForWrite(35)));
    Sim radio(sim({"--create", "--fault", "unplug=100"}));
    const ProgramRun write =
        cli({"write", "--port", radio.device(), path("w.dat"), "--yes", "--no-backup"});
    EXPECT_EQ(write.status, 1) << write.err;
    EXPECT_NE(write.err.find("mix of old and new blocks"), std::string::npos) << write.err;
    EXPECT_EQ(write.err.find(stagedText(9010)), std::string::npos) << write.err;
}

TEST_P(CliLinkEndToEnd, InformationFileAndDealerWrite)
{
    const std::string memory = path("memory.bin");
    Sim radio(sim({"--create", "--memory", memory}));
    const ProgramRun info =
        cli({"info", "--port", radio.device(), "-o", path("info.json"), "--yes"});
    ASSERT_EQ(info.status, 0) << info.err;
    InfoFileParse file = parseInfoFile(fileText(path("info.json")));
    ASSERT_EQ(file.error, "");
    EXPECT_EQ(file.fields["user_code"], "001A");
    // The dealer edits the file and adds the seller on the command line.
    file.fields["dealer_code"] = "DL-42";
    file.fields["sale_date"] = "2026-12-24";
    ASSERT_TRUE(replaceFileBytes(path("info.json"), writeInfoFile(file.fields)));
    const ProgramRun write =
        cli({"info-write", "--port", radio.device(), path("info.json"), "--seller", "Bob"});
    ASSERT_EQ(write.status, 0) << write.err;
    EXPECT_NE(write.err.find("Write Complete!"), std::string::npos) << write.err;
    EXPECT_NE(write.out.find(file.fields["serial_number"].substr(0, 8)), std::string::npos);

    const ProgramRun again = cli({"info", "--port", radio.device(), "-o", path("again.json")});
    ASSERT_EQ(again.status, 0) << again.err;
    InfoFileParse after = parseInfoFile(fileText(path("again.json")));
    EXPECT_EQ(after.fields["dealer_code"], "DL-42");
    EXPECT_EQ(after.fields["sale_date"], "2026-12-24");
    EXPECT_EQ(after.fields["seller"], "Bob");
    EXPECT_EQ(after.fields["user_code"], "001A");  // the radio's own, kept
    EXPECT_EQ(after.fields["serial_number"], file.fields["serial_number"]);  // never written
}

INSTANTIATE_TEST_SUITE_P(Cable, CliLinkEndToEnd, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Echo" : "NoEcho"; });

class CliLinkSingle : public CliLinkEndToEnd {};

TEST_F(CliLinkSingle, InfoWriteRefusesMissingFieldsAndBadFiles)
{
    // No radio is needed: the fields are checked before the port is opened.
    const ProgramRun missing = cli({"info-write", "--port", "/dev/null", "--seller", "Bob"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("dealer_code"), std::string::npos) << missing.err;
    EXPECT_EQ(missing.err.find(" seller"), std::string::npos) << missing.err;
    ASSERT_TRUE(replaceFileBytes(path("bad.json"), "{\"seler\": \"x\"}"));
    const ProgramRun bad = cli({"info-write", "--port", "/dev/null", path("bad.json")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("unknown field \"seler\""), std::string::npos) << bad.err;
    const ProgramRun batch = cli({"info-write", "--port", "/dev/null", "--batch", "0"});
    EXPECT_EQ(batch.status, 2);
}

TEST_F(CliLinkSingle, ReadChecksTheOutputFileBeforeTouchingTheRadio)
{
    Sim radio({"--create", "--baud", "0"});
    const ProgramRun read =
        cli({"read", "--port", radio.device(), "-o", path("missing-folder/r.dat"), "--yes"});
    EXPECT_EQ(read.status, 1);
    EXPECT_NE(read.err.find("missing-folder"), std::string::npos) << read.err;
    const std::string report = radio.stop();
    EXPECT_NE(report.find(" 0 handshakes"), std::string::npos) << report;
}

TEST_F(CliLinkSingle, AnswersLaterThanTheResendNeverEndCompleteOverWrongData)
{
    // A radio busy writing its memory answers some packets 1150 ms or 2 s late
    // (after the packet was already sent again) among refusals and drops. The
    // write either ends complete with the radio holding the document, or fails.
    const RadioDocument doc = documentForWrite(35);
    ASSERT_TRUE(writeDataFile(path("w.dat"), doc));
    for (const char* faults : {"lag=0.05,lag_ms=1150,refuse=0.05,seed=7",
                               "lag=0.01,lag_ms=2000,refuse=0.03,drop=0.01,seed=8"}) {
        SCOPED_TRACE(faults);
        const std::string memory = path("memory.bin");
        fs::remove(memory);
        Sim radio({"--create", "--baud", "0", "--memory", memory, "--fault", faults});
        ASSERT_FALSE(radio.device().empty());
        const ProgramRun write = runProgram(
            ZT_CLI_PATH,
            {"write", "--port", radio.device(), path("w.dat"), "--yes", "--retries", "1"}, 100000);
        const std::string report = radio.stop();
        EXPECT_EQ(report.find(" 0 late"), std::string::npos) << report;
        ASSERT_TRUE(write.status == 0 || write.status == 1) << write.status << write.err;
        if (write.status == 0) {
            EXPECT_TRUE(holdsImage(readMemoryFile(memory), imageOf(doc)));
        } else {
            EXPECT_EQ(write.err.find(stagedText(9010)), std::string::npos) << write.err;
        }
    }
}

TEST_F(CliLinkSingle, CtrlCStopsAWriteSendsEndAndSaysTheRadioHoldsAMix)
{
    const RadioDocument doc = documentForWrite(34);
    ASSERT_TRUE(writeDataFile(path("w.dat"), doc));
    Sim radio({"--create", "--baud", "9600"});
    QProcess write;
    write.start(QStringLiteral(ZT_CLI_PATH),
                toQt({"write", "--port", radio.device(), path("w.dat"), "--yes", "--no-backup",
                      "--trace", path("trace.txt")}));
    ASSERT_TRUE(write.waitForStarted(10000));
    // Stop it once it has written a good number of blocks.
    while (countContaining(lines(fileText(path("trace.txt"))), " -> 57 ") < 40 &&
           write.state() == QProcess::Running)
        write.waitForFinished(50);
    ::kill(static_cast<pid_t>(write.processId()), SIGINT);
    ASSERT_TRUE(write.waitForFinished(10000));
    EXPECT_EQ(write.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(write.exitCode(), 130);
    const std::string err = write.readAllStandardError().toStdString();
    EXPECT_NE(err.find(stagedText(9900)), std::string::npos) << err;
    EXPECT_EQ(err.find(stagedText(9010)), std::string::npos) << err;
    const auto trace = lines(fileText(path("trace.txt")));
    std::string lastSent;
    for (const auto& l : trace)
        if (l.find(" -> ") != std::string::npos) lastSent = l;
    EXPECT_NE(lastSent.find("-> 45 4E 44"), std::string::npos) << lastSent;
    const std::string report = radio.stop();
    EXPECT_NE(report.find(" 1 ends"), std::string::npos) << report;
}

TEST_F(CliLinkSingle, BatchWritesEachRadioOnceAndCountsTheSerialNumber)
{
    Sim radio({"--create", "--baud", "0"});
    QProcess batch;
    batch.start(QStringLiteral(ZT_CLI_PATH),
                toQt({"info-write", "--port", radio.device(), "--batch", "2", "--dealer", "D",
                      "--stock-date", "S", "--sale-date", "T", "--seller", "U", "--set-password",
                      "", "--serial", "2026120900000009"}));
    ASSERT_TRUE(batch.waitForStarted(10000));
    std::string err;
    while (err.find("waiting for the next radio") == std::string::npos &&
           batch.state() == QProcess::Running) {
        batch.waitForReadyRead(100);
        err += batch.readAllStandardError().toStdString();
    }
    // The same radio stays connected for a while: it is not written twice.
    QThread::msleep(1500);
    radio.signal(SIGUSR1);  // taken away ...
    QThread::msleep(1500);
    radio.signal(SIGUSR1);  // ... and the next one connected
    ASSERT_TRUE(batch.waitForFinished(20000));
    err += batch.readAllStandardError().toStdString();
    const std::string out = batch.readAllStandardOutput().toStdString();
    EXPECT_EQ(batch.exitCode(), 0) << err;
    EXPECT_NE(err.find("MulWrite Complete!"), std::string::npos) << err;
    EXPECT_NE(out.find("2026120900000011"), std::string::npos) << out;
    const std::string report = radio.stop();
    EXPECT_NE(report.find(" 12 block writes"), std::string::npos) << report;
}

}  // namespace
}  // namespace zt
