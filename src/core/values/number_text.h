#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zt {

// True when the text reads as a decimal number: optional surrounding spaces,
// an optional sign, digits with at most one ".", and an optional exponent.
// "." is always the decimal point, whatever the user's locale.
bool isNumeric(std::string_view text);

// The number the text reads as, or nothing when it is not numeric.
std::optional<double> parseNumber(std::string_view text);

// A decimal number scaled by 10^decimals, split exactly into its whole part and the
// part below one unit, read straight from the decimal digits (no binary floating point).
struct ScaledDecimal {
    // Whole parts at or beyond this are held at it (saturated = true).
    static constexpr std::int64_t kLimit = 1'000'000'000'000'000'000;

    bool negative = false;
    std::int64_t whole = 0;  // magnitude, truncated
    bool fraction = false;   // a non-zero part below one unit remains
    int halfCompare = -1;    // that part against one half: -1 below, 0 equal, 1 above
    bool saturated = false;

    // Nearest integer, halves to the even one.
    std::int64_t rounded() const;
    // Integer part, toward zero.
    std::int64_t truncated() const;
    // The exact value against n: -1 less, 0 equal, 1 greater.
    int compare(std::int64_t n) const;
};

// The number the text reads as (the texts isNumeric accepts), times 10^decimals.
// decimals may be 0..18. Nothing when the text is not numeric.
std::optional<ScaledDecimal> parseScaledDecimal(std::string_view text, int decimals);

// The number the text reads as, rounded to an integer (halves to even); nothing when the
// text is not numeric or the result lies outside the 32-bit range.
std::optional<std::int32_t> parseInt32Rounded(std::string_view text);

}  // namespace zt
