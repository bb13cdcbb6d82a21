#include <gtest/gtest.h>

#include <random>

#include "core/link/fresh_radio.h"
#include "core/link/info_block.h"
#include "core/link/virtual_link.h"
#include "core/radio/image_codec.h"

namespace zt {
namespace {

Bytes text(std::string_view s)
{
    return Bytes(s.begin(), s.end());
}

struct Radio {
    VirtualClock clock;
    VirtualRadio radio{clock};
    Radio() { radio.memory() = freshRadioMemory(); }
    Bytes send(const Bytes& b) { return radio.receive(b); }
};

TEST(VirtualRadio, AnswersTheProgrammingConversation)
{
    Radio r;
    EXPECT_TRUE(r.send(Bytes{0x02}).empty());  // not in programming mode yet
    EXPECT_EQ(r.send(text("PROGRAM")), text("ZT\x06"));
    EXPECT_EQ(r.radio.mode(), RadioMode::Programming);

    const Bytes id = r.send(Bytes{0x02});
    ASSERT_EQ(id.size(), 16u);
    EXPECT_EQ(id[0], 'P');
    EXPECT_EQ(Bytes(id.begin() + 1, id.begin() + 7), text("ZT-958"));
    EXPECT_EQ(id[7], 1);
    EXPECT_EQ(Bytes(id.begin() + 9, id.begin() + 13), text("V300"));
    EXPECT_EQ(id[13], 0);
    EXPECT_EQ(id[15], 0x06);

    const Bytes block = r.send(readBlockCommand(0x0010));
    ASSERT_EQ(block.size(), 22u);
    EXPECT_EQ(block[0], 'W');
    EXPECT_EQ(block[20], blockChecksum(0x10, 16, std::span(block).subspan(4, 16)));

    Block data;
    data.fill(0x5A);
    EXPECT_EQ(r.send(writeBlockPacket(0x0020, data)), Bytes{0x06});
    EXPECT_EQ(r.radio.memory()[0x0020], 0x5A);
    EXPECT_EQ(r.send(text("END")), Bytes{0x06});
    EXPECT_EQ(r.radio.mode(), RadioMode::Idle);
}

TEST(VirtualRadio, BadPacketsGetSendAgainAndChangeNothing)
{
    Radio r;
    r.send(text("PROGRAM"));
    Block data;
    data.fill(0x11);
    Bytes p = writeBlockPacket(0x0040, data);
    p[20] ^= 0x01;
    const auto before = r.radio.memory();
    EXPECT_EQ(r.send(p), Bytes{0x0A});
    EXPECT_EQ(r.radio.memory(), before);
    // The information block is only writable in the factory mode.
    EXPECT_EQ(r.send(writeBlockPacket(0x3FC0, data)), Bytes{0x0A});
    EXPECT_EQ(r.radio.memory(), before);
    r.send(text("END"));
    EXPECT_EQ(r.send(text("FACTORY")), text("ZT\x06"));
    EXPECT_EQ(r.send(writeBlockPacket(0x3FC0, data)), Bytes{0x06});
    EXPECT_EQ(r.radio.memory()[0x3FC0], 0x11);
}

TEST(VirtualRadio, EchoesEveryByteBeforeItsAnswer)
{
    Radio r;
    r.radio.setEcho(true);
    EXPECT_EQ(r.send(text("PROGRAM")), text("PROGRAMZT\x06"));
    const Bytes cmd = readBlockCommand(0x0100);
    const Bytes out = r.send(cmd);
    ASSERT_EQ(out.size(), 26u);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 4), cmd);
}

TEST(VirtualRadio, ForgetsAnUnfinishedCommandAfterAPause)
{
    Radio r;
    r.send(text("PROGRAM"));
    EXPECT_TRUE(r.send(Bytes{'R', 0x00}).empty());
    r.clock.advance(std::chrono::milliseconds(150));
    // Without the pause rule these bytes would complete the old command.
    EXPECT_EQ(r.send(readBlockCommand(0x0030)).size(), 22u);
}

TEST(VirtualRadio, PasswordAndFirmwareLiveInMemory)
{
    Radio r;
    r.radio.setPassword("AB");
    EXPECT_EQ(r.radio.password(), "AB");
    EXPECT_EQ(r.radio.memory()[0x3F2C], 'A');
    EXPECT_EQ(r.radio.memory()[0x3F2E], 0x00);
    r.radio.setFirmwareVersion("V310");
    EXPECT_EQ(r.radio.firmwareVersion(), "V310");
}

TEST(VirtualRadio, FreshRadioHoldsANewDocumentAndItsInformation)
{
    FreshRadioOptions o;
    o.serialNumber = "2026010100000007";
    const RadioMemory m = freshRadioMemory(o);
    RadioImage image;
    std::copy(m.begin(), m.begin() + kImageSize, image.bytes.begin());
    RadioDocument doc;
    ProgramState state;
    decodeImage(image, doc, state);
    EXPECT_EQ(doc.Data.ModelName.cut(), "ZT-958FM");
    EXPECT_EQ(doc.Data.BandCode, 0);
    EXPECT_EQ(doc.Data.ChannelCount, 2);
    EXPECT_FALSE(state.RefuseWriteFlag1);
    const std::span<const std::uint8_t> block(m.data() + kInfoBlockBase, kInfoBlockSize);
    EXPECT_EQ(readInfoField(block, info::SerialNumber), "2026010100000007");
    EXPECT_EQ(readInfoField(block, info::AreaCode), "0595");
}

TEST(VirtualRadio, InjectsFaultsReproduciblyFromItsSeed)
{
    auto run = [](std::uint64_t seed) {
        Radio r;
        r.radio.setFaults({0.2, 0.2, 0.2, seed});
        r.send(text("PROGRAM"));
        Bytes all;
        for (int a = 0; a < 0x400; a += 16) {
            const Bytes out = r.send(readBlockCommand(a));
            all.insert(all.end(), out.begin(), out.end());
        }
        return std::pair{all, r.radio.counters()};
    };
    const auto [a, ca] = run(5);
    const auto [b, cb] = run(5);
    EXPECT_EQ(a, b);
    EXPECT_GT(ca.dropped, 0);
    EXPECT_GT(ca.corrupted, 0);
    const auto [c, cc] = run(6);
    EXPECT_NE(a, c);
}

TEST(VirtualRadio, RandomBytesNeverCrashItAndItRecovers)
{
    Radio r;
    std::mt19937 rng(11);
    for (int i = 0; i < 100000; ++i) {
        if (i % 100 == 0) r.send(text("PROGRAM"));
        Bytes b(1 + rng() % 40);
        for (auto& x : b) x = static_cast<std::uint8_t>(rng() % 4 == 0 ? 'W' : rng());
        r.send(b);
    }
    EXPECT_GT(r.radio.counters().badPackets, 0);
    r.clock.advance(std::chrono::milliseconds(200));
    EXPECT_EQ(r.send(text("PROGRAM")), text("ZT\x06"));
    EXPECT_EQ(r.send(readBlockCommand(0x0000)).size(), 22u);
}

}  // namespace
}  // namespace zt
