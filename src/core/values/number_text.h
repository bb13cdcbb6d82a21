#pragma once

#include <optional>
#include <string_view>

namespace zt {

// True when the text reads as a decimal number: optional surrounding spaces,
// an optional sign, digits with at most one ".", and an optional exponent.
// "." is always the decimal point, whatever the user's locale.
bool isNumeric(std::string_view text);

// The number the text reads as, or nothing when it is not numeric.
std::optional<double> parseNumber(std::string_view text);

}  // namespace zt
