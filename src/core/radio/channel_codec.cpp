#include "core/radio/channel_codec.h"

#include <cstdio>

#include "core/values/tones.h"

namespace zt {
namespace {

constexpr std::uint8_t kSlotFlagByte = 0x7B;

std::uint8_t lowByte(int v)
{
    return static_cast<std::uint8_t>(v & 0xFF);
}

void putToneCode(RadioImage& image, int offset, int toneIndex)
{
    const std::uint16_t code = toneCodeOfIndex(toneIndex);
    image[offset] = static_cast<std::uint8_t>(code >> 8);
    image[offset + 1] = static_cast<std::uint8_t>(code & 0xFF);
}

std::int16_t toneAt(const RadioImage& image, int offset)
{
    const auto code = static_cast<std::uint16_t>((image[offset] << 8) | image[offset + 1]);
    return static_cast<std::int16_t>(toneIndexOfCode(code));
}

std::int16_t bits(std::uint8_t byte, int first, int count)
{
    return static_cast<std::int16_t>((byte >> first) & ((1 << count) - 1));
}

}  // namespace

std::string channelFrequencyText(const FixedText<8>& rxFre)
{
    std::string s = rxFre.raw();
    const std::size_t nul = s.find('\0');
    if (nul != std::string::npos) s.resize(nul);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

bool isBlankFrequency(std::string_view cutRxFre)
{
    return cutRxFre.empty() || cutRxFre == "FFFFFFFF";
}

std::uint32_t frequencyKhzOfText(std::string_view cutRxFre)
{
    std::string t(cutRxFre);
    if (t.size() % 2 == 1) t.insert(t.begin(), '0');
    while (t.size() < 6) t.push_back('0');
    t.resize(6);
    std::size_t i = 0;
    while (i < t.size() && t[i] == ' ') ++i;
    std::uint32_t khz = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
        khz = khz * 10 + static_cast<std::uint32_t>(t[i] - '0');
    }
    if (khz % 10 == 1) khz += 1;
    return khz;
}

std::uint16_t slotKhz(std::uint32_t khz)
{
    while (khz > 0xFFFF) khz >>= 4;  // keep the first four hexadecimal digits
    return static_cast<std::uint16_t>(khz);
}

std::string rxFreOfSlotKhz(std::uint16_t khz)
{
    // Five digits of kHz; a last digit of 1 or 2 stands for the 1.25 kHz part.
    const unsigned v = khz;
    char text[16];
    if (v % 10 == 1 || v % 10 == 2) {
        std::snprintf(text, sizeof text, "0%04u125", v / 10);
    } else {
        std::snprintf(text, sizeof text, "0%05u00", v);
    }
    return text;
}

bool channelBit(const RadioImage& image, int base, int chNo)
{
    const int n = chNo - 1;
    return (image[base + n / 8] >> (n % 8)) & 1;
}

void setChannelBit(RadioImage& image, int base, int chNo)
{
    const int n = chNo - 1;
    image[base + n / 8] = static_cast<std::uint8_t>(image[base + n / 8] | (1 << (n % 8)));
}

void encodeToneAndCodeBytes(const ChannelRecord& rec, RadioImage& image, int offset)
{
    putToneCode(image, offset, rec.DecodeTone);
    putToneCode(image, offset + 2, rec.EncodeTone);
    image[offset + 4] =
        lowByte(rec.RxExpand + 2 * rec.TxCompress + 4 * rec.NbAnl + 8 * rec.Attenuator +
                16 * rec.HiCut + 32 * rec.Tsq + 64 * rec.BusyChannelLock);
    image[offset + 5] = lowByte(rec.RBTone + 16 * rec.SquelchMode);
    image[offset + 6] = lowByte(rec.BotCode + 64 * rec.Rep);
    image[offset + 7] = lowByte(rec.EotCode);
    image[offset + 8] = lowByte(rec.CallCode);
}

void decodeToneAndCodeBytes(const RadioImage& image, int offset, ChannelRecord& rec)
{
    rec.DecodeTone = toneAt(image, offset);
    rec.EncodeTone = toneAt(image, offset + 2);
    const std::uint8_t flags = image[offset + 4];
    rec.RxExpand = bits(flags, 0, 1);
    rec.TxCompress = bits(flags, 1, 1);
    rec.NbAnl = bits(flags, 2, 1);
    rec.Attenuator = bits(flags, 3, 1);
    rec.HiCut = bits(flags, 4, 1);
    rec.Tsq = bits(flags, 5, 1);
    rec.BusyChannelLock = bits(flags, 6, 2);
    rec.RBTone = bits(image[offset + 5], 0, 4);
    rec.SquelchMode = bits(image[offset + 5], 4, 4);
    rec.BotCode = bits(image[offset + 6], 0, 5);
    rec.Rep = bits(image[offset + 6], 6, 2);
    rec.EotCode = image[offset + 7];
    rec.CallCode = image[offset + 8];
}

void encodeChannel(ChannelRecord& rec, RadioImage& image)
{
    const std::string freq = channelFrequencyText(rec.RxFre);
    rec.Empty = isBlankFrequency(freq) ? 1 : 0;
    if (rec.Empty == 1) return;
    if (rec.ChNo < 1 || rec.ChNo > kMaxChannels) return;  // no slot to hold it

    setChannelBit(image, img::PresentBitmap, rec.ChNo);
    if (rec.ScanSkip == 0) setChannelBit(image, img::ScanBitmap, rec.ChNo);

    const int slot = rec.ChNo * kSlotSize;
    const std::uint16_t khz = slotKhz(frequencyKhzOfText(freq));
    image[slot] = static_cast<std::uint8_t>(khz & 0xFF);
    image[slot + 1] = static_cast<std::uint8_t>(khz >> 8);
    image[slot + 5] = kSlotFlagByte;
    encodeToneAndCodeBytes(rec, image, slot + 6);
}

ChannelRecord decodeChannel(const RadioImage& image, int index)
{
    const int chNo = index + 1;
    ChannelRecord rec = newChannelRecord(chNo, "");
    rec.ScanSkip = channelBit(image, img::ScanBitmap, chNo) ? 0 : 1;

    const int slot = chNo * kSlotSize;
    const auto khz = static_cast<std::uint16_t>(image[slot] | (image[slot + 1] << 8));
    if (khz == kErasedSlotKhz) {
        rec.Empty = 1;
        return rec;
    }
    rec.RxFre = rxFreOfSlotKhz(khz);

    const std::uint8_t power = image[slot + 5];
    rec.FmPower = bits(power, 0, 1);
    rec.FmPowerLock = bits(power, 1, 1);
    rec.AmPower = bits(power, 3, 1);
    rec.AmPowerLock = bits(power, 4, 1);
    rec.AmFm = bits(power, 5, 1);
    rec.AmFmLock = bits(power, 6, 1);
    decodeToneAndCodeBytes(image, slot + 6, rec);
    return rec;
}

ChannelRecord newChannelRecord(int chNo, std::string_view rxStored)
{
    ChannelRecord rec;
    rec.ChNo = static_cast<std::int16_t>(chNo);
    rec.Empty = 0;
    rec.RxFre = rxStored;
    rec.OffsetFre.bytes.fill('\0');
    rec.ShiftDir = 0;
    return rec;
}

}  // namespace zt
