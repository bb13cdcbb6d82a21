#pragma once

// The text listing of a document: model, band, channels by group with
// frequency, offset and tones, and the main options.

#include <ostream>

#include "core/edit/channel_grid_rules.h"
#include "core/files/language.h"
#include "core/radio/radio_data.h"

namespace zt {

// Channel groups: group g holds channels groupBase(g) + 1 .. groupBase(g) + groupSize(g);
// group 12 is the VFO channel 521 alone.
int groupBase(int group);
int groupSize(int group);
// The group of a channel number is the core's groupOfChannel (one definition for all).

void showDocument(const RadioDocument& doc, const TextLookup& text, std::ostream& out);

}  // namespace zt
