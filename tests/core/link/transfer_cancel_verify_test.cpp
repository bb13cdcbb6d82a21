// Cancelling a running transfer, and the read-back check after a write.

#include <gtest/gtest.h>

#include "link_rig.h"

namespace zt::test {
namespace {

using std::chrono::milliseconds;

Bytes text(std::string_view s)
{
    return Bytes(s.begin(), s.end());
}

TEST(TransferCancel, WriteCancelledHalfWaySendsEndAndSaysTheRadioHoldsAMix)
{
    for (bool echo : {false, true}) {
        Rig rig(9600, echo);
        rig.host.doc.Data.Messages[0] = FixedText<16>("CANCELLED");
        rig.machine.startWrite();
        rig.clock.runWhile([&] { return rig.machine.blockAddress() < 0x1000; });
        const int writesBefore = rig.radio.counters().blockWrites;
        rig.machine.cancel();
        EXPECT_FALSE(rig.machine.busy());
        EXPECT_FALSE(rig.port.isOpen());
        EXPECT_EQ(rig.sent.back().bytes, text("END"));
        rig.run();
        ASSERT_EQ(rig.host.outcomes.size(), 1u);
        EXPECT_EQ(rig.host.outcomes.back(), TransferOutcome::Cancelled);
        EXPECT_TRUE(rig.machine.cancelledMidWrite());
        EXPECT_EQ(rig.prompt.count(msg::WriteDone), 0);
        EXPECT_LE(rig.radio.counters().blockWrites, writesBefore + 1);
        EXPECT_EQ(rig.host.progressClosed, 1);
    }
}

TEST(TransferCancel, ReadCancelledLeavesTheDocumentAlone)
{
    Rig rig;
    rig.host.doc.Data.Messages[0] = FixedText<16>("KEEP ME");
    rig.machine.startRead();
    rig.clock.runWhile([&] { return rig.machine.blockAddress() < 0x0800; });
    rig.machine.cancel();
    rig.run();
    EXPECT_EQ(rig.host.outcomes, std::vector<TransferOutcome>{TransferOutcome::Cancelled});
    EXPECT_TRUE(rig.host.replacedWith.empty());
    EXPECT_EQ(rig.host.doc.Data.Messages[0].cut(), "KEEP ME");
    EXPECT_FALSE(rig.machine.cancelledMidWrite());
    EXPECT_EQ(rig.radio.mode(), RadioMode::Idle);  // END took it out of programming mode
    EXPECT_EQ(rig.prompt.count(msg::ReadDone), 0);
}

TEST(TransferCancel, AnswerToAQuestionStillOpenIsIgnoredAfterACancel)
{
    Rig rig;
    rig.port.setConnected(false);
    rig.prompt.beforeAnswer = [&](const Message& m, Answer) {
        // The user cancels while the failure prompt is still open; its OK comes after.
        if (m.textId == msg::TransferFailed) rig.machine.cancel();
    };
    rig.machine.startRead();
    rig.run();
    EXPECT_EQ(rig.host.outcomes, std::vector<TransferOutcome>{TransferOutcome::Cancelled});
    EXPECT_EQ(rig.sentStarting('P').size(), 4u);  // no new handshake after the OK
    EXPECT_FALSE(rig.machine.busy());
}

TEST(TransferCancel, CancelBeforeTheTransferBeganOrWhenIdle)
{
    Rig rig;
    rig.machine.cancel();  // idle: nothing happens
    EXPECT_TRUE(rig.host.outcomes.empty());
    rig.machine.startWrite();  // still in the write delay, the port not open
    rig.machine.cancel();
    rig.run();
    EXPECT_EQ(rig.host.outcomes, std::vector<TransferOutcome>{TransferOutcome::Cancelled});
    EXPECT_TRUE(rig.sent.empty());
    EXPECT_EQ(rig.host.progressClosed, 0);
    EXPECT_FALSE(rig.machine.cancelledMidWrite());
}

TEST(TransferVerify, SoundRadioPassesTheReadBack)
{
    Rig rig(9600, /*echo=*/true);
    rig.machine.setVerifyAfterWrite(true);
    rig.host.doc.Data.Messages[0] = FixedText<16>("VERIFIED");
    rig.machine.startWrite();
    rig.run();
    EXPECT_TRUE(rig.endedWith(TransferKind::Write, true));
    EXPECT_EQ(rig.prompt.ids().back(), msg::WriteDone);
    EXPECT_EQ(rig.radio.counters().blockReads, 1 + kImageBlocks);  // password block + all
    EXPECT_EQ(rig.radio.counters().ends, 2);
    EXPECT_EQ(rig.machine.verifyMismatchAddress(), -1);
}

TEST(TransferVerify, RadioThatAcknowledgesButDropsABlockIsCaught)
{
    int caught = 0;
    for (std::uint64_t seed = 1; seed <= 5; ++seed) {
        Rig rig;
        // The radio holds other data than the document, so a lost block shows.
        std::fill_n(rig.radio.memory().begin(), img::Identity, 0x5A);
        rig.machine.setVerifyAfterWrite(true);
        rig.host.doc.Data.Messages[0] = FixedText<16>("LOST BLOCK");
        FaultSettings f;
        f.lose = 0.01;
        f.seed = seed;
        rig.radio.setFaults(f);
        rig.machine.startWrite();
        rig.run();
        const Bytes memory = imagePart(rig.radio.memory());
        const Bytes image = imageBytes(rig.machine.image());
        if (rig.radio.counters().lost == 0 || memory == image) continue;  // nothing changed
        const auto diff = std::mismatch(memory.begin(), memory.end(), image.begin());
        const int firstBlock =
            static_cast<int>(diff.first - memory.begin()) / kBlockSize * kBlockSize;
        EXPECT_TRUE(rig.endedWith(TransferKind::Write, false)) << "seed " << seed;
        EXPECT_EQ(rig.machine.verifyMismatchAddress(), firstBlock);
        ASSERT_EQ(rig.prompt.ids().back(), msg::VerifyDiffers);
        EXPECT_NE(rig.prompt.asked.back().message.text.find("0x"), std::string::npos);
        EXPECT_EQ(rig.prompt.count(msg::WriteDone), 0);
        EXPECT_EQ(rig.sent.back().bytes, text("END"));
        ++caught;
    }
    EXPECT_GE(caught, 3);
}

TEST(TransferVerify, OffByDefaultAndWithoutItALostBlockGoesUnnoticed)
{
    Rig rig;
    FaultSettings f;
    f.lose = 0.05;
    rig.radio.setFaults(f);
    rig.host.doc.Data.Messages[0] = FixedText<16>("UNCHECKED");
    rig.machine.startWrite();
    rig.run();
    EXPECT_FALSE(rig.machine.verifyAfterWrite());
    EXPECT_EQ(rig.radio.counters().ends, 1);
    EXPECT_EQ(rig.radio.counters().blockReads, 1);
}

TEST(TransferRead, DecodeDelayCanBeShortened)
{
    Rig rig;
    rig.machine.setDecodeDelay(0);
    rig.machine.startRead();
    rig.clock.runWhile([&] { return rig.machine.busy(); });
    const auto ended = rig.clock.now();
    rig.run();
    ASSERT_EQ(rig.host.replacedWith.size(), 1u);
    EXPECT_LT(rig.clock.now() - ended, milliseconds(1));
}

}  // namespace
}  // namespace zt::test
