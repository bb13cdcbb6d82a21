// File > Print... and File > Export PDF... of the programming program, and the PDF drawing they
// share with the command line, read back with the poppler tools.

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPrinter>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "core/files/data_file.h"
#include "core/radio/channel_edit.h"
#include "gui/report/paint/report_pdf.h"
#include "gui/report/report_commands.h"
#include "gui/shell/shell_fixture.h"
#include "support/pdf_tools.h"

namespace zt::gui::test {
namespace {

using zt::test::hasPageMark;
using zt::test::pdfInfo;
using zt::test::pdfPageCount;
using zt::test::pdfText;

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class ReportCommands : public ::testing::Test {
  protected:
    ReportCommands() : program(install)
    {
        RadioDocument doc;
        newChannel(doc, 1, "02696500");
        ChannelRecord& shifted = newChannel(doc, 401, "02700000");
        shifted.ShiftDir = 2;
        shifted.OffsetFre = "0010000";
        shifted.EncodeTone = 13;
        newChannel(doc, 521, "02786000");
        program.app.documents.working() = doc;
        program.app.documents.setFileName(dataFile());
    }

    fs::path dataFile() const { return install.root() / "club.dat"; }
    QString pdfPath(const char* name) const
    {
        return QString::fromStdString((install.root() / name).string());
    }
    bool exportPdf(const QString& chosen, std::function<void()> commit = {})
    {
        program.prompt.files = {chosen};
        return exportOpenDocumentPdf(program.app, commit);
    }
    void useChinese()
    {
        program.app.currentLanguage = kLanguageChinese;
        program.app.texts.setLanguage(kLanguageChinese);
    }

    ShellInstall install;
    ShellProgram program;
};

TEST_F(ReportCommands, ExportPdfWritesTheCommittedDocumentWithHeaderAndPageNumbers)
{
    // The pending-edit step runs before the report is made: what it writes is printed.
    const QString pdf = pdfPath("club.pdf");
    bool committed = false;
    ASSERT_TRUE(exportPdf(pdf, [&] {
        committed = true;
        newChannel(program.app.documents.working(), 450, "02812500");
    }));
    EXPECT_TRUE(committed);
    ASSERT_EQ(program.prompt.fileRequests.size(), 1u);
    const FileDialogRequest& request = program.prompt.fileRequests[0];
    EXPECT_TRUE(request.save);
    EXPECT_TRUE(request.initialPath.endsWith("club.pdf")) << request.initialPath.toStdString();
    EXPECT_TRUE(request.filters.join(";").contains("*.pdf"));

    const std::string text = pdfText(pdf);
    for (const char* expected : {"26.96500", "27.00000", "+0.10000", "27.10000", "100.0",
                                 "28.12500", "27.86000", "ZT-958FM", "25.615 - 30.105 MHz",
                                 "club.dat", "Channel list and settings", "Main settings", "Off"})
        EXPECT_TRUE(contains(text, expected)) << expected << "\n" << text;
    EXPECT_TRUE(hasPageMark(text, 1, zt::test::pdfPageCount(pdf))) << text;
    EXPECT_TRUE(program.prompt.asked.empty());
}

TEST_F(ReportCommands, ExportPdfFailuresAreReportedAndLeaveNothingBehind)
{
    // Cancelled dialog: nothing asked, nothing written.
    program.prompt.files = {std::nullopt};
    EXPECT_FALSE(exportOpenDocumentPdf(program.app, {}));
    EXPECT_TRUE(program.prompt.asked.empty());

    // A folder that does not exist: the message names the file, no file appears.
    const QString missing = pdfPath("no-such-folder/club.pdf");
    EXPECT_FALSE(exportPdf(missing));
    EXPECT_EQ(program.prompt.askedIds(), (std::vector<int>{text::msg::ReportPdfNotWritten}));
    EXPECT_TRUE(contains(program.prompt.asked.back().message.text, missing.toStdString()));
    EXPECT_FALSE(QFile::exists(missing));

    // The data file itself (or its channel file) is never replaced by a report.
    ASSERT_TRUE(writeDataFile(dataFile(), program.app.documents.working()));
    const auto before = fs::file_size(dataFile());
    for (const fs::path& target : {dataFile(), companionPath(dataFile())}) {
        program.prompt.asked.clear();
        EXPECT_FALSE(exportPdf(QString::fromStdString(target.string())));
        EXPECT_EQ(program.prompt.askedIds(),
                  (std::vector<int>{text::msg::ReportWouldReplaceDataFile}));
    }
    EXPECT_EQ(fs::file_size(dataFile()), before);
    EXPECT_EQ(readDataFile(dataFile()).messageId, 0);

    // A name without a suffix gets ".pdf".
    program.prompt.asked.clear();
    EXPECT_TRUE(exportPdf(pdfPath("plain")));
    EXPECT_TRUE(QFile::exists(pdfPath("plain.pdf")));
}

TEST_F(ReportCommands, PrintGoesThroughThePrintDialogOfThePromptService)
{
    // Cancelled print dialog: nothing printed, nothing asked.
    EXPECT_FALSE(printOpenDocument(program.app, {}));
    EXPECT_EQ(program.prompt.printDialogs.size(), 1u);
    EXPECT_TRUE(program.prompt.asked.empty());

    const QString out = pdfPath("printed.pdf");
    program.prompt.printHandler = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out);
        return true;
    };
    bool committed = false;
    EXPECT_TRUE(printOpenDocument(program.app, [&] { committed = true; }));
    EXPECT_TRUE(committed);
    EXPECT_EQ(program.prompt.printDialogs.back(), "Print");
    const std::string text = pdfText(out);
    EXPECT_TRUE(contains(text, "26.96500")) << text;
    EXPECT_TRUE(hasPageMark(text, 1, zt::test::pdfPageCount(out))) << text;
}

TEST_F(ReportCommands, ChineseReportDrawsItsTextsWithAnInstalledFont)
{
    useChinese();
    const QString pdf = pdfPath("zh.pdf");
    ASSERT_TRUE(exportPdf(pdf));
    const std::string text = pdfText(pdf);
    for (const char* expected : {"信道列表与设置", "型号", "主要设置", "公共设置", "26.96500"})
        EXPECT_TRUE(contains(text, expected)) << expected << "\n" << text;
    EXPECT_EQ(program.prompt.fileRequests.back().title, "导出 PDF");  // no "(E)" accelerator
}

TEST_F(ReportCommands, LongListsRunOverPagesWithTheHeaderAndPageNumbersOnEach)
{
    RadioDocument& doc = program.app.documents.working();
    doc = RadioDocument{};
    for (int ch = 1; ch <= 200; ++ch) {
        const int tenKhz = 2600000 + ch * 500;  // 26.00500, 26.01000, ...
        char rx[9];
        std::snprintf(rx, sizeof rx, "%08d", tenKhz);
        newChannel(doc, ch, rx);
    }
    const QString pdf = pdfPath("long.pdf");
    ASSERT_TRUE(exportPdf(pdf));
    const int pages = pdfPageCount(pdf);
    ASSERT_GE(pages, 4);
    std::string all;
    for (int p = 1; p <= pages; ++p) {
        const std::string page = pdfText(pdf, p);
        EXPECT_TRUE(contains(page, "ZT-958FM")) << "page " << p;
        EXPECT_TRUE(contains(page, "club.dat")) << "page " << p;
        EXPECT_TRUE(hasPageMark(page, p, pages)) << "page " << p << "\n" << page;
        all += page;
    }
    // Every row arrives whole on some page.
    for (int ch = 1; ch <= 200; ++ch) {
        const int tenKhz = 2600000 + ch * 500;
        char mhz[16];
        std::snprintf(mhz, sizeof mhz, "%d.%05d", tenKhz / 100000, tenKhz % 100000);
        EXPECT_TRUE(contains(all, mhz)) << mhz;
    }
}

// Channels with every flag set print all their flags: a row grows to more lines instead of
// cutting the Flags column, and stays whole on one page. The numbered flags (BOT5, CALL16, ...)
// are counted per page against the rows whose receive frequency stands on that page.
TEST_F(ReportCommands, EveryFlagOfEveryRowIsPrintedOnTheRowsOwnPage)
{
    RadioDocument& doc = program.app.documents.working();
    doc = RadioDocument{};
    const int count = 150;
    std::map<std::string, std::vector<std::string>> flagsByFrequency;
    for (int ch = 1; ch <= count; ++ch) {
        char rx[9];
        std::snprintf(rx, sizeof rx, "%08d", 2600000 + ch * 500);
        ChannelRecord& c = newChannel(doc, ch, rx);
        c.ScanSkip = c.Tsq = c.RxExpand = c.TxCompress = c.NbAnl = c.Attenuator = c.HiCut = 1;
        c.BusyChannelLock = static_cast<std::int16_t>(1 + ch % 2);
        c.RBTone = static_cast<std::int16_t>(1 + ch % 8);
        c.SquelchMode = 1;
        c.BotCode = static_cast<std::int16_t>(1 + ch % 16);
        c.EotCode = static_cast<std::int16_t>(1 + (ch + 5) % 16);
        c.CallCode = static_cast<std::int16_t>(1 + (ch + 11) % 16);
        char mhz[16];
        std::snprintf(mhz, sizeof mhz, "%d.%05d", (2600000 + ch * 500) / 100000,
                      (2600000 + ch * 500) % 100000);
        flagsByFrequency[mhz] = {"BCL" + std::to_string(c.BusyChannelLock),
                                 "RB" + std::to_string(c.RBTone),
                                 "SQ1",
                                 "BOT" + std::to_string(c.BotCode),
                                 "EOT" + std::to_string(c.EotCode),
                                 "CALL" + std::to_string(c.CallCode)};
    }
    const QString pdf = pdfPath("flags.pdf");
    ASSERT_TRUE(exportPdf(pdf));
    const int pages = pdfPageCount(pdf);
    ASSERT_GE(pages, 3);

    const std::regex numberedFlag(R"(\b(BCL|RB|SQ|BOT|EOT|CALL)\d+\b)");
    const std::regex frequency(R"(\b2[67]\.\d{5}\b)");
    int rowsSeen = 0;
    for (int p = 1; p <= pages; ++p) {
        const std::string page = pdfText(pdf, p);
        // A row shows its frequency twice (receive and transmit): counted once.
        std::set<std::string> rows;
        for (auto it = std::sregex_iterator(page.begin(), page.end(), frequency);
             it != std::sregex_iterator(); ++it)
            if (flagsByFrequency.count(it->str()) != 0) rows.insert(it->str());
        std::map<std::string, int> expected, printed;
        for (const std::string& row : rows)
            for (const std::string& flag : flagsByFrequency[row]) ++expected[flag];
        rowsSeen += static_cast<int>(rows.size());
        for (auto it = std::sregex_iterator(page.begin(), page.end(), numberedFlag);
             it != std::sregex_iterator(); ++it)
            ++printed[it->str()];
        EXPECT_EQ(printed, expected) << "page " << p << "\n" << page;
        EXPECT_EQ(page.find("…"), std::string::npos) << "page " << p;
    }
    EXPECT_EQ(rowsSeen, count);
}

// A report text no installed font can draw (here an unassigned code point in the title) would be
// printed as an empty box: Print and Export PDF refuse, say which characters, and make nothing.
TEST_F(ReportCommands, TextsNoInstalledFontCanDrawAreRefusedByPrintAndExport)
{
    const fs::path english = install.program() / "language" / "english.ini";
    std::stringstream texts;
    texts << std::ifstream(english).rdbuf();
    std::string ini = texts.str();
    const std::string title = "12800=Channel list and settings";
    ASSERT_NE(ini.find(title), std::string::npos);
    ini.replace(ini.find(title), title.size(), "12800=Channel list \u0378 and settings");
    std::ofstream(english, std::ios::trunc) << ini;

    const QString pdf = pdfPath("boxes.pdf");
    EXPECT_FALSE(exportPdf(pdf));
    EXPECT_EQ(program.prompt.askedIds(), (std::vector<int>{text::msg::ReportFontMissing}));
    EXPECT_TRUE(contains(program.prompt.asked.back().message.text, "\u0378"));
    EXPECT_FALSE(QFile::exists(pdf));

    program.prompt.asked.clear();
    EXPECT_FALSE(printOpenDocument(program.app, {}));
    EXPECT_TRUE(program.prompt.printDialogs.empty());
    EXPECT_EQ(program.prompt.askedIds(), (std::vector<int>{text::msg::ReportFontMissing}));
}

TEST(ReportPdf, PaperSizeIsA4OrLetter)
{
    QTemporaryDir dir;
    ChannelReport report;
    report.title = "t";
    report.noChannels = "none";
    const QString a4 = dir.filePath("a4.pdf");
    const QString letter = dir.filePath("letter.pdf");
    ASSERT_TRUE(writeChannelReportPdf(report, a4, ReportPaper::A4).written);
    ASSERT_TRUE(writeChannelReportPdf(report, letter, ReportPaper::Letter).written);
    EXPECT_TRUE(contains(pdfInfo(a4, "Page size"), "(A4)")) << pdfInfo(a4, "Page size");
    EXPECT_TRUE(contains(pdfInfo(letter, "Page size"), "612 x 792"))
        << pdfInfo(letter, "Page size");
    EXPECT_EQ(defaultPaperFor(QLocale(QLocale::English, QLocale::UnitedStates)),
              ReportPaper::Letter);
    EXPECT_EQ(defaultPaperFor(QLocale(QLocale::Chinese, QLocale::China)), ReportPaper::A4);
}

TEST(ReportMenu, TheMainWindowsFileMenuOffersPrintAndExportPdf)
{
    ShellInstall install;
    ShellProgram program(install);
    auto& window = program.main(install);
    waitNewDocument(window);
    QMenu* file = window.findChild<QMenu*>("mnuFile");
    ASSERT_NE(file, nullptr);
    QAction* print = window.findChild<QAction*>("mnuFilePrint");
    QAction* exportPdf = window.findChild<QAction*>("mnuFileExportPdf");
    ASSERT_NE(print, nullptr);
    ASSERT_NE(exportPdf, nullptr);
    EXPECT_TRUE(file->actions().contains(print));
    EXPECT_EQ(print->text(), "&Print...");
    EXPECT_EQ(exportPdf->text(), "&Export PDF...");

    const QString pdf = QString::fromStdString((install.root() / "menu.pdf").string());
    program.prompt.files = {pdf};
    exportPdf->trigger();
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_TRUE(contains(pdfText(pdf), "Channel list and settings"));
}

}  // namespace
}  // namespace zt::gui::test
