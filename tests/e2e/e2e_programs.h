#pragma once

// Running the real programs for end-to-end tests: a program run to its end
// with its exit status and output, a virtual radio on a pseudo-terminal, and a
// fixture with a scratch folder.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <string>
#include <vector>

#include "core/files/ini_profile.h"
#include "core/files/language.h"
#include "core/link/virtual_radio.h"

namespace zt::e2e {

namespace fs = std::filesystem;

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline QStringList toQt(const std::vector<std::string>& args)
{
    QStringList list;
    for (const auto& a : args) list << QString::fromStdString(a);
    return list;
}

inline ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                             int timeoutMs = 60000)
{
    QProcess p;
    p.start(QString::fromStdString(program), toQt(args));
    ProgramRun r;
    if (!p.waitForStarted(10000)) {
        r.err = "could not start " + program;
        return r;
    }
    p.closeWriteChannel();  // never a terminal: questions are answered by the options
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(2000);
        r.err = "timed out";
        return r;
    }
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    return r;
}

inline ProgramRun cli(const std::vector<std::string>& args)
{
    return runProgram(ZT_CLI_PATH, args);
}

// A running virtual radio; stopped (and killed if need be) when it goes out of scope.
class Sim {
  public:
    explicit Sim(const std::vector<std::string>& args)
    {
        process_.start(QStringLiteral(ZT_SIM_PATH), toQt(args));
        if (!process_.waitForStarted(10000)) return;
        while (!process_.canReadLine() && process_.waitForReadyRead(10000)) {
        }
        device_ = process_.readLine().trimmed().toStdString();
    }
    ~Sim()
    {
        if (process_.state() == QProcess::NotRunning) return;
        process_.terminate();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
    const std::string& device() const { return device_; }
    // Sends `signal` to the virtual radio (SIGUSR1 pulls or plugs the cable).
    void signal(int signal) { ::kill(static_cast<pid_t>(process_.processId()), signal); }
    // Stops the radio and returns what it reported on standard error (its counters).
    std::string stop()
    {
        process_.terminate();
        process_.waitForFinished(5000);
        return process_.readAllStandardError().toStdString();
    }

  private:
    QProcess process_;
    std::string device_;
};

inline std::string stagedText(int id, const char* file = "english.ini")
{
    return readLangTextFromFile(fs::path(ZT_STAGE_DIR) / "language" / file, id);
}

class CliEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("zt_e2e_" + std::to_string(::getpid()) + "_" +
                                            std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
};

inline RadioMemory readMemoryFile(const std::string& file)
{
    RadioMemory m{};
    std::string bytes;
    if (readFileBytes(file, bytes) && bytes.size() == m.size())
        std::copy(bytes.begin(), bytes.end(), reinterpret_cast<char*>(m.data()));
    return m;
}

}  // namespace zt::e2e
