#include "core/radio/representable.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/radio/channel_codec.h"
#include "core/radio/settings_codec.h"
#include "core/values/tones.h"

namespace zt {
namespace {

constexpr int kMaxSlotKhz = 0xFFFE;  // 0xFFFF marks an erased slot
constexpr int kMaxTimeOutTimer = 255 * 15 + 14;

class Problems {
  public:
    // "<where>: <what> <value> is outside <lo>–<hi>" when value is not in lo..hi.
    void range(const std::string& where, std::string_view what, int value, int lo, int hi)
    {
        if (value >= lo && value <= hi) return;
        add(where, std::string(what) + " " + std::to_string(value) + " is outside " +
                       std::to_string(lo) + "\u2013" + std::to_string(hi));
    }
    void add(const std::string& where, const std::string& text)
    {
        list_.push_back(where.empty() ? text : where + ": " + text);
    }
    std::vector<std::string> take() { return std::move(list_); }

  private:
    std::vector<std::string> list_;
};

bool allDigits(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Tone and code fields shared by channel slots and the common channel.
void checkToneAndCodes(Problems& p, const std::string& where, const ChannelRecord& r)
{
    p.range(where, "receive tone index", r.DecodeTone, 0, kToneCount - 1);
    p.range(where, "transmit tone index", r.EncodeTone, 0, kToneCount - 1);
    p.range(where, "expander", r.RxExpand, 0, 1);
    p.range(where, "compressor", r.TxCompress, 0, 1);
    p.range(where, "NB/ANL", r.NbAnl, 0, 1);
    p.range(where, "attenuator", r.Attenuator, 0, 1);
    p.range(where, "high cut", r.HiCut, 0, 1);
    p.range(where, "TSQ", r.Tsq, 0, 1);
    p.range(where, "busy channel lock", r.BusyChannelLock, 0, 3);
    p.range(where, "RB tone", r.RBTone, 0, 15);
    p.range(where, "squelch mode", r.SquelchMode, 0, 15);
    p.range(where, "BOT code", r.BotCode, 0, 31);
    p.range(where, "repeater offset", r.Rep, 0, 3);
    p.range(where, "EOT code", r.EotCode, 0, 255);
    p.range(where, "call code", r.CallCode, 0, 255);
}

void checkChannels(Problems& p, const RadioDocument& doc)
{
    const int count = doc.Data.ChannelCount;
    p.range("", "Channel count", count, 0, kMaxChannels);
    std::array<bool, kMaxChannels + 1> seen{};
    for (int i = 0; i < std::clamp(count, 0, kMaxChannels); ++i) {
        const ChannelRecord& r = doc.Channels[static_cast<std::size_t>(i)];
        const std::string freq = channelFrequencyText(r.RxFre);
        if (isBlankFrequency(freq)) continue;  // an empty channel is not written
        const std::string where = "Channel " + std::to_string(r.ChNo);
        if (r.ChNo < 1 || r.ChNo > kMaxChannels) {
            p.add(where, "the channel number is outside 1\u2013521");
            continue;
        }
        if (seen[static_cast<std::size_t>(r.ChNo)]) {
            p.add(where, "the channel number is used more than once");
        }
        seen[static_cast<std::size_t>(r.ChNo)] = true;
        if (!allDigits(freq)) {
            p.add(where, "receive frequency \"" + freq + "\" is not a number");
        } else {
            const std::uint32_t khz = frequencyKhzOfText(freq);
            if (khz > kMaxSlotKhz) {
                p.add(where, "receive frequency \"" + freq + "\" (" + std::to_string(khz) +
                                 " kHz) does not fit the radio's 0\u201365534 kHz");
            }
        }
        p.range(where, "scan skip", r.ScanSkip, 0, 1);
        checkToneAndCodes(p, where, r);
    }
}

void checkText(Problems& p, const std::string& where, const std::string& cutText)
{
    // The radio ends a text at byte 0xFF, so it cannot be part of one.
    if (cutText.find('\xFF') != std::string::npos) {
        p.add(where,
              "character code 255 cannot be stored (the radio reads it as the end of "
              "the text)");
    }
}

void checkOptions(Problems& p, const OptionSettings& o)
{
    const std::string where = "Optional features";
    p.range(where, "time-out timer", o.TimeOutTimer, 0, kMaxTimeOutTimer);
    p.range(where, "current group", o.CurrentGroup, 0, 255);
    p.range(where, "display mode", o.DisplayMode, 0, 255);
    p.range(where, "backlight colour", o.BacklightColor, 0, 255);
    p.range(where, "scan mode", o.ScanMode, 0, 255);
    p.range(where, "scan resume time", o.ScanResumeTime, 0, 255);
    p.range(where, "beep", o.Beep, 0, 255);
    p.range(where, "public data", o.PublicData, 0, 255);
    p.range(where, "PTT ID pause", o.PttIdPause, 0, 255);
    p.range(where, "frequency changeable", o.FrequencyChangeable, 0, 255);
    for (int g = 0; g < kNamedGroups; ++g) {
        const auto& rows = o.EmergencyRows[static_cast<std::size_t>(g)];
        const std::string group = "Group " + std::to_string(g);
        // Channel 256 would be stored as 0xFF, which the radio reads as "none".
        p.range(group, "emergency channel 1", rows[0], 0, 255);
        p.range(group, "emergency channel 2", rows[1], 0, 255);
    }
    const std::string reset = "Reset mode";
    p.range(reset, "group of reset E", o.ResetGroupE, 0, 255);
    p.range(reset, "channel of reset E", o.ResetChannelE, 0, 255);
    p.range(reset, "group of normal reset", o.ResetGroupNormal, 0, 255);
    p.range(reset, "channel of normal reset", o.ResetChannelNormal, 0, 255);
    p.range(reset, "group of extended reset", o.ResetGroupExtended, 0, 255);
    p.range(reset, "channel of extended reset", o.ResetChannelExtended, 0, 255);
    checkToneAndCodes(p, "Public settings", o.Common);
    checkText(p, "Power-on text", o.PowerOnText.cut());
}

void checkDtmf(Problems& p, const DtmfSettings& d)
{
    const std::string where = "DTMF";
    p.range(where, "side tone", d.SideTone, 0, 255);
    p.range(where, "rate", d.Rate, 0, 255);
    p.range(where, "first digit delay", d.FirstDigitDelay, 0, 255);
    p.range(where, "first digit time", d.FirstDigitTime, 0, 255);
    p.range(where, "*/# time", d.StarHashTime, 0, 255);
    p.range(where, "D key", d.DKey, 0, 255);
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
                shown.append("code ").append(std::to_string(byte));
            } else {
                shown.append(1, '"').append(1, digits[k]).append(1, '"');
            }
            p.add("DTMF memory code " + std::to_string(n + 1),
                  "character " + shown + " is not a DTMF digit (0\u20139, A\u2013D, *, #)");
        }
    }
}

void checkToneTips(Problems& p, const ToneTips& tips)
{
    for (int t = 0; t < kToneTipCount; ++t) {
        const ToneTipSequence& seq = tips[static_cast<std::size_t>(t)];
        const std::string where = "Tone tip " + std::to_string(t + 1);
        for (int k = 0; k < kToneTipNotes; ++k) {
            const ToneTipNote& note = seq.Notes[static_cast<std::size_t>(k)];
            const std::string which = "note " + std::to_string(k + 1);
            p.range(where, which + " frequency", note.Frequency, 0, 255);
            p.range(where, which + " duration", note.Duration, 0, 255);
        }
        p.range(where, "repeat count", seq.RepeatCount, 0, 255);
        p.range(where, "interval", seq.Interval, 0, 255);
    }
}

}  // namespace

std::vector<std::string> unrepresentableFields(const RadioDocument& doc)
{
    Problems p;
    checkChannels(p, doc);
    checkOptions(p, doc.Data.Options);
    checkDtmf(p, doc.Data.Dtmf);
    for (int i = 0; i < 4; ++i) {
        checkText(p, "Message line " + std::to_string(i + 1),
                  doc.Data.Messages[static_cast<std::size_t>(i)].cut());
    }
    for (int g = 0; g < kNamedGroups; ++g) {
        checkText(p, "Name of group " + std::to_string(g),
                  doc.Data.Groups[static_cast<std::size_t>(g)].cut());
    }
    checkToneTips(p, doc.Data.Tips);
    return p.take();
}

}  // namespace zt
