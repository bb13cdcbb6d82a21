// The progress window's Cancel, and the transfer options (verify after write,
// serial trace file) taken from mysetup.ini by every command.

#include <QCheckBox>
#include <fstream>
#include <sstream>

#include "core/files/ini_profile.h"
#include "gui/transfer/link_options.h"
#include "gui/transfer/link_options_dialog.h"
#include "gui/transfer/transfer_rig.h"

namespace zt::gui::test {
namespace {

std::string fileText(const fs::path& p)
{
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int countLinesStarting(const std::string& text, const std::string& part)
{
    int n = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) n += line.find(part) != std::string::npos;
    return n;
}

class TransferCancel : public ProgramTransfer {
  protected:
    void clickCancel()
    {
        TransferProgressDialog* progress = main->transfers().progressWindow();
        ASSERT_NE(progress, nullptr);
        auto* button = progress->findChild<QPushButton*>("cmdCancel");
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), "Cancel");
        button->click();
    }
    fs::path root() const { return fs::path(tmp.path().toStdString()); }
};

TEST_F(TransferCancel, CancelDuringAReadTellsTheRadioEndAndKeepsTheDocument)
{
    const bool untitled = app.documents.isUntitled();
    action("mnuReadFromRadio")->trigger();
    runUntil([&] { return radio.counters().blockReads >= 30; });
    const int readsAtCancel = radio.counters().blockReads;
    clickCancel();
    runToEnd();

    EXPECT_FALSE(lastSuccess);
    EXPECT_EQ(prompt.askedIds(), std::vector<int>{9004});
    EXPECT_EQ(radio.counters().ends, 1);  // the radio left its programming mode
    EXPECT_LE(radio.counters().blockReads, readsAtCancel + 1);
    EXPECT_FALSE(app.documents.IsModified());
    EXPECT_EQ(app.documents.isUntitled(), untitled);
    EXPECT_EQ(main->transfers().progressWindow(), nullptr);
    EXPECT_FALSE(main->transfers().busy());
    EXPECT_FALSE(port.isOpen());
}

TEST_F(TransferCancel, AWriteCancelledPartWaySaysTheRadioHoldsAMix)
{
    turnBackupOff();
    action("mnuWriteToRadio")->trigger();
    runUntil([&] { return radio.counters().blockWrites >= 30; });
    clickCancel();
    runToEnd();
    EXPECT_EQ(prompt.askedIds(), (std::vector<int>{9005, 9900}));
    EXPECT_EQ(prompt.asked[1].message.icon, Icon::Warning);
    EXPECT_EQ(radio.counters().ends, 1);
    EXPECT_FALSE(lastSuccess);
}

TEST_F(TransferCancel, AWriteCancelledBeforeAnyBlockSaysNothingMore)
{
    turnBackupOff();
    action("mnuWriteToRadio")->trigger();
    runUntil([&] { return main->transfers().progressWindow() != nullptr; });
    clickCancel();
    runToEnd();
    EXPECT_EQ(prompt.askedIds(), std::vector<int>{9005});
    EXPECT_EQ(radio.counters().blockWrites, 0);
    EXPECT_FALSE(lastSuccess);
}

TEST_F(TransferCancel, VerifyAfterWriteIsOffByDefaultAndFindsALostBlockWhenOn)
{
    turnBackupOff();
    FaultSettings faults;
    faults.lose = 1.0;  // every block acknowledged, none stored
    radio.setFaults(faults);
    newChannel(app.documents.working(), 33, "02800000");  // differs from the radio
    action("mnuWriteToRadio")->trigger();
    runToEnd();
    EXPECT_EQ(prompt.askedIds(), (std::vector<int>{9005, 9010}));  // nothing checked it

    LinkOptions options;
    options.verifyAfterWrite = true;
    ASSERT_TRUE(saveLinkOptions(app.paths.mySetupIni(), options));
    ends = 0;
    prompt.asked.clear();
    action("mnuWriteToRadio")->trigger();
    runToEnd();
    EXPECT_EQ(prompt.askedIds(), (std::vector<int>{9005, 9901}));
    EXPECT_FALSE(lastSuccess);
}

TEST_F(TransferCancel, TraceFileHoldsEveryPacketOfTheLastCommand)
{
    const fs::path trace = root() / "trace.txt";
    LinkOptions options;
    options.trace = true;
    options.traceFile = trace.string();
    ASSERT_TRUE(saveLinkOptions(app.paths.mySetupIni(), options));

    action("MnuLocalInfo")->trigger();
    runToEnd();
    ASSERT_TRUE(lastSuccess);
    const std::string text = fileText(trace);
    EXPECT_EQ(text.rfind("# ZTP958FM information read", 0), 0u) << text.substr(0, 80);
    // Handshake "PROGRAM" out, its answer back, 16 block requests, END.
    EXPECT_EQ(countLinesStarting(text, "-> 50 52 4F 47 52 41 4D"), 1) << text;
    EXPECT_EQ(countLinesStarting(text, "-> 52 3F"), 16) << text;
    EXPECT_EQ(countLinesStarting(text, "-> 45 4E 44"), 1) << text;
    EXPECT_GE(countLinesStarting(text, "<- "), 18) << text;

    // The next command starts the file afresh.
    ends = 0;
    action("mnuReadFromRadio")->trigger();
    runToEnd();
    const std::string read = fileText(trace);
    EXPECT_EQ(read.rfind("# ZTP958FM read", 0), 0u);
    // The read, then the information block for the snapshot's serial number.
    EXPECT_EQ(countLinesStarting(read, "-> 52 3F 00"), 1);
    EXPECT_EQ(countLinesStarting(read, "-> 52 3F 20"), 2);  // the password block, both times
    EXPECT_GE(countLinesStarting(read, "-> 52 "), 580);
}

TEST_F(TransferCancel, ATraceFileThatCannotBeWrittenStopsTheCommandWithAMessage)
{
    LinkOptions options;
    options.trace = true;
    options.traceFile = (root() / "no-such-folder" / "trace.txt").string();
    ASSERT_TRUE(saveLinkOptions(app.paths.mySetupIni(), options));
    action("mnuReadFromRadio")->trigger();
    runToEnd();
    EXPECT_EQ(prompt.askedIds(), std::vector<int>{9931});
    EXPECT_EQ(prompt.asked[0].message.text, options.traceFile);
    EXPECT_EQ(port.opens(), 0);
    EXPECT_FALSE(main->transfers().busy());
}

TEST_F(TransferCancel, OptionsWindowStoresWhatIsChosenAndRefusesATraceWithoutAFile)
{
    std::unique_ptr<QDialog> w(createModalWindow(window::LinkOptions, app, main.get()));
    ASSERT_NE(w, nullptr);
    auto* verify = w->findChild<QCheckBox*>("chkVerify");
    auto* trace = w->findChild<QCheckBox*>("chkTrace");
    auto* file = w->findChild<QLineEdit*>("txtTraceFile");
    ASSERT_TRUE(verify && trace && file);
    EXPECT_FALSE(verify->isChecked());
    EXPECT_FALSE(trace->isChecked());
    EXPECT_FALSE(file->isEnabled());
    EXPECT_EQ(w->windowTitle(), "Transfer options");

    verify->setChecked(true);
    trace->setChecked(true);
    EXPECT_TRUE(file->isEnabled());
    w->findChild<QPushButton*>("CommandOK")->click();
    EXPECT_EQ(prompt.askedIds(), std::vector<int>{9932});
    EXPECT_EQ(w->result(), QDialog::Rejected);
    EXPECT_FALSE(loadLinkOptions(app.paths.mySetupIni()).verifyAfterWrite);

    const fs::path chosen = root() / "picked.txt";
    prompt.files = {QString::fromStdString(chosen.string())};
    w->findChild<QPushButton*>("cmdBrowse")->click();
    EXPECT_EQ(file->text().toStdString(), chosen.string());
    w->findChild<QPushButton*>("CommandOK")->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_FALSE(fs::exists(chosen));  // checked, not left behind
    const LinkOptions stored = loadLinkOptions(app.paths.mySetupIni());
    EXPECT_TRUE(stored.verifyAfterWrite);
    EXPECT_TRUE(stored.trace);
    EXPECT_EQ(stored.traceFile, chosen.string());

    // Reopened, the window shows what was stored; other settings stay.
    std::unique_ptr<QDialog> again(createModalWindow(window::LinkOptions, app, main.get()));
    EXPECT_TRUE(again->findChild<QCheckBox*>("chkVerify")->isChecked());
    EXPECT_EQ(again->findChild<QLineEdit*>("txtTraceFile")->text().toStdString(), chosen.string());
}

}  // namespace
}  // namespace zt::gui::test
