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

// A field the image holds in one byte: a value outside 0–255 cannot be written.
struct ByteField {
    int textId;
    std::string_view english;
    int value;
};

void checkBytes(Problems& p, const std::string& where, std::initializer_list<ByteField> fields)
{
    for (const ByteField& f : fields) p.range(where, p.text(f.textId, f.english), f.value, 0, 255);
}

// A list of texts, each named by `placeId` with its number (`firstNumber` for the first).
template <std::size_t N, std::size_t Count>
void checkTexts(Problems& p, const std::array<FixedText<N>, Count>& texts, int placeId,
                std::string_view english, int firstNumber)
{
    for (std::size_t i = 0; i < Count; ++i)
        checkText(p, p.text(placeId, english, {std::to_string(firstNumber + static_cast<int>(i))}),
                  texts[i].cut());
}

void checkOptions(Problems& p, const OptionSettings& o)
{
    namespace t = text::option;
    const std::string where = p.text(text::msg::PlaceOptionalFeatures, "Optional features");
    p.range(where, p.text(t::FieldTimeOutTimer, "time-out timer"), o.TimeOutTimer, 0,
            kMaxTimeOutTimer);
    checkBytes(p, where,
               {{t::FieldCurrentGroup, "current group", o.CurrentGroup},
                {t::FieldDisplayMode, "display mode", o.DisplayMode},
                {t::FieldBacklightColour, "backlight colour", o.BacklightColor},
                {t::FieldScanMode, "scan mode", o.ScanMode},
                {t::FieldScanResumeTime, "scan resume time", o.ScanResumeTime},
                {t::FieldBeep, "beep", o.Beep},
                {t::FieldPublicData, "public data", o.PublicData},
                {t::FieldPTTIDPause, "PTT ID pause", o.PttIdPause},
                {t::FieldFrequencyChangeable, "frequency changeable", o.FrequencyChangeable}});
    for (int g = 0; g < kNamedGroups; ++g) {
        const auto& rows = o.EmergencyRows[static_cast<std::size_t>(g)];
        // Channel 256 would be stored as 0xFF, which the radio reads as "none".
        checkBytes(p, p.text(text::msg::PlaceGroup, "Group %1", {std::to_string(g)}),
                   {{t::FieldEmergencyChannel1, "emergency channel 1", rows[0]},
                    {t::FieldEmergencyChannel2, "emergency channel 2", rows[1]}});
    }
    checkBytes(
        p, p.text(text::msg::PlaceResetMode, "Reset mode"),
        {{t::FieldGroupOfResetE, "group of reset E", o.ResetGroupE},
         {t::FieldChannelOfResetE, "channel of reset E", o.ResetChannelE},
         {t::FieldGroupOfNormalReset, "group of normal reset", o.ResetGroupNormal},
         {t::FieldChannelOfNormalReset, "channel of normal reset", o.ResetChannelNormal},
         {t::FieldGroupOfExtendedReset, "group of extended reset", o.ResetGroupExtended},
         {t::FieldChannelOfExtendedReset, "channel of extended reset", o.ResetChannelExtended}});
    checkToneAndCodes(p, p.text(text::msg::PlacePublicSettings, "Public settings"), o.Common);
    checkText(p, p.text(text::msg::PlacePowerOnText, "Power-on text"), o.PowerOnText.cut());
}

void checkDtmf(Problems& p, const DtmfSettings& d)
{
    namespace t = text::dtmf;
    checkBytes(p, p.text(text::msg::PlaceDtmfSettings, "DTMF"),
               {{t::FieldSideTone, "side tone", d.SideTone},
                {t::FieldRate, "rate", d.Rate},
                {t::FieldFirstDigitDelay, "first digit delay", d.FirstDigitDelay},
                {t::FieldFirstDigitTime, "first digit time", d.FirstDigitTime},
                {t::FieldTime, "*/# time", d.StarHashTime},
                {t::FieldDKey, "D key", d.DKey}});
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
        checkBytes(p, where,
                   {{text::tonetips::FieldRepeatCount, "repeat count", seq.RepeatCount},
                    {text::tonetips::FieldInterval, "interval", seq.Interval}});
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
    // Message lines are numbered from 1, groups from 0 as the windows show them.
    checkTexts(p, doc.Data.Messages, text::msg::PlaceEmbeddedLine, "Message line %1", 1);
    checkTexts(p, doc.Data.Groups, text::msg::PlaceGroupName, "Name of group %1", 0);
    checkToneTips(p, doc.Data.Tips);
    return p.take();
}

}  // namespace zt
