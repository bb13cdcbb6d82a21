// The command line's snapshots against the virtual radio: a read is kept, a write keeps the
// radio's contents first and shows what it changes, a snapshot restores the radio byte for
// byte, and a write that cannot be backed up or would put another band's image into the
// radio sends nothing.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>

#include <QProcess>
#include <chrono>
#include <fstream>

#include "core/files/data_file.h"
#include "core/files/ini_profile.h"
#include "e2e_programs.h"

namespace zt {
namespace {

using namespace e2e;

class CliHistory : public CliEndToEnd {
  protected:
    // The program with its snapshots in `dataHome`.
    ProgramRun run(const std::vector<std::string>& args, const std::string& dataHome)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", QString::fromStdString(dataHome));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ZT_CLI_PATH), toQt(args));
        ProgramRun r;
        if (!p.waitForStarted(10000)) return r;
        p.closeWriteChannel();
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished(2000);
            return r;
        }
        r.out = p.readAllStandardOutput().toStdString();
        r.err = p.readAllStandardError().toStdString();
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        return r;
    }

    // Snapshot files below the data folder whose names hold `kind`.
    std::vector<fs::path> snapshots(const std::string& kind) const
    {
        std::vector<fs::path> out;
        const fs::path root = dir_ / "data" / "ztp958fm" / "radios";
        if (!fs::exists(root)) return out;
        for (const auto& e : fs::recursive_directory_iterator(root))
            if (e.path().filename().string().find(kind) != std::string::npos)
                out.push_back(e.path());
        return out;
    }
};

// The program with its standard input and error on a terminal (a pseudo-terminal whose other
// side this test holds), as a user runs it: each "[y/N]" question is answered "y", or with
// `ctrlC` by Ctrl-C. Returns the exit status and everything the terminal showed.
ProgramRun runOnTerminal(const std::vector<std::string>& args, const std::string& dataHome,
                         bool ctrlC = false)
{
    ProgramRun r;
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return r;
    const std::string slave = ::ptsname(master);
    std::vector<std::string> argv = {ZT_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    const pid_t child = ::fork();
    if (child == 0) {
        ::setsid();
        const int tty = ::open(slave.c_str(), O_RDWR);
        const int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(tty, STDIN_FILENO);
        ::dup2(devNull, STDOUT_FILENO);
        ::dup2(tty, STDERR_FILENO);
        ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
        std::vector<char*> raw;
        for (std::string& a : argv) raw.push_back(a.data());
        raw.push_back(nullptr);
        ::execv(raw[0], raw.data());
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    std::size_t answered = 0;
    for (;;) {
        pollfd pfd{master, POLLIN, 0};
        if (::poll(&pfd, 1, 200) > 0) {
            char buf[4096];
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n <= 0) break;  // the program closed the terminal
            r.err.append(buf, static_cast<std::size_t>(n));
        }
        for (std::size_t at = r.err.find("[y/N] "); at != std::string::npos;
             at = r.err.find("[y/N] ", at + 1)) {
            if (at < answered) continue;
            answered = at + 1;
            if (ctrlC)
                ::kill(child, SIGINT);
            else
                (void)!::write(master, "y\n", 2);
        }
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child) {
            r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
            ::close(master);
            return r;
        }
        if (std::chrono::steady_clock::now() > deadline) break;
    }
    int status = 0;
    if (::waitpid(child, &status, WNOHANG) == 0) ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    ::close(master);
    return r;
}

std::size_t questions(const std::string& terminal)
{
    std::size_t n = 0;
    for (std::size_t at = terminal.find("[y/N]"); at != std::string::npos;
         at = terminal.find("[y/N]", at + 1))
        ++n;
    return n;
}

TEST_F(CliHistory, AReadWhoseSerialNumberCannotBeReadIsStillSavedAndKept)
{
    // The radio stops answering right after the memory read (password block and 580 blocks):
    // the information block with the serial number cannot be read.
    Sim radio({"--create", "--baud", "0", "--fault", "unplug=581"});
    const std::string data = path("data");
    const ProgramRun read =
        run({"read", "--port", radio.device(), "-o", path("a.dat"), "--yes"}, data);
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_TRUE(fs::exists(path("a.dat")));
    ASSERT_EQ(snapshots("_read.snapshot").size(), 1u) << read.err;
    EXPECT_EQ(snapshots("_read").front().parent_path().filename().string(), "ZT-958FM_band0_V300");
    EXPECT_NE(read.err.find("serial number could not be read"), std::string::npos) << read.err;
}

TEST_F(CliHistory, ReadWriteRestoreKeepEveryStepAndShowWhatChanges)
{
    Sim radio({"--create", "--baud", "0"});
    const std::string data = path("data");
    const ProgramRun read = run(
        {"read", "--port", radio.device(), "-o", path("a.dat"), "--raw", path("a.img"), "--yes"},
        data);
    ASSERT_EQ(read.status, 0) << read.err;
    ASSERT_EQ(snapshots("_read.snapshot").size(), 1u);
    // One folder per radio: model, band, version and the serial number of the information block.
    EXPECT_EQ(snapshots("_read").front().parent_path().filename().string().rfind(
                  "ZT-958FM_band0_V300_SN", 0),
              0u);

    // A document whose VFO channel receives on 27.65 MHz instead of the fresh radio's 27.86.
    ParsedDataFile a = readDataFile(path("a.dat"));
    ASSERT_EQ(a.messageId, 0);
    a.document.findChannel(521)->RxFre = "02765000";
    ASSERT_TRUE(writeDataFile(path("b.dat"), a.document));
    const std::string line = "  channel 521: receive 27.86000 \xE2\x86\x92 27.65000\n";

    const ProgramRun same = run({"diff", path("a.dat"), snapshots("_read").front()}, data);
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, "");
    const ProgramRun differ = run({"diff", path("a.dat"), path("b.dat")}, data);
    EXPECT_EQ(differ.status, 1) << differ.err;
    EXPECT_EQ(differ.out, "Group 12\n" + line + "1 channel and 0 settings differ\n");
    const ProgramRun json = run({"diff", path("a.dat"), path("b.dat"), "--json"}, data);
    EXPECT_EQ(json.out.rfind("{\"equal\":false,\"channels\":1,\"settings\":0,", 0), 0u) << json.out;
    EXPECT_EQ(run({"diff", path("a.dat")}, data).status, 2);

    const ProgramRun write = run({"write", "--port", radio.device(), path("b.dat"), "--yes"}, data);
    ASSERT_EQ(write.status, 0) << write.err;
    EXPECT_EQ(write.out, "Group 12\n" + line + "1 channel and 0 settings will change.\n");
    ASSERT_EQ(snapshots("_before-write").size(), 1u);
    ASSERT_EQ(snapshots("_written").size(), 1u);
    const fs::path backup = snapshots("_before-write").front();
    EXPECT_NE(write.err.find("previous contents are kept in " + backup.string()), std::string::npos)
        << write.err;
    EXPECT_EQ(backup.parent_path(), snapshots("_read").front().parent_path());
    EXPECT_EQ(run({"diff", snapshots("_written").front(), path("b.dat")}, data).status, 0);

    // The backup goes back byte for byte.
    const ProgramRun restore = run({"restore", "--port", radio.device(), backup, "--yes"}, data);
    ASSERT_EQ(restore.status, 0) << restore.err;
    const ProgramRun again =
        run({"read", "--port", radio.device(), "--raw", path("c.img"), "--yes"}, data);
    ASSERT_EQ(again.status, 0) << again.err;
    std::string before;
    std::string after;
    ASSERT_TRUE(readFileBytes(path("a.img"), before));
    ASSERT_TRUE(readFileBytes(path("c.img"), after));
    EXPECT_EQ(before.size(), 9280u);
    EXPECT_TRUE(before == after);

    // A snapshot changed by one byte is refused before the radio is touched.
    std::string bytes;
    ASSERT_TRUE(readFileBytes(backup.string(), bytes));
    bytes[bytes.size() - 100] ^= 0x01;
    ASSERT_TRUE(replaceFileBytes(backup.string(), bytes));
    const ProgramRun damaged = run({"restore", "--port", radio.device(), backup, "--yes"}, data);
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("checksum"), std::string::npos) << damaged.err;
}

TEST_F(CliHistory, ThePreviewShowsOnlyWhatTheRadioWillHoldDifferently)
{
    // A file from elsewhere holds values a write always stores the same way: the channels'
    // power and modulation flags (the slot's flag byte is fixed), the groups' AM/FM entries
    // (always written as 1) and a time-out that is not a whole 15 s step (stored as 0 here).
    Sim radio({"--create", "--baud", "0"});
    const std::string data = path("data");
    ASSERT_EQ(run({"read", "--port", radio.device(), "-o", path("a.dat"), "--yes"}, data).status,
              0);
    ParsedDataFile a = readDataFile(path("a.dat"));
    ASSERT_EQ(a.messageId, 0);
    for (int i = 0; i < a.document.Data.ChannelCount; ++i) {
        ChannelRecord& c = a.document.Channels[static_cast<std::size_t>(i)];
        c.FmPower = c.FmPowerLock = c.AmPower = c.AmPowerLock = c.AmFm = c.AmFmLock = 0;
    }
    for (auto& entries : a.document.Data.Options.GroupAmFm) entries = {0, 0};
    a.document.Data.Options.TimeOutTimer = 7;
    a.document.findChannel(521)->RxFre = "02765000";
    ASSERT_TRUE(writeDataFile(path("b.dat"), a.document));

    const ProgramRun write = run({"write", "--port", radio.device(), path("b.dat"), "--yes"}, data);
    ASSERT_EQ(write.status, 0) << write.err;
    EXPECT_EQ(write.out,
              "Group 12\n  channel 521: receive 27.86000 \xE2\x86\x92 27.65000\n"
              "1 channel and 0 settings will change.\n");
    const ProgramRun again = run({"write", "--port", radio.device(), path("b.dat"), "--yes"}, data);
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, "Nothing differs: the radio already holds these settings.\n");
}

TEST_F(CliHistory, AWriteThatCannotBeBackedUpOrIsOfAnotherBandSendsNothing)
{
    Sim radio({"--create", "--baud", "0"});
    const std::string data = path("data");
    ASSERT_EQ(run({"read", "--port", radio.device(), "-o", path("a.dat"), "--raw", path("a.img"),
                   "--yes"},
                  data)
                  .status,
              0);
    // The data folder is a file: the backup cannot be kept, so nothing is written.
    ASSERT_TRUE(replaceFileBytes(path("not-a-folder"), "x"));
    const ProgramRun unkept =
        run({"write", "--port", radio.device(), path("a.dat"), "--yes"}, path("not-a-folder"));
    EXPECT_EQ(unkept.status, 1);
    EXPECT_NE(unkept.err.find("cannot be kept"), std::string::npos) << unkept.err;
    // An image whose band byte is another band's is refused after the backup.
    std::string image;
    ASSERT_TRUE(readFileBytes(path("a.img"), image));
    image[8694] = 8;
    ASSERT_TRUE(replaceFileBytes(path("other-band.img"), image));
    const ProgramRun band =
        run({"write", "--port", radio.device(), "--raw", path("other-band.img"), "--yes"}, data);
    EXPECT_EQ(band.status, 1);
    EXPECT_NE(band.err.find("another model or band"), std::string::npos) << band.err;
    // An image of the wrong length never reaches the port.
    ASSERT_TRUE(replaceFileBytes(path("short.img"), image.substr(1)));
    EXPECT_EQ(
        run({"write", "--port", radio.device(), "--raw", path("short.img"), "--yes"}, data).status,
        1);
    const std::string report = radio.stop();
    EXPECT_NE(report.find(" 0 block writes"), std::string::npos) << report;

    // The retention rule is shown and changed by `backups`, and kept where the user can read it.
    const ProgramRun rule = run({"backups", "--keep-days", "0", "--keep-at-least", "5"}, data);
    EXPECT_EQ(rule.status, 0) << rule.err;
    EXPECT_NE(rule.out.find("Kept: all, and at least the newest 5 of each radio"),
              std::string::npos)
        << rule.out;
    std::string kept;
    ASSERT_TRUE(readFileBytes(fs::path(data) / "ztp958fm" / "radios" / "retention.txt", kept));
    EXPECT_NE(kept.find("keep-days 0\nkeep-at-least 5\n"), std::string::npos) << kept;
    EXPECT_EQ(run({"backups", "--keep-days", "x"}, data).status, 2);
}

TEST_F(CliHistory, AWriteToAnotherRadioThanTheOneBackedUpSendsNothing)
{
    // Two radios: B is A with another serial number (information block at 0x3F00, serial
    // number 16 bytes at offset 48; its last digit at 0x3F3F).
    {
        Sim maker({"--create", "--baud", "0", "--memory", path("a.mem")});
    }
    std::string a;
    ASSERT_TRUE(readFileBytes(path("a.mem"), a));
    ASSERT_EQ(a.size(), 16384u);
    std::string b = a;
    ASSERT_EQ(b[0x3F3F], '1');
    b[0x3F3F] = '2';
    ASSERT_TRUE(replaceFileBytes(path("b.mem"), b));
    const std::string data = path("data");
    {
        Sim radio({"--baud", "0", "--memory", path("a.mem")});
        ASSERT_EQ(
            run({"read", "--port", radio.device(), "-o", path("doc.dat"), "--yes"}, data).status,
            0);
    }

    // The backup read (memory and information: two sessions) meets radio A; then the cable is
    // on radio B, whose identity no longer matches: nothing is written to either radio.
    Sim radio({"--baud", "0", "--memory", path("a.mem"), "--swap-after", "2", path("b.mem")});
    const ProgramRun write =
        run({"write", "--port", radio.device(), path("doc.dat"), "--yes"}, data);
    EXPECT_EQ(write.status, 1);
    EXPECT_NE(write.err.find("not the one that was backed up"), std::string::npos) << write.err;
    EXPECT_NE(write.err.find("00000002"), std::string::npos) << write.err;
    const std::string report = radio.stop();
    EXPECT_NE(report.find(" 0 block writes"), std::string::npos) << report;
    EXPECT_NE(report.find("now the radio of"), std::string::npos) << report;
    std::string afterA;
    std::string afterB;
    ASSERT_TRUE(readFileBytes(path("a.mem"), afterA));
    ASSERT_TRUE(readFileBytes(path("b.mem"), afterB));
    EXPECT_TRUE(afterA == a);
    EXPECT_TRUE(afterB == b);
    EXPECT_TRUE(snapshots("_written").empty());

    // Radios with A's serial number but another version (identity bytes 8696-8699) or another
    // band (byte 8694, 1 on A: model "ZT-958" of band 1 is shown as ZT-958FM band 0): not the
    // radio backed up either.
    struct Other {
        std::size_t at;
        std::string bytes;
        std::string seen;
    };
    ASSERT_EQ(a.substr(8694, 6), std::string("\x01\x00V300", 6));
    for (const Other& o : {Other{8696, "V301", "now ZT-958FM band 0 V301"},
                           Other{8694, "\x08", "now ZT-958 band 8 V300"}}) {
        std::string other = a;
        other.replace(o.at, o.bytes.size(), o.bytes);
        ASSERT_TRUE(replaceFileBytes(path("other.mem"), other));
        Sim swapped(
            {"--baud", "0", "--memory", path("a.mem"), "--swap-after", "2", path("other.mem")});
        const ProgramRun again =
            run({"write", "--port", swapped.device(), path("doc.dat"), "--yes"}, data);
        EXPECT_EQ(again.status, 1);
        EXPECT_NE(again.err.find(o.seen), std::string::npos) << again.err;
        const std::string report = swapped.stop();
        EXPECT_NE(report.find(" 0 block writes"), std::string::npos) << report;
    }
}

TEST_F(CliHistory, AnInteractiveWriteAsksOnceAfterShowingWhatChanges)
{
    Sim radio({"--create", "--baud", "0"});
    const std::string data = path("data");
    ASSERT_EQ(run({"read", "--port", radio.device(), "-o", path("doc.dat"), "--yes"}, data).status,
              0);
    const ProgramRun write =
        runOnTerminal({"write", "--port", radio.device(), path("doc.dat")}, data);
    EXPECT_EQ(write.status, 0) << write.err;
    // The preview's question only: not the backup read's, not the write's own again.
    EXPECT_EQ(questions(write.err), 1u) << write.err;
    EXPECT_NE(write.err.find("Write to the radio? [y/N]"), std::string::npos) << write.err;
    const std::string report = radio.stop();
    EXPECT_NE(report.find(" 580 block writes"), std::string::npos) << report;
}

// Ctrl-C at the write's question ends the command with 130 and writes nothing; the answer
// line is ended, so the shell's prompt does not follow the message on the question's line.
TEST_F(CliHistory, CtrlCAtTheWritesQuestionWritesNothing)
{
    Sim radio({"--create", "--baud", "0"});
    const std::string data = path("data");
    ASSERT_EQ(run({"read", "--port", radio.device(), "-o", path("doc.dat"), "--yes"}, data).status,
              0);
    const ProgramRun write =
        runOnTerminal({"write", "--port", radio.device(), path("doc.dat")}, data, true);
    EXPECT_EQ(write.status, 130) << write.err;
    EXPECT_NE(write.err.find("[y/N] \r\nNothing was written."), std::string::npos) << write.err;
    EXPECT_TRUE(snapshots("_written").empty());
    EXPECT_NE(radio.stop().find(" 0 block writes"), std::string::npos);
}

// A raw image goes back into its radio: the preview of the radio's own image finds nothing to
// change, and another band's image is refused without a backup read as well as with one.
TEST_F(CliHistory, ARawImageIsWrittenBackAndAnotherBandsIsRefusedWithoutABackup)
{
    Sim radio({"--create", "--baud", "0"});
    const std::string data = path("data");
    ASSERT_EQ(run({"read", "--port", radio.device(), "--raw", path("a.img"), "--yes"}, data).status,
              0);
    const ProgramRun same =
        run({"write", "--port", radio.device(), "--raw", path("a.img"), "--yes"}, data);
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, "Nothing differs: the radio already holds these settings.\n");

    std::string image;
    ASSERT_TRUE(readFileBytes(path("a.img"), image));
    image[8694] = 8;  // band byte: band 8 instead of the radio's
    ASSERT_TRUE(replaceFileBytes(path("band8.img"), image));
    const std::string before = radio.stop();
    Sim again({"--create", "--baud", "0"});
    const ProgramRun band =
        run({"write", "--port", again.device(), "--raw", path("band8.img"), "--yes", "--no-backup"},
            data);
    EXPECT_EQ(band.status, 1) << band.err;
    EXPECT_NE(again.stop().find(" 0 block writes"), std::string::npos);
    EXPECT_NE(before.find(" 580 block writes"), std::string::npos) << before;
}

// Ctrl-C while diff reads the radio stops it as it stops a read: exit 130, nothing kept.
TEST_F(CliHistory, CtrlCWhileDiffReadsTheRadioExits130)
{
    Sim radio({"--create", "--baud", "9600"});
    ASSERT_TRUE(writeDataFile(path("a.dat"), RadioDocument{}));
    QProcess diff;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", QString::fromStdString(path("data")));
    diff.setProcessEnvironment(env);
    diff.start(QStringLiteral(ZT_CLI_PATH),
               toQt({"diff", "--port", radio.device(), path("a.dat"), "--yes"}));
    ASSERT_TRUE(diff.waitForStarted(10000));
    diff.waitForFinished(1500);  // the read of a radio at 9600 baud takes longer
    ASSERT_EQ(diff.state(), QProcess::Running);
    ::kill(static_cast<pid_t>(diff.processId()), SIGINT);
    ASSERT_TRUE(diff.waitForFinished(10000));
    EXPECT_EQ(diff.exitCode(), 130) << diff.readAllStandardError().toStdString();
    EXPECT_TRUE(snapshots(".snapshot").empty());
}

}  // namespace
}  // namespace zt
