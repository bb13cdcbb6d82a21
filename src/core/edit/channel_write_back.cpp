#include "core/edit/channel_write_back.h"

#include <algorithm>

#include "core/edit/channel_cell_rules.h"
#include "core/edit/channel_grid_rules.h"
#include "core/radio/channel_edit.h"
#include "core/values/frequency.h"

namespace zt {

bool deleteChannel(RadioDocument& doc, int chNo)
{
    const int count =
        std::clamp<int>(doc.Data.ChannelCount, 0, static_cast<int>(doc.Channels.size()));
    if (count <= 1) return false;
    const int index = doc.indexOfChannel(chNo);
    if (index < 0 || index >= count) return false;
    auto first = doc.Channels.begin() + index;
    std::move(first + 1, doc.Channels.begin() + count, first);
    doc.Channels[static_cast<std::size_t>(count - 1)] = ChannelRecord{};
    doc.Data.ChannelCount = static_cast<std::int16_t>(count - 1);
    return true;
}

WriteBackResult writeBack(RadioDocument& doc, const WriteBackRequest& request,
                          const BandLimits& limits, bool offsetMode)
{
    WriteBackResult result;
    const int code = request.fieldCode;
    result.chNo = GroupBase(request.group) + request.row;
    const bool frequencyColumn = code == kColRx || code == kColTx;
    if (frequencyColumn && request.group >= 0 && request.group < kFirstFreeFrequencyGroup &&
        doc.Data.Options.FrequencyChangeable <= 0) {
        result.action = WriteBackAction::Refused;
        return result;
    }

    std::string value = request.value;
    if (code == kColTx && !transmitEntryAccepted(value)) {
        // A transmit entry that is no number (a lone sign, an empty box) would otherwise
        // clear the channel's shift direction; it is refused and the caller says why.
        result.action = WriteBackAction::Refused;
        result.messageId = text::msg::TransmitOffsetNotNumber;
        return result;
    }
    if (code == kColRx && !value.empty()) {
        const ValidatedFrequency checked =
            validateEnteredFrequency(value, doc.Data.Options.CurrentGroup, limits);
        value = checked.text;
        result.messageId = checked.messageId;
    }
    result.checkedValue = value;

    if (request.row < 1 || request.row > GroupSize(request.group)) return result;

    ChannelRecord* rec = doc.findChannel(result.chNo);
    if (!rec) {
        if (code == kColRx && !value.empty() &&
            doc.Data.ChannelCount < static_cast<int>(doc.Channels.size())) {
            newChannel(doc, result.chNo, rxDisplayToStored(value, limits));
            result.action = WriteBackAction::Created;
            recheckEmergency(doc, request.group);
        }
        return result;
    }

    if (code == kColRx && value.empty()) {
        if (deleteChannel(doc, result.chNo)) result.action = WriteBackAction::Deleted;
    } else {
        const bool equalToCell = (code == kColRx && value == rxCellText(*rec, limits)) ||
                                 (code == kColTx && value == txCellText(*rec));
        if (!equalToCell && code == kColRx && !receiveFrequencyEditable(rec->ChNo)) {
            // The channel keeps the frequency it was created with; say so rather than let the
            // cell fall back to the old value without a word.
            result.action = WriteBackAction::Refused;
            result.messageId = text::msg::ReceiveFrequencyFixed;
            return result;
        }
        if (!equalToCell) {
            updateChannelField(*rec, code, value,
                               FieldContext{limits, offsetMode, request.group == 6});
            result.action = WriteBackAction::Updated;
        }
    }
    if (code == kColRx) recheckEmergency(doc, request.group);
    return result;
}

}  // namespace zt
