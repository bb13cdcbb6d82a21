// Every offset of the image against values worked out by hand from the memory map.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/radio/image_codec.h"

namespace zt {
namespace {

void expectBytes(const RadioImage& image, int at, std::initializer_list<int> want)
{
    int a = at;
    for (int w : want) {
        EXPECT_EQ(image[a], w) << "offset " << a;
        ++a;
    }
}

void expectFill(const RadioImage& image, int from, int to, int value)
{
    for (int a = from; a <= to; ++a) EXPECT_EQ(image[a], value) << "offset " << a;
}

ChannelRecord channel(int chNo, const char* rx)
{
    ChannelRecord c;
    c.ChNo = static_cast<std::int16_t>(chNo);
    c.RxFre = rx;
    return c;
}

RadioDocument handDocument()
{
    RadioDocument doc;
    RadioData& d = doc.Data;
    ChannelRecord c12 = channel(12, "02761125");
    c12.DecodeTone = 1;   // 67.0 Hz = 0x029E
    c12.EncodeTone = 52;  // D023N = 0xD013
    c12.RxExpand = 1;
    c12.NbAnl = 1;
    c12.HiCut = 1;
    c12.Tsq = 1;
    c12.BusyChannelLock = 2;  // 1 + 4 + 16 + 32 + 128 = 0xB5
    c12.RBTone = 3;
    c12.SquelchMode = 9;  // 3 + 144 = 0x93
    c12.BotCode = 17;
    c12.Rep = 3;  // 17 + 192 = 0xD1
    c12.EotCode = 200;
    c12.CallCode = 5;
    c12.AmFm = 0;  // power and modulation fields never reach the image
    c12.FmPower = 0;
    ChannelRecord c9 = channel(9, "02760500");
    c9.ScanSkip = 1;
    ChannelRecord c300 = channel(300, "");
    c300.DecodeTone = 5;
    ChannelRecord c521 = channel(521, "03010500");
    c521.ScanSkip = 1;
    // Channels in any order: the slot follows the number.
    doc.Channels[0] = c12;
    doc.Channels[1] = c521;
    doc.Channels[2] = channel(1, "02786000");
    doc.Channels[3] = c300;
    doc.Channels[4] = c9;
    d.ChannelCount = 5;

    OptionSettings& o = d.Options;
    o.TimeOutTimer = 600;
    o.CurrentGroup = 6;
    o.DisplayMode = 2;
    o.BacklightColor = 3;
    o.ScanMode = 4;
    o.ScanResumeTime = 5;
    o.Beep = 1;
    o.PublicData = 7;
    o.PttIdPause = 26;
    o.FrequencyChangeable = 27;
    o.EmergencyRows[0] = {0, 1};
    o.EmergencyRows[11] = {40, 2};
    o.GroupAmFm[3] = {0, 0};
    o.ResetGroupE = 2;
    o.ResetChannelE = 0;
    o.ResetGroupNormal = 4;
    o.ResetChannelNormal = 10;
    o.ResetGroupExtended = 9;
    o.ResetChannelExtended = 1;
    o.Common.EncodeTone = 264;  // D754I = 0x81EC
    o.Common.TxCompress = 1;
    o.Common.Attenuator = 1;
    o.Common.BusyChannelLock = 1;  // 2 + 8 + 64 = 0x4A
    o.Common.RBTone = 8;
    o.Common.SquelchMode = 1;  // 0x18
    o.Common.BotCode = 16;
    o.Common.Rep = 1;  // 0x50
    o.Common.EotCode = 3;
    o.Common.CallCode = 4;
    o.PowerOnText = "ABC";

    DtmfSettings& m = d.Dtmf;
    m.SideTone = 11;
    m.Rate = 21;
    m.FirstDigitDelay = 22;
    m.FirstDigitTime = 23;
    m.StarHashTime = 24;
    m.DKey = 25;
    m.Memory[0] = {4, FixedText<16>("12*#")};
    m.Memory[15] = {4, FixedText<16>("ABCD")};

    d.Messages[0] = "HELLO";
    d.Messages[3] = "1234567890123456";
    d.Groups[0] = "E";
    d.Groups[5] = "U-EU";
    d.Groups[11] = "EU ";

    d.Tips[0].Notes[0] = {210, 10};
    d.Tips[0].Notes[13] = {99, 7};
    d.Tips[0].RepeatCount = 2;
    d.Tips[0].Interval = 3;
    d.Tips[7].Notes[0] = {1, 2};
    d.Tips[7].RepeatCount = 200;
    d.Tips[7].Interval = 250;
    return doc;
}

class ImageLayout : public ::testing::Test {
  protected:
    void SetUp() override
    {
        doc = handDocument();
        image.bytes.fill(0xAA);  // shows which bytes the encoder leaves alone
        encodeDocument(doc, state, image);
    }
    RadioDocument doc;
    ProgramState state;
    RadioImage image;
};

TEST_F(ImageLayout, ChannelSlots)
{
    expectBytes(image, 192,
                {0xDC, 0x6B, 0xFF, 0xFF, 0xFF, 0x7B, 0x02, 0x9E, 0xD0, 0x13, 0xB5, 0x93, 0xD1, 0xC8,
                 0x05, 0xFF});
    expectBytes(image, 144,
                {0xD5, 0x6B, 0xFF, 0xFF, 0xFF, 0x7B, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00,
                 0x00, 0xFF});
    expectBytes(image, 16, {0xD4, 0x6C});              // 27860 kHz
    expectBytes(image, 8336, {0x99, 0x75});            // channel 521, 30105 kHz
    expectFill(image, 0, 15, 0xFF);                    // slot 0 is never used
    expectFill(image, 300 * 16, 300 * 16 + 15, 0xFF);  // blank receive frequency
    expectFill(image, 17 * 16, 299 * 16 - 1, 0xFF);
    EXPECT_EQ(doc.Channels[3].Empty, 1);
    EXPECT_EQ(doc.Channels[0].Empty, 0);
}

TEST_F(ImageLayout, PresentAndScanBitmaps)
{
    // present: channels 1, 9, 12, 521; scanned: 1 and 12
    EXPECT_EQ(image[8432], 0x01);
    EXPECT_EQ(image[8433], 0x09);
    EXPECT_EQ(image[8497], 0x01);
    EXPECT_EQ(image[8352], 0x01);
    EXPECT_EQ(image[8353], 0x08);
    EXPECT_EQ(image[8417], 0x00);
    for (int j = 2; j < 65; ++j) {
        EXPECT_EQ(image[8432 + j], 0) << j;
        EXPECT_EQ(image[8352 + j], 0) << j;
    }
}

TEST_F(ImageLayout, OptionAndDtmfBytes)
{
    expectBytes(image, 8560, {40, 11, 6, 2, 3, 4, 5, 1, 7, 21, 22, 23, 24, 25, 26, 27});
    expectBytes(image, 8592, {0xFF, 0xFF, 0x81, 0xEC, 0x4A, 0x18, 0x50, 3, 4});
    expectBytes(image, 9216, {2, 0xFF, 4, 9, 9, 0});
    EXPECT_EQ(image[9224], 0xFF);
    EXPECT_EQ(image[9236], 0x00);
    EXPECT_EQ(image[9235], 0x27);
    EXPECT_EQ(image[9247], 0x01);
    expectFill(image, 9225, 9234, 0xFF);
    expectFill(image, 9248, 9271, 1);  // AM/FM entries of every group, 0 or not
}

TEST_F(ImageLayout, TextsAndCodes)
{
    expectBytes(image, 8608, {'H', 'E', 'L', 'L', 'O', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    expectFill(image, 8624, 8655, 0x00);
    expectBytes(image, 8656,
                {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', '1', '2', '3', '4', '5', '6'});
    expectBytes(image, 8672, {'A', 'B', 'C', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    expectBytes(image, 8512, {'E', ' ', ' '});
    expectBytes(image, 8527, {'U', '-', 'E'});
    expectBytes(image, 8545, {'E', 'U', ' '});
    expectBytes(
        image, 8704,
        {1, 2, 0x0E, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    expectFill(image, 8720, 8943, 0xFF);  // memory codes 2..15 are empty
    expectBytes(image, 8944, {0x0A, 0x0B, 0x0C, 0x0D, 0xFF});
}

TEST_F(ImageLayout, ToneTips)
{
    EXPECT_EQ(image[8960], 210);
    EXPECT_EQ(image[8973], 99);
    EXPECT_EQ(image[8974], 10);
    EXPECT_EQ(image[8987], 7);
    EXPECT_EQ(image[8988], 2);
    EXPECT_EQ(image[8989], 3);
    expectBytes(image, 9170, {1});
    expectBytes(image, 9184, {2});
    expectBytes(image, 9198, {200, 250});
    expectFill(image, 8990, 9169, 0);
}

TEST_F(ImageLayout, IdentityArea)
{
    expectBytes(image, 8688,
                {'Z', 'T', '-', '9', '5', '8', 1, 0xFF, 'V', '3', '0', '0', 0xFF, 0xFF});
}

TEST_F(ImageLayout, SparesAreFilledOrLeftAlone)
{
    expectFill(image, 8418, 8431, 0xAA);  // never touched: the caller's clear makes them 0xFF
    expectFill(image, 8498, 8511, 0xAA);
    expectFill(image, 8548, 8559, 0xFF);
    expectFill(image, 8576, 8591, 0xFF);
    expectFill(image, 8601, 8607, 0xFF);
    expectFill(image, 8702, 8703, 0xFF);
    expectFill(image, 9200, 9215, 0xFF);
    expectFill(image, 9222, 9223, 0xFF);
    expectFill(image, 9272, 9279, 0xFF);
}

TEST(ImageLayoutDecode, HandBuiltImageDecodesToItsFields)
{
    RadioImage image;
    image.clear();
    std::fill_n(image.bytes.begin() + 8352, 66, 0);
    std::fill_n(image.bytes.begin() + 8432, 66, 0);
    // Channel 12 present and scanned, channel 40 present and skipped.
    image[8433] = 0x08;
    image[8353] = 0x08;
    image[8436] = 0x80;  // channel 40: n = 39, byte 4 bit 7
    const int s12 = 192;
    image[s12] = 0xDC;
    image[s12 + 1] = 0x6B;
    image[s12 + 5] = 0x29;  // bits 0, 3, 5: FM power, AM power, AM/FM
    image[s12 + 6] = 0xD1;  // D754N
    image[s12 + 7] = 0xEC;
    image[s12 + 8] = 0x09;  // 254.1 Hz
    image[s12 + 9] = 0xED;
    image[s12 + 10] = 0x6A;  // TxCompress, Attenuator, Tsq, busy lock 1
    image[s12 + 11] = 0xF2;  // RB tone 2, squelch mode 15
    image[s12 + 12] = 0xBF;  // BOT 31, bit 5 ignored, repeater offset 2
    image[s12 + 13] = 0x10;
    image[s12 + 14] = 0x20;
    image[640] = 0xD5;
    image[641] = 0x6B;
    image[8560] = 40;
    image[8570] = 22;  // first digit delay
    image[8571] = 23;  // first digit time
    image[9236] = 0x00;
    image[9248] = 0x00;
    image[9260] = 0x37;
    image[8700] = 0x0A;  // bits 3 and 1

    RadioDocument doc;
    ProgramState state;
    decodeImage(image, doc, state);

    ASSERT_EQ(doc.Data.ChannelCount, 3);  // 12, 40 and the always-read 521
    const ChannelRecord& c = doc.Channels[0];
    EXPECT_EQ(c.ChNo, 12);
    EXPECT_EQ(c.ScanSkip, 0);
    EXPECT_EQ(c.RxFre.raw(), "02761125");
    EXPECT_EQ(c.FmPower, 1);
    EXPECT_EQ(c.FmPowerLock, 0);
    EXPECT_EQ(c.AmPower, 1);
    EXPECT_EQ(c.AmPowerLock, 0);
    EXPECT_EQ(c.AmFm, 1);
    EXPECT_EQ(c.AmFmLock, 0);
    EXPECT_EQ(c.DecodeTone, 157);
    EXPECT_EQ(c.EncodeTone, 50);
    EXPECT_EQ(c.RxExpand, 0);
    EXPECT_EQ(c.TxCompress, 1);
    EXPECT_EQ(c.NbAnl, 0);
    EXPECT_EQ(c.Attenuator, 1);
    EXPECT_EQ(c.HiCut, 0);
    EXPECT_EQ(c.Tsq, 1);
    EXPECT_EQ(c.BusyChannelLock, 1);
    EXPECT_EQ(c.RBTone, 2);
    EXPECT_EQ(c.SquelchMode, 15);
    EXPECT_EQ(c.BotCode, 31);
    EXPECT_EQ(c.Rep, 2);
    EXPECT_EQ(c.EotCode, 16);
    EXPECT_EQ(c.CallCode, 32);
    EXPECT_EQ(doc.Channels[1].ChNo, 40);
    EXPECT_EQ(doc.Channels[1].ScanSkip, 1);
    EXPECT_EQ(doc.Channels[1].RxFre.raw(), "02760500");
    EXPECT_EQ(doc.Channels[2].ChNo, 521);  // present bit clear, erased slot: empty channel
    EXPECT_EQ(doc.Channels[2].Empty, 1);
    EXPECT_EQ(doc.Channels[2].RxFre.cut(), "");

    EXPECT_EQ(doc.Data.Options.TimeOutTimer, 600);
    EXPECT_EQ(doc.Data.Dtmf.FirstDigitDelay, 22);
    EXPECT_EQ(doc.Data.Dtmf.FirstDigitTime, 23);
    EXPECT_EQ(doc.Data.Options.EmergencyRows[0][0], 0);
    EXPECT_EQ(doc.Data.Options.EmergencyRows[0][1], 1);
    EXPECT_EQ(doc.Data.Options.GroupAmFm[0][0], 0);
    EXPECT_EQ(doc.Data.Options.GroupAmFm[0][1], 1);
    EXPECT_EQ(doc.Data.Options.GroupAmFm[1][0], 1);  // 0xFF
    EXPECT_TRUE(state.RefuseWriteFlag1);
    EXPECT_FALSE(state.RefuseWriteFlag2);
    EXPECT_EQ(state.Settings.Bytes, (std::array<std::uint8_t, 4>{1, 0, 1, 0}));
}

}  // namespace
}  // namespace zt
