#pragma once

#include <cstdint>
#include <span>

#include "core/radio/program_state.h"
#include "core/radio/radio_data.h"
#include "core/radio/radio_image.h"

namespace zt {

// What a read of the radio would give right after a write: the image the write sends (`sent`,
// with the radio's own identification bytes put in, as the write does) decoded over a copy of
// `base`; `radioNow` is the radio's image as read before the write. Fields a write always stores
// the same way (the channels' power and modulation flags, the groups' AM/FM entries, a time-out
// that is not a whole step) come back as the radio will hold them, so comparing the radio's present
// contents with this shows only what the write really changes.
RadioDocument documentAfterWrite(RadioImage sent, std::span<const std::uint8_t> radioNow,
                                 const RadioDocument& base);

// The same for a write of `doc`: its encoded image, with the model and band the document names.
// Without a whole radio image (a data file, not a radio's snapshot) `doc` is returned as it is.
RadioDocument documentAfterWrite(const RadioDocument& doc, std::span<const std::uint8_t> radioNow);

}  // namespace zt
