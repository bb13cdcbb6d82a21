#pragma once

#include "core/radio/program_state.h"
#include "core/radio/radio_data.h"
#include "core/radio/radio_image.h"

namespace zt {

// Encodes the whole document into the image before a write: bitmaps to 0x00,
// offsets 0-8351 and 8512-9279 to 0xFF, then every valid channel, the identity
// area (after the current model and band went into the document), then option
// settings, DTMF, message lines, group names and tone tips. The two 14-byte
// spares after the bitmaps are not touched: the caller clears the image first.
// The document changes only in ChannelRecord.Empty and the model and band code.
// Values the image cannot hold are not clamped here: check the document with
// unrepresentableFields() before a write.
void encodeDocument(RadioDocument& doc, const ProgramState& state, RadioImage& image);

// Decodes a read image into the document: the channel count restarts at 0 and
// every present channel (and always channel 521) is appended in ascending
// order; then the identity area (which sets the current model and band), the
// function settings, and the feature-flag byte (write-refusal flags and the
// SettingRecord bytes). Parts of the document the image does not carry keep
// their values.
void decodeImage(const RadioImage& image, RadioDocument& doc, ProgramState& state);

}  // namespace zt
