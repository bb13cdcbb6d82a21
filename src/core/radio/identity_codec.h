#pragma once

#include <string>

#include "core/radio/program_state.h"
#include "core/radio/radio_data.h"
#include "core/radio/radio_image.h"

namespace zt {

constexpr int kIdentityModelSize = 6;
constexpr const char* kStandardModelStored = "ZT-958";  // "ZT-958FM" in the identity area
constexpr const char* kDataVersionText = "V300";

// The current model and band go into the document first; then the model text,
// the variant/band byte and the data version "V300" go into the identity area.
// Offsets 8695, 8700 and 8701 are left alone.
void encodeIdentity(RadioData& data, const ProgramState& state, RadioImage& image);

// The model and band code from the identity area into the document, then into
// the current model and band.
void decodeIdentity(const RadioImage& image, RadioData& data, ProgramState& state);

}  // namespace zt
