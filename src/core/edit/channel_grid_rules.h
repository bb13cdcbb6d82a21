#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/radio/channel_record.h"
#include "core/radio/fixed_text.h"
#include "core/radio/radio_data.h"
#include "core/values/band_limits.h"

namespace zt {

// Channel groups: 0..11 are ordinary groups, 12 is the VFO (channel 521 alone).
constexpr int kChannelGroupCount = 13;
constexpr int kVfoGroup = 12;
// Groups below this one have fixed frequencies unless the radio allows changing them.
constexpr int kFirstFreeFrequencyGroup = 7;
// Grid columns.
constexpr int kGridColumns = 11;
constexpr int kColRow = 0;
constexpr int kColRx = 1;
constexpr int kColTx = 2;
constexpr int kColDecode = 4;
constexpr int kColEncode = 5;
constexpr int kColScanSkip = 7;
constexpr int kColOptSignal = 8;
constexpr int kColSpacing = 9;
constexpr int kColEditor = 10;
constexpr int kLastEditableColumn = kGridColumns - 2;  // 9

// The channel number just before group g's first channel, and its number of rows.
// A group outside 0..12 has base 0 and size 0.
int GroupBase(int group);
int GroupSize(int group);
// The group a channel number belongs to; -1 outside 1..521.
int groupOfChannel(int chNo);

// The channel editing state the grid and the channel editor share.
struct ChannelEditState {
    int currentGroup = 0;  // `CurrentGroup`
    int editCol = 1;       // `EditPos` column
    int editRow = 1;       // `EditPos` row
    bool gridOpen = false;
    bool editorOpen = false;
};

// The row (1..GroupSize) a record occupies in group g, or 0 when it lies outside.
int rowInGroup(const ChannelRecord& rec, int group);

// Index of the shown list entry for a stored value: the value itself when it lies in
// 0..listSize-1, else 0 (the first entry); -1 for an empty list.
int shownListIndex(int stored, int listSize);

// Cell texts of the frequency columns. rxNotNumeric tells the caller to show the built-in
// "Not IsNumeric" message (the cell then holds the lower band limit).
std::string rxCellText(const ChannelRecord& rec, const BandLimits& limits,
                       bool* rxNotNumeric = nullptr);
std::string txCellText(const ChannelRecord& rec);

// Whether the frequency columns (1 and 2) of a group may be edited: groups 7..12 always,
// groups 0..6 only when the radio allows frequency changes.
bool frequencyEditPermitted(const RadioData& data, int group);

// ---- Group names -----------------------------------------------------------------------

// The group name a box shows: the stored name cut (trailing spaces, then from the first NUL).
std::string groupNameForDisplay(const FixedText<3>& stored);
// What the group-name box stores: its text with trailing spaces removed and cut at the first
// NUL; a NUL is appended when that is shorter than 3 characters; then space padded.
FixedText<3> groupNameFromBox(std::string_view boxText);

// The caption label of a group: "g -- name", "12 -- VFO" for the VFO group.
std::string groupLabel(const RadioData& data, int group);

// ---- Busy-channel lock --------------------------------------------------------------------

// The receive tone that matters for the busy lock: the encode tone when the channel is
// reversed, else the decode tone.
int receiveTone(const ChannelRecord& rec);
// Entries of the busy-lock list: 2 without a receive tone, 3 with one.
int busyLockEntryCount(const ChannelRecord& rec);
// Without a receive tone a busy lock 2 falls back to 1 (stored). True when it changed.
bool applyBusyLockFallback(ChannelRecord& rec);
// The full rule of a shown channel: the fallback, then a value the list cannot show (3, or
// outside 0..3) becomes 0. Returns the index the list shows.
int showBusyLock(ChannelRecord& rec);

// ---- Reference lists of the channel editor ------------------------------------------------

// Numbers of the defined tone-tip sequences (1..8), ascending.
std::vector<int> definedToneTipNumbers(const RadioData& data);
// Numbers of the non-empty DTMF memory codes (1..16), ascending.
std::vector<int> nonEmptyDtmfCodeNumbers(const RadioData& data);
// The index a reference list (entry 0 = none, then `numbers`) shows for a stored value:
// the entry equal to it, else 0. The stored value is not changed.
int shownReferenceIndex(int stored, const std::vector<int>& numbers);

// ---- Emergency channels and the group's AM/FM settings ------------------------------------

// Rows of group g that hold a channel, ascending.
std::vector<int> occupiedRows(const RadioDocument& doc, int group);

struct EmergencyLists {
    std::vector<int> rows;      // the entries of both emergency lists
    int shown[2] = {-1, -1};    // index shown in each list, -1 for none
    int amFmShown[2] = {0, 0};  // index shown in the two hidden AM/FM lists
};
// The rule of `ReshowByCh`: fills the two lists and shows, in each, the stored row when a
// channel sits there, else the smallest occupied row, which is then stored. With no occupied
// row nothing is shown and the stored rows stay. AM/FM indices outside 0..1 are stored as 0.
// The VFO group only gets its (empty) list.
EmergencyLists reshowEmergency(RadioDocument& doc, int group);

// Choosing an entry in emergency list i (0 or 1): the entry's text as a whole number,
// 0 when it is empty or not numeric.
void chooseEmergencyRow(RadioData& data, int group, int which, std::string_view entryText);
void chooseGroupAmFm(RadioData& data, int group, int which, int index);

// After a receive-frequency write: each emergency row of the group keeps its row only when a
// channel sits there, else becomes 0. Groups 0..11 only.
void recheckEmergency(RadioDocument& doc, int group);

}  // namespace zt
