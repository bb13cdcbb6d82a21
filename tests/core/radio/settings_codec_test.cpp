#include <gtest/gtest.h>

#include <string>

#include "core/radio/image_codec.h"
#include "core/radio/settings_codec.h"

namespace zt {
namespace {

RadioImage encoded(const RadioData& data)
{
    RadioImage image;
    image.clear();
    encodeSettings(data, image);
    return image;
}

TEST(OptionBytes, TimeOutTimerIsStoredInFifteenSecondSteps)
{
    RadioData d;
    for (auto [seconds, stored] : {std::pair{600, 40}, {22, 1}, {4, 0}, {3825, 255}}) {
        d.Options.TimeOutTimer = static_cast<std::int16_t>(seconds);
        const RadioImage image = encoded(d);
        EXPECT_EQ(image[8560], stored) << seconds;
        RadioData back;
        decodeSettings(image, back);
        EXPECT_EQ(back.Options.TimeOutTimer, stored * 15);
    }
}

TEST(OptionBytes, ChannelCodingOfEmergencyAndResetChannels)
{
    EXPECT_EQ(channelCodeByte(0), 0xFF);
    EXPECT_EQ(channelCodeByte(1), 0x00);
    EXPECT_EQ(channelCodeByte(40), 0x27);
    EXPECT_EQ(channelOfCodeByte(0x00), 1);
    EXPECT_EQ(channelOfCodeByte(0xFF), 0);
    EXPECT_EQ(channelOfCodeByte(0xFE), 255);

    RadioData d;
    d.Options.EmergencyRows[4] = {0, 40};
    d.Options.ResetChannelNormal = 1;
    const RadioImage image = encoded(d);
    EXPECT_EQ(image[9228], 0xFF);
    EXPECT_EQ(image[9240], 0x27);
    EXPECT_EQ(image[9219], 0x00);
    RadioData back;
    decodeSettings(image, back);
    EXPECT_EQ(back.Options.EmergencyRows[4], (std::array<std::int16_t, 2>{0, 40}));
    EXPECT_EQ(back.Options.ResetChannelNormal, 1);
    EXPECT_EQ(back.Options.ResetChannelE, 0);
}

TEST(OptionBytes, GroupAmFmIsWrittenAsOneAndReadAsZeroOrOne)
{
    RadioData d;  // every entry 0
    RadioImage image = encoded(d);
    for (int a = 9248; a < 9272; ++a) EXPECT_EQ(image[a], 1) << a;
    image[9250] = 0x00;
    image[9262] = 0x37;
    RadioData back;
    decodeSettings(image, back);
    EXPECT_EQ(back.Options.GroupAmFm[2][0], 0);
    EXPECT_EQ(back.Options.GroupAmFm[2][1], 1);
}

TEST(OptionBytes, DecodingLeavesFieldsTheImageDoesNotCarry)
{
    RadioData d;
    d.Options.SquelchLevel = 7;
    d.Options.Common.RxFre = "02760500";
    d.Options.Common.Scramble = 1;
    d.Dtmf.IdCode = "123";
    d.Dtmf.CallAlert = 2;
    d.Dtmf.PttIdBot = {3, FixedText<16>("123")};
    d.Keys.Values[0] = 10;
    RadioImage image;
    image.clear();
    decodeSettings(image, d);
    EXPECT_EQ(d.Options.SquelchLevel, 7);
    EXPECT_EQ(d.Options.Common.RxFre.raw(), "02760500");
    EXPECT_EQ(d.Options.Common.Scramble, 1);
    EXPECT_EQ(d.Dtmf.IdCode.cut(), "123");
    EXPECT_EQ(d.Dtmf.CallAlert, 2);
    EXPECT_EQ(d.Dtmf.PttIdBot.Length, 3);
    EXPECT_EQ(d.Keys.Values[0], 10);
}

RadioImage withCode(const DtmfCode& code)
{
    RadioImage image;
    image.clear();
    encodeDtmfCode(code, image, 8704);
    return image;
}

std::vector<int> codeBytes(const RadioImage& image)
{
    return std::vector<int>(image.bytes.begin() + 8704, image.bytes.begin() + 8720);
}

TEST(DtmfMemoryCode, DigitsStarAndHash)
{
    const RadioImage image = withCode({4, FixedText<16>("12*#")});
    std::vector<int> want(16, 0xFF);
    want[0] = 1;
    want[1] = 2;
    want[2] = 0x0E;
    want[3] = 0x0F;
    EXPECT_EQ(codeBytes(image), want);
    const DtmfCode back = decodeDtmfCode(image, 8704);
    EXPECT_EQ(back.Length, 4);
    EXPECT_EQ(back.Digits.raw(), std::string("12*#") + '\0' + std::string(11, ' '));
}

TEST(DtmfMemoryCode, LengthDecidesHowManyDigitsAreStored)
{
    // Longer text than the length: only the first three digits.
    RadioImage image = withCode({3, FixedText<16>("12345")});
    std::vector<int> want(16, 0xFF);
    want[0] = 1;
    want[1] = 2;
    want[2] = 3;
    EXPECT_EQ(codeBytes(image), want);
    DtmfCode back = decodeDtmfCode(image, 8704);
    EXPECT_EQ(back.Length, 3);
    EXPECT_EQ(back.Digits.cut(), "123");

    // Shorter text than the length: zeros in front.
    image = withCode({4, FixedText<16>("12")});
    want = std::vector<int>(16, 0xFF);
    want[0] = 0;
    want[1] = 0;
    want[2] = 1;
    want[3] = 2;
    EXPECT_EQ(codeBytes(image), want);
    back = decodeDtmfCode(image, 8704);
    EXPECT_EQ(back.Length, 4);
    EXPECT_EQ(back.Digits.cut(), "0012");

    // A length of 17 stores nothing and reads back as length 0.
    image = withCode({17, FixedText<16>("1234")});
    EXPECT_EQ(codeBytes(image), std::vector<int>(16, 0xFF));
    back = decodeDtmfCode(image, 8704);
    EXPECT_EQ(back.Length, 0);
    EXPECT_EQ(back.Digits.raw(), std::string(1, '\0') + std::string(15, ' '));
}

TEST(DtmfMemoryCode, SixteenDigitsHaveNoEndMark)
{
    const RadioImage image = withCode({16, FixedText<16>("0123456789ABCD*#")});
    for (int k = 0; k < 16; ++k) EXPECT_EQ(image[8704 + k], k);
    const DtmfCode back = decodeDtmfCode(image, 8704);
    EXPECT_EQ(back.Length, 16);
    EXPECT_EQ(back.Digits.raw(), "0123456789ABCD*#");
}

TEST(DtmfMemoryCode, AnyByteFromSixteenUpEndsTheCode)
{
    RadioImage image;
    image.clear();
    image[8704] = 9;
    image[8705] = 0x10;
    image[8706] = 3;
    const DtmfCode back = decodeDtmfCode(image, 8704);
    EXPECT_EQ(back.Length, 1);
    EXPECT_EQ(back.Digits.cut(), "9");
}

TEST(Texts, GroupNamesArePaddedWithSpaces)
{
    RadioData d;
    d.Groups[0] = "EU ";
    d.Groups[1] = std::string(1, '\0');
    d.Groups[2] = "U-EU";  // cut to three characters when assigned
    const RadioImage image = encoded(d);
    EXPECT_EQ(image[8512], 0x45);
    EXPECT_EQ(image[8513], 0x55);
    EXPECT_EQ(image[8514], 0x20);
    EXPECT_EQ(image[8515], 0x20);
    EXPECT_EQ(image[8516], 0x20);
    EXPECT_EQ(image[8517], 0x20);
    EXPECT_EQ(image[8520], 'E');
    RadioData back;
    decodeSettings(image, back);
    EXPECT_EQ(back.Groups[1].raw(), "   ");
    EXPECT_EQ(back.Groups[0].raw(), "EU ");

    RadioImage raw;
    raw.clear();
    raw[8512] = 'A';
    raw[8513] = 0x00;
    raw[8514] = 'B';
    EXPECT_EQ(decodeGroupName(raw, 0).raw(), std::string("A") + '\0' + " ");
}

TEST(Texts, PowerOnTextKeepsLeadingSpacesAndEndsAtZero)
{
    RadioData d;
    d.Options.PowerOnText = std::string(13, ' ') + "ABC";
    RadioImage image = encoded(d);
    for (int k = 0; k < 13; ++k) EXPECT_EQ(image[8672 + k], 0x20);
    EXPECT_EQ(image[8685], 0x41);
    EXPECT_EQ(image[8687], 0x43);
    EXPECT_EQ(decodePowerOnText(image).raw(), std::string(13, ' ') + "ABC");

    d.Options.PowerOnText = "ABC";  // then 13 spaces
    image = encoded(d);
    EXPECT_EQ(image[8674], 0x43);
    for (int k = 3; k < 16; ++k) EXPECT_EQ(image[8672 + k], 0x00);
    EXPECT_EQ(decodePowerOnText(image).raw(), std::string("ABC") + '\0' + std::string(12, ' '));

    image[8673] = 0xFF;  // 0xFF ends it as well
    EXPECT_EQ(decodePowerOnText(image).raw(), std::string("A") + '\0' + std::string(14, ' '));
}

TEST(Texts, MessageLineReadsZeroAsNulAndStopsAtFF)
{
    RadioImage image;
    image.clear();
    const int bytes[] = {0x48, 0x49, 0x00, 0x58, 0xFF};
    for (int k = 0; k < 5; ++k) image[8624 + k] = static_cast<std::uint8_t>(bytes[k]);
    EXPECT_EQ(decodeMessageLine(image, 1).raw(), std::string("HI") + '\0' + std::string(13, ' '));

    RadioData d;
    d.Messages[2] = "LINE THREE";
    image = encoded(d);
    EXPECT_EQ(image[8640], 'L');
    EXPECT_EQ(image[8649], 'E');
    EXPECT_EQ(image[8650], 0x00);
    EXPECT_EQ(image[8655], 0x00);
    EXPECT_EQ(image[8608], 0x00);  // empty line 0: all filler
    // Trailing spaces before the end are cut.
    image[8650] = ' ';
    image[8651] = 0xFF;
    EXPECT_EQ(decodeMessageLine(image, 2).raw(), std::string("LINE THREE") + '\0' + "     ");
}

TEST(Texts, BytesAbove127RoundTrip)
{
    RadioData d;
    d.Messages[0] = "\xE9t\xE9";
    d.Groups[3] = "\xC4\xD6";
    RadioData back;
    decodeSettings(encoded(d), back);
    EXPECT_EQ(back.Messages[0].cut(), "\xE9t\xE9");
    EXPECT_EQ(back.Groups[3].cut(), "\xC4\xD6");
}

TEST(FeatureFlags, BitsThreeAndTwoRefuseWritesAndAllFourSetSettingBytes)
{
    ProgramState state;
    applyFeatureFlags(0x08, state);
    EXPECT_TRUE(state.RefuseWriteFlag1);
    EXPECT_FALSE(state.RefuseWriteFlag2);
    EXPECT_EQ(state.Settings.Bytes, (std::array<std::uint8_t, 4>{1, 0, 0, 0}));

    // A byte that is already 1 stays 1; the refusal flags follow the last read.
    applyFeatureFlags(0x05, state);
    EXPECT_FALSE(state.RefuseWriteFlag1);
    EXPECT_TRUE(state.RefuseWriteFlag2);
    EXPECT_EQ(state.Settings.Bytes, (std::array<std::uint8_t, 4>{1, 1, 0, 1}));

    applyFeatureFlags(0xF0, state);  // high bits mean nothing
    EXPECT_FALSE(state.RefuseWriteFlag1);
    EXPECT_FALSE(state.RefuseWriteFlag2);
    EXPECT_EQ(state.Settings.Bytes, (std::array<std::uint8_t, 4>{1, 1, 0, 1}));
}

TEST(FeatureFlags, ReadImageAppliesByte8700AndTheEncoderNeverSetsIt)
{
    RadioImage image;
    image.clear();
    image[8700] = 0x08;
    RadioDocument doc;
    ProgramState state;
    decodeImage(image, doc, state);
    EXPECT_TRUE(state.RefuseWriteFlag1);
    EXPECT_EQ(state.Settings.Bytes[0], 1);

    RadioImage out;
    out.clear();
    encodeDocument(doc, state, out);
    EXPECT_EQ(out[8700], 0xFF);
    EXPECT_EQ(out[8695], 0xFF);
    EXPECT_EQ(out[8701], 0xFF);
}

}  // namespace
}  // namespace zt
