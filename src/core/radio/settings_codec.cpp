#include "core/radio/settings_codec.h"

#include <string>

#include "core/radio/channel_codec.h"

namespace zt {
namespace {

// How a text of the image reads back.
enum class TextEnd {
    // The content ends at the first 0x00 or 0xFF (power-on text, group names).
    AtZeroOrFF,
    // The bytes end at the first 0xFF and are then cut like any record text:
    // trailing spaces removed, then everything from the first NUL (message lines).
    CutBeforeFF,
};

// A text of the image; a NUL follows content shorter than the field.
template <std::size_t N>
FixedText<N> decodeImageText(const RadioImage& image, int offset, TextEnd end)
{
    std::string s;
    for (int k = 0; k < static_cast<int>(N); ++k) {
        const std::uint8_t b = image[offset + k];
        if (b == 0xFF || (b == 0x00 && end == TextEnd::AtZeroOrFF)) break;
        s.push_back(static_cast<char>(b));
    }
    if (end == TextEnd::CutBeforeFF) s = cutAtZero(s);
    if (s.size() < N) s.push_back('\0');
    return FixedText<N>(s);
}

// One field list serves both directions (see visitSettings): the writer puts
// the document's fields into the image, the reader takes them back, so the two
// can never disagree on an offset or a coding.
class ImageWriter {
  public:
    explicit ImageWriter(RadioImage& image) : image_(image) {}

    // A number in one byte (its low eight bits).
    void byte(int offset, const std::int16_t& v) { image_[offset] = valueByte(v); }
    // A number held in the image divided by `unit`.
    void scaled(int offset, const std::int16_t& v, int unit)
    {
        image_[offset] = valueByte(v / unit);
    }
    // A channel number: 0 (none) as 0xFF, channel n as n - 1.
    void channel(int offset, const std::int16_t& v) { image_[offset] = channelCodeByte(v); }
    // A flag the radio always keeps on, whatever the document says.
    void alwaysOn(int offset, const std::int16_t&) { image_[offset] = 1; }
    void toneAndCodes(int offset, const ChannelRecord& c)
    {
        encodeToneAndCodeBytes(c, image_, offset);
    }
    void dtmfCode(int offset, const DtmfCode& c) { encodeDtmfCode(c, image_, offset); }
    // The cut text, then `filler` up to the field's size.
    template <std::size_t N>
    void text(int offset, const FixedText<N>& t, std::uint8_t filler, TextEnd)
    {
        encodeText(t.cut(), image_, offset, static_cast<int>(N), filler);
    }

  private:
    static std::uint8_t valueByte(int v) { return static_cast<std::uint8_t>(v & 0xFF); }
    RadioImage& image_;
};

class ImageReader {
  public:
    explicit ImageReader(const RadioImage& image) : image_(image) {}

    void byte(int offset, std::int16_t& v) { v = image_[offset]; }
    void scaled(int offset, std::int16_t& v, int unit)
    {
        v = static_cast<std::int16_t>(image_[offset] * unit);
    }
    void channel(int offset, std::int16_t& v)
    {
        v = static_cast<std::int16_t>(channelOfCodeByte(image_[offset]));
    }
    void alwaysOn(int offset, std::int16_t& v) { v = image_[offset] == 0 ? 0 : 1; }
    void toneAndCodes(int offset, ChannelRecord& c) { decodeToneAndCodeBytes(image_, offset, c); }
    void dtmfCode(int offset, DtmfCode& c) { c = decodeDtmfCode(image_, offset); }
    template <std::size_t N>
    void text(int offset, FixedText<N>& t, std::uint8_t, TextEnd end)
    {
        t = decodeImageText<N>(image_, offset, end);
    }

  private:
    const RadioImage& image_;
};

// The records are const for the writer and changeable for the reader.
template <class IO, class Options>
void visitOptions(IO& io, Options& o)
{
    io.scaled(img::TimeOutTimer, o.TimeOutTimer, 15);
    io.byte(img::CurrentGroup, o.CurrentGroup);
    io.byte(img::DisplayMode, o.DisplayMode);
    io.byte(img::BacklightColor, o.BacklightColor);
    io.byte(img::ScanMode, o.ScanMode);
    io.byte(img::ScanResumeTime, o.ScanResumeTime);
    io.byte(img::Beep, o.Beep);
    io.byte(img::PublicData, o.PublicData);
    io.byte(img::PttIdPause, o.PttIdPause);
    io.byte(img::FrequencyChangeable, o.FrequencyChangeable);
    for (int g = 0; g < kNamedGroups; ++g) {
        auto& rows = o.EmergencyRows[static_cast<std::size_t>(g)];
        io.channel(img::EmergencyRows + g, rows[0]);
        io.channel(img::EmergencyRowsSecond + g, rows[1]);
        // The radio keeps both modulations enabled for every group.
        auto& amFm = o.GroupAmFm[static_cast<std::size_t>(g)];
        io.alwaysOn(img::GroupAmFm + g, amFm[0]);
        io.alwaysOn(img::GroupAmFmSecond + g, amFm[1]);
    }
    io.byte(img::ResetModes, o.ResetGroupE);
    io.channel(img::ResetModes + 1, o.ResetChannelE);
    io.byte(img::ResetModes + 2, o.ResetGroupNormal);
    io.channel(img::ResetModes + 3, o.ResetChannelNormal);
    io.byte(img::ResetModes + 4, o.ResetGroupExtended);
    io.channel(img::ResetModes + 5, o.ResetChannelExtended);
    io.toneAndCodes(img::CommonChannel, o.Common);
    io.text(img::PowerOnText, o.PowerOnText, 0x00, TextEnd::AtZeroOrFF);
}

template <class IO, class Dtmf>
void visitDtmf(IO& io, Dtmf& d)
{
    io.byte(img::DtmfSideTone, d.SideTone);
    io.byte(img::DtmfRate, d.Rate);
    io.byte(img::DtmfFirstDigitDelay, d.FirstDigitDelay);
    io.byte(img::DtmfFirstDigitTime, d.FirstDigitTime);
    io.byte(img::DtmfStarHashTime, d.StarHashTime);
    io.byte(img::DtmfDKey, d.DKey);
    for (int n = 0; n < kDtmfMemoryCodes; ++n)
        io.dtmfCode(img::DtmfCodes + img::DtmfCodeSize * n, d.Memory[static_cast<std::size_t>(n)]);
}

template <class IO, class Tips>
void visitToneTips(IO& io, Tips& tips)
{
    for (int t = 0; t < kToneTipCount; ++t) {
        auto& seq = tips[static_cast<std::size_t>(t)];
        const int base = img::ToneTips + img::ToneTipSize * t;
        for (int k = 0; k < kToneTipNotes; ++k) {
            auto& note = seq.Notes[static_cast<std::size_t>(k)];
            io.byte(base + k, note.Frequency);
            io.byte(base + kToneTipNotes + k, note.Duration);
        }
        io.byte(base + 28, seq.RepeatCount);
        io.byte(base + 29, seq.Interval);
    }
}

// Option settings, DTMF, message lines, group names and tone tips, in that order.
template <class IO, class Data>
void visitSettings(IO& io, Data& data)
{
    visitOptions(io, data.Options);
    visitDtmf(io, data.Dtmf);
    for (int i = 0; i < 4; ++i)
        io.text(img::MessageLines + img::TextSize * i, data.Messages[static_cast<std::size_t>(i)],
                0x00, TextEnd::CutBeforeFF);
    for (int g = 0; g < kNamedGroups; ++g)
        io.text(img::GroupNames + img::GroupNameSize * g, data.Groups[static_cast<std::size_t>(g)],
                0x20, TextEnd::AtZeroOrFF);
    visitToneTips(io, data.Tips);
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
    return decodeImageText<16>(image, img::PowerOnText, TextEnd::AtZeroOrFF);
}

FixedText<16> decodeMessageLine(const RadioImage& image, int line)
{
    return decodeImageText<16>(image, img::MessageLines + img::TextSize * line,
                               TextEnd::CutBeforeFF);
}

FixedText<3> decodeGroupName(const RadioImage& image, int group)
{
    return decodeImageText<3>(image, img::GroupNames + img::GroupNameSize * group,
                              TextEnd::AtZeroOrFF);
}

void encodeSettings(const RadioData& data, RadioImage& image)
{
    ImageWriter writer(image);
    visitSettings(writer, data);
}

void decodeSettings(const RadioImage& image, RadioData& data)
{
    ImageReader reader(image);
    visitSettings(reader, data);
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
