#include <gtest/gtest.h>

#include "core/link/answer_matcher.h"

namespace zt {
namespace {

// A write packet's bytes; what they hold does not matter to the matcher
// except as the echo it expects.
const Bytes kPacket(kWritePacketSize, 0x55);

// The radio's answer to "R", 0x01, 0x20, 0x10 with sixteen 0x00 data bytes:
// checksum 0x01 + 0x20 + 0x10 = 0x31.
Bytes blockAnswer0120()
{
    Bytes b{'W', 0x01, 0x20, 0x10};
    b.insert(b.end(), 16, 0x00);
    b.push_back(0x31);
    b.push_back(0x06);
    return b;
}

TEST(AnswerMatcher, EveryCopyOfAPacketIsOwedItsOwnAnswer)
{
    AnswerMatcher m;
    m.sent(Command::WriteBlock, kPacket, 0, -1, false, false);
    m.sent(Command::WriteBlock, kPacket, 0, -1, false, /*repeat=*/true);
    // The first copy's refusal alone settles nothing: the repeat is still owed.
    EXPECT_EQ(m.received(Bytes{kSendAgain}).kind, ReplyKind::None);
    EXPECT_EQ(m.owed(), 1);
    EXPECT_EQ(m.received(Bytes{kAck}).kind, ReplyKind::Ack);
    EXPECT_FALSE(m.inDoubt());
    // The next packet starts with one answer owed, and an echoing cable's copy first.
    m.sent(Command::WriteBlock, kPacket, kWritePacketSize, -1, false, false);
    Bytes echoed = kPacket;
    echoed.push_back(kSendAgain);
    EXPECT_EQ(m.received(echoed).kind, ReplyKind::SendAgain);
    EXPECT_FALSE(m.inDoubt());
}

TEST(AnswerMatcher, AnswersNoPacketWaitsForPutTheCountInDoubt)
{
    {
        // Left behind with an answer owed: that answer may come for the next packet.
        AnswerMatcher m;
        m.sent(Command::WriteBlock, kPacket, 0, -1, false, false);
        m.sent(Command::WriteBlock, kPacket, 0, -1, false, true);
        EXPECT_EQ(m.received(Bytes{kAck}).kind, ReplyKind::None);
        EXPECT_TRUE(m.acknowledged());
        m.leave();
        EXPECT_TRUE(m.inDoubt());
    }
    {
        // Two answers where one was owed.
        AnswerMatcher m;
        m.sent(Command::WriteBlock, kPacket, 0, -1, false, false);
        EXPECT_EQ(m.received(Bytes{kAck, kAck}).kind, ReplyKind::Ack);
        EXPECT_TRUE(m.inDoubt());
    }
    {
        // A byte that is no one-byte answer (the start of a late block answer).
        AnswerMatcher m;
        m.sent(Command::WriteBlock, kPacket, 0, -1, false, false);
        EXPECT_EQ(m.received(Bytes{'W', kAck}).kind, ReplyKind::Ack);
        EXPECT_TRUE(m.inDoubt());
    }
}

TEST(AnswerMatcher, ABlockAnswerAmongStrayBytesEndsTheDoubt)
{
    AnswerMatcher m;
    m.sent(Command::WriteBlock, kPacket, 0, -1, false, false);
    m.leave();
    ASSERT_TRUE(m.inDoubt());
    m.sent(Command::ReadBlock, readBlockCommand(0x0120), 0, 0x0120, false, false);
    // Late one-byte answers come first, then the block's own answer.
    Bytes in{kAck, kSendAgain};
    const Bytes answer = blockAnswer0120();
    in.insert(in.end(), answer.begin(), answer.end());
    const Reply r = m.received(in);
    ASSERT_EQ(r.kind, ReplyKind::DataBlock);
    EXPECT_EQ(r.address, 0x0120);
    EXPECT_FALSE(m.inDoubt());

    // An answer for another block settles nothing and is not taken.
    AnswerMatcher other;
    other.sent(Command::ReadBlock, readBlockCommand(0x0130), 0, 0x0130, false, false);
    EXPECT_EQ(other.received(answer).kind, ReplyKind::None);
}

}  // namespace
}  // namespace zt
