// A cable pulled during a transfer, a retry after a failure, and the
// information read's Retry on an echoing cable, through the main window's
// commands against the virtual radio.

#include "gui/transfer/transfer_rig.h"

namespace zt::gui::test {
namespace {

constexpr const char* kLostReason = "/dev/ttyUSB0: Input/output error";

// What the serial port does when its device goes away: it closes itself and
// reports the loss once.
void pullCable(EnginePort& port, TransferController& transfers)
{
    port.close();
    transfers.portLost(kLostReason);
}

TEST_F(ProgramTransfer, PulledCableFailsTheReadOnceAndOkAfterReplugReadsAgain)
{
    action("mnuReadFromRadio")->trigger();
    runUntil([&] { return radio.counters().blockReads >= 50; });
    ASSERT_GE(radio.counters().blockReads, 50);
    const int opens = port.opens();
    pullCable(port, main->transfers());
    // Plugged in again before the user answers: OK opens the port afresh.
    runToEnd();

    EXPECT_TRUE(lastSuccess);
    ASSERT_EQ(prompt.askedIds(), (std::vector<int>{9004, 9920, 9009}));
    const Message& lost = prompt.asked[1].message;
    EXPECT_EQ(lost.buttons, Buttons::RetryCancel);
    EXPECT_EQ(lost.text, kLostReason);
    // The read's own open, and the information read of the snapshot's serial number.
    EXPECT_EQ(port.opens(), opens + 2);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(main->transfers().progressWindow(), nullptr);
}

TEST_F(ProgramTransfer, PulledCableAndCancelLeavesTheDocumentAsItWas)
{
    prompt.answers = {Answer::Ok, Answer::Cancel};  // 9004 OK, 9920 Cancel
    const bool untitled = app.documents.isUntitled();
    action("mnuReadFromRadio")->trigger();
    runUntil([&] { return radio.counters().blockReads >= 20; });
    pullCable(port, main->transfers());
    runToEnd();

    EXPECT_FALSE(lastSuccess);
    EXPECT_EQ(prompt.askedIds(), (std::vector<int>{9004, 9920}));
    EXPECT_FALSE(app.documents.IsModified());
    EXPECT_EQ(app.documents.isUntitled(), untitled);
    EXPECT_EQ(main->transfers().progressWindow(), nullptr);
    EXPECT_FALSE(main->transfers().busy());
}

TEST_F(ProgramTransfer, PulledCableDuringAWriteSaysTheRadioMustBeWrittenAgain)
{
    turnBackupOff();
    prompt.answers = {Answer::Ok, Answer::Cancel};  // 9005 OK, the loss Cancel
    action("mnuWriteToRadio")->trigger();
    runUntil([&] { return radio.counters().blockWrites >= 50; });
    ASSERT_GE(radio.counters().blockWrites, 50);
    pullCable(port, main->transfers());
    runToEnd();

    EXPECT_FALSE(lastSuccess);
    ASSERT_EQ(prompt.askedIds(), (std::vector<int>{9005, 9975}));
    EXPECT_EQ(prompt.asked[1].message.buttons, Buttons::RetryCancel);
    EXPECT_TRUE(app.text(9975).contains("written again"));
}

TEST_F(ProgramTransfer, ACancelledReadSaysNothingChanged)
{
    prompt.answers = {Answer::Ok, Answer::Cancel};  // 9004 OK, 9920 Cancel
    action("mnuReadFromRadio")->trigger();
    runUntil([&] { return radio.counters().blockReads >= 20; });
    pullCable(port, main->transfers());
    runToEnd();
    EXPECT_EQ(main->statusHint(), app.text(9976));
}

TEST_F(ProgramTransfer, APortLostOutsideATransferAsksNothing)
{
    main->transfers().portLost(kLostReason);
    QCoreApplication::processEvents();
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_FALSE(main->transfers().busy());
}

TEST_F(ProgramTransfer, OkAfterAFailureOpensThePortAgain)
{
    port.setConnected(false);
    prompt.answers = {Answer::Ok, Answer::Retry, Answer::Cancel};  // 9004, 9008 Retry, 9008 Cancel
    action("mnuReadFromRadio")->trigger();
    runToEnd();
    EXPECT_EQ(prompt.askedIds(), (std::vector<int>{9004, 9008, 9008}));
    // The confirmation's test, the progress window's open, and the retry's.
    EXPECT_EQ(port.opens(), 3);
    EXPECT_FALSE(port.isOpen());
}

TEST_F(ProgramTransfer, RetryAfterAFailureOpensThePortAgainAndAReplugIsNoticed)
{
    // The retry finds the device gone: the open failure is reported once and
    // the transfer ends instead of sending into the old handle.
    port.setConnected(false);
    prompt.answers = {Answer::Ok, Answer::Retry};  // 9004, 9008
    action("mnuReadFromRadio")->trigger();
    runUntil([&] { return prompt.wasAsked(9008); });
    port.failNextOpen("The serial device /dev/ttyUSB0 does not exist.");
    runToEnd();
    EXPECT_EQ(prompt.askedIds(), (std::vector<int>{9004, 9008, 9003}));
    EXPECT_EQ(prompt.asked.back().message.text, "The serial device /dev/ttyUSB0 does not exist.");
    EXPECT_FALSE(lastSuccess);
    EXPECT_EQ(main->transfers().progressWindow(), nullptr);
    EXPECT_FALSE(main->transfers().busy());
}

TEST_F(ProgramTransfer, InformationRetryTriesBothEchoAssumptionsAgain)
{
    // An echoing cable to a radio switched on only after the first attempt:
    // four handshakes leave the program assuming no echo, and the retry must
    // still come round to the echo.
    radio.setEcho(true);
    port.setConnected(false);
    prompt.answers = {Answer::Retry};
    prompt.defaultAnswer = Answer::Cancel;
    action("MnuLocalInfo")->trigger();
    runUntil([&] { return prompt.wasAsked(9008); });
    ASSERT_TRUE(prompt.wasAsked(9008));
    port.setConnected(true);
    runToEnd();

    EXPECT_EQ(prompt.askedIds(), (std::vector<int>{9008}));
    EXPECT_TRUE(lastSuccess);
    EXPECT_FALSE(app.noEcho);
    EXPECT_EQ(app.state.RadioInfo.AreaCode, "0595");
}

}  // namespace
}  // namespace zt::gui::test
