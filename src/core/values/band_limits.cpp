#include "core/values/band_limits.h"

#include "core/values/number_text.h"

namespace zt {

BandLimits parseBandLimits(std::string_view bandText)
{
    BandLimits limits;  // 100 / 500 unless the text says otherwise
    const std::size_t dash = bandText.find(" - ");
    if (dash == std::string_view::npos) return limits;
    if (auto lo = parseNumber(bandText.substr(0, dash))) limits.lo = *lo;
    const std::string_view rest = bandText.substr(dash + 3);
    const std::size_t mhz = rest.find(" MHz");
    if (mhz != std::string_view::npos) {
        if (auto hi = parseNumber(rest.substr(0, mhz))) limits.hi = *hi;
    }
    return limits;
}

}  // namespace zt
