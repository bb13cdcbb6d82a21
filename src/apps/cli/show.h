#pragma once

// The text listing of a document: model, band, channels by group with
// frequency, offset and tones, and the main options.

#include <ostream>

#include "core/files/language.h"
#include "core/radio/radio_data.h"

namespace zt {

// Channel groups: group g holds channels groupBase(g) + 1 .. groupBase(g) + groupSize(g);
// group 12 is the VFO channel 521 alone.
int groupBase(int group);
int groupSize(int group);
// The group of a channel number (-1 outside 1..521).
int groupOfChannel(int chNo);

void showDocument(const RadioDocument& doc, const TextLookup& text, std::ostream& out);

}  // namespace zt
