#include "core/radio/settings_codec.h"

#include "core/radio/channel_codec.h"

namespace zt {
namespace {

std::uint8_t valueByte(int v)
{
    return static_cast<std::uint8_t>(v & 0xFF);
}

void encodeOptions(const OptionSettings& o, RadioImage& image)
{
    image[img::TimeOutTimer] = valueByte(o.TimeOutTimer / 15);
    image[img::CurrentGroup] = valueByte(o.CurrentGroup);
    image[img::DisplayMode] = valueByte(o.DisplayMode);
    image[img::BacklightColor] = valueByte(o.BacklightColor);
    image[img::ScanMode] = valueByte(o.ScanMode);
    image[img::ScanResumeTime] = valueByte(o.ScanResumeTime);
    image[img::Beep] = valueByte(o.Beep);
    image[img::PublicData] = valueByte(o.PublicData);
    image[img::PttIdPause] = valueByte(o.PttIdPause);
    image[img::FrequencyChangeable] = valueByte(o.FrequencyChangeable);
    for (int g = 0; g < kNamedGroups; ++g) {
        const auto& rows = o.EmergencyRows[static_cast<std::size_t>(g)];
        image[img::EmergencyRows + g] = channelCodeByte(rows[0]);
        image[img::EmergencyRowsSecond + g] = channelCodeByte(rows[1]);
        // The radio keeps both modulations enabled for every group.
        image[img::GroupAmFm + g] = 1;
        image[img::GroupAmFmSecond + g] = 1;
    }
    image[img::ResetModes] = valueByte(o.ResetGroupE);
    image[img::ResetModes + 1] = channelCodeByte(o.ResetChannelE);
    image[img::ResetModes + 2] = valueByte(o.ResetGroupNormal);
    image[img::ResetModes + 3] = channelCodeByte(o.ResetChannelNormal);
    image[img::ResetModes + 4] = valueByte(o.ResetGroupExtended);
    image[img::ResetModes + 5] = channelCodeByte(o.ResetChannelExtended);
    encodeToneAndCodeBytes(o.Common, image, img::CommonChannel);
    encodeText(o.PowerOnText.cut(), image, img::PowerOnText, img::TextSize, 0x00);
}

void decodeOptions(const RadioImage& image, OptionSettings& o)
{
    o.TimeOutTimer = static_cast<std::int16_t>(image[img::TimeOutTimer] * 15);
    o.CurrentGroup = image[img::CurrentGroup];
    o.DisplayMode = image[img::DisplayMode];
    o.BacklightColor = image[img::BacklightColor];
    o.ScanMode = image[img::ScanMode];
    o.ScanResumeTime = image[img::ScanResumeTime];
    o.Beep = image[img::Beep];
    o.PublicData = image[img::PublicData];
    o.PttIdPause = image[img::PttIdPause];
    o.FrequencyChangeable = image[img::FrequencyChangeable];
    for (int g = 0; g < kNamedGroups; ++g) {
        auto& rows = o.EmergencyRows[static_cast<std::size_t>(g)];
        rows[0] = static_cast<std::int16_t>(channelOfCodeByte(image[img::EmergencyRows + g]));
        rows[1] = static_cast<std::int16_t>(channelOfCodeByte(image[img::EmergencyRowsSecond + g]));
        auto& amFm = o.GroupAmFm[static_cast<std::size_t>(g)];
        amFm[0] = image[img::GroupAmFm + g] == 0 ? 0 : 1;
        amFm[1] = image[img::GroupAmFmSecond + g] == 0 ? 0 : 1;
    }
    o.ResetGroupE = image[img::ResetModes];
    o.ResetChannelE = static_cast<std::int16_t>(channelOfCodeByte(image[img::ResetModes + 1]));
    o.ResetGroupNormal = image[img::ResetModes + 2];
    o.ResetChannelNormal = static_cast<std::int16_t>(channelOfCodeByte(image[img::ResetModes + 3]));
    o.ResetGroupExtended = image[img::ResetModes + 4];
    o.ResetChannelExtended =
        static_cast<std::int16_t>(channelOfCodeByte(image[img::ResetModes + 5]));
    decodeToneAndCodeBytes(image, img::CommonChannel, o.Common);
    o.PowerOnText = decodePowerOnText(image);
}

void encodeDtmf(const DtmfSettings& d, RadioImage& image)
{
    image[img::DtmfSideTone] = valueByte(d.SideTone);
    image[img::DtmfRate] = valueByte(d.Rate);
    image[img::DtmfFirstDigitDelay] = valueByte(d.FirstDigitDelay);
    image[img::DtmfFirstDigitTime] = valueByte(d.FirstDigitTime);
    image[img::DtmfStarHashTime] = valueByte(d.StarHashTime);
    image[img::DtmfDKey] = valueByte(d.DKey);
    for (int n = 0; n < kDtmfMemoryCodes; ++n) {
        encodeDtmfCode(d.Memory[static_cast<std::size_t>(n)], image,
                       img::DtmfCodes + img::DtmfCodeSize * n);
    }
}

void decodeDtmf(const RadioImage& image, DtmfSettings& d)
{
    d.SideTone = image[img::DtmfSideTone];
    d.Rate = image[img::DtmfRate];
    d.FirstDigitDelay = image[img::DtmfFirstDigitDelay];
    d.FirstDigitTime = image[img::DtmfFirstDigitTime];
    d.StarHashTime = image[img::DtmfStarHashTime];
    d.DKey = image[img::DtmfDKey];
    for (int n = 0; n < kDtmfMemoryCodes; ++n) {
        d.Memory[static_cast<std::size_t>(n)] =
            decodeDtmfCode(image, img::DtmfCodes + img::DtmfCodeSize * n);
    }
}

void encodeToneTips(const ToneTips& tips, RadioImage& image)
{
    for (int t = 0; t < kToneTipCount; ++t) {
        const ToneTipSequence& seq = tips[static_cast<std::size_t>(t)];
        const int base = img::ToneTips + img::ToneTipSize * t;
        for (int k = 0; k < kToneTipNotes; ++k) {
            const ToneTipNote& note = seq.Notes[static_cast<std::size_t>(k)];
            image[base + k] = valueByte(note.Frequency);
            image[base + kToneTipNotes + k] = valueByte(note.Duration);
        }
        image[base + 28] = valueByte(seq.RepeatCount);
        image[base + 29] = valueByte(seq.Interval);
    }
}

void decodeToneTips(const RadioImage& image, ToneTips& tips)
{
    for (int t = 0; t < kToneTipCount; ++t) {
        ToneTipSequence& seq = tips[static_cast<std::size_t>(t)];
        const int base = img::ToneTips + img::ToneTipSize * t;
        for (int k = 0; k < kToneTipNotes; ++k) {
            ToneTipNote& note = seq.Notes[static_cast<std::size_t>(k)];
            note.Frequency = image[base + k];
            note.Duration = image[base + kToneTipNotes + k];
        }
        seq.RepeatCount = image[base + 28];
        seq.Interval = image[base + 29];
    }
}

}  // namespace

std::uint8_t channelCodeByte(int channel)
{
    return channel == 0 ? 0xFF : static_cast<std::uint8_t>((channel - 1) & 0xFF);
}

int channelOfCodeByte(std::uint8_t byte)
{
    return byte == 0xFF ? 0 : byte + 1;
}

int dtmfDigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c == '*') return 0x0E;
    if (c == '#') return 0x0F;
    return -1;
}

void encodeDtmfCode(const DtmfCode& code, RadioImage& image, int offset)
{
    const int length = code.Length > 16 ? 0 : code.Length;
    std::string t = code.Digits.cut();
    if (length > 0 && static_cast<int>(t.size()) < length) {
        t.insert(0, static_cast<std::size_t>(length) - t.size(), '0');
    }
    for (int k = 0; k < 16; ++k) {
        std::uint8_t b = 0xFF;
        if (k < length) {
            const int v = dtmfDigitValue(t[static_cast<std::size_t>(k)]);
            if (v >= 0) b = static_cast<std::uint8_t>(v);
        }
        image[offset + k] = b;
    }
}

DtmfCode decodeDtmfCode(const RadioImage& image, int offset)
{
    static constexpr char kDigits[] = "0123456789ABCD*#";
    std::string s;
    for (int k = 0; k < 16; ++k) {
        const std::uint8_t b = image[offset + k];
        if (b >= 16) {
            s.push_back('\0');
            break;
        }
        s.push_back(kDigits[b]);
    }
    DtmfCode code;
    code.Length = static_cast<std::int16_t>(cutAtZero(s).size());
    code.Digits = s;
    return code;
}

void encodeText(std::string_view cutText, RadioImage& image, int offset, int size,
                std::uint8_t filler)
{
    for (int k = 0; k < size; ++k) {
        image[offset + k] = k < static_cast<int>(cutText.size())
                                ? static_cast<std::uint8_t>(cutText[static_cast<std::size_t>(k)])
                                : filler;
    }
}

FixedText<16> decodePowerOnText(const RadioImage& image)
{
    std::string s;
    for (int k = 0; k < img::TextSize; ++k) {
        const std::uint8_t b = image[img::PowerOnText + k];
        if (b == 0x00 || b == 0xFF) break;
        s.push_back(static_cast<char>(b));
    }
    if (s.size() < 16) s.push_back('\0');
    return FixedText<16>(s);
}

FixedText<16> decodeMessageLine(const RadioImage& image, int line)
{
    std::string s;
    const int base = img::MessageLines + img::TextSize * line;
    for (int k = 0; k < img::TextSize; ++k) {
        const std::uint8_t b = image[base + k];
        if (b == 0xFF) break;
        s.push_back(static_cast<char>(b));
    }
    std::string text = cutAtZero(s);
    if (text.size() < 16) text.push_back('\0');
    return FixedText<16>(text);
}

FixedText<3> decodeGroupName(const RadioImage& image, int group)
{
    std::string s;
    for (int k = 0; k < img::GroupNameSize; ++k) {
        const std::uint8_t b = image[img::GroupNames + img::GroupNameSize * group + k];
        if (b == 0x00 || b == 0xFF) {
            s.push_back('\0');
            break;
        }
        s.push_back(static_cast<char>(b));
    }
    return FixedText<3>(s);
}

void encodeSettings(const RadioData& data, RadioImage& image)
{
    encodeOptions(data.Options, image);
    encodeDtmf(data.Dtmf, image);
    for (int i = 0; i < 4; ++i) {
        encodeText(data.Messages[static_cast<std::size_t>(i)].cut(), image,
                   img::MessageLines + img::TextSize * i, img::TextSize, 0x00);
    }
    for (int g = 0; g < kNamedGroups; ++g) {
        encodeText(data.Groups[static_cast<std::size_t>(g)].cut(), image,
                   img::GroupNames + img::GroupNameSize * g, img::GroupNameSize, 0x20);
    }
    encodeToneTips(data.Tips, image);
}

void decodeSettings(const RadioImage& image, RadioData& data)
{
    decodeOptions(image, data.Options);
    decodeDtmf(image, data.Dtmf);
    for (int i = 0; i < 4; ++i)
        data.Messages[static_cast<std::size_t>(i)] = decodeMessageLine(image, i);
    for (int g = 0; g < kNamedGroups; ++g)
        data.Groups[static_cast<std::size_t>(g)] = decodeGroupName(image, g);
    decodeToneTips(image, data.Tips);
}

void applyFeatureFlags(std::uint8_t flags, ProgramState& state)
{
    state.RefuseWriteFlag1 = (flags & 0x08) != 0;
    state.RefuseWriteFlag2 = (flags & 0x04) != 0;
    for (int i = 0; i < 4; ++i) {
        std::uint8_t& b = state.Settings.Bytes[static_cast<std::size_t>(i)];
        if (b == 0) b = static_cast<std::uint8_t>((flags >> (3 - i)) & 1);
    }
}

}  // namespace zt
