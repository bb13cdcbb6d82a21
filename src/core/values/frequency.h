#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/text_ids.h"
#include "core/values/band_limits.h"

namespace zt {

// Frequencies are kept in records as digit texts and shown as decimal MHz:
//   stored receive frequency: 8 digits, 3 integer + 5 decimal ("02761125" = 27.61125 MHz),
//                             blank or "FFFFFFFF" = none;
//   stored offset:            7 digits, 2 integer + 5 decimal ("0010000" = 0.1 MHz),
//                             blank or "FFFFFFF" = none; direction 0 none, 1 minus, 2 plus;
//   displayed value:          "#0.00000" with "." as decimal point ("27.61125").
// All arithmetic is done in integer units of 10 Hz (MHz x 100000); a decimal value is
// brought to that unit by rounding to the nearest integer, halves to the even one.

constexpr std::int64_t kTenHzPerMhz = 100000;
// "#0.00000" with ".": 2761125 -> "27.61125", 5 -> "0.00005", -10000 -> "-0.10000".
std::string formatMhz(std::int64_t tenHz);

// The decimal number a text reads as (the same texts isNumeric accepts), in 10 Hz units,
// rounded half to even, computed exactly from the decimal digits. Nothing when the text
// is not numeric. Magnitudes beyond 10^17 units are held at +-10^17.
std::optional<std::int64_t> parseTenHz(std::string_view text);

// A band limit (or any MHz value held as a double) in 10 Hz units: the shortest decimal
// that reads back as the double, rounded half to even (25.615 -> 2561500 exactly).
std::int64_t mhzToTenHz(double mhz);

// A double written as a plain number, as the program writes a band limit into a
// frequency field: "25.615", "100".
std::string numberText(double value);

struct RxDisplay {
    std::string text;
    bool notNumeric = false;  // the stored text was not a number; text is then the lower limit
};
// Stored -> displayed receive frequency. Blank or "FFFFFFFF" -> "". A stored text that is
// not a number gives the lower band limit written as a number and notNumeric = true (the
// caller shows the built-in message "Not IsNumeric").
RxDisplay rxStoredToDisplay(std::string_view stored, const BandLimits& limits);

// Displayed -> stored receive frequency ("27.6" -> "02760000"; "" -> ""). A text that is not
// a number stands for the lower band limit.
std::string rxDisplayToStored(std::string_view displayed, const BandLimits& limits);

// Displayed offset: "-" (direction 1), "+" (2) or "" (anything else) followed by the offset,
// "0.00000" when the stored offset is not exactly 7 digits.
std::string offsetDisplay(std::string_view storedOffset, int shiftDir);

// Displayed transmit frequency: "" without a numeric receive frequency; the displayed offset
// in offset mode; the receive frequency when the direction is neither 1 nor 2; otherwise
// receive + signed offset. absoluteValue shows the magnitude of that sum (the grid's full
// refresh does so).
std::string txDisplay(std::string_view rxStored, std::string_view storedOffset, int shiftDir,
                      bool offsetMode, const BandLimits& limits, bool absoluteValue = false);

struct OffsetResult {
    std::uint8_t shiftDir = 0;
    std::string storedOffset;  // 7 digits
};
// New offset and direction from a typed value: a signed offset in offset mode, otherwise a
// transmit frequency compared with the receive frequency. Without a numeric receive frequency
// and entry, or when the transmit frequency equals the receive one, the direction becomes 0
// and the present offset magnitude is kept.
OffsetResult offsetFromEntered(std::string_view rxStored, std::string_view entered, bool offsetMode,
                               std::string_view storedOffset, int shiftDir,
                               const BandLimits& limits);

struct ValidatedFrequency {
    std::string text;   // "#0.00000"
    int messageId = 0;  // text::msg::FrequencyOutOfBand or 0; the caller shows it (warning icon)
};
// A typed frequency checked against the band and snapped down onto the 5 kHz raster that
// starts at the lower limit. Not a number or below the band gives the lower limit, above the
// band the upper limit, each with message 9021. While channel group 6 is current a frequency
// whose 10 Hz count ends in 125 (a 1.25 kHz part) is kept as typed.
ValidatedFrequency validateEnteredFrequency(std::string_view text, int currentGroup,
                                            const BandLimits& limits);

// Channel step of a frequency, counted from the lower limit: 0 = 5 kHz raster, 1 = 6.25 kHz,
// 2 = 8.33 kHz.
struct RasterResult {
    std::string rxStored;
    std::int16_t rxStep = 0;
    std::int16_t txStep = 0;
    std::uint8_t shiftDir = 0;
    std::string storedOffset;
};
// Raster check after a transmit edit: classifies (and where needed snaps) the receive and the
// transmit frequency and recomputes offset and direction from the snapped transmit frequency.
// With keeps1k25 (a channel of group 6) a value whose 10 Hz count ends in 125 is kept as it
// is, as the entry of such a frequency keeps it, so the channel never leaves its frequency.
RasterResult rasterCheck(std::string_view rxStored, std::string_view storedOffset, int shiftDir,
                         const BandLimits& limits, bool keeps1k25 = false);

// True when a value in 10 Hz units has a 1.25 kHz part (its count ends in 125), the part
// group 6 may keep.
constexpr bool hasQuarterKhzPart(std::int64_t tenHz)
{
    return tenHz % 1000 == 125;
}

}  // namespace zt
