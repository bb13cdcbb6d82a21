#pragma once

#include <string_view>

#include "core/radio/channel_record.h"
#include "core/radio/radio_data.h"
#include "core/values/band_limits.h"

namespace zt {

// Appends a new channel at position ChannelCount and counts it: the number, the
// stored receive frequency, an offset of seven NULs and every other field 0. The
// caller makes sure the number is free. On a full table nothing is appended and
// the existing record of that number (or, without one, a scratch record outside
// the document) is returned, so a faulty caller cannot write past the table.
ChannelRecord& newChannel(RadioDocument& doc, int chNo, std::string_view rxStored);

struct FieldContext {
    BandLimits limits;
    bool offsetMode = true;  // the transmit column shows offsets rather than frequencies
    bool keeps1k25 = false;  // the channel's group keeps 1.25 kHz parts (group 6)
};

// Whether an edit may change the channel's receive frequency: channels 1-400 keep the
// frequency they were created with.
bool receiveFrequencyEditable(int chNo);

// The one way the channel grid and editor change a record. fieldCode is the
// grid column number, extended for the editor's controls:
//   1 receive frequency (a displayed value; ignored for channels 1-400),
//   2 transmit frequency or signed offset (then the raster check),
//   4/5 receive/transmit tone, 7 scan skip, 8 optional signalling, 9 spacing,
//   10 PTT ID, 11 busy channel lock, 12 reverse/talk-around, 13 BOT code,
//   14 scramble, 15 transmit inhibit, 16 talk-around, 17 reverse, 18 whisper,
//   19 compander, 21 signalling logic, 22 EOT code, 23 RB tone, 24 squelch mode,
//   25 AM/FM, 26 AM power, 27 FM power, 28 call code, 29 repeater offset,
//   30 TSQ, 37 expander, 38 compressor, 39 NB/ANL, 40 attenuator, 41 high cut,
//   42 AM/FM lock, 43 AM power lock, 44 FM power lock.
// Other codes change nothing. Values of codes other than 1 and 2 are decimal
// texts; one that is not a whole number in the 16-bit range changes nothing.
void updateChannelField(ChannelRecord& rec, int fieldCode, std::string_view value,
                        const FieldContext& ctx);

}  // namespace zt
