#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/radio/radio_data.h"
#include "core/values/band_limits.h"

namespace zt {

// What a channel cell accepts, shared by the grid's cell editors, the channel editor and
// values pasted into the grid.

// A character typed into a frequency box: digits and "."; a signed offset also takes "+"
// and "-".
bool frequencyCharAccepted(char32_t c, bool signedOffset);

// A character typed into the channel-code box: letters are taken as capitals, digits as
// they are; anything else gives 0 (refused).
char channelCodeChar(char32_t c);

// Whether a transmit entry (a signed offset) can be written: it must read as a number.
// An empty text or a lone sign is not one.
bool transmitEntryAccepted(std::string_view text);

// Why a value put into a cell from outside its editor was not taken.
enum class CellRefusal {
    None,
    NotFrequency,    // characters a frequency box refuses, or not a number
    OutsideBand,     // a number below or above the band
    OffRaster,       // a frequency or offset the channel raster does not hold as written
    NotOffset,       // not a signed number
    NotInList,       // no entry of the column's list reads so
    FixedFrequency,  // a frequency column of a group whose frequencies are fixed
    NoChannel,       // the row holds no channel, so only a receive frequency can go there
    NoField,         // the column stores nothing
};

struct CellEntry {
    CellRefusal refusal = CellRefusal::None;
    bool skip = false;  // nothing to write and nothing lost (an empty cell where none matters)
    std::string value;  // what the write-back receives: a text for columns 1..3, else an index
};

struct CellTarget {
    int group = 0;
    int column = 0;
    bool channelPresent = false;  // a channel sits in the row (or is created by this paste)
    // The entries the column's list shows, in list order (empty for text columns).
    const std::vector<std::string>* listEntries = nullptr;
    // What the cell shows now: a value equal to it changes nothing and is never refused.
    std::string_view shown;
};

// Checks a value pasted into a grid cell with the rules typing obeys: a frequency cell takes
// only what could be typed there and must lie in the band (typing would clamp it with a
// warning; a pasted value is refused instead of silently changed), an offset must be a
// number, a list cell must name one of its entries (compared without case and surrounding
// blanks; a tone also by its number, "67" for "67.0"). An empty receive frequency deletes
// the channel as clearing the cell does; other empty cells change nothing. A receive frequency
// must lie on the raster typing would snap it to (group 6 keeps its 1.25 kHz values).
CellEntry checkPastedCell(const RadioData& data, const BandLimits& limits, const CellTarget& target,
                          std::string_view text);

// Whether a transmit entry (a signed offset, checked by checkPastedCell) is stored as written
// on `rec`: written through the write-back, the raster check would otherwise move the
// transmit frequency. A channel without a receive frequency has no raster to leave.
bool transmitEntryOnRaster(const ChannelRecord& rec, std::string_view text,
                           const BandLimits& limits, bool keeps1k25);

}  // namespace zt
