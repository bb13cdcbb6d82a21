#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/radio/channel_record.h"
#include "core/radio/radio_data.h"
#include "core/values/band_limits.h"

namespace zt {

// Channel lists in CHIRP's generic CSV layout. Columns, in the order export writes them:
//   Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,
//   RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE
// Location is the channel number, Comment names the group ("Group g"); fields the layout
// has no column for keep their document value on import.
extern const std::vector<std::string> kChirpColumns;

// Every channel of the document (group < 0) or of one group, by channel number.
std::string exportChirpCsv(const RadioDocument& doc, int group, const BandLimits& limits);

enum class RowProblem {
    BadLocation,        // not a channel number 1..521
    DuplicateLocation,  // the same channel number on an earlier row
    BadNumber,          // a frequency or offset that is not a number
    OutOfBand,          // receive or transmit frequency outside the band
    OffRaster,          // a frequency the channel raster does not hold as written
    BadTone,            // a tone value or tone mode not in the radio's tone list
    BadValue,           // a Duplex, Mode or Skip value the radio has no setting for
    LockedGroup,        // a frequency change in a group whose frequencies are fixed
    UnterminatedQuote,  // the file ends inside a quoted field
    MissingColumn,      // the header has no Location or no Frequency column
};

struct RowError {
    int line = 0;  // line of the file (1 is the header)
    int chNo = 0;  // 0 when the row names no valid channel
    RowProblem problem = RowProblem::BadValue;
    std::string column;  // the column at fault
    std::string value;   // its text
};

// An English sentence for a row error, "line 5: channel 12: Frequency "31.0" ...".
std::string describeRowError(const RowError& error);

struct ChannelChange {
    int line = 0;
    bool created = false;  // the channel does not exist yet
    ChannelRecord before;  // empty for a new channel
    ChannelRecord after;
};

// What an import would do. Rows whose values equal the document's make no change.
struct ImportPlan {
    std::vector<ChannelChange> changes;
    std::vector<RowError> errors;
    bool fileRejected = false;  // the file as a whole cannot be read (no rows taken)
};

// Reads a CSV text against the document without changing it. Each row is checked as a grid
// entry would be (band, raster, tone list, locked groups); a row with any fault is not
// planned and is listed with its line number.
ImportPlan planChirpImport(const RadioDocument& doc, std::string_view csvText,
                           const BandLimits& limits);

// Writes the planned changes into the document (new channels are appended) and re-checks the
// emergency rows of the groups touched.
void applyImportPlan(RadioDocument& doc, const ImportPlan& plan);

}  // namespace zt
