#include <gtest/gtest.h>

#include "core/link/fresh_radio.h"
#include "core/link/info_exchange.h"
#include "core/link/virtual_link.h"

namespace zt {
namespace {

using std::chrono::milliseconds;

struct InfoRig {
    explicit InfoRig(bool echo = false)
    {
        FreshRadioOptions o;
        o.serialNumber = "2026120900000009";
        o.userCode = "U77";
        o.maintenanceDate = "2026-02-02";
        radio.memory() = freshRadioMemory(o);
        radio.setEcho(echo);
        ex.finished = [this](InfoOutcome o) { outcomes.push_back(o); };
        ex.record() = initialInfoToolRecord({2026, 12, 9}, "2026-12-09");
    }
    void run()
    {
        clock.runWhile([this] { return !clock.idle(); });
    }

    VirtualClock clock;
    VirtualRadio radio{clock};
    EnginePort port{clock, radio, 9600};
    InfoExchange ex{port, clock};
    std::vector<InfoOutcome> outcomes;
};

TEST(InfoRecord, InitialValues)
{
    const InfoToolRecord r = initialInfoToolRecord({2026, 3, 7}, "2026/3/7");
    EXPECT_EQ(r.SerialNumber, "2026030700000001");
    EXPECT_EQ(r.ProductionDate, "2026/3/7");
    EXPECT_EQ(r.ManufactureCode, "03-1-E-1");
    EXPECT_EQ(r.UserCode, "001A");
    EXPECT_EQ(r.AreaCode, "0595");
    EXPECT_EQ(r.ModelText, "ZT-958FM");
    EXPECT_EQ(r.VersionText, "V3.00");
    EXPECT_EQ(r.OptionFlags, (std::array<std::uint8_t, 5>{1, 1, 0, 0, 1}));
    EXPECT_TRUE(r.DealerCode.empty());
}

TEST(InfoRecord, SerialNumberAdvance)
{
    EXPECT_EQ(advanceSerialNumber("2026120900000009"), "2026120900000010");
    EXPECT_EQ(advanceSerialNumber("2026120999999999"), "20261209100000000");
    EXPECT_EQ(advanceSerialNumber("12345"), "00012346");
    EXPECT_EQ(advanceSerialNumber("12345   "), "00012346");
    EXPECT_EQ(advanceSerialNumber("ABCDEFGH"), "ABCDEFGH");
    EXPECT_EQ(advanceSerialNumber("ABCDEFGH12"), "ABCDEFGH00000013");
    EXPECT_EQ(advanceSerialNumber("20261209ABC"), "20261209ABC");
    // Only plain digits count as a number: no sign, point or exponent.
    EXPECT_EQ(advanceSerialNumber("-5"), "-5");
    EXPECT_EQ(advanceSerialNumber("1.5"), "1.5");
    EXPECT_EQ(advanceSerialNumber(""), "");
}

TEST(InfoRecord, FieldsEncodeAndDecode)
{
    InfoBytes block;
    block.fill(0xFF);
    EXPECT_EQ(readInfoField(block, info::Seller), "");  // all 0xFF reads as empty
    InfoToolRecord r;
    r.DealerCode = "ABCDEFGHIJKLMNOPQRST";  // 20 characters: the first 16 are written
    r.ProgramPassword = "12";
    r.Seller = "Li";
    encodeInfoTool(r, block);
    EXPECT_EQ(readInfoField(block, info::DealerCode), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(block[info::ProgramPassword.offset + 2], 0x00);
    EXPECT_EQ(block[info::Seller.offset + 2], 0x00);
    EXPECT_EQ(block[info::AreaCode.offset], 0xFF);  // not written by the tool

    Block ident{'Z', 'T', '-', '9', '5', '8', 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    InfoToolRecord d;
    d.VersionText = "V3.00";
    decodeInfoTool(ident, block, d);
    EXPECT_EQ(d.ModelText, "ZT-958FM");
    EXPECT_EQ(d.BandCode, 0);
    EXPECT_EQ(infoBandText(d.BandCode), "25.615 - 30.105 MHz");
    EXPECT_EQ(d.VersionText, "V3.00");
    EXPECT_EQ(d.ProgramPassword, "12");
    EXPECT_EQ(infoBandText(15), "");
    EXPECT_EQ(infoBandCode("136 - 174 MHz"), 8);
    EXPECT_EQ(infoBandCode("nonsense"), 0);
}

TEST(InfoExchange, ReadsWithAndWithoutAnEchoingCable)
{
    for (bool echo : {false, true}) {
        InfoRig rig(echo);
        ASSERT_TRUE(rig.ex.startRead());
        rig.run();
        ASSERT_EQ(rig.outcomes, std::vector<InfoOutcome>{InfoOutcome::ReadComplete});
        EXPECT_EQ(rig.ex.cableEchoes(), echo);
        const InfoToolRecord& r = rig.ex.record();
        EXPECT_EQ(r.SerialNumber, "2026120900000009");
        EXPECT_EQ(r.UserCode, "U77");
        EXPECT_EQ(r.MaintenanceDate, "2026-02-02");
        EXPECT_EQ(r.ModelText, "ZT-958FM");
        EXPECT_EQ(r.VersionText, "V3.00");  // not read
        EXPECT_FALSE(rig.port.isOpen());
        EXPECT_EQ(rig.radio.counters().blockReads, 17);
    }
}

TEST(InfoExchange, WriteSendsTheDealerPartAndAdvancesTheSerial)
{
    for (bool echo : {false, true}) {
        InfoRig rig(echo);
        rig.ex.record().SerialNumber = "2026120900000009";
        rig.ex.takeRecord = [](InfoToolRecord& r) {
            r.DealerCode = "ABCDEFGHIJKLMNOPQRST";
            r.ProgramPassword = "77";
            r.SaleDate = "2026-12-10";
        };
        const auto before = rig.radio.memory();
        ASSERT_TRUE(rig.ex.startWrite());
        rig.run();
        ASSERT_EQ(rig.outcomes, std::vector<InfoOutcome>{InfoOutcome::WriteComplete});
        const auto& m = rig.radio.memory();
        const std::span<const std::uint8_t> block(m.data() + kInfoBlockBase, kInfoBlockSize);
        EXPECT_EQ(readInfoField(block, info::DealerCode), "ABCDEFGHIJKLMNOP");
        EXPECT_EQ(readInfoField(block, info::SaleDate), "2026-12-10");
        EXPECT_EQ(rig.radio.password(), "77");
        // The user code was read from the radio and written back unchanged; the
        // serial number in the radio is not touched.
        EXPECT_EQ(readInfoField(block, info::UserCode), "U77");
        EXPECT_EQ(readInfoField(block, info::SerialNumber), "2026120900000009");
        EXPECT_TRUE(std::equal(m.begin() + 0x21F0, m.begin() + 0x2200, before.begin() + 0x21F0));
        EXPECT_EQ(rig.ex.record().SerialNumber, "2026120900000010");
        EXPECT_EQ(rig.radio.counters().blockWrites, 6);
    }
}

TEST(InfoExchange, AWriteAnswerAmongStrayBytesIsProvedByReadingTheBlockBack)
{
    // A stray byte comes before the radio's refusal of the block 0x3FC0: the
    // block is sent again and, its answer being in doubt, read back before END.
    InfoRig rig;
    rig.ex.takeRecord = [](InfoToolRecord& r) { r.DealerCode = "STRAY"; };
    bool refused = false;
    rig.port.onSent = [&](const Bytes& b) {
        FaultSettings f;
        if (!refused && b.size() == kWritePacketSize && b[1] == 0x3F && b[2] == 0xC0) {
            refused = true;
            f.refuse = 1.0;
            rig.clock.post(milliseconds(1), [&] { rig.ex.onReceived(Bytes{'Z'}); });
        }
        rig.radio.setFaults(f);
    };
    ASSERT_TRUE(rig.ex.startWrite());
    rig.run();
    ASSERT_EQ(rig.outcomes, std::vector<InfoOutcome>{InfoOutcome::WriteComplete});
    EXPECT_EQ(rig.ex.provedBlocks(), 1);
    const std::span<const std::uint8_t> block(rig.radio.memory().data() + kInfoBlockBase,
                                              kInfoBlockSize);
    EXPECT_EQ(readInfoField(block, info::DealerCode), "STRAY");
}

TEST(InfoExchange, TimeoutIsACommunicationError)
{
    InfoRig rig;
    rig.port.setConnected(false);
    const InfoToolRecord before = rig.ex.record();
    ASSERT_TRUE(rig.ex.startRead());
    rig.run();
    EXPECT_EQ(rig.outcomes, std::vector<InfoOutcome>{InfoOutcome::CommunicationError});
    EXPECT_EQ(rig.clock.now(), milliseconds(500));
    EXPECT_EQ(rig.ex.record(), before);
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_EQ(rig.ex.state(), InfoState::Idle);
}

TEST(InfoExchange, ABlockAnswerForAnotherAddressIsNotTaken)
{
    // Bytes worked out from the layout: a read answer is "W", address high,
    // address low, 0x10, 16 data bytes, the sum of the 19 bytes after "W"
    // modulo 256, 0x06.
    auto answer = [](std::uint8_t high, std::uint8_t low, std::uint8_t fill, std::uint8_t sum) {
        Bytes b{'W', high, low, 0x10};
        b.insert(b.end(), 16, fill);
        b.push_back(sum);
        b.push_back(0x06);
        return b;
    };
    InfoRig rig;
    rig.port.setConnected(false);  // every answer comes from the test
    std::vector<Bytes> sent;
    rig.port.onSent = [&](const Bytes& b) { sent.push_back(b); };
    ASSERT_TRUE(rig.ex.startRead());
    rig.ex.onReceived(Bytes{'Z', 'T', 0x06});
    rig.ex.onReceived(answer(0x21, 0xF0, 0x00, 0x21));  // 0x21 + 0xF0 + 0x10 = 0x121
    ASSERT_EQ(sent.back(), (Bytes{'R', 0x3F, 0x00, 0x10}));
    // A sound answer for 0x3F10 (0x3F + 0x10 + 0x10 + 16 * 0xAA = 0xAFF) while
    // 0x3F00 is awaited: not taken, nothing more is asked, nothing is stored.
    rig.ex.onReceived(answer(0x3F, 0x10, 0xAA, 0xFF));
    EXPECT_EQ(sent.back(), (Bytes{'R', 0x3F, 0x00, 0x10}));
    // The blocks 0x3F00..0x3FF0, all 0x00: sum 0x3F + low + 0x10.
    for (int low = 0x00; low <= 0xF0; low += 0x10) {
        const auto l = static_cast<std::uint8_t>(low);
        rig.ex.onReceived(answer(0x3F, l, 0x00, static_cast<std::uint8_t>(0x4F + low)));
    }
    rig.ex.onReceived(Bytes{0x06});  // END
    ASSERT_EQ(rig.outcomes, std::vector<InfoOutcome>{InfoOutcome::ReadComplete});
    EXPECT_EQ(rig.ex.record().ManufactureCode, "");  // block bytes 16..23, never 0xAA
}

TEST(InfoExchange, PortFailureIsReported)
{
    InfoRig rig;
    rig.port.failNextOpen("busy");
    EXPECT_FALSE(rig.ex.startRead());
    EXPECT_EQ(rig.outcomes, std::vector<InfoOutcome>{InfoOutcome::PortOpenFailed});
    EXPECT_EQ(rig.ex.lastOpen().reason, "busy");
}

TEST(InfoExchange, RefusedBlockIsSentAgain)
{
    InfoRig rig;
    rig.radio.setFaults({0.0, 0.0, 0.5, 3});
    ASSERT_TRUE(rig.ex.startWrite());
    rig.run();
    EXPECT_EQ(rig.outcomes, std::vector<InfoOutcome>{InfoOutcome::WriteComplete});
    EXPECT_GT(rig.radio.counters().refused, 0);
}

TEST(InfoExchange, BatchWritesEachRadioOnceAndWaitsForTheNext)
{
    InfoRig rig;
    rig.ex.record().SerialNumber = "2026120900000001";
    std::vector<int> radios;
    rig.ex.onBatchRadio = [&](int next) {
        radios.push_back(next);
        // The radio stays connected for two seconds, then the next one is plugged in.
        rig.port.setConnected(true);
        rig.clock.post(milliseconds(2000), [&] { rig.port.setConnected(false); });
        rig.clock.post(milliseconds(3500), [&] { rig.port.setConnected(true); });
    };
    ASSERT_TRUE(rig.ex.startBatch(3));
    rig.clock.runWhile([&] { return rig.outcomes.empty(); });
    EXPECT_EQ(rig.outcomes, std::vector<InfoOutcome>{InfoOutcome::BatchComplete});
    EXPECT_EQ(radios, (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(rig.ex.record().SerialNumber, "2026120900000004");
    EXPECT_EQ(rig.radio.counters().blockWrites, 3 * 6);  // never written twice
    EXPECT_FALSE(rig.port.isOpen());
}

TEST(InfoExchange, BatchKeepsEachRadiosOwnUserCodeBytes)
{
    for (bool echo : {false, true}) {
        InfoRig rig(echo);
        rig.ex.record().DealerCode = "DEALER-9";
        // Three radios, each with its own bytes 32 to 43 (user code and the
        // uninterpreted bytes after it); one virtual radio plays them in turn.
        const std::vector<std::string> own{"A001xxxxyyyy", "B002zzzzwwww", "C003qqqqrrrr"};
        auto plugRadio = [&](std::size_t n) {
            std::copy(own[n].begin(), own[n].end(), rig.radio.memory().begin() + 0x3F20);
        };
        plugRadio(0);
        std::vector<std::string> writtenWith;
        rig.radio.onEvent = [&](RadioEvent e, int) {
            if (e != RadioEvent::Ended) return;
            const auto first = rig.radio.memory().begin() + 0x3F20;
            writtenWith.emplace_back(first, first + 12);
        };
        rig.ex.onBatchRadio = [&](int next) {
            rig.clock.post(milliseconds(1000), [&] { rig.port.setConnected(false); });
            rig.clock.post(milliseconds(2500), [&, next] {
                if (next <= 3) plugRadio(static_cast<std::size_t>(next - 1));
                rig.port.setConnected(true);
            });
        };
        ASSERT_TRUE(rig.ex.startBatch(3));
        rig.clock.runWhile([&] { return rig.outcomes.empty(); });
        EXPECT_EQ(rig.outcomes, std::vector<InfoOutcome>{InfoOutcome::BatchComplete});
        EXPECT_EQ(writtenWith, own);
        EXPECT_EQ(rig.radio.memory()[0x3FC0], 'D');
    }
}

TEST(InfoExchange, CancelSendsEndAndEndsQuietly)
{
    InfoRig rig;
    ASSERT_TRUE(rig.ex.startWrite());
    rig.clock.runWhile([&] { return rig.radio.counters().blockWrites < 2; });
    rig.ex.cancel();
    rig.run();
    EXPECT_TRUE(rig.outcomes.empty());
    EXPECT_EQ(rig.ex.state(), InfoState::Idle);
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_EQ(rig.radio.mode(), RadioMode::Idle);
    EXPECT_EQ(rig.radio.counters().ends, 1);
}

TEST(InfoExchange, BatchGivesUpAfterFourHoursOfWaiting)
{
    InfoRig rig;
    rig.ex.onBatchRadio = [&](int) { rig.port.setConnected(false); };
    ASSERT_TRUE(rig.ex.startBatch(2));
    rig.clock.runWhile([&] { return rig.outcomes.empty(); });
    EXPECT_EQ(rig.outcomes, std::vector<InfoOutcome>{InfoOutcome::CommunicationError});
    EXPECT_EQ(rig.ex.batchWaits(), kBatchMaxWaits + 1);
    EXPECT_GE(rig.clock.now(), std::chrono::hours(4));
}

TEST(InfoExchange, StopBatchEndsAtOnce)
{
    InfoRig rig;
    rig.ex.onBatchRadio = [&](int) { rig.port.setConnected(false); };
    ASSERT_TRUE(rig.ex.startBatch(2));
    rig.clock.advance(milliseconds(3000));
    EXPECT_EQ(rig.ex.state(), InfoState::BatchWaiting);
    rig.ex.stopBatch();
    rig.run();
    EXPECT_TRUE(rig.outcomes.empty());
    EXPECT_EQ(rig.ex.state(), InfoState::Idle);
    EXPECT_FALSE(rig.port.isOpen());
}

}  // namespace
}  // namespace zt
