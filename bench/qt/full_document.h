#pragma once

#include <cstdint>
#include <string>

#include "core/radio/channel_edit.h"

namespace zt {

// Every channel position of the grid holds a channel: receive frequencies within the band in
// 100 Hz steps, tones, shift and offset varying from channel to channel.
inline void fillFullDocument(RadioDocument& doc)
{
    for (int ch = 1; ch <= 521; ++ch) {
        const int tenKHz = 256150 + (ch % 400) * 10;
        ChannelRecord& rec = newChannel(doc, ch, "0" + std::to_string(tenKHz) + "0");
        rec.DecodeTone = static_cast<std::int16_t>(ch % 265);
        rec.EncodeTone = static_cast<std::int16_t>((ch * 7) % 265);
        rec.ShiftDir = static_cast<std::uint8_t>(ch % 3);
        rec.OffsetFre = "0010000";
    }
    doc.Data.Options.FrequencyChangeable = 1;
}

}  // namespace zt
