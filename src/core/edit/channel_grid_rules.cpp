#include "core/edit/channel_grid_rules.h"

#include <algorithm>
#include <cmath>

#include "core/radio/channel_codec.h"
#include "core/radio/tone_tips.h"
#include "core/values/frequency.h"
#include "core/values/number_text.h"

namespace zt {

int GroupBase(int group)
{
    if (group == 0) return 0;
    if (group == 1) return 40;
    if (group >= 2 && group <= 11) return (group + 1) * 40;
    if (group == kVfoGroup) return 520;
    return 0;
}

int GroupSize(int group)
{
    if (group == 1) return 80;
    if (group >= 0 && group <= 11) return 40;
    if (group == kVfoGroup) return 1;
    return 0;
}

int groupOfChannel(int chNo)
{
    for (int g = 0; g < kChannelGroupCount; ++g)
        if (chNo > GroupBase(g) && chNo <= GroupBase(g) + GroupSize(g)) return g;
    return -1;
}

int rowInGroup(const ChannelRecord& rec, int group)
{
    const int row = rec.ChNo - GroupBase(group);
    return row >= 1 && row <= GroupSize(group) ? row : 0;
}

int shownListIndex(int stored, int listSize)
{
    if (listSize <= 0) return -1;
    return stored >= 0 && stored < listSize ? stored : 0;
}

std::string rxCellText(const ChannelRecord& rec, const BandLimits& limits, bool* rxNotNumeric)
{
    const RxDisplay shown = rxStoredToDisplay(channelFrequencyText(rec.RxFre), limits);
    if (rxNotNumeric) *rxNotNumeric = shown.notNumeric;
    return shown.text;
}

std::string txCellText(const ChannelRecord& rec)
{
    return offsetDisplay(rec.OffsetFre.cut(), rec.ShiftDir);
}

bool frequencyEditPermitted(const RadioData& data, int group)
{
    return group >= kFirstFreeFrequencyGroup || data.Options.FrequencyChangeable > 0;
}

std::string groupNameForDisplay(const FixedText<3>& stored)
{
    return stored.cut();
}

FixedText<3> groupNameFromBox(std::string_view boxText)
{
    std::string name = FixedText<1>::cutText(boxText);
    if (name.size() < 3) name.push_back('\0');
    return FixedText<3>(name);
}

std::string groupLabel(const RadioData& data, int group)
{
    std::string label = std::to_string(group) + " -- ";
    if (group == kVfoGroup) return label + "VFO";
    if (group >= 0 && group < kNamedGroups) label += groupNameForDisplay(data.Groups[group]);
    return label;
}

int receiveTone(const ChannelRecord& rec)
{
    return rec.Reverse != 0 ? rec.EncodeTone : rec.DecodeTone;
}

int busyLockEntryCount(const ChannelRecord& rec)
{
    return receiveTone(rec) != 0 ? 3 : 2;
}

bool applyBusyLockFallback(ChannelRecord& rec)
{
    if (receiveTone(rec) == 0 && rec.BusyChannelLock == 2) {
        rec.BusyChannelLock = 1;
        return true;
    }
    return false;
}

int showBusyLock(ChannelRecord& rec)
{
    applyBusyLockFallback(rec);
    // The mirror list holds entries 0..3; the visible list the first two or three of them.
    const int mirror =
        rec.BusyChannelLock >= 0 && rec.BusyChannelLock <= 3 ? rec.BusyChannelLock : 0;
    const int shown = mirror < busyLockEntryCount(rec) ? mirror : 0;
    rec.BusyChannelLock = static_cast<std::int16_t>(shown);
    return shown;
}

std::vector<int> definedToneTipNumbers(const RadioData& data)
{
    std::vector<int> out;
    for (int n = 1; n <= 8; ++n)
        if (sequenceDefined(data, n)) out.push_back(n);
    return out;
}

std::vector<int> nonEmptyDtmfCodeNumbers(const RadioData& data)
{
    std::vector<int> out;
    for (int n = 1; n <= kDtmfMemoryCodes; ++n)
        if (data.Dtmf.Memory[static_cast<std::size_t>(n - 1)].Length > 0) out.push_back(n);
    return out;
}

int shownReferenceIndex(int stored, const std::vector<int>& numbers)
{
    if (stored == 0) return 0;
    const auto it = std::find(numbers.begin(), numbers.end(), stored);
    return it == numbers.end() ? 0 : static_cast<int>(it - numbers.begin()) + 1;
}

std::vector<int> occupiedRows(const RadioDocument& doc, int group)
{
    std::vector<int> rows;
    const int count =
        std::clamp<int>(doc.Data.ChannelCount, 0, static_cast<int>(doc.Channels.size()));
    for (int i = 0; i < count; ++i) {
        const int row = rowInGroup(doc.Channels[static_cast<std::size_t>(i)], group);
        if (row > 0) rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

EmergencyLists reshowEmergency(RadioDocument& doc, int group)
{
    EmergencyLists out;
    out.rows = occupiedRows(doc, group);
    if (group < 0 || group >= kNamedGroups) return out;
    auto& stored = doc.Data.Options.EmergencyRows[static_cast<std::size_t>(group)];
    for (int i = 0; i < 2; ++i) {
        if (out.rows.empty()) continue;  // nothing to show; the stored rows stay
        const auto it =
            std::find(out.rows.begin(), out.rows.end(), stored[static_cast<std::size_t>(i)]);
        out.shown[i] = it == out.rows.end() ? 0 : static_cast<int>(it - out.rows.begin());
        stored[static_cast<std::size_t>(i)] =
            static_cast<std::int16_t>(out.rows[static_cast<std::size_t>(out.shown[i])]);
    }
    auto& amFm = doc.Data.Options.GroupAmFm[static_cast<std::size_t>(group)];
    for (int i = 0; i < 2; ++i) {
        out.amFmShown[i] = shownListIndex(amFm[static_cast<std::size_t>(i)], 2);
        amFm[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(out.amFmShown[i]);
    }
    return out;
}

void chooseEmergencyRow(RadioData& data, int group, int which, std::string_view entryText)
{
    if (group < 0 || group >= kNamedGroups || which < 0 || which > 1) return;
    std::int16_t row = 0;
    if (const auto v = parseNumber(entryText);
        v && *v == std::floor(*v) && *v >= -32768 && *v <= 32767)
        row = static_cast<std::int16_t>(*v);
    data.Options.EmergencyRows[static_cast<std::size_t>(group)][static_cast<std::size_t>(which)] =
        row;
}

void chooseGroupAmFm(RadioData& data, int group, int which, int index)
{
    if (group < 0 || group >= kNamedGroups || which < 0 || which > 1) return;
    data.Options.GroupAmFm[static_cast<std::size_t>(group)][static_cast<std::size_t>(which)] =
        static_cast<std::int16_t>(std::clamp(index, 0, 1));
}

void recheckEmergency(RadioDocument& doc, int group)
{
    if (group < 0 || group >= kNamedGroups) return;
    for (auto& row : doc.Data.Options.EmergencyRows[static_cast<std::size_t>(group)])
        if (row <= 0 || row > GroupSize(group) || !doc.findChannel(GroupBase(group) + row)) row = 0;
}

}  // namespace zt
