#include <gtest/gtest.h>

#include <random>

#include "core/link/packets.h"

namespace zt {
namespace {

Bytes text(std::string_view s)
{
    return Bytes(s.begin(), s.end());
}

Bytes cat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A radio's answer to a block read.
Bytes readReply(int address, const Block& data, int checksumDelta = 0)
{
    Bytes r{'W', static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address), 16};
    r.insert(r.end(), data.begin(), data.end());
    r.push_back(static_cast<std::uint8_t>(blockChecksum(address, 16, data) + checksumDelta));
    r.push_back(0x06);
    return r;
}

Block pattern(std::uint8_t seed)
{
    Block b;
    for (int i = 0; i < 16; ++i)
        b[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(seed + i);
    return b;
}

TEST(Packets, AwaitedTotalsWithAndWithoutEcho)
{
    EXPECT_EQ(awaitedTotal(Command::Handshake, false), 10);
    EXPECT_EQ(awaitedTotal(Command::Handshake, true), 3);
    EXPECT_EQ(awaitedTotal(Command::Identify, false), 17);
    EXPECT_EQ(awaitedTotal(Command::ReadBlock, false), 26);
    EXPECT_EQ(awaitedTotal(Command::ReadBlock, true), 22);
    EXPECT_EQ(awaitedTotal(Command::WriteBlock, false), 23);
    EXPECT_EQ(awaitedTotal(Command::WriteBlock, true), 1);
    EXPECT_EQ(awaitedTotal(Command::End, false), 4);
}

TEST(Packets, CommandBytes)
{
    EXPECT_EQ(handshakeCommand(), text("PROGRAM"));
    EXPECT_EQ(factoryHandshakeCommand(), text("FACTORY"));
    EXPECT_EQ(readBlockCommand(0x3F20), (Bytes{'R', 0x3F, 0x20, 16}));
    EXPECT_EQ(endCommand(), text("END"));
}

TEST(Packets, WritePacketOfAllFfAtAddress0x10HasChecksum0x10)
{
    Block ff;
    ff.fill(0xFF);
    const Bytes p = writeBlockPacket(0x0010, ff);
    ASSERT_EQ(p.size(), 22u);
    EXPECT_EQ(p[0], 'W');
    EXPECT_EQ(p[1], 0x00);
    EXPECT_EQ(p[2], 0x10);
    EXPECT_EQ(p[3], 0x10);
    EXPECT_EQ(p[20], 0x10);
    EXPECT_EQ(p[21], 0x06);
}

TEST(Packets, ChecksumAtAHighAddressCountsBothAddressBytes)
{
    // Block 0x2430 holding 0x01..0x10: 0x24 + 0x30 + 0x10 + (1 + 2 + ... + 16 = 0x88)
    // = 0xEC. Leaving out the high address byte would give 0xC8.
    Block data;
    for (int i = 0; i < 16; ++i)
        data[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i + 1);
    const Bytes packet{'W',  0x24, 0x30, 0x10, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,
                       0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0xEC, 0x06};
    EXPECT_EQ(writeBlockPacket(0x2430, data), packet);
    // The radio's answer to "R", 0x24, 0x30, 0x10 has the same bytes.
    const Reply r = classifyReply(packet, 0, false, 0x2430);
    ASSERT_EQ(r.kind, ReplyKind::DataBlock);
    EXPECT_EQ(r.data, data);
    Bytes lowOnly = packet;
    lowOnly[20] = 0xC8;
    EXPECT_EQ(classifyReply(lowOnly, 0, false, 0x2430).kind, ReplyKind::None);
}

TEST(Packets, HandshakeAnswerWithAndWithoutEcho)
{
    const Bytes answer = text("ZT\x06");
    EXPECT_EQ(classifyReply(cat(text("PROGRAM"), answer), 7, false, -1).kind, ReplyKind::Handshake);
    EXPECT_EQ(classifyReply(answer, 0, false, -1).kind, ReplyKind::Handshake);
    EXPECT_EQ(classifyReply(text("ZT\x15"), 0, false, -1).kind, ReplyKind::None);
}

TEST(Packets, OneByteAnswersComeFirst)
{
    EXPECT_EQ(classifyReply(Bytes{0x06}, 0, false, -1).kind, ReplyKind::Ack);
    EXPECT_EQ(classifyReply(Bytes{0x0A}, 0, false, -1).kind, ReplyKind::SendAgain);
    EXPECT_EQ(classifyReply(cat(text("END"), Bytes{0x06}), 3, false, -1).kind, ReplyKind::Ack);
    EXPECT_EQ(classifyReply(Bytes{0x15}, 0, false, -1).kind, ReplyKind::None);
    // With the echo expected, a lone 0x06 is not enough.
    EXPECT_EQ(classifyReply(Bytes{0x06}, 3, false, -1).kind, ReplyKind::None);
}

TEST(Packets, IdentificationIsParsedAndCopiedIntoTheIdentity)
{
    Bytes reply{'P', 'Z', 'T', '-', '9', '5', '8', 1, 0x77, 'V', '3', '0', '0', 0x0C, 0x99, 0x06};
    const Reply r = classifyReply(reply, 0, false, -1);
    ASSERT_EQ(r.kind, ReplyKind::Identification);
    const Identification id = parseIdentification(r.ident);
    EXPECT_EQ(id.model, "ZT-958FM");
    EXPECT_EQ(id.variant, 0);
    EXPECT_EQ(id.version, "V300");
    EXPECT_EQ(id.featureFlags, 0x0C);

    RadioImage image;
    image.clear();
    image[8694] = 0x42;
    copyIdentityToImage(r.ident, image);
    EXPECT_EQ(image[8688], 'Z');
    EXPECT_EQ(image[8693], '8');
    EXPECT_EQ(image[8694], 0x42);  // the document's band byte stays
    EXPECT_EQ(image[8695], 0x77);
    EXPECT_EQ(image[8696], 'V');
    EXPECT_EQ(image[8700], 0x0C);
    EXPECT_EQ(image[8701], 0x99);

    // Other variants and short texts.
    Bytes other{'P', 'A', 'B', 0, 0, 0, 0, 8, 0, 'V', '3', 0, 0, 0, 0, 0x06};
    const Identification o = parseIdentification(classifyReply(other, 0, false, -1).ident);
    EXPECT_EQ(o.model, "AB");
    EXPECT_EQ(o.variant, 8);
    EXPECT_EQ(o.version, "V3");
}

TEST(Packets, DataBlockNeedsTheRequestedAddressAndAGoodChecksum)
{
    const Block data = pattern(0x30);
    const Reply ok = classifyReply(readReply(0x0120, data), 0, false, 0x0120);
    EXPECT_EQ(ok.kind, ReplyKind::DataBlock);
    EXPECT_EQ(ok.address, 0x0120);
    EXPECT_EQ(ok.data, data);
    EXPECT_EQ(
        classifyReply(cat(readBlockCommand(0x120), readReply(0x0120, data)), 4, false, 0x120).kind,
        ReplyKind::DataBlock);
    // Wrong checksum, wrong address, wrong last byte: ignored.
    EXPECT_EQ(classifyReply(readReply(0x0120, data, 1), 0, false, 0x0120).kind, ReplyKind::None);
    EXPECT_EQ(classifyReply(readReply(0x0130, data), 0, false, 0x0120).kind, ReplyKind::None);
    Bytes badEnd = readReply(0x0120, data);
    badEnd.back() = 0x0A;
    EXPECT_EQ(classifyReply(badEnd, 0, false, 0x0120).kind, ReplyKind::None);
}

TEST(Packets, PasswordBlockOnlyInThePasswordStep)
{
    const Block data = pattern(0x41);
    EXPECT_EQ(classifyReply(readReply(0x3F20, data), 0, true, -1).kind, ReplyKind::PasswordBlock);
    EXPECT_EQ(classifyReply(readReply(0x3F20, data), 0, false, -1).kind, ReplyKind::None);
    // A corrupted password block would decide the check on wrong bytes: ignored.
    EXPECT_EQ(classifyReply(readReply(0x3F20, data, 3), 0, true, -1).kind, ReplyKind::None);
}

TEST(Packets, PasswordOfTheBlock)
{
    Block b;
    b.fill(0xFF);
    EXPECT_EQ(passwordOfBlock(b), "");
    b[12] = '1';
    b[13] = '2';
    EXPECT_EQ(passwordOfBlock(b), "12");
    b[14] = ' ';
    b[15] = 0x00;
    EXPECT_EQ(passwordOfBlock(b), "12");
    b[14] = 'X';
    b[15] = 'Y';
    EXPECT_EQ(passwordOfBlock(b), "12XY");
    EXPECT_TRUE(passwordMatches("", "anything"));
    EXPECT_TRUE(passwordMatches("12XY", "12XY"));
    EXPECT_FALSE(passwordMatches("12XY", "12xy"));
    EXPECT_FALSE(passwordMatches("12XY", ""));
}

TEST(Packets, RandomBytesNeverYieldABlockWithABadChecksum)
{
    std::mt19937 rng(7);
    for (int i = 0; i < 200000; ++i) {
        const int echo = (i % 2) ? 0 : 4;
        Bytes b(static_cast<std::size_t>(echo + 22));
        for (auto& x : b) x = static_cast<std::uint8_t>(rng());
        // Make many of them look like read replies so the deeper tests run.
        if (i % 3 == 0) {
            b[static_cast<std::size_t>(echo)] = 'W';
            b[static_cast<std::size_t>(echo + 3)] = 16;
            b.back() = 0x06;
        }
        const Reply r = classifyReply(b, echo, i % 5 == 0, (b[echo + 1] << 8) | b[echo + 2]);
        if (r.kind == ReplyKind::DataBlock || r.kind == ReplyKind::PasswordBlock) {
            EXPECT_EQ(blockChecksum(r.address, 16, r.data), b[static_cast<std::size_t>(echo + 20)]);
        }
    }
}

}  // namespace
}  // namespace zt
