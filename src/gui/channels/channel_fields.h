#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "core/radio/channel_record.h"
#include "core/values/band_limits.h"

namespace zt::gui {

struct AppContext;

// The stored fields of a channel beyond the grid's own columns: shown as extra columns when
// the whole channel is in view, and offered by "set for the selected channels". A field the
// channel editor lets the user choose takes the editor's entries and write-back code; the
// others are shown as they are stored and take no typing.
enum class FieldKind {
    Number,       // the stored number, read-only
    TxFrequency,  // the transmit frequency made of receive frequency and offset, read-only
    Entries,      // a list whose entry index is the stored value
    Reference,    // "Off", then the numbers that are defined (tone-tip sequences, DTMF codes)
    OnOff,        // a check box of the editor: "Off" / "On"
};

enum class ReferenceKind { None, ToneTips, DtmfCodes };

struct ChannelField {
    int headingId = 0;
    int fieldCode = 0;  // write-back code; 0: no typing changes it
    FieldKind kind = FieldKind::Number;
    std::int16_t ChannelRecord::*member = nullptr;  // null for the transmit frequency
    ReferenceKind references = ReferenceKind::None;
};

// The extra columns in the order they follow the grid's own.
const std::vector<ChannelField>& extraChannelFields();

// The language texts of the fields' entries, looked up once per language.
struct FieldTexts {
    QString off, on, carrier, tone, tsqOff, tsqOn;
    static FieldTexts of(const AppContext& app);
};

// The entries of a field's list for a channel (the busy lock offers its third entry only
// with a receive tone); empty for fields without a list. `rec` may be null (every entry).
QStringList fieldEntries(const AppContext& app, const ChannelField& field,
                         const ChannelRecord* rec);
// The stored value an entry of that list stands for.
int fieldValueOfEntry(const ChannelField& field, const QStringList& entries, int entry);
// What the cell of a field shows: the entry standing for the stored value, or the stored
// number itself when the list has no such entry (nothing is changed to show it).
QString fieldCellText(const FieldTexts& texts, const BandLimits& limits, const ChannelField& field,
                      const ChannelRecord& rec);
// The heading of a field.
QString fieldHeading(const AppContext& app, const ChannelField& field);
// Whether the rules let the user change the field of a channel in `group`: the repeater
// shift is the VFO channel's alone.
bool fieldEditableInGroup(const ChannelField& field, int group);

}  // namespace zt::gui
