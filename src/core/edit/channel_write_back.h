#pragma once

#include <string>
#include <string_view>

#include "core/radio/radio_data.h"
#include "core/values/band_limits.h"

namespace zt {

// What a write-back did to the channel table.
enum class WriteBackAction {
    Refused,  // frequency column of a locked group, or a transmit entry that is no number:
              // nothing happened (messageId then says why)
    None,     // nothing to do (empty position, last channel, value equal to the cell)
    Created,  // a new channel at the position
    Deleted,  // the channel was removed
    Updated,  // one field was written
};

struct WriteBackResult {
    WriteBackAction action = WriteBackAction::None;
    int chNo = 0;              // the channel number of (group, row)
    int messageId = 0;         // a warning the caller shows: the entered frequency was clamped,
                               // or the transmit entry was refused
    std::string checkedValue;  // the value after the frequency check (column 1)
};

struct WriteBackRequest {
    int group = 0;      // group of the edit
    int row = 1;        // 1..GroupSize(group)
    int fieldCode = 1;  // grid column, or a field code of the channel editor
    std::string value;  // text for codes 1..3; a list index or number otherwise
};

// The one operation through which the grid and the channel editor change a channel:
// permission of the frequency columns, the frequency check (with OptionSettings.CurrentGroup
// as the group that decides the 1.25 kHz exception), then create, delete (never the last
// record), or update the field — except when a frequency value equals what the cell shows.
// After a receive-frequency write the group's emergency rows are re-checked.
WriteBackResult writeBack(RadioDocument& doc, const WriteBackRequest& request,
                          const BandLimits& limits, bool offsetMode = true);

// Removes the record of a channel number; later records move up. Refused (false) when it
// is the only record or the number is absent.
bool deleteChannel(RadioDocument& doc, int chNo);

}  // namespace zt
