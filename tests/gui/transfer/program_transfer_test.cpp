// The program's Read, Write and information-read commands end to end against
// the virtual radio's engine on a virtual clock, with scripted prompts.

#include "gui/transfer/transfer_rig.h"

namespace zt::gui::test {
namespace {

TEST_F(ProgramTransfer, ReadReplacesTheDocumentWithTheRadiosAndOpensTheGrid)
{
    // A radio holding a channel the new document does not have.
    RadioDocument doc = app.documents.working();
    newChannel(doc, 17, "02755500");
    ProgramState state = app.state;
    RadioImage image;
    image.clear();
    encodeDocument(doc, state, image);
    // The radio keeps its own identity area.
    const RadioMemory fresh = radio.memory();
    std::copy(image.bytes.begin(), image.bytes.end(), radio.memory().begin());
    for (int i = VirtualRadio::kIdentityAddress; i < VirtualRadio::kIdentityAddress + 14; ++i)
        radio.memory()[static_cast<std::size_t>(i)] = fresh[static_cast<std::size_t>(i)];

    action("mnuReadFromRadio")->trigger();
    runUntil([&] { return main->transfers().progressWindow() != nullptr; });
    ASSERT_NE(main->transfers().progressWindow(), nullptr);
    EXPECT_EQ(main->transfers().progressWindow()->windowTitle(), "Reading from the radio");
    runToEnd();
    runUntil([&] { return main->childWindow("frmCommChInfo") != nullptr; });

    EXPECT_TRUE(lastSuccess);
    EXPECT_EQ(prompt.askedIds(), (std::vector<int>{9004, 9009}));
    EXPECT_EQ(main->transfers().progressWindow(), nullptr);
    EXPECT_NE(app.documents.working().findChannel(17), nullptr);
    EXPECT_TRUE(app.documents.isUntitled());
    EXPECT_TRUE(app.documents.IsModified());
    EXPECT_EQ(main->childWindowCount(), 1);
    // With the password block, and the information block whose serial number
    // names the snapshot's folder.
    EXPECT_EQ(radio.counters().blockReads, 581 + 16);
}

TEST_F(ProgramTransfer, WriteSendsTheDocumentAndCancelSendsNothing)
{
    turnBackupOff();
    newChannel(app.documents.working(), 33, "02800000");
    prompt.answers = {Answer::Cancel};
    action("mnuWriteToRadio")->trigger();
    runToEnd();
    EXPECT_EQ(prompt.askedIds(), (std::vector<int>{9005})) << prompt.asked[0].message.text;
    EXPECT_EQ(radio.counters().blockWrites, 0);

    ends = 0;
    prompt.asked.clear();
    action("WriteRadio")->trigger();
    runToEnd();
    EXPECT_TRUE(lastSuccess);
    EXPECT_EQ(prompt.askedIds(), (std::vector<int>{9005, 9010}));
    EXPECT_EQ(radio.counters().blockWrites, 580);
    RadioImage written;
    std::copy_n(radio.memory().begin(), written.bytes.size(), written.bytes.begin());
    RadioDocument back;
    ProgramState state;
    decodeImage(written, back, state);
    ASSERT_NE(back.findChannel(33), nullptr);
    EXPECT_EQ(back.findChannel(33)->RxFre.cut(), "02800000");
}

TEST_F(ProgramTransfer, PortThatCannotOpenShowsOneMessage)
{
    port.failNextOpen("permission denied");
    action("mnuReadFromRadio")->trigger();
    runToEnd();
    EXPECT_EQ(prompt.askedIds(), (std::vector<int>{9003}));
    EXPECT_FALSE(lastSuccess);
    EXPECT_EQ(main->transfers().progressWindow(), nullptr);
}

TEST_F(ProgramTransfer, PasswordWindowOpensForAProtectedRadio)
{
    radio.setPassword("1234");
    int shown = 0;
    prompt.modalHandler = [&](QDialog& d) {
        ++shown;
        d.findChild<QLineEdit*>("Text1")->setText("1234");
        d.findChild<QPushButton*>("CommandOK")->click();
        return d.result();
    };
    action("mnuReadFromRadio")->trigger();
    runToEnd();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(lastSuccess);
    EXPECT_EQ(app.enteredPassword, "1234");

    // The password is kept for the run: the next read asks no more.
    ends = 0;
    action("mnuReadFromRadio")->trigger();
    runToEnd();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(lastSuccess);
}

TEST_F(ProgramTransfer, InformationReadOpensTheRadioInformationWindow)
{
    options.serialNumber = "2026123100000042";
    radio.memory() = freshRadioMemory(options);
    main->closeAllChildWindows();

    action("MnuLocalInfo")->trigger();
    runToEnd();
    EXPECT_TRUE(lastSuccess);
    EXPECT_TRUE(prompt.asked.empty());  // no confirmation, no progress window
    QWidget* info = main->childWindow(window::RadioInfo);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->findChild<QLineEdit*>("TextSerialNumber")->text(), "2026123100000042");
    EXPECT_EQ(app.state.RadioInfo.SerialNumber.cut(), "2026123100000042");

    // Reading again replaces the open window instead of adding one.
    ends = 0;
    auto* tree = main->findChild<QWidget*>("TreeView1");
    ASSERT_NE(tree, nullptr);
    main->readRadioInformation();
    runToEnd();
    EXPECT_EQ(main->childWindowCount(), 1);
}

TEST_F(ProgramTransfer, SilentRadioEndsInTheFailurePrompt)
{
    port.setConnected(false);
    prompt.answers = {Answer::Ok, Answer::Cancel};  // 9004 OK, 9008 Cancel
    action("mnuReadFromRadio")->trigger();
    runToEnd();
    EXPECT_EQ(prompt.askedIds(), (std::vector<int>{9004, 9008}));
    EXPECT_FALSE(lastSuccess);
    EXPECT_EQ(main->transfers().progressWindow(), nullptr);
    EXPECT_FALSE(port.isOpen());
}

}  // namespace
}  // namespace zt::gui::test
