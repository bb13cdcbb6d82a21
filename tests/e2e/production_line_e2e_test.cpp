// The production commands end to end: ztp958fm-cli against virtual radios on
// pseudo-terminals, several at once.

#include <signal.h>

#include <QProcess>

#include "core/link/fresh_radio.h"
#include "core/production/unit_log.h"
#include "e2e_programs.h"

namespace zt::e2e {
namespace {

class ProductionEndToEnd : public CliEndToEnd {
  protected:
    // A radio memory file with its own serial number.
    std::string radioFile(const std::string& name, const std::string& serial)
    {
        FreshRadioOptions o;
        o.serialNumber = serial;
        const RadioMemory m = freshRadioMemory(o);
        const std::string file = path(name);
        EXPECT_TRUE(
            replaceFileBytes(file, std::string(reinterpret_cast<const char*>(m.data()), m.size())));
        return file;
    }

    // A document read from a radio, and a job that writes it with the dealer's fields.
    std::string dealerJob()
    {
        Sim source({"--create", "--baud", "0"});
        const ProgramRun read =
            cli({"read", "--port", source.device(), "-o", path("shop.dat"), "--yes"});
        EXPECT_EQ(read.status, 0) << read.err;
        const std::string job = path("job.json");
        EXPECT_TRUE(replaceFileBytes(job, R"({
  "document": "shop.dat",
  "info": {"program_password": "", "dealer_code": "DL-7", "stock_in_date": "2026-12-01",
           "sale_date": "2026-12-09", "seller": "Bob", "serial_number": "2026120900000041"},
  "require": {"model": "ZT-958FM", "firmware": "V300"}
})"));
        return job;
    }
};

// Runs the command line until its standard output shows `marker`, then
// stops it with Ctrl-C (SIGINT).
ProgramRun runUntilThenStop(const std::vector<std::string>& args, const std::string& marker,
                            int signal = SIGINT)
{
    QProcess p;
    p.start(QStringLiteral(ZT_CLI_PATH), toQt(args));
    ProgramRun r;
    if (!p.waitForStarted(10000)) return r;
    while (r.out.find(marker) == std::string::npos && p.state() == QProcess::Running) {
        p.waitForReadyRead(200);
        r.out += p.readAllStandardOutput().toStdString();
    }
    ::kill(static_cast<pid_t>(p.processId()), signal);
    if (!p.waitForFinished(10000)) p.kill();
    r.out += p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    return r;
}

// The dealer code field of the information block: 16 bytes at 0x3F00 + 192.
std::string dealerCode(const RadioMemory& m)
{
    std::string s;
    for (int i = 0x3FC0; i < 0x3FD0 && m[i] != 0x00 && m[i] != 0xFF; ++i)
        s.push_back(static_cast<char>(m[i]));
    return s;
}

TEST_F(ProductionEndToEnd, LineWritesTwoRadiosAtOnceAndLogsEach)
{
    const std::string job = dealerJob();
    const std::string m1 = radioFile("r1.bin", "2026010100000011");
    const std::string m2 = radioFile("r2.bin", "2026010100000012");
    Sim a({"--memory", m1, "--baud", "0"});
    Sim b({"--memory", m2, "--baud", "0"});

    const ProgramRun id = cli({"identify", "--port", b.device(), "--json"});
    ASSERT_EQ(id.status, 0) << id.err;
    EXPECT_NE(id.out.find("\"model\": \"ZT-958FM\""), std::string::npos) << id.out;
    EXPECT_NE(id.out.find("\"serial_number\": \"2026010100000012\""), std::string::npos) << id.out;
    EXPECT_NE(id.out.find("\"band\": \"25.615 - 30.105 MHz\""), std::string::npos) << id.out;

    const ProgramRun line = cli({"line", job, "--port", a.device(), "--port", b.device(), "--count",
                                 "2", "--log", path("units.csv")});
    ASSERT_EQ(line.status, 0) << line.err;
    EXPECT_NE(line.err.find("done 2, failed 0, skipped 0"), std::string::npos) << line.err;
    a.stop();
    b.stop();
    EXPECT_EQ(dealerCode(readMemoryFile(m1)), "DL-7");
    EXPECT_EQ(dealerCode(readMemoryFile(m2)), "DL-7");

    std::string log;
    ASSERT_TRUE(readFileBytes(path("units.csv"), log));
    EXPECT_EQ(log.rfind(unitLogHeader(), 0), 0u) << log;
    const ResumeState done = readResumeState(log);
    EXPECT_EQ(done.doneSerials, (std::set<std::string>{"2026010100000011", "2026010100000012"}));
    // Counted on once per radio written.
    EXPECT_NE(log.find(",2026120900000041,done,"), std::string::npos) << log;
    EXPECT_NE(log.find(",2026120900000042,done,"), std::string::npos) << log;

    // Resumed: the radio already done is not written again; a new one is, and
    // the counted serial number goes on after the log's last.
    Sim again({"--memory", m1, "--baud", "0"});
    Sim fresh({"--memory", radioFile("r3.bin", "2026010100000013"), "--baud", "0"});
    const ProgramRun resumed =
        cli({"line", job, "--port", again.device(), "--port", fresh.device(), "--count", "1",
             "--resume", path("units.csv"), "--log", path("units.csv")});
    EXPECT_EQ(resumed.status, 0) << resumed.err;
    EXPECT_NE(resumed.out.find("2026010100000011 skipped"), std::string::npos) << resumed.out;
    EXPECT_NE(resumed.err.find("done 1, failed 0, skipped 1"), std::string::npos) << resumed.err;
    const std::string report = again.stop();
    EXPECT_NE(report.find(" 0 block writes"), std::string::npos) << report;
    ASSERT_TRUE(readFileBytes(path("units.csv"), log));
    EXPECT_NE(log.find("2026010100000013,ZT-958FM"), std::string::npos) << log;
    EXPECT_NE(log.find(",2026120900000043,done,"), std::string::npos) << log;
}

TEST_F(ProductionEndToEnd, CtrlCStopsTheLineAndClosesTheLog)
{
    const std::string job = dealerJob();
    Sim radio({"--memory", radioFile("r1.bin", "2026010100000021"), "--baud", "0"});
    const ProgramRun line = runUntilThenStop(
        {"line", job, "--port", radio.device(), "--log", path("units.csv")}, " done ");
    EXPECT_EQ(line.status, 130);
    const std::string& err = line.err;
    EXPECT_NE(err.find("done 1, failed 0, skipped 0"), std::string::npos) << err;
    std::string log;
    ASSERT_TRUE(readFileBytes(path("units.csv"), log));
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;
    const std::string report = radio.stop();
    // The radio was let go with END, not left in its programming mode.
    EXPECT_NE(report.find(" ends"), std::string::npos) << report;
    EXPECT_EQ(report.find(" 0 ends"), std::string::npos) << report;
}

TEST_F(ProductionEndToEnd, AKilledLineHasLoggedEveryRadioItFinished)
{
    const std::string job = dealerJob();
    Sim radio({"--memory", radioFile("r1.bin", "2026010100000031"), "--baud", "0"});
    const ProgramRun line = runUntilThenStop(
        {"line", job, "--port", radio.device(), "--log", path("units.csv")}, " done ", SIGKILL);
    EXPECT_EQ(line.status, -2);
    std::string log;
    ASSERT_TRUE(readFileBytes(path("units.csv"), log));
    EXPECT_EQ(readResumeState(log).doneSerials, (std::set<std::string>{"2026010100000031"}));
}

TEST_F(ProductionEndToEnd, ABadJobIsRefusedBeforeAnyPortIsOpened)
{
    ASSERT_TRUE(replaceFileBytes(path("bad.json"),
                                 "{\n  \"document\": \"shop.dat\",\n  \"seller\": \"Bob\"\n}"));
    const ProgramRun r = cli({"line", path("bad.json"), "--port", "/dev/null"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("line 3: unknown key \"seller\""), std::string::npos) << r.err;
    ASSERT_TRUE(replaceFileBytes(path("nodoc.json"), R"({"document": "missing.dat"})"));
    const ProgramRun missing = cli({"line", path("nodoc.json"), "--port", "/dev/null"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("missing.dat cannot be used"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace zt::e2e
