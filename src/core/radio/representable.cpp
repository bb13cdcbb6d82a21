#include "core/radio/representable.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string_view>

#include "core/radio/channel_codec.h"
#include "core/radio/settings_codec.h"
#include "core/text_ids.h"
#include "core/values/tones.h"

namespace zt {
namespace {

constexpr int kMaxSlotKhz = 0xFFFE;  // 0xFFFF marks an erased slot
constexpr int kMaxTimeOutTimer = 255 * 15 + 14;

class Problems {
  public:
    explicit Problems(const PhraseLookup& lookup) : lookup_(lookup) {}

    // The phrase of a language text, or the built-in English one; "%1" .. "%4" take args.
    std::string text(int id, std::string_view english,
                     std::initializer_list<std::string> args = {}) const
    {
        std::string phrase = lookup_ ? lookup_(id) : std::string();
        if (phrase.empty()) phrase = std::string(english);
        // One pass, so a value that itself holds "%2" is never replaced again.
        std::string out;
        for (std::size_t i = 0; i < phrase.size(); ++i) {
            const char next = i + 1 < phrase.size() ? phrase[i + 1] : '\0';
            const auto n = static_cast<std::size_t>(next - '1');
            if (phrase[i] == '%' && next >= '1' && next <= '9' && n < args.size()) {
                out += *(args.begin() + n);
                ++i;
            } else {
                out += phrase[i];
            }
        }
        return out;
    }

    // "<where>: <what> <value> is outside <lo>–<hi>" when value is not in lo..hi.
    void range(const std::string& where, const std::string& what, int value, int lo, int hi)
    {
        if (value >= lo && value <= hi) return;
        add(where, text(text::msg::DetailOutOfRange, "%1 %2 is outside %3\u2013%4",
                        {what, std::to_string(value), std::to_string(lo), std::to_string(hi)}));
    }
    void add(const std::string& where, const std::string& what)
    {
        list_.push_back(where.empty() ? what : where + ": " + what);
    }
    std::vector<std::string> take() { return std::move(list_); }

  private:
    const PhraseLookup& lookup_;
    std::vector<std::string> list_;
};

bool allDigits(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Tone and code fields shared by channel slots and the common channel.
void checkToneAndCodes(Problems& p, const std::string& where, const ChannelRecord& r)
{
    p.range(where, p.text(text::channeledit::FieldReceiveToneIndex, "receive tone index"),
            r.DecodeTone, 0, kToneCount - 1);
    p.range(where, p.text(text::channeledit::FieldTransmitToneIndex, "transmit tone index"),
            r.EncodeTone, 0, kToneCount - 1);
    p.range(where, p.text(text::channeledit::FieldExpander, "expander"), r.RxExpand, 0, 1);
    p.range(where, p.text(text::channeledit::FieldCompressor, "compressor"), r.TxCompress, 0, 1);
    p.range(where, p.text(text::channeledit::FieldNBANL, "NB/ANL"), r.NbAnl, 0, 1);
    p.range(where, p.text(text::channeledit::FieldAttenuator, "attenuator"), r.Attenuator, 0, 1);
    p.range(where, p.text(text::channeledit::FieldHighCut, "high cut"), r.HiCut, 0, 1);
    p.range(where, p.text(text::channeledit::FieldTSQ, "TSQ"), r.Tsq, 0, 1);
    p.range(where, p.text(text::channeledit::FieldBusyChannelLock, "busy channel lock"),
            r.BusyChannelLock, 0, 3);
    p.range(where, p.text(text::channeledit::FieldRBTone, "RB tone"), r.RBTone, 0, 15);
    p.range(where, p.text(text::channeledit::FieldSquelchMode, "squelch mode"), r.SquelchMode, 0,
            15);
    p.range(where, p.text(text::channeledit::FieldBOTCode, "BOT code"), r.BotCode, 0, 31);
    p.range(where, p.text(text::channeledit::FieldRepeaterOffset, "repeater offset"), r.Rep, 0, 3);
    p.range(where, p.text(text::channeledit::FieldEOTCode, "EOT code"), r.EotCode, 0, 255);
    p.range(where, p.text(text::channeledit::FieldCallCode, "call code"), r.CallCode, 0, 255);
}

void checkChannels(Problems& p, const RadioDocument& doc)
{
    const int count = doc.Data.ChannelCount;
    p.range("", p.text(text::msg::FieldChannelCount, "Channel count"), count, 0, kMaxChannels);
    std::array<bool, kMaxChannels + 1> seen{};
    for (int i = 0; i < std::clamp(count, 0, kMaxChannels); ++i) {
        const ChannelRecord& r = doc.Channels[static_cast<std::size_t>(i)];
        const std::string freq = channelFrequencyText(r.RxFre);
        if (isBlankFrequency(freq)) continue;  // an empty channel is not written
        const std::string where =
            p.text(text::msg::PlaceChannel, "Channel %1", {std::to_string(r.ChNo)});
        if (r.ChNo < 1 || r.ChNo > kMaxChannels) {
            p.add(where, p.text(text::msg::DetailChannelNumberRange,
                                "the channel number is outside 1\u2013521"));
            continue;
        }
        if (seen[static_cast<std::size_t>(r.ChNo)]) {
            p.add(where, p.text(text::msg::DetailChannelNumberTwice,
                                "the channel number is used more than once"));
        }
        seen[static_cast<std::size_t>(r.ChNo)] = true;
        if (!allDigits(freq)) {
            p.add(where, p.text(text::msg::DetailFrequencyNotNumber,
                                "receive frequency \"%1\" is not a number", {freq}));
        } else {
            const std::uint32_t khz = frequencyKhzOfText(freq);
            if (khz > kMaxSlotKhz) {
                p.add(where, p.text(text::msg::DetailFrequencyTooLarge,
                                    "receive frequency \"%1\" (%2 kHz) does not fit the "
                                    "radio's 0\u201365534 kHz",
                                    {freq, std::to_string(khz)}));
            }
        }
        p.range(where, p.text(text::channeledit::FieldScanSkip, "scan skip"), r.ScanSkip, 0, 1);
        checkToneAndCodes(p, where, r);
    }
}

void checkText(Problems& p, const std::string& where, const std::string& cutText)
{
    // The radio ends a text at byte 0xFF, so it cannot be part of one.
    if (cutText.find('\xFF') != std::string::npos) {
        p.add(where, p.text(text::msg::DetailTextByte255,
                            "character code 255 cannot be stored (the radio reads it as the "
                            "end of the text)"));
    }
}

void checkOptions(Problems& p, const OptionSettings& o)
{
    const std::string where = p.text(text::msg::PlaceOptionalFeatures, "Optional features");
    p.range(where, p.text(text::option::FieldTimeOutTimer, "time-out timer"), o.TimeOutTimer, 0,
            kMaxTimeOutTimer);
    p.range(where, p.text(text::option::FieldCurrentGroup, "current group"), o.CurrentGroup, 0,
            255);
    p.range(where, p.text(text::option::FieldDisplayMode, "display mode"), o.DisplayMode, 0, 255);
    p.range(where, p.text(text::option::FieldBacklightColour, "backlight colour"), o.BacklightColor,
            0, 255);
    p.range(where, p.text(text::option::FieldScanMode, "scan mode"), o.ScanMode, 0, 255);
    p.range(where, p.text(text::option::FieldScanResumeTime, "scan resume time"), o.ScanResumeTime,
            0, 255);
    p.range(where, p.text(text::option::FieldBeep, "beep"), o.Beep, 0, 255);
    p.range(where, p.text(text::option::FieldPublicData, "public data"), o.PublicData, 0, 255);
    p.range(where, p.text(text::option::FieldPTTIDPause, "PTT ID pause"), o.PttIdPause, 0, 255);
    p.range(where, p.text(text::option::FieldFrequencyChangeable, "frequency changeable"),
            o.FrequencyChangeable, 0, 255);
    for (int g = 0; g < kNamedGroups; ++g) {
        const auto& rows = o.EmergencyRows[static_cast<std::size_t>(g)];
        const std::string group = p.text(text::msg::PlaceGroup, "Group %1", {std::to_string(g)});
        // Channel 256 would be stored as 0xFF, which the radio reads as "none".
        p.range(group, p.text(text::option::FieldEmergencyChannel1, "emergency channel 1"), rows[0],
                0, 255);
        p.range(group, p.text(text::option::FieldEmergencyChannel2, "emergency channel 2"), rows[1],
                0, 255);
    }
    const std::string reset = p.text(text::msg::PlaceResetMode, "Reset mode");
    p.range(reset, p.text(text::option::FieldGroupOfResetE, "group of reset E"), o.ResetGroupE, 0,
            255);
    p.range(reset, p.text(text::option::FieldChannelOfResetE, "channel of reset E"),
            o.ResetChannelE, 0, 255);
    p.range(reset, p.text(text::option::FieldGroupOfNormalReset, "group of normal reset"),
            o.ResetGroupNormal, 0, 255);
    p.range(reset, p.text(text::option::FieldChannelOfNormalReset, "channel of normal reset"),
            o.ResetChannelNormal, 0, 255);
    p.range(reset, p.text(text::option::FieldGroupOfExtendedReset, "group of extended reset"),
            o.ResetGroupExtended, 0, 255);
    p.range(reset, p.text(text::option::FieldChannelOfExtendedReset, "channel of extended reset"),
            o.ResetChannelExtended, 0, 255);
    checkToneAndCodes(p, p.text(text::msg::PlacePublicSettings, "Public settings"), o.Common);
    checkText(p, p.text(text::msg::PlacePowerOnText, "Power-on text"), o.PowerOnText.cut());
}

void checkDtmf(Problems& p, const DtmfSettings& d)
{
    const std::string where = p.text(text::msg::PlaceDtmfSettings, "DTMF");
    p.range(where, p.text(text::dtmf::FieldSideTone, "side tone"), d.SideTone, 0, 255);
    p.range(where, p.text(text::dtmf::FieldRate, "rate"), d.Rate, 0, 255);
    p.range(where, p.text(text::dtmf::FieldFirstDigitDelay, "first digit delay"), d.FirstDigitDelay,
            0, 255);
    p.range(where, p.text(text::dtmf::FieldFirstDigitTime, "first digit time"), d.FirstDigitTime, 0,
            255);
    p.range(where, p.text(text::dtmf::FieldTime, "*/# time"), d.StarHashTime, 0, 255);
    p.range(where, p.text(text::dtmf::FieldDKey, "D key"), d.DKey, 0, 255);
    for (int n = 0; n < kDtmfMemoryCodes; ++n) {
        const DtmfCode& code = d.Memory[static_cast<std::size_t>(n)];
        // Only the first Length characters are sent (a missing front is filled with
        // "0"s, a length above 16 sends nothing).
        if (code.Length <= 0 || code.Length > 16) continue;
        const std::string digits = code.Digits.cut();
        for (std::size_t k = 0; k < digits.size() && k < static_cast<std::size_t>(code.Length);
             ++k) {
            if (dtmfDigitValue(digits[k]) >= 0) continue;
            const auto byte = static_cast<unsigned char>(digits[k]);
            std::string shown;
            if (byte < 0x20 || byte > 0x7E) {
                shown = p.text(text::msg::DetailCharacterCode, "code %1", {std::to_string(byte)});
            } else {
                shown.append(1, '"').append(1, digits[k]).append(1, '"');
            }
            p.add(p.text(text::msg::PlaceDtmfMemoryCode, "DTMF memory code %1",
                         {std::to_string(n + 1)}),
                  p.text(text::msg::DetailNotDtmfDigit,
                         "character %1 is not a DTMF digit (0\u20139, A\u2013D, *, #)", {shown}));
        }
    }
}

void checkToneTips(Problems& p, const ToneTips& tips)
{
    for (int t = 0; t < kToneTipCount; ++t) {
        const ToneTipSequence& seq = tips[static_cast<std::size_t>(t)];
        const std::string where =
            p.text(text::msg::PlaceToneTip, "Tone tip %1", {std::to_string(t + 1)});
        for (int k = 0; k < kToneTipNotes; ++k) {
            const ToneTipNote& note = seq.Notes[static_cast<std::size_t>(k)];
            const std::string number = std::to_string(k + 1);
            p.range(where,
                    p.text(text::tonetips::FieldNoteFrequency, "note %1 frequency", {number}),
                    note.Frequency, 0, 255);
            p.range(where, p.text(text::tonetips::FieldNoteDuration, "note %1 duration", {number}),
                    note.Duration, 0, 255);
        }
        p.range(where, p.text(text::tonetips::FieldRepeatCount, "repeat count"), seq.RepeatCount, 0,
                255);
        p.range(where, p.text(text::tonetips::FieldInterval, "interval"), seq.Interval, 0, 255);
    }
}

}  // namespace

std::vector<std::string> unrepresentableFields(const RadioDocument& doc,
                                               const PhraseLookup& phrases)
{
    Problems p(phrases);
    checkChannels(p, doc);
    checkOptions(p, doc.Data.Options);
    checkDtmf(p, doc.Data.Dtmf);
    for (int i = 0; i < 4; ++i) {
        checkText(p,
                  p.text(text::msg::PlaceEmbeddedLine, "Message line %1", {std::to_string(i + 1)}),
                  doc.Data.Messages[static_cast<std::size_t>(i)].cut());
    }
    for (int g = 0; g < kNamedGroups; ++g) {
        checkText(p, p.text(text::msg::PlaceGroupName, "Name of group %1", {std::to_string(g)}),
                  doc.Data.Groups[static_cast<std::size_t>(g)].cut());
    }
    checkToneTips(p, doc.Data.Tips);
    return p.take();
}

}  // namespace zt
