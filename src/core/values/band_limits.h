#pragma once

#include <string_view>

namespace zt {

// Lower and upper band limits in MHz.
struct BandLimits {
    double lo = 100.0;
    double hi = 500.0;
};

// Parses "lo - hi MHz". No " - " gives 100/500; a part that is not a number
// gives 100 (lower) or 500 (upper); a missing " MHz" leaves the upper limit 500.
BandLimits parseBandLimits(std::string_view bandText);

}  // namespace zt
