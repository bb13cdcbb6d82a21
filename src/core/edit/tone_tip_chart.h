#pragma once

#include <vector>

#include "core/radio/radio_data.h"

namespace zt {

// One bar of the tone-tip chart, in the picture's units, y growing downwards:
// the rectangle from (left, bottom) to (left + width, bottom - height).
struct ChartBar {
    int note = 0;  // 1..14
    long long left = 0;
    long long width = 0;
    long long bottom = 0;
    long long height = 0;
    bool red = false;  // odd notes red, even notes blue
};

// The bars of a sequence in a picture of the given size: the drawing area is
// (width - 100) x (height - 100) rounded; bars start 50 units from the left
// edge on a base line 50 units above the bottom, share the area's width in
// proportion to their durations and reach a height proportional to the
// frequency value (full height at 256). Notes of duration 0 get no bar; a
// sequence whose durations add up to less than 1 draws nothing. Every
// rounding goes to the nearest integer, a half to the even neighbour.
std::vector<ChartBar> toneTipChart(const ToneTipSequence& seq, double width, double height);

}  // namespace zt
