// What the command-line program says and how it ends when something is wrong
// around the transfer: an output it could not save, an input it cannot read,
// a port it cannot open, a cable pulled out, Ctrl-C at a question, a write
// that could not be read back. The real program against the virtual radio on
// a pseudo-terminal.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <QProcess>
#include <chrono>
#include <fstream>
#include <sstream>

#include "core/files/data_file.h"
#include "core/link/fresh_radio.h"
#include "core/radio/models.h"
#include "e2e_programs.h"
#include "support/radio_test_util.h"

namespace zt {
namespace {

using namespace e2e;

int occurrences(const std::string& text, const std::string& part)
{
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

RadioDocument documentForWrite(std::uint32_t seed)
{
    test::Rng rng(seed);
    RadioDocument doc = test::randomDocument(rng);
    doc.Data.Version = "V300";
    doc.Data.ModelName = kStandardModel;
    doc.Data.BandCode = 0;
    return doc;
}

using CliWords = CliEndToEnd;

TEST_F(CliWords, ReadChecksEverythingItsSaveNeedsBeforeTheFirstByte)
{
    Sim radio({"--create", "--baud", "0"});
    // A name the file system takes, but not with the save's temporary suffix.
    const std::string longName = path(std::string(248, 'a') + ".dat");
    const ProgramRun tooLong = cli({"read", "--port", radio.device(), "-o", longName, "--yes"});
    EXPECT_EQ(tooLong.status, 1) << tooLong.err;
    EXPECT_NE(tooLong.err.find("too long"), std::string::npos) << tooLong.err;

    // The channel file's name is taken by a folder.
    fs::create_directory(path("r.fre"));
    const ProgramRun folder = cli({"read", "--port", radio.device(), "-o", path("r.dat"), "--yes"});
    EXPECT_EQ(folder.status, 1) << folder.err;
    EXPECT_NE(folder.err.find(path("r.fre") + " is a folder"), std::string::npos) << folder.err;

    const std::string report = radio.stop();
    EXPECT_NE(report.find(" 0 handshakes"), std::string::npos) << report;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(CliWords, AnInputThatCannotBeReadIsNamed)
{
    fs::create_directory(path("folder.dat"));
    for (const std::string& input : {path("missing.dat"), path("folder.dat")}) {
        const ProgramRun write = cli({"write", "--port", "/dev/null", input, "--yes"});
        EXPECT_EQ(write.status, 1) << write.err;
        EXPECT_NE(write.err.find(input), std::string::npos) << write.err;
    }
}

TEST_F(CliWords, APortThatCannotBeOpenedPointsToTheCommandLinesOwnWay)
{
    const ProgramRun read =
        cli({"read", "--port", "/dev/zt-no-such-device", "-o", path("r.dat"), "--yes"});
    EXPECT_EQ(read.status, 1);
    EXPECT_NE(read.err.find("ztp958fm-cli ports --assign"), std::string::npos) << read.err;
    EXPECT_EQ(read.err.find("Settings >"), std::string::npos) << read.err;
}

TEST_F(CliWords, APulledCableEndsTheWriteOnceWhateverYesSays)
{
    ASSERT_TRUE(writeDataFile(path("w.dat"), documentForWrite(35)));
    auto radio = std::make_unique<Sim>(std::vector<std::string>{"--create", "--baud", "9600"});
    QProcess write;
    write.start(QStringLiteral(ZT_CLI_PATH),
                toQt({"write", "--port", radio->device(), path("w.dat"), "--yes", "--retries", "3",
                      "--trace", path("trace.txt")}));
    ASSERT_TRUE(write.waitForStarted(10000));
    // Once blocks were written, the cable and its adapter go away for good.
    auto writesSent = [&] {
        std::ifstream in(path("trace.txt"));
        std::stringstream s;
        s << in.rdbuf();
        return occurrences(s.str(), " -> 57 ");
    };
    while (writesSent() < 20 && write.state() == QProcess::Running) write.waitForFinished(50);
    radio->signal(SIGKILL);
    ASSERT_TRUE(write.waitForFinished(20000));
    const std::string err = write.readAllStandardError().toStdString();
    EXPECT_EQ(write.exitCode(), 1) << err;
    EXPECT_EQ(occurrences(err, stagedText(9920)), 1) << err;
    EXPECT_NE(err.find(stagedText(9936)), std::string::npos) << err;
    EXPECT_EQ(err.find("does not exist"), std::string::npos) << err;
    EXPECT_EQ(err.find(stagedText(9008)), std::string::npos) << err;
}

// A pseudo-terminal standing in for the user's terminal.
class Terminal {
  public:
    Terminal()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0)
            name_ = ::ptsname(master_);
    }
    ~Terminal()
    {
        if (master_ >= 0) ::close(master_);
    }
    const std::string& name() const { return name_; }
    // Reads what the program wrote until `text` shows or `seconds` pass.
    bool waitFor(const std::string& text, int seconds)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (seen_.find(text) == std::string::npos) {
            if (std::chrono::steady_clock::now() > end) return false;
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) continue;
            char buffer[512];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0) return false;
            seen_.append(buffer, static_cast<std::size_t>(n));
        }
        return true;
    }
    const std::string& seen() const { return seen_; }

  private:
    int master_ = -1;
    std::string name_;
    std::string seen_;
};

TEST_F(CliWords, CtrlCAtTheConfirmationExits130)
{
    Sim radio({"--create", "--baud", "0"});
    Terminal terminal;
    ASSERT_FALSE(terminal.name().empty());
    QProcess read;
    read.setStandardInputFile(QString::fromStdString(terminal.name()));
    read.setStandardErrorFile(QString::fromStdString(terminal.name()));
    read.start(QStringLiteral(ZT_CLI_PATH),
               toQt({"read", "--port", radio.device(), "-o", path("r.dat")}));
    ASSERT_TRUE(read.waitForStarted(10000));
    ASSERT_TRUE(terminal.waitFor("[y/N]", 20)) << terminal.seen();
    ::kill(static_cast<pid_t>(read.processId()), SIGINT);
    ASSERT_TRUE(read.waitForFinished(10000));
    EXPECT_EQ(read.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(read.exitCode(), 130) << terminal.seen();
    EXPECT_FALSE(fs::exists(path("r.dat")));
}

TEST_F(CliWords, AWriteThatCannotBeReadBackClaimsNothingAboutTheRadio)
{
    ASSERT_TRUE(writeDataFile(path("w.dat"), documentForWrite(36)));
    // The radio stops answering part-way through the read-back.
    Sim radio({"--create", "--baud", "0", "--fault", "unplug=700"});
    const ProgramRun write =
        cli({"write", "--port", radio.device(), path("w.dat"), "--yes", "--verify", "--no-backup"});
    EXPECT_EQ(write.status, 1) << write.err;
    EXPECT_NE(write.err.find(stagedText(9902)), std::string::npos) << write.err;
    EXPECT_NE(write.err.find("not known"), std::string::npos) << write.err;
    EXPECT_EQ(write.err.find("The data was written"), std::string::npos) << write.err;
    EXPECT_EQ(write.err.find(stagedText(9010)), std::string::npos) << write.err;
}

}  // namespace
}  // namespace zt
