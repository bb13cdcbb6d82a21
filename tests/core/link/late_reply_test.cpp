// Answers that come late (a busy radio keeps their order but needs longer than
// the reply time-out) must each be tied to the command they answer: a late
// acknowledgement may never be taken for the answer to a later packet, and a
// refusal always lands on the block it refuses.

#include <gtest/gtest.h>

#include "link_rig.h"

namespace zt::test {
namespace {

using std::chrono::milliseconds;

enum class Fault { Late, Refuse, Drop, Corrupt };

// Gives the radio one fault for the first time each listed command is sent.
struct FaultPlan {
    std::vector<std::pair<Bytes, Fault>> items;
    std::vector<bool> used;
    int lagMs = 200;

    void attach(Rig& rig)
    {
        used.assign(items.size(), false);
        rig.port.onSent = [this, &rig](const Bytes& sent) {
            rig.sent.push_back({sent, rig.clock.now(), rig.machine.noEcho()});
            FaultSettings f;
            f.lagMs = lagMs;
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (used[i] || items[i].first != sent) continue;
                used[i] = true;
                switch (items[i].second) {
                    case Fault::Late:
                        f.lag = 1.0;
                        break;
                    case Fault::Refuse:
                        f.refuse = 1.0;
                        break;
                    case Fault::Drop:
                        f.drop = 1.0;
                        break;
                    case Fault::Corrupt:
                        f.corrupt = 1.0;
                        break;
                }
                break;  // the same packet may be listed again for its next copy
            }
            rig.radio.setFaults(f);
        };
    }
};

Bytes writeOf(Rig& rig, int address)
{
    // The packet the machine will send: the image's block (identity copied in).
    return writeBlockPacket(address, rig.machine.image().blockBytes(address));
}

int countSent(const Rig& rig, const Bytes& bytes)
{
    int n = 0;
    for (const auto& s : rig.sent) n += s.bytes == bytes;
    return n;
}

// Runs a write whose document differs from the radio, with the faults of `plan`
// given once the packets are known (after the identification).
void runWrite(Rig& rig, FaultPlan& plan, const std::vector<std::pair<int, Fault>>& blocks)
{
    rig.host.doc.Data.Messages[0] = FixedText<16>("LATE ANSWERS");
    rig.machine.startWrite();
    rig.clock.runWhile([&] { return !rig.machine.at(WriteStep::PasswordBlock); });
    for (const auto& [address, fault] : blocks)
        plan.items.push_back({writeOf(rig, address), fault});
    plan.attach(rig);
    rig.run();
}

TEST(LateReply, LateAcknowledgementFollowedByARefusalOrADrop)
{
    for (bool echo : {false, true}) {
        for (Fault next : {Fault::Refuse, Fault::Drop}) {
            SCOPED_TRACE(testing::Message() << "echo " << echo << " next " << int(next));
            Rig rig(9600, echo);
            FaultPlan plan;
            runWrite(rig, plan, {{0x0100, Fault::Late}, {0x0110, next}});
            ASSERT_TRUE(rig.endedWith(TransferKind::Write, true));
            EXPECT_EQ(imagePart(rig.radio.memory()), imageBytes(rig.machine.image()));
            EXPECT_EQ(rig.radio.counters().lagged, 1);
            // The late acknowledgement answered the first packet: no repeat of it.
            EXPECT_EQ(countSent(rig, writeOf(rig, 0x0100)), 1);
            // The refused or unanswered block was sent again.
            EXPECT_EQ(countSent(rig, writeOf(rig, 0x0110)), 2);
            EXPECT_EQ(countSent(rig, writeOf(rig, 0x0120)), 1);
        }
    }
}

TEST(LateReply, AnswerLaterThanTheExtraWaitIsCountedOffNotShifted)
{
    // The acknowledgement comes after the packet was already sent again: it and
    // the repeat's answer both belong to that block, and the refusal that
    // follows still lands on the block it refuses.
    for (bool echo : {false, true}) {
        for (Fault next : {Fault::Refuse, Fault::Drop}) {
            SCOPED_TRACE(testing::Message() << "echo " << echo << " next " << int(next));
            Rig rig(9600, echo);
            rig.port.setBytewise(true);
            FaultPlan plan;
            plan.lagMs = kReplyTimeoutMs + kLateReplyWaitMs + 200;
            runWrite(rig, plan, {{0x0100, Fault::Late}, {0x0110, next}});
            ASSERT_TRUE(rig.endedWith(TransferKind::Write, true));
            EXPECT_EQ(imagePart(rig.radio.memory()), imageBytes(rig.machine.image()));
            EXPECT_EQ(countSent(rig, writeOf(rig, 0x0100)), 2);
            EXPECT_EQ(countSent(rig, writeOf(rig, 0x0110)), 2);
            EXPECT_EQ(countSent(rig, writeOf(rig, 0x0120)), 1);
        }
    }
}

TEST(LateReply, CopyAcknowledgedWhileTheRepeatsAnswerIsOnItsWayProvesTheBlock)
{
    // Both copies of one packet are answered 700 ms late: the first copy's
    // acknowledgement arrives, the repeat's is still on its way when the
    // machine goes on. That answer may not be taken for the next packet, whose
    // refusal must still make it be sent again.
    for (bool echo : {false, true}) {
        SCOPED_TRACE(testing::Message() << "echo " << echo);
        Rig rig(9600, echo);
        FaultPlan plan;
        plan.lagMs = 700;
        runWrite(rig, plan,
                 {{0x0100, Fault::Late}, {0x0100, Fault::Late}, {0x0110, Fault::Refuse}});
        ASSERT_TRUE(rig.endedWith(TransferKind::Write, true));
        EXPECT_EQ(imagePart(rig.radio.memory()), imageBytes(rig.machine.image()));
        EXPECT_GE(countSent(rig, writeOf(rig, 0x0110)), 2);
        EXPECT_GE(rig.machine.provedBlocks(), 1);
    }
}

TEST(LateReply, LostAnswerThenEndlessRefusalsKeepSendingWithoutAFailure)
{
    // An answer given up on never comes; the repeats are all refused. Each
    // refusal is still answered with the same packet, not counted as a time-out.
    Rig r2(9600, false);
    r2.host.doc.Data.Messages[0] = FixedText<16>("REFUSED");
    r2.machine.startWrite();
    r2.clock.runWhile([&] { return !r2.machine.at(WriteStep::Blocks); });
    FaultSettings drop;
    drop.drop = 1.0;
    r2.radio.setFaults(drop);  // the first block's answer is lost
    r2.clock.runWhile([&] { return r2.sentStarting('W').size() < 2; });
    FaultSettings refuse;
    refuse.refuse = 1.0;
    r2.radio.setFaults(refuse);
    r2.clock.advance(milliseconds(10000));
    EXPECT_EQ(r2.prompt.count(msg::TransferFailed), 0);
    EXPECT_TRUE(r2.machine.active());
    EXPECT_GT(r2.sentStarting('W').size(), 10u);
    EXPECT_EQ(r2.radio.counters().blockWrites, 1);  // stored once; its answer was lost
}

TEST(LateReply, LateAnswerAtTheFirstBlockOfAReadOrAWrite)
{
    for (bool echo : {false, true}) {
        {
            Rig rig(9600, echo);
            FaultPlan plan;
            runWrite(rig, plan, {{0x0000, Fault::Late}, {0x0010, Fault::Refuse}});
            ASSERT_TRUE(rig.endedWith(TransferKind::Write, true));
            EXPECT_EQ(imagePart(rig.radio.memory()), imageBytes(rig.machine.image()));
        }
        {
            Rig rig(9600, echo);
            FaultPlan plan;
            plan.items = {{readBlockCommand(0x0000), Fault::Late},
                          {readBlockCommand(0x0010), Fault::Corrupt}};
            plan.attach(rig);
            rig.machine.startRead();
            rig.run();
            ASSERT_TRUE(rig.endedWith(TransferKind::Read, true));
            EXPECT_EQ(imageBytes(rig.machine.image()), imagePart(rig.radio.memory()));
            EXPECT_EQ(countSent(rig, readBlockCommand(0x0000)), 1);
            EXPECT_EQ(countSent(rig, readBlockCommand(0x0010)), 2);
        }
    }
}

TEST(LateReply, LateAnswersDuringTheHandshakeIdentificationAndPasswordBlock)
{
    for (bool write : {false, true}) {
        for (bool echo : {false, true}) {
            Rig rig(9600, echo);
            rig.radio.setPassword("1234");
            rig.password.entered = "1234";
            FaultPlan plan;
            plan.items = {{Bytes{'P', 'R', 'O', 'G', 'R', 'A', 'M'}, Fault::Late},
                          {Bytes{kIdentifyByte}, Fault::Late},
                          {readBlockCommand(kPasswordBlockAddress), Fault::Late}};
            plan.attach(rig);
            rig.host.doc.Data.Messages[0] = FixedText<16>("PASSWORD LATE");
            write ? rig.machine.startWrite() : rig.machine.startRead();
            rig.run();
            SCOPED_TRACE(testing::Message() << "write " << write << " echo " << echo);
            ASSERT_TRUE(rig.endedWith(write ? TransferKind::Write : TransferKind::Read, true));
            EXPECT_EQ(rig.prompt.count(msg::TransferFailed), 0);
            EXPECT_EQ(rig.password.opened, 0);
            EXPECT_EQ(imagePart(rig.radio.memory()), imageBytes(rig.machine.image()));
            EXPECT_EQ(rig.machine.noEcho(), !echo);
        }
    }
}

TEST(LateReply, InformationReadWithLateAnswers)
{
    for (bool echo : {false, true}) {
        Rig rig(9600, echo);
        FaultPlan plan;
        plan.items = {{readBlockCommand(0x3F00), Fault::Late},
                      {readBlockCommand(0x3F10), Fault::Drop},
                      {readBlockCommand(0x3F20), Fault::Late}};
        plan.attach(rig);
        rig.machine.startInformationRead();
        rig.run();
        EXPECT_EQ(rig.host.infoShown, 1);
        EXPECT_TRUE(std::equal(rig.machine.infoBlock().bytes.begin(),
                               rig.machine.infoBlock().bytes.end(),
                               rig.radio.memory().begin() + kInfoBlockBase));
    }
}

// An information block whose answer comes after the resend is sent again and read without
// the failure prompt, as a memory block is.
TEST(LateReply, InformationBlockLaterThanTheResendIsSentAgain)
{
    for (bool echo : {false, true}) {
        Rig rig(9600, echo);
        FaultPlan plan;
        plan.lagMs = kReplyTimeoutMs + kLateReplyWaitMs + 200;
        plan.items = {{readBlockCommand(0x3F30), Fault::Late}};
        plan.attach(rig);
        rig.machine.startInformationRead();
        rig.run();
        SCOPED_TRACE(testing::Message() << "echo " << echo);
        EXPECT_EQ(rig.prompt.count(msg::TransferFailed), 0);
        EXPECT_EQ(rig.host.infoShown, 1);
        EXPECT_TRUE(std::equal(rig.machine.infoBlock().bytes.begin(),
                               rig.machine.infoBlock().bytes.end(),
                               rig.radio.memory().begin() + kInfoBlockBase));
    }
}

// The read-back after a write starts with a handshake that a radio still busy answering the
// END late answers late too: it is waited for and asked again instead of failing at once.
TEST(LateReply, ReadBackHandshakeQueuedBehindALateEnd)
{
    for (bool echo : {false, true}) {
        Rig rig(9600, echo);
        rig.machine.setVerifyAfterWrite(true);
        rig.host.doc.Data.Messages[0] = FixedText<16>("LATE END");
        FaultPlan plan;
        plan.lagMs = kReplyTimeoutMs + kLateReplyWaitMs + 200;
        plan.items = {{Bytes{'E', 'N', 'D'}, Fault::Late}};
        plan.attach(rig);
        rig.machine.startWrite();
        rig.run();
        SCOPED_TRACE(testing::Message() << "echo " << echo);
        EXPECT_EQ(rig.prompt.count(msg::VerifyUnreadable), 0);
        EXPECT_TRUE(rig.endedWith(TransferKind::Write, true));
    }
}

}  // namespace
}  // namespace zt::test
