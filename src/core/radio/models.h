#pragma once

#include <string>
#include <string_view>

#include "core/radio/program_state.h"
#include "core/radio/radio_data.h"

namespace zt {

// Band code of a band text; the first matching entry of the band table wins and
// any text not in the table gives 0.
int bandCodeOfText(std::string_view bandText);

// Band text of a band code. Only code 0 has a text ("25.615 - 30.105 MHz"); every
// other code gives "", whose limits fall back to 100 and 500 MHz.
std::string bandTextOfCode(int code);

// After loading a document: the current model and band follow the document, the
// band limits are parsed again and the radio-information record takes the band code.
void documentToCurrent(const RadioData& data, ProgramState& state);

// Before saving or creating a document: the document takes the current model and
// the code of the current band text.
void currentToDocument(const ProgramState& state, RadioData& data);

}  // namespace zt
