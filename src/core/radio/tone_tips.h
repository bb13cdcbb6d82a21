#pragma once

#include <functional>

#include "core/radio/radio_data.h"

namespace zt {

// Tone-tip sequence n (1-8) is defined when its repeat count is at least 1 and
// one of its 14 note durations is above 0. Any other n is not defined.
bool sequenceDefined(const RadioData& data, int n);

// Keeps RB tone references valid: every valid channel's RBTone, then the common
// channel's, becomes 0 unless it is 0 or names a defined sequence. Afterwards
// rebuildOpenRbLists (when given) lets open windows rebuild their RB tone lists.
void rbToneCheck(RadioDocument& doc, const std::function<void()>& rebuildOpenRbLists);

}  // namespace zt
