#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/radio/radio_data.h"

namespace zt {

// The 13 channel groups by position. Positions 1 and 10 ("D") and 0 and 11
// ("E") carry equal names; groups are told apart by position.
constexpr std::array<std::string_view, 13> kGroupNameList{
    "E", "D", "EU", "EC", "PL", "U-EU", "U-UK", "A", "B", "C", "D", "E", "VFO"};

// The radio's three modes, each with a group and a channel used after a reset.
enum class ResetMode { E, Normal, Extended };

// Channels in a group: 80 for group 1, 1 for group 12 (the VFO), 40 for every
// other group.
int resetGroupSize(int group);

// The group positions a mode's group list offers: 0..6 for the E and normal
// modes, 7..12 for the extended mode. Entry i of the list is position
// firstResetGroup(mode) + i.
int firstResetGroup(ResetMode mode);
std::vector<std::string> resetGroupEntries(ResetMode mode);

// The channel list of a group: "1" .. its size.
std::vector<std::string> resetChannelEntries(int group);

// The group list entry that shows a stored group: the first entry whose text
// is the name of the stored position (a position outside 0..12 counts as 0),
// entry 0 when the list does not offer that name. Because names repeat, a
// stored "E" (0) shows as the extended list's "E" (11) and the reverse.
int resetGroupEntryOf(ResetMode mode, int storedGroup);

// The channel list entry that shows a stored channel of a group: the entry
// whose number it is, entry 0 (channel 1) when the group has no such channel.
int resetChannelEntryOf(int group, int storedChannel);

// The group and channel fields of a mode in the option settings.
std::int16_t& resetGroupField(OptionSettings& options, ResetMode mode);
std::int16_t& resetChannelField(OptionSettings& options, ResetMode mode);

// The user (or the window's opening) chose entry `entry` of a mode's group
// list: the group field takes its position and the channel field keeps its
// channel when the new group has it, otherwise becomes 1. An entry outside
// the list changes nothing.
void chooseResetGroup(OptionSettings& options, ResetMode mode, int entry);

// The user chose a channel list entry: the channel field takes its number,
// 0 when the entry is outside the group's list.
void chooseResetChannel(OptionSettings& options, ResetMode mode, int entry);

// What opening the reset-mode window writes back: for each mode the group
// shown for the stored one is chosen, as the user would.
void normaliseResetModes(OptionSettings& options);

}  // namespace zt
