#include <gtest/gtest.h>

#include <algorithm>

#include "core/radio/channel_codec.h"
#include "core/radio/image_codec.h"

namespace zt {
namespace {

// An image as the encoder prepares it: slots 0xFF, bitmaps 0.
RadioImage preparedImage()
{
    RadioImage image;
    image.clear();
    std::fill_n(image.bytes.begin() + img::ScanBitmap, img::BitmapBytes, 0);
    std::fill_n(image.bytes.begin() + img::PresentBitmap, img::BitmapBytes, 0);
    return image;
}

std::pair<int, int> slotFrequencyBytes(const char* rx, int chNo = 5)
{
    RadioImage image = preparedImage();
    ChannelRecord rec;
    rec.ChNo = static_cast<std::int16_t>(chNo);
    rec.RxFre = rx;
    encodeChannel(rec, image);
    return {image[chNo * 16], image[chNo * 16 + 1]};
}

TEST(ChannelFrequency, StoredAsLittleEndianKilohertzWithThe125Rule)
{
    EXPECT_EQ(slotFrequencyBytes("02761125"), std::make_pair(0xDC, 0x6B));  // 27612
    EXPECT_EQ(slotFrequencyBytes("02760500"), std::make_pair(0xD5, 0x6B));  // 27605
    EXPECT_EQ(slotFrequencyBytes("03010500"), std::make_pair(0x99, 0x75));  // 30105
    // A text missing its leading zero is read as if it had it.
    EXPECT_EQ(slotFrequencyBytes("2761125"), std::make_pair(0xDC, 0x6B));
    // Short texts are padded with zeros on the right: "0276" -> 027600.
    EXPECT_EQ(frequencyKhzOfText("276"), 27600u);
    EXPECT_EQ(frequencyKhzOfText("0276"), 27600u);
    // An odd length gets its "0" in front first: "02761" -> "002761" -> 2761 -> 2762.
    EXPECT_EQ(frequencyKhzOfText("02761"), 2762u);
    // Trailing spaces and anything after a NUL are not part of the frequency.
    EXPECT_EQ(frequencyKhzOfText(channelFrequencyText(FixedText<8>(std::string("027605\0x", 8)))),
              27605u);
}

TEST(ChannelFrequency, DecodedTextsFollowTheLastKilohertzDigit)
{
    EXPECT_EQ(rxFreOfSlotKhz(27612), "02761125");
    EXPECT_EQ(rxFreOfSlotKhz(27611), "02761125");
    EXPECT_EQ(rxFreOfSlotKhz(27605), "02760500");
    EXPECT_EQ(rxFreOfSlotKhz(27602), "02760125");
    EXPECT_EQ(rxFreOfSlotKhz(65534), "06553400");
    // Below 10 MHz the value keeps five digits, so it reads back as itself.
    EXPECT_EQ(rxFreOfSlotKhz(5), "00000500");
    EXPECT_EQ(rxFreOfSlotKhz(9992), "00999125");
    for (int khz : {0, 5, 12, 1234, 9999, 10000, 27605, 65534}) {
        const int want = khz % 10 == 1 ? khz + 1 : khz;
        EXPECT_EQ(frequencyKhzOfText(rxFreOfSlotKhz(static_cast<std::uint16_t>(khz))),
                  static_cast<std::uint32_t>(want))
            << khz;
    }
}

TEST(ChannelFrequency, ValuesBeyondSixteenBitsKeepTheirFirstFourHexDigits)
{
    EXPECT_EQ(slotKhz(0xFFFF), 0xFFFF);
    EXPECT_EQ(slotKhz(0x186A0), 0x186A);  // 100000 kHz
    EXPECT_EQ(slotKhz(999999 + 1), 0xF424);
}

TEST(ChannelSlot, BlankOrFfFrequencyLeavesTheSlotAndBitmapsAlone)
{
    for (const char* rx : {"", "FFFFFFFF", "        "}) {
        RadioImage image = preparedImage();
        const RadioImage before = image;
        ChannelRecord rec;
        rec.ChNo = 7;
        rec.RxFre = rx;
        rec.DecodeTone = 3;
        encodeChannel(rec, image);
        EXPECT_EQ(rec.Empty, 1) << rx;
        EXPECT_EQ(image.bytes, before.bytes) << rx;
    }
    ChannelRecord nulFirst;  // a NUL followed by spaces is blank too
    nulFirst.ChNo = 7;
    nulFirst.RxFre = std::string(1, '\0');
    RadioImage image = preparedImage();
    encodeChannel(nulFirst, image);
    EXPECT_EQ(nulFirst.Empty, 1);
}

TEST(ChannelSlot, FlagByteIsAlways7BAndReadsBackAsAllOnes)
{
    for (int v : {0, 1}) {
        RadioImage image = preparedImage();
        ChannelRecord rec;
        rec.ChNo = 3;
        rec.RxFre = "02760500";
        rec.FmPower = rec.FmPowerLock = rec.AmPower = rec.AmPowerLock = rec.AmFm = rec.AmFmLock =
            static_cast<std::int16_t>(v);
        encodeChannel(rec, image);
        EXPECT_EQ(image[3 * 16 + 5], 0x7B);
        const ChannelRecord back = decodeChannel(image, 2);
        EXPECT_EQ(back.FmPower + back.FmPowerLock + back.AmPower + back.AmPowerLock + back.AmFm +
                      back.AmFmLock,
                  6);
    }
}

TEST(ChannelSlot, NumbersWithoutASlotAreNotWritten)
{
    for (int chNo : {0, -1, 522, 30000}) {
        RadioImage image = preparedImage();
        const RadioImage before = image;
        ChannelRecord rec;
        rec.ChNo = static_cast<std::int16_t>(chNo);
        rec.RxFre = "02760500";
        encodeChannel(rec, image);
        EXPECT_EQ(image.bytes, before.bytes) << chNo;
    }
}

TEST(ChannelSlot, ErasedSlotDecodesToAnEmptyNewChannel)
{
    RadioImage image;
    image.clear();
    const ChannelRecord rec = decodeChannel(image, 520);
    EXPECT_EQ(rec.ChNo, 521);
    EXPECT_EQ(rec.Empty, 1);
    EXPECT_EQ(rec.RxFre.cut(), "");
    EXPECT_EQ(rec.DecodeTone, 0);
    EXPECT_EQ(rec.BusyChannelLock, 0);  // not the 3 an erased byte would give
    EXPECT_EQ(rec.EotCode, 0);
    EXPECT_EQ(rec.OffsetFre.raw(), std::string(7, '\0'));
}

TEST(ChannelSlot, DecodedRecordTakesNewChannelValuesForFieldsTheSlotLacks)
{
    RadioImage image = preparedImage();
    image[32] = 0xD5;
    image[33] = 0x6B;
    const ChannelRecord rec = decodeChannel(image, 1);
    EXPECT_EQ(rec.ChNo, 2);
    EXPECT_EQ(rec.Empty, 0);
    EXPECT_EQ(rec.ShiftDir, 0);
    EXPECT_EQ(rec.OffsetFre.raw(), std::string(7, '\0'));
    EXPECT_EQ(rec.TxInhibit + rec.RevTalk + rec.Scramble + rec.Whisper + rec.Reverse, 0);
    EXPECT_EQ(rec.ScanSkip, 1);  // scan bit clear
}

TEST(WholeImage, EmptyDocumentGivesAnErasedChannelAreaAndClearBitmaps)
{
    RadioDocument doc;
    ProgramState state;
    RadioImage image;
    image.clear();
    encodeDocument(doc, state, image);
    for (int a = 0; a <= 8351; ++a) ASSERT_EQ(image[a], 0xFF) << a;
    for (int a = 8352; a <= 8417; ++a) ASSERT_EQ(image[a], 0x00) << a;
    for (int a = 8432; a <= 8497; ++a) ASSERT_EQ(image[a], 0x00) << a;
}

TEST(WholeImage, ChannelCountOutsideTheTableIsHeldToIt)
{
    RadioDocument doc;
    doc.Data.ChannelCount = -4;
    ProgramState state;
    RadioImage image;
    image.clear();
    encodeDocument(doc, state, image);  // nothing to write, nothing read out of bounds
    EXPECT_EQ(image[16], 0xFF);
    doc.Data.ChannelCount = 9999;
    encodeDocument(doc, state, image);
    EXPECT_EQ(image[16], 0xFF);  // every record has ChNo 0: no slot
}

TEST(WholeImage, DecodeRestartsTheChannelCountAndAppendsInAscendingOrder)
{
    RadioImage image = preparedImage();
    for (int ch : {400, 3, 77}) {
        setChannelBit(image, img::PresentBitmap, ch);
        image[ch * 16] = 0xD5;
        image[ch * 16 + 1] = 0x6B;
    }
    RadioDocument doc;
    doc.Data.ChannelCount = 300;
    ProgramState state;
    decodeImage(image, doc, state);
    ASSERT_EQ(doc.Data.ChannelCount, 4);
    EXPECT_EQ(doc.Channels[0].ChNo, 3);
    EXPECT_EQ(doc.Channels[1].ChNo, 77);
    EXPECT_EQ(doc.Channels[2].ChNo, 400);
    EXPECT_EQ(doc.Channels[3].ChNo, 521);
}

}  // namespace
}  // namespace zt
