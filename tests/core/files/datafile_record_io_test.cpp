#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "core/files/record_io.h"
#include "datafile_test_util.h"

namespace zt {
namespace {

using testutil::randomBytes;

std::vector<std::uint8_t> bytesOf(const RadioData& d)
{
    const auto b = radioDataToBytes(d);
    return {b.begin(), b.end()};
}

TEST(DataFileRecords, EveryMainFileByteSurvivesARoundTrip)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        const auto in = randomBytes(kRadioDataFileSize, seed);
        const RadioData d =
            radioDataFromBytes(std::span<const std::uint8_t, 1663>(in.data(), 1663));
        EXPECT_EQ(bytesOf(d), in) << "seed " << seed;
    }
    for (std::uint8_t fill : {std::uint8_t{0x00}, std::uint8_t{0xFF}, std::uint8_t{0x80}}) {
        std::vector<std::uint8_t> in(kRadioDataFileSize, fill);
        const RadioData d =
            radioDataFromBytes(std::span<const std::uint8_t, 1663>(in.data(), 1663));
        EXPECT_EQ(bytesOf(d), in);
    }
}

TEST(DataFileRecords, EveryChannelByteSurvivesARoundTrip)
{
    for (unsigned seed = 1; seed <= 50; ++seed) {
        const auto in = randomBytes(kChannelFileRecordSize, seed);
        const ChannelRecord r = channelFromBytes(std::span<const std::uint8_t, 90>(in.data(), 90));
        const auto out = channelToBytes(r);
        EXPECT_TRUE(std::equal(in.begin(), in.end(), out.begin())) << "seed " << seed;
    }
}

TEST(DataFileRecords, ChannelFieldsSitAtTheirOffsets)
{
    ChannelRecord r;
    r.ChNo = 521;  // 0x0209
    r.Empty = 1;
    r.ScanSkip = -2;
    r.RxFre = "02761125";
    r.DecodeTone = 0x1234;
    r.CallCode = 7;
    r.ShiftDir = 2;
    r.OffsetFre = std::string("0060000");
    r.RxStep = 3;
    r.Tsq = 1;
    const auto b = channelToBytes(r);
    EXPECT_EQ(b[0], 0x09);
    EXPECT_EQ(b[1], 0x02);
    EXPECT_EQ(b[2], 1);
    EXPECT_EQ(b[4], 0xFE);  // -2, little-endian two's complement
    EXPECT_EQ(b[5], 0xFF);
    EXPECT_EQ(std::string(b.begin() + 6, b.begin() + 14), "02761125");
    EXPECT_EQ(b[14], 0x34);
    EXPECT_EQ(b[15], 0x12);
    EXPECT_EQ(b[50], 7);
    EXPECT_EQ(b[52], 2);
    EXPECT_EQ(std::string(b.begin() + 53, b.begin() + 60), "0060000");
    EXPECT_EQ(b[60], 3);
    EXPECT_EQ(b[88], 1);
    EXPECT_EQ(channelFromBytes(b), r);
}

// A channel whose every field holds a value of its own, against its 90 bytes written out by
// hand from the file layout. Two fields of the same size exchanged by the reader and the writer
// alike survive a round trip; they do not survive this comparison.
ChannelRecord everyFieldDistinct()
{
    ChannelRecord r;
    r.ChNo = 0x01A3;  // 419
    r.Empty = 0x0201;
    r.ScanSkip = 0x0302;
    r.RxFre = "02761125";
    r.DecodeTone = 0x0403;
    r.EncodeTone = 0x0504;
    r.FmPower = 0x0605;
    r.FmPowerLock = 0x0706;
    r.AmPower = 0x0807;
    r.AmPowerLock = 0x0908;
    r.AmFm = 0x0A09;
    r.AmFmLock = 0x0B0A;
    r.RxExpand = 0x0C0B;
    r.TxCompress = 0x0D0C;
    r.NbAnl = 0x0E0D;
    r.Attenuator = 0x0F0E;
    r.HiCut = 0x100F;
    r.BusyChannelLock = 0x1110;
    r.RBTone = 0x1211;
    r.SquelchMode = 0x1312;
    r.BotCode = 0x1413;
    r.EotCode = 0x1514;
    r.CallCode = 0x1615;
    r.ShiftDir = 0xC2;
    r.OffsetFre = std::string("0060000");
    r.RxStep = 0x1716;
    r.TxStep = 0x1817;
    r.TxInhibit = 0x1918;
    r.RevTalk = 0x1A19;
    r.Scramble = 0x1B1A;
    r.Talkaround = 0x1C1B;
    r.SignalLogic = 0x1D1C;
    r.Whisper = 0x1E1D;
    r.PttId = 0x1F1E;
    r.Spacing = 0x201F;
    r.OptSignal = 0x2120;
    r.Compander = 0x2221;
    r.Reverse = 0x2322;
    r.Rep = 0x2423;
    r.Tsq = -2;  // 0xFFFE
    return r;
}

constexpr std::array<std::uint8_t, 90> kEveryFieldDistinctBytes = {
    0xA3, 0x01,                                //  0 ChNo
    0x01, 0x02,                                //  2 Empty
    0x02, 0x03,                                //  4 ScanSkip
    '0',  '2',  '7', '6', '1', '1', '2', '5',  //  6 RxFre
    0x03, 0x04,                                // 14 DecodeTone
    0x04, 0x05,                                // 16 EncodeTone
    0x05, 0x06,                                // 18 FmPower
    0x06, 0x07,                                // 20 FmPowerLock
    0x07, 0x08,                                // 22 AmPower
    0x08, 0x09,                                // 24 AmPowerLock
    0x09, 0x0A,                                // 26 AmFm
    0x0A, 0x0B,                                // 28 AmFmLock
    0x0B, 0x0C,                                // 30 RxExpand
    0x0C, 0x0D,                                // 32 TxCompress
    0x0D, 0x0E,                                // 34 NbAnl
    0x0E, 0x0F,                                // 36 Attenuator
    0x0F, 0x10,                                // 38 HiCut
    0x10, 0x11,                                // 40 BusyChannelLock
    0x11, 0x12,                                // 42 RBTone
    0x12, 0x13,                                // 44 SquelchMode
    0x13, 0x14,                                // 46 BotCode
    0x14, 0x15,                                // 48 EotCode
    0x15, 0x16,                                // 50 CallCode
    0xC2,                                      // 52 ShiftDir
    '0',  '0',  '6', '0', '0', '0', '0',       // 53 OffsetFre
    0x16, 0x17,                                // 60 RxStep
    0x17, 0x18,                                // 62 TxStep
    0x18, 0x19,                                // 64 TxInhibit
    0x19, 0x1A,                                // 66 RevTalk
    0x1A, 0x1B,                                // 68 Scramble
    0x1B, 0x1C,                                // 70 Talkaround
    0x1C, 0x1D,                                // 72 SignalLogic
    0x1D, 0x1E,                                // 74 Whisper
    0x1E, 0x1F,                                // 76 PttId
    0x1F, 0x20,                                // 78 Spacing
    0x20, 0x21,                                // 80 OptSignal
    0x21, 0x22,                                // 82 Compander
    0x22, 0x23,                                // 84 Reverse
    0x23, 0x24,                                // 86 Rep
    0xFE, 0xFF,                                // 88 Tsq
};

TEST(DataFileRecords, EveryChannelFieldHasItsOwnBytesBothWays)
{
    const ChannelRecord r = everyFieldDistinct();
    const auto written = channelToBytes(r);
    EXPECT_TRUE(std::equal(written.begin(), written.end(), kEveryFieldDistinctBytes.begin()));
    EXPECT_EQ(channelFromBytes(kEveryFieldDistinctBytes), r);

    // The common channel inside the option settings has the same 90 bytes, at 392 + 126.
    RadioData d;
    d.Options.Common = r;
    const auto main = radioDataToBytes(d);
    EXPECT_TRUE(std::equal(kEveryFieldDistinctBytes.begin(), kEveryFieldDistinctBytes.end(),
                           main.begin() + 518));
    RadioDataFileBytes withFixture = main;
    std::copy(kEveryFieldDistinctBytes.begin(), kEveryFieldDistinctBytes.end(),
              withFixture.begin() + 518);
    EXPECT_EQ(radioDataFromBytes(withFixture).Options.Common, r);
}

TEST(DataFileRecords, TextsKeepNulsAndPaddingExactly)
{
    ChannelRecord r;
    r.OffsetFre = std::string(7, '\0');  // a new channel's offset
    r.RxFre = "AB";                      // padded with spaces
    const auto b = channelToBytes(r);
    EXPECT_TRUE(std::all_of(b.begin() + 53, b.begin() + 60, [](std::uint8_t c) { return c == 0; }));
    EXPECT_EQ(std::string(b.begin() + 6, b.begin() + 14), "AB      ");
    EXPECT_EQ(channelFromBytes(b).OffsetFre.raw(), std::string(7, '\0'));
}

TEST(DataFileRecords, RadioDataFieldsSitAtTheirOffsets)
{
    RadioData d;
    d.Version = "V300";
    d.ChannelCount = 0x0102;
    d.RadioFre[0].Value = 1;
    d.RadioFre[19].Frequency = "12345678";
    d.TestFre[0].Rx = "43510000";
    d.TestFre[10].Tx = "87654321";
    d.ModelName = "ZT-958FM";
    d.BandCode = 0x21;
    d.Options.TimeOutTimer = 600;
    d.Options.EmergencyRows[1][1] = 5;   // word 9 + 2*1 + 1
    d.Options.GroupAmFm[11][1] = 1;      // word 34 + 22
    d.Options.ResetChannelExtended = 9;  // word 62
    d.Options.Common.ChNo = 77;
    d.Options.Common.Tsq = 1;
    d.Options.PowerOnText = "HELLO";
    d.Options.SquelchLevel = 4;
    d.Options.VoxDelay = -1;
    d.Dtmf.Rate = 3;
    d.Dtmf.IdCode = "000";
    d.Dtmf.IdCodeLength = 3;
    d.Dtmf.PttIdBot.Length = 2;
    d.Dtmf.Memory[0].Length = 4;
    d.Dtmf.Memory[15].Digits = "1234";
    d.Messages[0] = "LINE0";
    d.Messages[3] = "LINE3";
    d.Keys.Values[0] = 10;
    d.Alerts.Values[0] = 1;
    d.Scan.Values[11] = 0xAB;
    d.Tips[0].Notes[0] = {210, 10};
    d.Tips[7].RepeatCount = 2;
    d.Tips[7].Interval = 3;
    d.Groups[0] = "E";
    d.Groups[11] = "XYZ";

    const auto b = bytesOf(d);
    ASSERT_EQ(b.size(), 1663u);
    auto text = [&](std::size_t at, std::size_t n) {
        return std::string(b.begin() + static_cast<std::ptrdiff_t>(at),
                           b.begin() + static_cast<std::ptrdiff_t>(at + n));
    };
    auto word = [&](std::size_t at) { return b[at] | (b[at + 1] << 8); };
    EXPECT_EQ(text(0, 4), "V300");
    EXPECT_EQ(word(4), 0x0102);
    EXPECT_EQ(word(6), 1);
    EXPECT_EQ(text(6 + 19 * 10 + 2, 8), "12345678");
    EXPECT_EQ(text(206, 8), "43510000");
    EXPECT_EQ(text(206 + 10 * 16 + 8, 8), "87654321");
    EXPECT_EQ(text(382, 8), "ZT-958FM");
    EXPECT_EQ(word(390), 0x21);
    // OptionSettings at 392: words 0..62, common channel, power-on text, words 132..148
    EXPECT_EQ(word(392), 600);
    EXPECT_EQ(word(392 + 2 * 12), 5);
    EXPECT_EQ(word(392 + 2 * 56), 1);
    EXPECT_EQ(word(392 + 2 * 62), 9);
    EXPECT_EQ(word(392 + 126), 77);
    EXPECT_EQ(word(392 + 126 + 88), 1);
    EXPECT_EQ(text(392 + 216, 16), "HELLO           ");
    EXPECT_EQ(word(392 + 232), 4);
    EXPECT_EQ(word(392 + 264), 0xFFFF);
    // DtmfSettings at 658
    EXPECT_EQ(word(658), 3);
    EXPECT_EQ(text(658 + 18, 10), "000       ");
    EXPECT_EQ(word(658 + 28), 3);
    EXPECT_EQ(word(658 + 30), 2);
    EXPECT_EQ(word(658 + 102), 4);
    EXPECT_EQ(text(658 + 102 + 15 * 18 + 2, 16), "1234            ");
    EXPECT_EQ(text(1048, 5), "LINE0");
    EXPECT_EQ(text(1048 + 48, 5), "LINE3");
    EXPECT_EQ(word(1112), 10);
    EXPECT_EQ(b[1124], 1);
    EXPECT_EQ(b[1135 + 11], 0xAB);
    EXPECT_EQ(word(1147), 210);
    EXPECT_EQ(word(1149), 10);
    EXPECT_EQ(word(1147 + 7 * 60 + 56), 2);
    EXPECT_EQ(word(1147 + 7 * 60 + 58), 3);
    EXPECT_EQ(text(1627, 3), "E  ");
    EXPECT_EQ(text(1660, 3), "XYZ");

    EXPECT_EQ(radioDataFromBytes(radioDataToBytes(d)), d);
}

}  // namespace
}  // namespace zt
