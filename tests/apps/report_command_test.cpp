// ztp958fm-cli report: option parsing in-process, and the real program run without a display.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "apps/cli/report_command.h"
#include "core/files/data_file.h"
#include "core/radio/channel_edit.h"
#include "support/pdf_tools.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

using zt::test::hasPageMark;
using zt::test::pdfInfo;
using zt::test::pdfPageCount;
using zt::test::pdfText;

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST(ReportArgs, ParsesPaperAndLanguageAndRefusesMisuse)
{
    ReportArgs a;
    EXPECT_EQ(
        parseReportArgs(
            {"report", "x.dat", "-o", "r.pdf", "--paper", "letter", "--language", "chinese"}, a),
        "");
    EXPECT_EQ(a.input, "x.dat");
    EXPECT_EQ(a.output, "r.pdf");
    EXPECT_TRUE(a.letter);
    EXPECT_EQ(a.language, 2);

    const std::vector<std::vector<std::string>> misuse = {
        {"report", "x.dat"},                                  // no -o
        {"report", "-o", "r.pdf"},                            // no data file
        {"report", "x.dat", "-o", "r.pdf", "--paper", "a3"},  // unknown paper
        {"report", "x.dat", "-o", "r.pdf", "--language", "klingon"},
        {"report", "x.dat", "-o", "r.pdf", "--group", "3"},  // not an option of report
        {"report", "x.dat", "y.dat", "-o", "r.pdf"},
        {"report", "x.dat", "-o"},
    };
    for (const auto& args : misuse) {
        ReportArgs b;
        EXPECT_NE(parseReportArgs(args, b), "") << args.back();
    }
}

struct CliRun {
    int status = -1;
    std::string out, err;
};

// The staged program, with no display and no platform chosen: it must pick one itself.
CliRun runCli(const QStringList& args, const QProcessEnvironment& extra = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& key : extra.keys()) env.insert(key, extra.value(key));
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    p.setProcessEnvironment(env);
    p.start(QString(ZT_STAGE_DIR) + "/ztp958fm-cli", args);
    CliRun r;
    if (!p.waitForStarted(10000) || !p.waitForFinished(120000)) return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

class ReportCli : public ::testing::Test {
  protected:
    QString path(const char* name) const { return dir.filePath(name); }
    QString shippedData() const { return QString(ZT_STAGE_DIR) + "/Init/ZT-958FM_0.dat"; }
    QTemporaryDir dir;
};

TEST_F(ReportCli, WritesTheChannelListOfADataFileWithoutADisplay)
{
    const QString pdf = path("report.pdf");
    const CliRun r = runCli({"report", shippedData(), "-o", pdf});
    ASSERT_EQ(r.status, 0) << r.err;
    const int pages = pdfPageCount(pdf);
    ASSERT_GT(pages, 1);
    EXPECT_TRUE(contains(r.out, "wrote " + std::to_string(pages) + " pages")) << r.out;
    const std::string text = pdfText(pdf);
    for (const char* expected : {"26.96500", "ZT-958FM_0.dat", "ZT-958FM"})
        EXPECT_TRUE(contains(text, expected)) << expected;
    EXPECT_TRUE(hasPageMark(text, 1, pages));
    EXPECT_TRUE(hasPageMark(text, pages, pages));
    EXPECT_TRUE(contains(pdfInfo(pdf, "Page size"), "(A4)"));
}

TEST_F(ReportCli, LetterPaperAndChineseTexts)
{
    const QString pdf = path("letter.pdf");
    const CliRun r =
        runCli({"report", shippedData(), "-o", pdf, "--paper", "letter", "--language", "chinese"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(contains(pdfInfo(pdf, "Page size"), "612 x 792")) << pdfInfo(pdf, "Page size");
    const std::string text = pdfText(pdf);
    EXPECT_TRUE(contains(text, "信道列表与设置")) << text.substr(0, 400);
    EXPECT_TRUE(contains(text, "主要设置"));
}

// A system whose only fonts are DejaVu (a fontconfig set-up naming that folder alone) cannot
// draw Chinese: the report is refused with the font package to install, not drawn as boxes.
TEST_F(ReportCli, ChineseReportWithoutAChineseFontFailsAndNamesTheFontPackage)
{
    const QString dejavu = "/usr/share/fonts/truetype/dejavu";
    ASSERT_TRUE(QDir(dejavu).exists()) << "install fonts-dejavu-core (scripts/install-deps.sh)";
    const QString config = path("fonts.conf");
    std::ofstream(config.toStdString())
        << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
        << "<dir>" << dejavu.toStdString() << "</dir>\n"
        << "<cachedir>" << path("font-cache").toStdString() << "</cachedir>\n</fontconfig>\n";
    QProcessEnvironment dejavuOnly;
    dejavuOnly.insert("FONTCONFIG_FILE", config);

    const QString zh = path("zh.pdf");
    CliRun r = runCli({"report", shippedData(), "-o", zh, "--language", "chinese"}, dejavuOnly);
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_TRUE(contains(r.err, "fonts-wqy-microhei")) << r.err;
    EXPECT_TRUE(contains(r.err, "信道")) << r.err;
    EXPECT_FALSE(contains(r.out, "wrote"));
    EXPECT_FALSE(QFile::exists(zh));

    // The same fonts draw an English report.
    const QString en = path("en.pdf");
    r = runCli({"report", shippedData(), "-o", en, "--language", "english"}, dejavuOnly);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(contains(pdfText(en), "Channel list and settings"));
}

TEST_F(ReportCli, BadInputAndUnwritableOutputFailWithoutLeavingAFile)
{
    const QString garbage = path("garbage.dat");
    std::ofstream(garbage.toStdString()) << "not a data file";
    const QString pdf = path("out.pdf");
    CliRun r = runCli({"report", garbage, "-o", pdf});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.err, "cannot read data file")) << r.err;
    EXPECT_FALSE(QFile::exists(pdf));

    const QString nowhere = path("missing-folder/out.pdf");
    r = runCli({"report", shippedData(), "-o", nowhere});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.err, "cannot write")) << r.err;
    EXPECT_FALSE(QFile::exists(nowhere));
    EXPECT_TRUE(QDir(dir.path()).entryList({"out*"}, QDir::Files).isEmpty());

    r = runCli({"report", shippedData(), "-o"});
    EXPECT_EQ(r.status, 2);
}

TEST_F(ReportCli, NeverOverwritesTheDataFileItReads)
{
    RadioDocument doc;
    newChannel(doc, 1, "02696500");
    const fs::path data = dir.filePath("mine.dat").toStdString();
    ASSERT_TRUE(writeDataFile(data, doc));
    const auto size = fs::file_size(data);
    for (const char* target : {"mine.dat", "mine.fre"}) {
        const CliRun r =
            runCli({"report", QString::fromStdString(data.string()), "-o", path(target)});
        EXPECT_EQ(r.status, 2) << target;
        EXPECT_TRUE(contains(r.err, "name of its own")) << r.err;
    }
    EXPECT_EQ(fs::file_size(data), size);
    EXPECT_EQ(readDataFile(data).messageId, 0);
}

}  // namespace
}  // namespace zt
