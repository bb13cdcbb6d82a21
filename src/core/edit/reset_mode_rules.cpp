#include "core/edit/reset_mode_rules.h"

namespace zt {
namespace {

int groupListLength(ResetMode mode)
{
    return mode == ResetMode::Extended ? 6 : 7;
}

}  // namespace

int resetGroupSize(int group)
{
    if (group == 1) return 80;
    if (group == 12) return 1;
    return 40;
}

int firstResetGroup(ResetMode mode)
{
    return mode == ResetMode::Extended ? 7 : 0;
}

std::vector<std::string> resetGroupEntries(ResetMode mode)
{
    std::vector<std::string> entries;
    const int first = firstResetGroup(mode);
    for (int i = 0; i < groupListLength(mode); ++i)
        entries.emplace_back(kGroupNameList[static_cast<std::size_t>(first + i)]);
    return entries;
}

std::vector<std::string> resetChannelEntries(int group)
{
    std::vector<std::string> entries;
    const int size = resetGroupSize(group);
    for (int ch = 1; ch <= size; ++ch) entries.push_back(std::to_string(ch));
    return entries;
}

int resetGroupEntryOf(ResetMode mode, int storedGroup)
{
    const int position = (storedGroup >= 0 && storedGroup <= 12) ? storedGroup : 0;
    const std::string_view name = kGroupNameList[static_cast<std::size_t>(position)];
    const int first = firstResetGroup(mode);
    for (int i = 0; i < groupListLength(mode); ++i)
        if (kGroupNameList[static_cast<std::size_t>(first + i)] == name) return i;
    return 0;
}

int resetChannelEntryOf(int group, int storedChannel)
{
    if (storedChannel >= 1 && storedChannel <= resetGroupSize(group)) return storedChannel - 1;
    return 0;
}

std::int16_t& resetGroupField(OptionSettings& options, ResetMode mode)
{
    switch (mode) {
        case ResetMode::E:
            return options.ResetGroupE;
        case ResetMode::Normal:
            return options.ResetGroupNormal;
        case ResetMode::Extended:
            break;
    }
    return options.ResetGroupExtended;
}

std::int16_t& resetChannelField(OptionSettings& options, ResetMode mode)
{
    switch (mode) {
        case ResetMode::E:
            return options.ResetChannelE;
        case ResetMode::Normal:
            return options.ResetChannelNormal;
        case ResetMode::Extended:
            break;
    }
    return options.ResetChannelExtended;
}

void chooseResetGroup(OptionSettings& options, ResetMode mode, int entry)
{
    if (entry < 0 || entry >= groupListLength(mode)) return;
    const int group = firstResetGroup(mode) + entry;
    resetGroupField(options, mode) = static_cast<std::int16_t>(group);
    std::int16_t& channel = resetChannelField(options, mode);
    channel = static_cast<std::int16_t>(resetChannelEntryOf(group, channel) + 1);
}

void chooseResetChannel(OptionSettings& options, ResetMode mode, int entry)
{
    const int group = resetGroupField(options, mode);
    const bool inList = entry >= 0 && entry < resetGroupSize(group);
    resetChannelField(options, mode) = static_cast<std::int16_t>(inList ? entry + 1 : 0);
}

void normaliseResetModes(OptionSettings& options)
{
    for (ResetMode mode : {ResetMode::E, ResetMode::Normal, ResetMode::Extended})
        chooseResetGroup(options, mode, resetGroupEntryOf(mode, resetGroupField(options, mode)));
}

}  // namespace zt
