#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/radio/image_codec.h"
#include "link_rig.h"

namespace zt::test {
namespace {

using std::chrono::milliseconds;

Bytes text(std::string_view s)
{
    return Bytes(s.begin(), s.end());
}

// ---- Whole transfers -------------------------------------------------------

TEST(TransferRead, ReadsTheWholeImageAndDecodesItLater)
{
    for (bool echo : {false, true}) {
        Rig rig(9600, echo);
        rig.machine.setNoEcho(!echo);
        rig.machine.startRead();
        rig.run();
        EXPECT_EQ(rig.prompt.ids(), (std::vector<int>{msg::ConfirmRead, msg::ReadDone}));
        EXPECT_TRUE(rig.endedWith(TransferKind::Read, true));
        EXPECT_EQ(imageBytes(rig.machine.image()), imagePart(rig.radio.memory()));
        EXPECT_EQ(rig.host.replacedWith, std::vector<std::string>{"new.dat"});
        EXPECT_EQ(rig.host.windowsClosed, 1);
        // Progress starts at 0 and rises by whole percents to 100.
        ASSERT_EQ(rig.host.progress.size(), 101u);
        for (int i = 0; i <= 100; ++i) EXPECT_EQ(rig.host.progress[static_cast<std::size_t>(i)], i);
        EXPECT_EQ(rig.radio.counters().blockReads, kImageBlocks + 1);  // + password block
        EXPECT_FALSE(rig.port.isOpen());
    }
}

TEST(TransferRead, DecodeWaitsHalfASecondAfterTheEnd)
{
    Rig rig;
    rig.machine.startRead();
    rig.clock.runWhile([&] { return rig.host.ended.empty(); });
    const auto doneAt = rig.prompt.asked.back().at;
    EXPECT_EQ(rig.prompt.asked.back().message.textId, msg::ReadDone);
    rig.clock.advance(milliseconds(499));
    EXPECT_TRUE(rig.host.replacedWith.empty());
    rig.clock.advance(milliseconds(2));
    EXPECT_EQ(rig.host.replacedWith.size(), 1u);
    EXPECT_GE(rig.clock.now() - doneAt, milliseconds(500));
}

TEST(TransferWrite, WritesTheEncodedDocumentWithTheRadiosIdentity)
{
    for (bool echo : {false, true}) {
        Rig rig(9600, echo);
        rig.machine.setNoEcho(!echo);
        rig.radio.memory()[8695] = 0x5A;  // a byte only the radio knows
        rig.host.doc.Data.Messages[0] = FixedText<16>("HELLO");
        rig.machine.startWrite();
        rig.run();
        EXPECT_EQ(rig.prompt.ids(), (std::vector<int>{msg::ConfirmWrite, msg::WriteDone}));
        EXPECT_EQ(imagePart(rig.radio.memory()), imageBytes(rig.machine.image()));
        EXPECT_EQ(rig.radio.memory()[8695], 0x5A);
        EXPECT_EQ(rig.radio.memory()[img::MessageLines], 'H');
        EXPECT_EQ(rig.radio.counters().blockWrites, kImageBlocks);
        // A clean line leaves no acknowledgement in doubt: nothing is read back.
        EXPECT_EQ(rig.radio.counters().blockReads, 1);  // the password block
        EXPECT_EQ(rig.machine.provedBlocks(), 0);
        EXPECT_EQ(rig.host.progress.back(), 100);
    }
}

TEST(TransferWrite, StartsOnlyAfterTheWriteDelay)
{
    Rig rig;
    rig.machine.startWrite();
    rig.clock.advance(milliseconds(99));
    EXPECT_TRUE(rig.prompt.asked.empty());
    rig.clock.advance(milliseconds(1));
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].message.textId, msg::ConfirmWrite);
}

TEST(TransferWrite, RefusesADocumentTheImageCannotHold)
{
    Rig rig;
    rig.host.doc.Channels[0].DecodeTone = 300;
    rig.machine.startWrite();
    rig.run();
    ASSERT_EQ(rig.prompt.ids(), std::vector<int>{msg::Unrepresentable});
    EXPECT_NE(rig.prompt.asked[0].message.text.find("300"), std::string::npos);
    EXPECT_EQ(rig.port.opens(), 0);
    EXPECT_FALSE(rig.machine.busy());
}

TEST(TransferCommands, PortFailureAndCancelEndQuietly)
{
    Rig rig;
    rig.port.failNextOpen("permission denied");
    rig.machine.startRead();
    rig.run();
    ASSERT_EQ(rig.prompt.ids(), std::vector<int>{msg::PortFailed});
    EXPECT_EQ(rig.prompt.asked[0].message.text, "permission denied");
    EXPECT_EQ(rig.prompt.asked[0].message.icon, Icon::Error);

    rig.prompt.script[msg::ConfirmRead] = {Answer::Cancel};
    rig.machine.startRead();
    rig.run();
    EXPECT_TRUE(rig.sent.empty());
    EXPECT_FALSE(rig.machine.busy());
}

// ---- Time-outs and retries -------------------------------------------------

TEST(TransferTimeouts, FourHandshakesAlternatingEchoThenFailurePrompt)
{
    Rig rig;
    rig.port.setConnected(false);
    rig.prompt.script[msg::TransferFailed] = {Answer::Cancel};
    rig.machine.startRead();
    rig.run();
    const auto hs = rig.sentStarting('P');
    ASSERT_EQ(hs.size(), 4u);
    for (std::size_t i = 1; i < hs.size(); ++i)
        EXPECT_EQ(hs[i].at - hs[i - 1].at, milliseconds(150));
    EXPECT_EQ((std::vector<bool>{hs[0].noEcho, hs[1].noEcho, hs[2].noEcho, hs[3].noEcho}),
              (std::vector<bool>{false, true, false, true}));
    ASSERT_EQ(rig.prompt.ids().back(), msg::TransferFailed);
    EXPECT_EQ(rig.prompt.asked.back().at - hs[3].at, milliseconds(150));
    EXPECT_TRUE(rig.endedWith(TransferKind::Read, false));
    EXPECT_EQ(rig.sent.back().bytes, text("END"));  // Cancel stops with END
}

TEST(TransferTimeouts, EchoIsToldByTheHandshakeAnswerWithoutATimeout)
{
    for (bool echo : {false, true}) {
        for (bool assumeNoEcho : {false, true}) {
            Rig rig(9600, echo);
            rig.machine.setNoEcho(assumeNoEcho);  // whatever the program assumed before
            rig.machine.startRead();
            rig.run();
            EXPECT_TRUE(rig.endedWith(TransferKind::Read, true));
            EXPECT_EQ(rig.machine.noEcho(), !echo);
            EXPECT_EQ(rig.sentStarting('P').size(), 1u);
            EXPECT_EQ(imageBytes(rig.machine.image()), imagePart(rig.radio.memory()));
        }
    }
}

TEST(TransferTimeouts, AnswersSplitAcrossDeliveriesAreNotHeldBack)
{
    // A real port hands over whatever has arrived once the threshold is reached,
    // so an answer may come in pieces; its last bytes must still be asked for.
    for (bool echo : {false, true}) {
        for (bool write : {false, true}) {
            Rig rig(9600, echo);
            rig.port.setBytewise(true);
            rig.host.doc.Data.Messages[0] = FixedText<16>("BYTEWISE");
            write ? rig.machine.startWrite() : rig.machine.startRead();
            rig.run();
            EXPECT_TRUE(rig.endedWith(write ? TransferKind::Write : TransferKind::Read, true));
            EXPECT_EQ(rig.prompt.count(msg::TransferFailed), 0);
            EXPECT_EQ(rig.sentStarting('P').size(), 1u);
            EXPECT_EQ(imagePart(rig.radio.memory()), imageBytes(rig.machine.image()));
        }
    }
}

TEST(TransferTimeouts, EndlessSendAgainIsAnsweredWithTheSamePacket)
{
    Rig rig;
    FaultSettings f;
    f.refuse = 1.0;
    rig.radio.setFaults(f);
    rig.machine.setNoEcho(true);
    rig.machine.startWrite();
    rig.clock.advance(milliseconds(5000));
    const auto writes = rig.sentStarting('W');
    ASSERT_GT(writes.size(), 100u);
    for (const auto& w : writes) EXPECT_EQ(w.bytes, writes[0].bytes);
    EXPECT_EQ(writes[0].bytes[1], 0x00);
    EXPECT_EQ(writes[0].bytes[2], 0x00);
    EXPECT_EQ(rig.prompt.count(msg::TransferFailed), 0);
    EXPECT_TRUE(rig.machine.active());
}

TEST(TransferTimeouts, FailurePromptOkRestartsFromBlockZero)
{
    Rig rig;
    rig.machine.setNoEcho(true);
    // The cable drops out while block 0x100 is being read, and comes back when the
    // user confirms the failure prompt.
    bool cut = false;
    rig.radio.onEvent = [&](RadioEvent e, int address) {
        if (e == RadioEvent::BlockRead && address == 0x100 && !cut) {
            cut = true;
            rig.port.setConnected(false);
        }
    };
    rig.prompt.beforeAnswer = [&](const Message& m, Answer) {
        if (m.textId == msg::TransferFailed) rig.port.setConnected(true);
    };
    rig.machine.startRead();
    rig.run();
    ASSERT_EQ(rig.prompt.ids(),
              (std::vector<int>{msg::ConfirmRead, msg::TransferFailed, msg::ReadDone}));
    // After the prompt: handshake, identify, password block, then block 0 again.
    std::size_t i = 0;
    while (i < rig.sent.size() && rig.sent[i].at < rig.prompt.asked[1].at) ++i;
    ASSERT_LT(i + 3, rig.sent.size());
    EXPECT_EQ(rig.sent[i].bytes, text("PROGRAM"));
    EXPECT_EQ(rig.sent[i + 1].bytes, Bytes{0x02});
    EXPECT_EQ(rig.sent[i + 2].bytes, readBlockCommand(kPasswordBlockAddress));
    EXPECT_EQ(rig.sent[i + 3].bytes, readBlockCommand(0));
    // 1 try + 3 retries of block 0x100 before the prompt.
    int tries = 0;
    for (std::size_t k = 0; k < i; ++k) tries += rig.sent[k].bytes == readBlockCommand(0x100);
    EXPECT_EQ(tries, 4);
    EXPECT_EQ(rig.host.progress[rig.host.progress.size() - 101], 0);  // reset to 0 on restart
    EXPECT_EQ(imageBytes(rig.machine.image()), imagePart(rig.radio.memory()));
    EXPECT_EQ(rig.machine.passwordCounter(), 3);
}

TEST(TransferTimeouts, MissingEndAcknowledgementStillSucceeds)
{
    for (bool write : {false, true}) {
        Rig rig;
        rig.machine.setNoEcho(true);
        rig.port.onSent = [&](const Bytes& b) {
            if (b == text("END")) rig.port.setConnected(false);
        };
        write ? rig.machine.startWrite() : rig.machine.startRead();
        rig.run();
        EXPECT_EQ(rig.prompt.ids().back(), write ? msg::WriteDone : msg::ReadDone);
        EXPECT_EQ(rig.prompt.count(msg::TransferFailed), 0);
    }
}

TEST(TransferTimeouts, PasswordBlockTimeoutsUseThePasswordCounter)
{
    Rig rig;
    rig.machine.setNoEcho(true);
    int passwordReads = 0;
    rig.port.onSent = [&](const Bytes& b) {
        rig.port.setConnected(b != readBlockCommand(kPasswordBlockAddress));
        passwordReads += b == readBlockCommand(kPasswordBlockAddress);
    };
    rig.prompt.script[msg::TransferFailed] = {Answer::Retry, Answer::Cancel};
    rig.machine.startRead();
    rig.run();
    // The counter starts at 0: the first time-out prompts at once. After OK it is
    // 3, so the block is asked for three times in all before the next prompt.
    EXPECT_EQ(rig.prompt.count(msg::TransferFailed), 2);
    EXPECT_EQ(passwordReads, 1 + 3);
}

// ---- Checks after the identification ---------------------------------------

struct BandCase {
    bool write;
    int radioBand;
    int expected;  // 0 = none
};

TEST(TransferChecks, BandsAreComparedOnlyWhenWriting)
{
    for (BandCase c : {BandCase{true, 1, msg::BandDiffers}, BandCase{true, 8, msg::BandRefused},
                       BandCase{false, 1, 0}, BandCase{false, 8, 0}}) {
        Rig rig;
        rig.machine.setNoEcho(true);
        rig.host.doc.Data.ModelName = FixedText<8>("AB-100");
        rig.host.state.ModelName = "AB-100";
        const char model[6] = {'A', 'B', '-', '1', '0', '0'};
        std::copy(model, model + 6, rig.radio.memory().begin() + 8688);
        rig.radio.memory()[8694] = static_cast<std::uint8_t>(c.radioBand);
        rig.prompt.script[msg::BandDiffers] = {Answer::Cancel};
        c.write ? rig.machine.startWrite() : rig.machine.startRead();
        rig.run();
        EXPECT_EQ(rig.prompt.count(msg::BandDiffers), c.expected == msg::BandDiffers ? 1 : 0);
        EXPECT_EQ(rig.prompt.count(msg::BandRefused), c.expected == msg::BandRefused ? 1 : 0);
        if (c.expected != 0) {
            EXPECT_EQ(rig.radio.counters().blockWrites, 0);
            EXPECT_EQ(rig.sent.back().bytes, text("END"));
        } else {
            EXPECT_TRUE(rig.endedWith(TransferKind::Read, true));
        }
    }
}

TEST(TransferChecks, SameFamilyBandGoesOnAfterOk)
{
    Rig rig;
    rig.machine.setNoEcho(true);
    rig.host.doc.Data.ModelName = FixedText<8>("AB-100");
    rig.host.state.ModelName = "AB-100";
    const char model[6] = {'A', 'B', '-', '1', '0', '0'};
    std::copy(model, model + 6, rig.radio.memory().begin() + 8688);
    rig.radio.memory()[8694] = 1;
    rig.machine.startWrite();
    rig.run();
    EXPECT_EQ(rig.prompt.ids(),
              (std::vector<int>{msg::ConfirmWrite, msg::BandDiffers, msg::WriteDone}));
    EXPECT_EQ(rig.radio.counters().blockWrites, kImageBlocks);
}

TEST(TransferChecks, OtherModelIsRefused)
{
    Rig rig;
    rig.machine.setNoEcho(true);
    rig.radio.memory()[8688] = 'Q';
    rig.machine.startRead();
    rig.run();
    EXPECT_EQ(rig.prompt.count(msg::ModelDiffers), 1);
    EXPECT_TRUE(rig.endedWith(TransferKind::Read, false));
    EXPECT_TRUE(rig.host.replacedWith.empty());
}

TEST(TransferChecks, ForeignFirmwareOffersTheMatchingVersion)
{
    for (Answer answer : {Answer::Yes, Answer::No}) {
        Rig rig;
        rig.machine.setNoEcho(true);
        rig.table.pairs = {{"V300", "V300"}, {"V301", "V310"}};
        rig.radio.setFirmwareVersion("V310");
        rig.prompt.script[-1] = {answer};
        const auto root = std::filesystem::temp_directory_path() / "zt_link_versions";
        std::filesystem::create_directories(root / "V301");
        std::ofstream(root / "V301" / "ZTP958FM") << "x";
        rig.paths.programDir = root / "V300";
        rig.machine.startRead();
        rig.run();
        ASSERT_EQ(rig.prompt.ids().back(), -1);
        EXPECT_EQ(rig.prompt.asked.back().message.buttons, Buttons::YesNo);
        EXPECT_EQ(rig.radio.counters().blockReads, 1);  // the password block only
        if (answer == Answer::Yes) {
            ASSERT_EQ(rig.launcher.started.size(), 1u);
            EXPECT_EQ(rig.launcher.started[0].parent_path().filename(), "V301");
            EXPECT_EQ(rig.host.programEnded, 1);
        } else {
            EXPECT_TRUE(rig.launcher.started.empty());
            EXPECT_EQ(rig.host.programEnded, 0);
        }
    }
}

TEST(TransferChecks, ReadFlagsRefuseLaterWrites)
{
    for (auto [flags, expected] :
         {std::pair{0x08, msg::WriteRefused1}, std::pair{0x04, msg::WriteRefused2}}) {
        Rig rig;
        rig.machine.setNoEcho(true);
        rig.radio.setFeatureFlags(static_cast<std::uint8_t>(flags));
        rig.machine.startRead();
        rig.run();
        ASSERT_TRUE(rig.endedWith(TransferKind::Read, true));
        rig.sent.clear();
        rig.machine.startWrite();
        rig.run();
        EXPECT_EQ(rig.prompt.ids().back(), expected);
        EXPECT_EQ(rig.radio.counters().blockWrites, 0);
        // Handshake, identify, then END: not even the password block.
        ASSERT_EQ(rig.sent.size(), 3u);
        EXPECT_EQ(rig.sent[2].bytes, text("END"));
    }
}

// ---- The program password --------------------------------------------------

TEST(TransferPassword, RadioWithoutPasswordNeverAsks)
{
    Rig rig;
    rig.radio.setPassword("");
    rig.password.entered = "9999";
    rig.machine.startRead();
    rig.run();
    EXPECT_EQ(rig.password.opened, 0);
    EXPECT_TRUE(rig.endedWith(TransferKind::Read, true));
}

TEST(TransferPassword, KnownPasswordPassesWithoutTheWindow)
{
    Rig rig;
    rig.radio.setPassword("12AB");
    rig.password.entered = "12AB";
    rig.machine.startRead();
    rig.run();
    EXPECT_EQ(rig.password.opened, 0);
    EXPECT_TRUE(rig.endedWith(TransferKind::Read, true));
}

TEST(TransferPassword, WindowOkWithTheRightPasswordGoesOn)
{
    Rig rig;
    rig.radio.setPassword("12AB");
    rig.password.okTexts = {"12AB"};
    rig.machine.startWrite();
    rig.run();
    EXPECT_EQ(rig.password.opened, 1);
    EXPECT_TRUE(rig.endedWith(TransferKind::Write, true));
    EXPECT_EQ(rig.radio.counters().blockWrites, kImageBlocks);
}

TEST(TransferPassword, WrongPasswordOrCancelEndsInPasswordFailure)
{
    for (bool cancel : {false, true}) {
        Rig rig;
        rig.radio.setPassword("12AB");
        rig.password.entered = "0000";
        if (!cancel) rig.password.okTexts = {"9999"};
        rig.machine.startRead();
        rig.run();
        EXPECT_EQ(rig.password.opened, 1);
        ASSERT_EQ(rig.prompt.ids().back(), -1);
        EXPECT_EQ(rig.prompt.asked.back().message.text, "PassWord Failure!");
        EXPECT_EQ(rig.password.entered, cancel ? "0000" : "9999");  // Cancel keeps it
        EXPECT_EQ(rig.radio.counters().blockReads, 1);
        EXPECT_EQ(rig.sent.back().bytes, text("END"));
        EXPECT_TRUE(rig.endedWith(TransferKind::Read, false));
    }
}

TEST(TransferPassword, WindowThatCouldNotShowStopsWithoutMessage)
{
    Rig rig;
    rig.radio.setPassword("12AB");
    rig.password.canShow = false;
    rig.machine.startRead();
    rig.run();
    EXPECT_EQ(rig.prompt.ids(), std::vector<int>{msg::ConfirmRead});
    EXPECT_TRUE(rig.endedWith(TransferKind::Read, false));
}

// ---- Information read ------------------------------------------------------

TEST(TransferInformation, ReadsTheInformationBlockIntoTheRecord)
{
    Rig rig;
    FreshRadioOptions o;
    o.serialNumber = "2026120900000042";
    o.dealerCode = "DEALER-7";
    rig.radio.memory() = freshRadioMemory(o);
    rig.machine.startInformationRead();
    rig.run();
    EXPECT_EQ(rig.host.infoShown, 1);
    EXPECT_TRUE(rig.prompt.asked.empty());
    EXPECT_EQ(rig.host.state.RadioInfo.SerialNumber.cut(), "2026120900000042");
    EXPECT_EQ(rig.host.state.RadioInfo.DealerCode.cut(), "DEALER-7");
    EXPECT_EQ(rig.host.state.RadioInfo.AreaCode, "0595");
    EXPECT_EQ(rig.radio.counters().blockReads, 16);
    EXPECT_EQ(rig.host.progressShown, 0);
}

TEST(TransferInformation, EachRetryStartsTheHandshakeSequenceAfresh)
{
    Rig rig(9600, /*echo=*/true);
    rig.port.setConnected(false);
    rig.prompt.script[msg::TransferFailed] = {Answer::Retry, Answer::Retry};
    // The echoing cable is plugged in again while the second failure prompt is open.
    rig.prompt.beforeAnswer = [&](const Message&, Answer) {
        if (rig.prompt.count(msg::TransferFailed) == 2) rig.port.setConnected(true);
    };
    rig.machine.startInformationRead();
    rig.run();
    EXPECT_EQ(rig.prompt.asked[0].message.buttons, Buttons::RetryCancel);
    // Four handshakes for each of the two failed tries, then the one answered.
    EXPECT_EQ(rig.sentStarting('P').size(), 9u);
    EXPECT_EQ(rig.host.infoShown, 1);
    EXPECT_FALSE(rig.machine.noEcho());
}

}  // namespace
}  // namespace zt::test
