#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/radio/channel_record.h"
#include "core/radio/radio_data.h"
#include "core/values/band_limits.h"

namespace zt {

// Channel lists in CHIRP's generic CSV layout. The columns import knows:
//   Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,
//   RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE
// Export writes them in this order except Power (the document holds a power selection, not
// a number of watts CHIRP could read). Location is the channel number, Comment names the
// group ("Group g"); fields the layout has no column for keep their document value on import.
extern const std::vector<std::string> kChirpColumns;

// The largest channel list file the programs read (a full radio is some 60 KB of CSV).
inline constexpr std::uintmax_t kMaxChirpCsvBytes = 4u << 20;

// Every channel of the document (group < 0) or of one group, by channel number. Every
// column of every row holds a value CHIRP's reader converts: tone columns a channel does not
// use hold CHIRP's own filler values. A channel without a receive frequency has no row; its
// number is added to leftOut when given.
std::string exportChirpCsv(const RadioDocument& doc, int group, const BandLimits& limits,
                           std::vector<int>* leftOut = nullptr);

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
    MissingColumn,      // the header lacks a column the file or the row needs
    NoFreeRow,          // every free row of the group is already taken by earlier rows
    // The file as a whole, before any column is looked at:
    EmptyFile,           // nothing but white space
    Utf16Text,           // UTF-16 text (a spreadsheet's "Unicode text")
    NotText,             // NUL or other control bytes: not a text file
    CarriageReturnOnly,  // lines end in CR alone
    Semicolons,          // the header's columns are separated by semicolons
};

struct RowError {
    int line = 0;  // line of the file (1 is the header; 0 the file as a whole)
    int chNo = 0;  // 0 when the row names no valid channel
    RowProblem problem = RowProblem::BadValue;
    std::string column;  // the column at fault
    std::string value;   // its text
};

// What a plan's refused rows come to: rows of the file, each counted once however many of
// its columns are at fault.
int refusedRowCount(const std::vector<RowError>& errors);

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

// Reads a CSV text as new channels for one group: the rows, in file order, go into the
// group's free rows from its first free row on, passing over rows that hold a channel, so
// nothing present is overwritten. The Location column is not read. A row with a fault takes
// no row; a good row for which no free row is left is refused (NoFreeRow).
ImportPlan planChirpImportIntoGroup(const RadioDocument& doc, std::string_view csvText,
                                    const BandLimits& limits, int group);

// A channel field the import preview lists.
enum class ChannelField {
    RxFrequency,      // text: receive frequency "#0.00000"
    Offset,           // text: signed offset "+0.10000"
    DecodeTone,       // index into the tone list
    EncodeTone,       // index into the tone list
    ScanSkip,         // 0 scanned, 1 skipped
    Modulation,       // `AmFm`: 0 AM, 1 FM
    Spacing,          // spacing list index
    TxInhibit,        // 0 or 1
    BusyChannelLock,  // busy-lock list index
};

// Whether a write to the radio carries the field. The radio keeps a channel's receive
// frequency, tones, scan flag and busy-channel lock; the shift and offset, transmit inhibit,
// modulation and spacing of a channel are kept in the data file only.
bool radioStoresField(ChannelField field);

// The English note for a field the radio does not store.
inline constexpr const char* kNotStoredByRadio =
    "kept in the data file; the radio does not store it";

struct FieldChange {
    ChannelField field = ChannelField::RxFrequency;
    std::string before;  // frequency fields: display text ("" when none)
    std::string after;
    int beforeIndex = 0;  // list fields: the stored value
    int afterIndex = 0;
};

// The fields a user sees that differ between the two records of a change; for a new channel
// every field that differs from a channel without settings, and the receive frequency always.
std::vector<FieldChange> changedFields(const ChannelChange& change, const BandLimits& limits);

// The plan with only the changes whose channel numbers are listed (the errors stay).
ImportPlan keepChannels(const ImportPlan& plan, const std::vector<int>& chNos);

// Writes the planned changes into the document (new channels are appended) and re-checks the
// emergency rows of the groups touched.
void applyImportPlan(RadioDocument& doc, const ImportPlan& plan);

}  // namespace zt
