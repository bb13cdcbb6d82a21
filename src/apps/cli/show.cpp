#include "apps/cli/show.h"

#include <algorithm>
#include <iomanip>
#include <string>
#include <vector>

#include "core/radio/models.h"
#include "core/text_ids.h"
#include "core/values/band_limits.h"
#include "core/values/frequency.h"
#include "core/values/tones.h"

namespace zt {

int groupBase(int group)
{
    if (group <= 0) return 0;
    if (group == 1) return 40;
    if (group >= 12) return 520;
    return (group + 1) * 40;
}

int groupSize(int group)
{
    if (group == 1) return 80;
    if (group >= 12) return 1;
    return 40;
}

namespace {

std::string textOr(const TextLookup& text, int id, const char* fallback)
{
    std::string s = text ? text(id) : std::string();
    return s.empty() ? std::string(fallback) : s;
}

std::string toneShown(const TextLookup& text, int index)
{
    if (index == 0) return textOr(text, text::channelinfo::ListEntryNoToneNoneOff, "Off");
    const std::string t = toneText(index);
    return t.empty() ? "?" + std::to_string(index) : t;
}

std::string choice(const TextLookup& text, int value, std::initializer_list<int> ids)
{
    if (value >= 0 && value < static_cast<int>(ids.size()))
        return textOr(text, *(ids.begin() + value), "?");
    return std::to_string(value);
}

// Pads a text to `width` display columns (a CJK character counts as two).
std::string pad(const std::string& s, std::size_t width)
{
    std::size_t columns = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if ((c & 0xC0) == 0x80) continue;
        columns += c >= 0xE0 ? 2 : 1;
    }
    return columns >= width ? s + " " : s + std::string(width - columns, ' ');
}

}  // namespace

void showDocument(const RadioDocument& doc, const TextLookup& text, std::ostream& out)
{
    const RadioData& d = doc.Data;
    const std::string bandText = bandTextOfCode(d.BandCode);
    const BandLimits limits = parseBandLimits(bandText);

    out << pad(textOr(text, text::local::LabelModel, "Model"), 16) << d.ModelName.cut() << "\n";
    out << pad(textOr(text, text::local::LabelBand, "Band"), 16) << d.BandCode;
    if (!bandText.empty()) out << " (" << bandText << ")";
    out << "\n";
    out << pad(textOr(text, text::local::LabelVersionInformation, "Version"), 16) << d.Version.cut()
        << "\n";
    out << pad("Channels", 16) << d.ChannelCount << "\n";

    // Valid channels by number.
    std::vector<const ChannelRecord*> channels;
    const int count = std::clamp<int>(d.ChannelCount, 0, kMaxChannels);
    for (int i = 0; i < count; ++i) channels.push_back(&doc.Channels[static_cast<std::size_t>(i)]);
    std::sort(channels.begin(), channels.end(),
              [](const ChannelRecord* a, const ChannelRecord* b) { return a->ChNo < b->ChNo; });

    const std::string groupWord = textOr(text, text::channelinfo::LabelGroupSelector, "Group");
    for (int g = 0; g < kGroupCount; ++g) {
        std::vector<const ChannelRecord*> inGroup;
        for (const ChannelRecord* c : channels)
            if (groupOfChannel(c->ChNo) == g) inGroup.push_back(c);
        if (inGroup.empty()) continue;
        out << "\n";
        if (g == 12) {
            out << "VFO\n";
        } else {
            out << groupWord << " " << g;
            const std::string name = d.Groups[static_cast<std::size_t>(g)].cut();
            if (!name.empty()) out << " \"" << name << "\"";
            out << "\n";
        }
        out << "  " << pad(textOr(text, text::channelinfo::GridHeadingRowNumber, "No."), 6)
            << pad(textOr(text, text::channelinfo::GridHeadingReceiveFrequency, "RX"), 14)
            << pad(textOr(text, text::channelinfo::GridHeadingSignedTransmitOffset, "Offset"), 12)
            << pad(textOr(text, text::channelinfo::GridHeadingDecodeTone, "RX tone"), 14)
            << pad(textOr(text, text::channelinfo::GridHeadingEncodeTone, "TX tone"), 14)
            << pad(textOr(text, text::channelinfo::GridHeadingScanList, "Scan"), 8)
            << textOr(text, text::channelinfo::GridHeadingChannelSpacing, "Spacing") << "\n";
        for (const ChannelRecord* c : inGroup) {
            const RxDisplay rx = rxStoredToDisplay(c->RxFre.cut(), limits);
            const std::string rxText = rx.notNumeric ? "(" + c->RxFre.cut() + ")" : rx.text;
            out << "  " << pad(std::to_string(c->ChNo), 6) << pad(rxText, 14)
                << pad(offsetDisplay(c->OffsetFre.cut(), c->ShiftDir), 12)
                << pad(toneShown(text, c->DecodeTone), 14)
                << pad(toneShown(text, c->EncodeTone), 14)
                << pad(choice(text, c->ScanSkip,
                              {text::channelinfo::ScanListEntry0ChannelIsScanned,
                               text::channelinfo::ScanListEntry1ChannelIsSkipped}),
                       8)
                << choice(text, c->Spacing,
                          {text::channelinfo::SpacingEntry0, text::channelinfo::SpacingEntry1,
                           text::channelinfo::SpacingEntry2})
                << "\n";
        }
    }

    const OptionSettings& o = d.Options;
    out << "\n"
        << textOr(text, text::option::OptionalFeaturesWindowCaption, "Optional features") << "\n";
    const std::pair<int, int> numbers[] = {
        {text::option::LabelTransmitTimeOutTimer, o.TimeOutTimer},
        {text::option::LabelSquelchLevel, o.SquelchLevel},
        {text::option::LabelVoicePrompt, o.VoicePrompt},
        {text::option::LabelVoiceVolume, o.VoiceVolume},
        {text::option::LabelTailElimination, o.TailElimination},
        {text::option::LabelBatterySave, o.BatterySave},
        {text::option::CheckBoxVOX, o.Vox},
        {text::option::LabelVOXLevel, o.VoxLevel},
        {text::option::CheckBoxChannelLock, o.ChannelLock},
        {text::option::LabelKeyBeep, o.Beep},
        {text::option::LabelScanMode, o.ScanMode},
        {text::option::LabelBacklightColour, o.BacklightColor},
    };
    for (const auto& [id, value] : numbers)
        out << "  " << pad(textOr(text, id, "?"), 32) << value << "\n";
    out << "  " << pad(groupWord, 32) << o.CurrentGroup << "\n";
    out << "  " << pad(textOr(text, text::option::LabelPowerOnText, "Power-on text"), 32) << "\""
        << o.PowerOnText.cut() << "\"\n";
    out << "\n"
        << textOr(text, text::emg::EmbeddedMessageWindowCaption, "Embedded message") << "\n";
    for (const auto& line : d.Messages) out << "  \"" << line.cut() << "\"\n";
}

}  // namespace zt
