#pragma once

#include <string_view>

#include "core/radio/program_state.h"
#include "core/radio/radio_data.h"

namespace zt {

// The values a new document starts with, before any initial-data file is loaded
// over them: the whole document is reset (tone tips included), then channels 1
// and 521 at the band centre, the broadcast and test frequency lists, the
// current model and band, group names, option, DTMF, message, key, alert and
// scan defaults and tone-tip sequences 1-5.
void applyNewDocumentDefaults(RadioDocument& doc, const ProgramState& state);

// The radio-information record shown until an information read replaces it.
// shortDate is today's date in the system's short date form; month is 1-12.
RadioInfoRecord newRadioInfoRecord(const ProgramState& state, int bandCode,
                                   std::string_view shortDate, int month);

}  // namespace zt
