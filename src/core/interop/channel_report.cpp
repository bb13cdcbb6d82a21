#include "core/interop/channel_report.h"

#include <algorithm>

#include "core/edit/channel_grid_rules.h"
#include "core/edit/option_rules.h"
#include "core/files/data_file.h"
#include "core/text_ids.h"
#include "core/values/frequency.h"
#include "core/values/tones.h"

namespace zt {
namespace {

// Busy-channel lock values as the channel editor lists them: off, carrier, CTCSS/DCS tone.
constexpr int kBusyLockTone = 2;

std::string numbered(const std::string& abbreviation, int value)
{
    return abbreviation + std::to_string(value);
}

bool hasReceiveFrequency(const ChannelRecord& rec)
{
    const std::string rx = rec.RxFre.cut();
    return !rx.empty() && rx != "FFFFFFFF";
}

std::string receiveText(const ChannelRecord& rec, const BandLimits& limits)
{
    const RxDisplay shown = rxStoredToDisplay(rec.RxFre.cut(), limits);
    // The display rule would put the lower band limit in place of a stored text that is no
    // number; on paper that would read as a real frequency, so the stored text is shown.
    if (shown.notNumeric) return "?" + recordTextToUtf8(rec.RxFre.cut());
    return shown.text;
}

bool shifted(const ChannelRecord& rec)
{
    return rec.ShiftDir == 1 || rec.ShiftDir == 2;
}

std::string toneCell(int index, const TextLookup& text)
{
    if (index == 0) return text(text::channelinfo::ListEntryNoToneNoneOff);
    const std::string t = toneText(index);
    // An index outside the tone list sends no tone, as the radio would receive it.
    return t.empty() ? text(text::channelinfo::ListEntryNoToneNoneOff) : t;
}

std::string flagsOf(const ChannelRecord& rec, const TextLookup& text)
{
    std::vector<std::string> flags;
    namespace ci = text::channelinfo;
    if (rec.ScanSkip != 0) flags.push_back(text(ci::ReportFlagSkip));
    if (rec.Tsq != 0) flags.push_back(text(ci::ReportFlagTsq));
    if (rec.BusyChannelLock != 0)
        flags.push_back(numbered(text(ci::ReportFlagBusyLock), rec.BusyChannelLock));
    if (rec.RxExpand != 0) flags.push_back(text(ci::ReportFlagExpander));
    if (rec.TxCompress != 0) flags.push_back(text(ci::ReportFlagCompressor));
    if (rec.NbAnl != 0) flags.push_back(text(ci::ReportFlagNbAnl));
    if (rec.Attenuator != 0) flags.push_back(text(ci::ReportFlagAttenuator));
    if (rec.HiCut != 0) flags.push_back(text(ci::ReportFlagHiCut));
    if (rec.RBTone != 0) flags.push_back(numbered(text(ci::ReportFlagRbTone), rec.RBTone));
    if (rec.SquelchMode != 0)
        flags.push_back(numbered(text(ci::ReportFlagSquelchMode), rec.SquelchMode));
    if (rec.BotCode != 0) flags.push_back(numbered(text(ci::ReportFlagBot), rec.BotCode));
    if (rec.EotCode != 0) flags.push_back(numbered(text(ci::ReportFlagEot), rec.EotCode));
    if (rec.CallCode != 0) flags.push_back(numbered(text(ci::ReportFlagCall), rec.CallCode));
    std::string out;
    for (const auto& f : flags) out += (out.empty() ? "" : " ") + f;
    return out;
}

ReportChannelRow channelRow(const ChannelRecord& rec, int group, const TextLookup& text,
                            const BandLimits& limits)
{
    ReportChannelRow row;
    row.row = rec.ChNo - GroupBase(group);
    row.chNo = rec.ChNo;
    row.receive = receiveText(rec, limits);
    if (shifted(rec)) row.offset = offsetDisplay(rec.OffsetFre.cut(), rec.ShiftDir);
    const std::string tx =
        txDisplay(rec.RxFre.cut(), rec.OffsetFre.cut(), rec.ShiftDir, false, limits);
    row.transmit = tx.empty() ? row.receive : tx;
    row.decodeTone = toneCell(rec.DecodeTone, text);
    row.encodeTone = toneCell(rec.EncodeTone, text);
    row.flags = flagsOf(rec, text);
    return row;
}

std::string groupTitle(const RadioData& data, int group, const TextLookup& text)
{
    std::string label = recordTextToUtf8(groupLabel(data, group));
    // A group without a name is just its number.
    const std::string noName = " -- ";
    if (label.size() >= noName.size() &&
        label.compare(label.size() - noName.size(), noName.size(), noName) == 0)
        label.resize(label.size() - noName.size());
    return text(text::channeledit::LabelGroup) + " " + label;
}

std::vector<ReportGroup> channelGroups(const RadioDocument& doc, const TextLookup& text,
                                       const BandLimits& limits)
{
    const int count = std::clamp<int>(doc.Data.ChannelCount, 0, kMaxChannels);
    std::vector<ReportGroup> groups;
    for (int g = 0; g < kChannelGroupCount; ++g) {
        ReportGroup group;
        group.group = g;
        group.title = groupTitle(doc.Data, g, text);
        std::vector<const ChannelRecord*> members;
        for (int i = 0; i < count; ++i) {
            const ChannelRecord& rec = doc.Channels[static_cast<std::size_t>(i)];
            if (rowInGroup(rec, g) != 0 && hasReceiveFrequency(rec)) members.push_back(&rec);
        }
        std::sort(members.begin(), members.end(),
                  [](const ChannelRecord* a, const ChannelRecord* b) { return a->ChNo < b->ChNo; });
        for (const ChannelRecord* rec : members)
            group.rows.push_back(channelRow(*rec, g, text, limits));
        if (!group.rows.empty()) groups.push_back(std::move(group));
    }
    return groups;
}

// The entry an option list shows for a stored value; the first entry for a value outside it.
std::string listEntryText(const OptionSettings& o, OptionControl id, const TextLookup& text)
{
    const std::vector<ListEntry> entries = optionListEntries(id);
    if (entries.empty()) return "";
    const int index = optionListIndexOf(o, id).value_or(0);
    const ListEntry& e =
        entries[index >= 0 && index < static_cast<int>(entries.size()) ? index : 0];
    return e.textId != 0 ? text(e.textId) : e.text;
}

std::string offOn(int value, const TextLookup& text)
{
    return text(value == 1 ? text::option::ListEntryOn : text::option::ListEntryOff);
}

// What the radio does with the stored time-out: it keeps whole steps of 15 seconds.
std::string timeOutText(int value, const TextLookup& text)
{
    const int steps = value / 15;
    return steps <= 0 ? text(text::option::ListEntryOff) : std::to_string(steps * 15);
}

std::string referenceText(int value, int noneId, const TextLookup& text)
{
    return value == 0 ? text(noneId) : std::to_string(value);
}

std::string busyLockText(int value, const TextLookup& text)
{
    namespace ce = text::channeledit;
    if (value == 0) return text(ce::ListEntryOffNone);
    if (value == 1) return text(ce::BusyLockSquelchModeEntry1Carrier);
    if (value == kBusyLockTone) return text(ce::BusyLockSquelchModeEntry2CTCSSDCSTone);
    return std::to_string(value);
}

std::string groupNamesText(const RadioData& data)
{
    std::string out;
    for (int g = 0; g < kNamedGroups; ++g) {
        const std::string name = recordTextToUtf8(groupNameForDisplay(data.Groups[g]));
        out += (g == 0 ? "" : ", ") + std::to_string(g) + " " + (name.empty() ? "-" : name);
    }
    return out;
}

// The radio shows the power-on text right-aligned; on paper the leading spaces would only
// push it away from its label.
std::string powerOnText(const FixedText<16>& stored)
{
    const std::string text = stored.cut();
    const std::size_t first = text.find_first_not_of(' ');
    return recordTextToUtf8(first == std::string::npos ? "" : text.substr(first));
}

std::vector<ReportField> mainSettings(const RadioData& data, const TextLookup& text)
{
    const OptionSettings& o = data.Options;
    namespace op = text::option;
    return {
        {text(op::LabelPowerOnText), powerOnText(o.PowerOnText)},
        {text(op::LabelTransmitTimeOutTimer), timeOutText(o.TimeOutTimer, text)},
        {text(op::LabelDisplayMode), listEntryText(o, opt::DisplayMode, text)},
        {text(op::LabelBacklightColour), listEntryText(o, opt::Backlight, text)},
        {text(op::LabelScanMode), listEntryText(o, opt::ScanMode, text)},
        {text(op::LabelScanResumeTime), listEntryText(o, opt::ScanResume, text)},
        {text(op::LabelKeyBeep), listEntryText(o, opt::KeyBeep, text)},
        {text(op::LabelFrequenciesOfGroups06MayBeChanged),
         listEntryText(o, opt::FrequencyChangeable, text)},
        {text(text::main::ReportGroupNamesLabel), groupNamesText(data)},
        {text(op::CheckBoxPublicSettingsInForce), offOn(o.PublicData, text)},
    };
}

std::vector<ReportField> publicSettings(const OptionSettings& o, const TextLookup& text)
{
    namespace ce = text::channeledit;
    const ChannelRecord& c = o.Common;
    const int squelch = c.DecodeTone == 0 ? 0 : c.SquelchMode;
    return {
        {text(ce::LabelDecodeTone), toneCell(c.DecodeTone, text)},
        {text(ce::LabelEncodeTone), toneCell(c.EncodeTone, text)},
        {text(ce::LabelBusyChannelLock), busyLockText(c.BusyChannelLock, text)},
        {text(ce::LabelSquelchMode), squelch == 0
                                         ? text(ce::BusyLockSquelchModeEntry1Carrier)
                                         : text(ce::BusyLockSquelchModeEntry2CTCSSDCSTone)},
        {text(ce::LabelToneSquelch), text(c.Tsq == 1 ? ce::TSQEntry1 : ce::TSQEntry0)},
        {text(ce::LabelRBTone), referenceText(c.RBTone, ce::ListEntryOffNone, text)},
        {text(ce::LabelDTMFCodeSentAtStartOfTransmission),
         referenceText(c.BotCode, text::channelinfo::ListEntryNoToneNoneOff, text)},
        {text(ce::LabelDTMFCodeSentAtEndOfTransmission),
         referenceText(c.EotCode, text::channelinfo::ListEntryNoToneNoneOff, text)},
        {text(ce::LabelDTMFCallCode),
         referenceText(c.CallCode, text::channelinfo::ListEntryNoToneNoneOff, text)},
        {text(ce::CheckBoxRXExpander), offOn(c.RxExpand, text)},
        {text(ce::CheckBoxTXCompressor), offOn(c.TxCompress, text)},
        {text(ce::CheckBoxNoiseBlankerAutomaticNoiseLimiter), offOn(c.NbAnl, text)},
        {text(ce::CheckBoxAttenuator), offOn(c.Attenuator, text)},
        {text(ce::CheckBoxHiCutFilter), offOn(c.HiCut, text)},
    };
}

std::vector<ReportField> flagLegend(const TextLookup& text)
{
    namespace ci = text::channelinfo;
    namespace ce = text::channeledit;
    const std::string busyValues = text(ce::LabelBusyChannelLock) + " (1 " +
                                   text(ce::BusyLockSquelchModeEntry1Carrier) + ", 2 " +
                                   text(ce::BusyLockSquelchModeEntry2CTCSSDCSTone) + ")";
    return {
        {text(ci::ReportFlagSkip), text(ce::CheckBoxSkipTheChannelWhenScanning)},
        {text(ci::ReportFlagTsq), text(ce::LabelToneSquelch)},
        {text(ci::ReportFlagBusyLock), busyValues},
        {text(ci::ReportFlagExpander), text(ce::CheckBoxRXExpander)},
        {text(ci::ReportFlagCompressor), text(ce::CheckBoxTXCompressor)},
        {text(ci::ReportFlagNbAnl), text(ce::CheckBoxNoiseBlankerAutomaticNoiseLimiter)},
        {text(ci::ReportFlagAttenuator), text(ce::CheckBoxAttenuator)},
        {text(ci::ReportFlagHiCut), text(ce::CheckBoxHiCutFilter)},
        {text(ci::ReportFlagRbTone), text(ce::LabelRBTone)},
        {text(ci::ReportFlagSquelchMode), text(ce::LabelSquelchMode)},
        {text(ci::ReportFlagBot), text(ce::LabelDTMFCodeSentAtStartOfTransmission)},
        {text(ci::ReportFlagEot), text(ce::LabelDTMFCodeSentAtEndOfTransmission)},
        {text(ci::ReportFlagCall), text(ce::LabelDTMFCallCode)},
    };
}

}  // namespace

bool reportWouldReplaceDataFile(const std::filesystem::path& output,
                                const std::filesystem::path& dataFile)
{
    namespace fs = std::filesystem;
    const auto same = [](const fs::path& a, const fs::path& b) {
        std::error_code ec;
        if (fs::equivalent(a, b, ec)) return true;
        const fs::path ca = fs::weakly_canonical(a, ec);
        if (ec) return false;
        const fs::path cb = fs::weakly_canonical(b, ec);
        return !ec && ca == cb;
    };
    return same(output, dataFile) || same(output, companionPath(dataFile));
}

std::string recordTextToUtf8(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 || b == 0x7F || (b >= 0x80 && b < 0xA0)) {
            out.push_back('?');
        } else if (b < 0x80) {
            out.push_back(ch);
        } else {
            out.push_back(static_cast<char>(0xC0 | (b >> 6)));
            out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return out;
}

std::vector<std::string> reportCells(const ReportChannelRow& row)
{
    return {
        std::to_string(row.row), std::to_string(row.chNo), row.receive, row.offset, row.transmit,
        row.decodeTone,          row.encodeTone,           row.flags};
}

ChannelReport buildChannelReport(const RadioDocument& doc, const ReportSource& source,
                                 const TextLookup& text, const BandLimits& limits)
{
    namespace mn = text::main;
    namespace ci = text::channelinfo;
    ChannelReport r;
    r.title = text(mn::ReportTitle);
    r.header = {{text(mn::ReportModelLabel), source.model},
                {text(mn::ReportBandLabel), source.band},
                {text(mn::CaptionFileNameLabel), source.fileName},
                {text(mn::ReportDateLabel), source.date}};
    r.columns = {text(ci::GridHeadingRowNumber),         text(ci::ReportChannelColumn),
                 text(ci::GridHeadingReceiveFrequency),  text(ci::GridHeadingSignedTransmitOffset),
                 text(ci::GridHeadingTransmitFrequency), text(ci::GridHeadingDecodeTone),
                 text(ci::GridHeadingEncodeTone),        text(ci::ReportFlagsColumn)};
    r.groups = channelGroups(doc, text, limits);
    r.noChannels = text(mn::ReportNoChannels);
    r.legendTitle = text(mn::ReportLegendHeading);
    r.legend = flagLegend(text);
    r.settingsTitle = text(mn::ReportSettingsHeading);
    r.settings = mainSettings(doc.Data, text);
    r.publicTitle = text(mn::ReportPublicHeading);
    r.publicSettings = publicSettings(doc.Data.Options, text);
    return r;
}

}  // namespace zt
