// The staged command-line program as a user runs it: no command writes over a file it reads,
// and every failure ends with a message and exit status 1, never an abort.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "core/files/data_file.h"
#include "core/radio/channel_edit.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;  // -2: the program crashed
    std::string err;
};

class CommandFiles : public ::testing::Test {
  protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("zt_command_files_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        RadioDocument doc;
        doc.Data.Version = "V300";
        newChannel(doc, 401, "02700000");
        ASSERT_TRUE(writeDataFile(dir_ / "a.dat", doc));
        ASSERT_TRUE(writeDataFile(dir_ / "b.dat", doc));
        write("c.csv", "Location,Frequency\n402,28.0\n");
        write("a.csv", "Location,Frequency\n403,28.5\n");
        write("i.json", "{}\n");
    }
    void TearDown() override { fs::remove_all(dir_); }

    void write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    // Every file of the folder with its contents.
    std::map<std::string, std::string> snapshot() const
    {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::directory_iterator(dir_)) {
            if (!e.is_regular_file()) continue;
            std::ifstream in(e.path(), std::ios::binary);
            files[e.path().filename().string()] =
                std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        return files;
    }
    // The staged program, run in the test's folder.
    CliRun run(const QStringList& args) const
    {
        QProcess p;
        p.setWorkingDirectory(QString::fromStdString(dir_.string()));
        p.start(QString(ZT_STAGE_DIR) + "/ztp958fm-cli", args);
        CliRun r;
        if (!p.waitForStarted(10000) || !p.waitForFinished(60000)) return r;
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        r.err = p.readAllStandardError().toStdString();
        return r;
    }

    fs::path dir_;
};

TEST_F(CommandFiles, NoCommandWritesOverAFileItReads)
{
    fs::create_hard_link(dir_ / "a.dat", dir_ / "same-as-a.dat");
    const QStringList cases[] = {
        {"export", "a.dat", "-o", "a.dat"},
        {"export", "a.dat", "-o", "./a.dat"},
        {"export", "a.dat", "-o", "a.fre"},
        {"export", "a.dat", "-o", "same-as-a.dat"},
        // The output b.txt has the channel file b.fre: the input's own.
        {"import", "c.csv", "--into", "b.dat", "-o", "b.txt"},
        {"import", "a.csv", "--into", "a.dat", "-o", "a.csv"},
        {"import", "a.csv", "--into", "a.dat", "-o",
         "../" + QString::fromStdString(dir_.filename().string()) + "/a.dat"},
        {"report", "a.dat", "-o", "a.fre"},
        {"write", "a.dat", "--port", "/dev/null", "--yes", "--trace", "a.fre"},
        {"info-write", "i.json", "--port", "/dev/null", "--yes", "--trace", "i.json"},
        {"read", "--port", "/dev/null", "-o", "r.dat", "--yes", "--trace", "r.fre"},
    };
    const auto before = snapshot();
    for (const QStringList& args : cases) {
        const CliRun r = run(args);
        const std::string shown = args.join(' ').toStdString();
        EXPECT_EQ(r.status, 2) << shown << "\n" << r.err;
        EXPECT_NE(r.err.find("name of its own"), std::string::npos) << shown << "\n" << r.err;
        EXPECT_EQ(snapshot(), before) << shown;
    }
}

TEST_F(CommandFiles, EveryCommandEndsAFailedReadWithAMessage)
{
    fs::create_directory(dir_ / "folder");
    write("empty", "");
    write("binary", std::string("\x7F"
                                "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0",
                                20) +
                        std::string(3000, '\0'));
    // A file every user, root included, fails to read: reading the start of a process's
    // memory gives an input/output error.
    const bool unreadable = fs::exists("/proc/self/mem");
    QStringList inputs = {"folder", "empty", "binary"};
    if (unreadable) inputs << "/proc/self/mem";
    for (const QString& x : inputs) {
        const QStringList commands[] = {
            {"show", x},
            {"export", x, "-o", "out.csv"},
            {"import", x, "--into", "a.dat", "-o", "out.dat"},
            {"import", "c.csv", "--into", x, "-o", "out.dat"},
            {"report", x, "-o", "out.pdf"},
            {"write", x, "--port", "/dev/null", "--yes"},
            {"info-write", x, "--port", "/dev/null", "--yes"},
        };
        for (const QStringList& args : commands) {
            const CliRun r = run(args);
            const std::string shown = args.join(' ').toStdString();
            EXPECT_EQ(r.status, 1) << shown << "\n" << r.err;
            EXPECT_FALSE(r.err.empty()) << shown;
            for (const char* out : {"out.csv", "out.dat", "out.fre", "out.pdf"})
                EXPECT_FALSE(fs::exists(dir_ / out)) << shown;
        }
    }
}

}  // namespace
}  // namespace zt
